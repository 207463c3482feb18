#include "interfaces/interface_caps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

InterfaceCaps capsOf(int model, int subModel, int numbering, int previousOption = 0)
{
    InterfaceSettings s;
    s.mode = 1;
    s.model = model;
    s.subModel = subModel;
    s.numbering = numbering;
    InterfaceCaps previous;
    previous.optionWord = previousOption;
    return computeCaps(s, nullptr, previous);
}

TEST(InterfaceCaps, DefaultsFollowTheNumbering)
{
    for (const int model : {ModelNone, ModelDeltronics, ModelSenseControl, ModelMfa}) {
        const InterfaceCaps one = capsOf(model, 0, 1);
        EXPECT_EQ(one.outputMask, 0x1FE00u) << model;
        EXPECT_EQ(one.inputMask, 0x1FE00u) << model;
        const InterfaceCaps zero = capsOf(model, 0, 2);
        EXPECT_EQ(zero.outputMask, 0xFF00u) << model;
        EXPECT_EQ(zero.inputMask, 0xFF00u) << model;
        EXPECT_EQ(zero.motorMask, 0x3C00000u);
        EXPECT_EQ(zero.valueKeyMask, 0x1E10u);
        EXPECT_EQ(zero.decisionKeyMask, 0x3FC000D2u);
    }
    EXPECT_EQ(capsOf(ModelMfa, 0, 2).turnKeyMask, 0x80000D0u);
    EXPECT_EQ(capsOf(ModelDeltronics, 0, 1).turnKeyMask, 0xD0u);
}

TEST(InterfaceCaps, MotorSpeedsOnlyWhereTheBoxTakesThem)
{
    for (const int model : {ModelDeltronics, ModelContactController, ModelLego, ModelQuillo})
        EXPECT_EQ(capsOf(model, 0, 1).motorSpeed, 1) << model;
    for (const int model :
         {ModelNone, ModelSenseControl, ModelMfa, ModelFischertechnik, ModelTolvaChip})
        EXPECT_EQ(capsOf(model, 0, 1).motorSpeed, 0) << model;
}

TEST(InterfaceCaps, PerModelOverrides)
{
    // Four-output models keep 0x1E00 whatever the numbering.
    for (const int numbering : {1, 2}) {
        const InterfaceCaps cc = capsOf(ModelContactController, kContactControllerBasic, numbering);
        EXPECT_EQ(cc.outputMask, 0x1E00u);
        EXPECT_EQ(cc.inputMask, 0x1E00u);
        EXPECT_EQ(cc.motorMask, 0xC00000u);
        EXPECT_EQ(capsOf(ModelInert, 0, numbering).inputMask, 0x1E00u);
        EXPECT_EQ(capsOf(ModelFischertechnik, 0, numbering).outputMask, 0x1E00u);
    }
    EXPECT_EQ(capsOf(ModelContactController, kContactControllerPlus, 1).outputMask, 0x1FE00u);

    const InterfaceCaps junior = capsOf(ModelDeltronics, kDeltronicsJunior, 1);
    EXPECT_EQ(junior.inputMask, 0x1E00u);
    EXPECT_EQ(junior.outputMask, 0xBE00u);
    EXPECT_EQ(junior.motorMask, 0x3000000u);

    EXPECT_EQ(capsOf(ModelFischertechnik, 0, 1).valueKeyMask, 0x610u);

    const InterfaceCaps quillo = capsOf(ModelQuillo, 0, 1, 77);
    EXPECT_EQ(quillo.inputMask, 0x1E00u);
    EXPECT_EQ(quillo.outputMask, 0x7E00u);
    EXPECT_EQ(quillo.motorMask, 0xC00000u);
    EXPECT_EQ(quillo.optionWord, 0);
    EXPECT_EQ(quillo.valueKeyMask, 0x610u);
    EXPECT_EQ(quillo.decisionKeyMask, 0x180000D2u);
    EXPECT_EQ(quillo.turnKeyMask, 0xD0u);
    // Other models leave the option word as it was.
    EXPECT_EQ(capsOf(ModelDeltronics, 0, 1, 77).optionWord, 77);
}

TEST(InterfaceConfig, EightCharactersEachValuePlusA)
{
    InterfaceSettings s;
    s.highLow = 1;
    s.numbering = 2;
    s.analogueSource = 0;
    s.mode = 1;
    s.model = ModelQuillo;
    s.port = -1;
    s.motorOption = 2;
    s.subModel = 0;
    EXPECT_EQ(serializeInterfaceConfig(s), "BCABN@CA");
    const auto back = parseInterfaceConfig("BCABN@CA");
    ASSERT_TRUE(back);
    EXPECT_EQ(back.value(), s);
    EXPECT_FALSE(parseInterfaceConfig("BCABN@C"));
}

TEST(InterfaceConfig, FileRoundTripAndAnUnwritablePath)
{
    test::TempDir dir;
    test::FakeMessages messages;
    InterfaceSettings s;
    s.mode = 1;
    s.model = ModelContactController;
    s.subModel = 5;
    s.port = 3;
    const std::string path = (dir.path() / "CONFIGUR.FCF").string();
    ASSERT_TRUE(saveInterfaceConfig(path, s, messages));
    EXPECT_EQ(loadInterfaceConfig(path, messages).value(), s);
    EXPECT_TRUE(messages.empty());

    EXPECT_FALSE(saveInterfaceConfig((dir.path() / "no" / "CONFIGUR.FCF").string(), s, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "No se puede guardar Configuración");
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(loadInterfaceConfig((dir.path() / "missing").string(), messages));

    // A record saved under another case is read, and rewritten rather than
    // joined by a second file.
    test::TempDir other;
    std::ofstream(other.path() / "configur.fcf", std::ios::binary) << "BCABN@CA";
    const std::string upper = (other.path() / "CONFIGUR.FCF").string();
    const auto lower = loadInterfaceConfig(upper, messages);
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->model, ModelQuillo);
    ASSERT_TRUE(saveInterfaceConfig(upper, s, messages));
    EXPECT_EQ(loadInterfaceConfig((other.path() / "configur.fcf").string(), messages).value(), s);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(other.path()), {}), 1);

    // The bundled configuration: simulation, numbering 1-8.
    const auto bundled =
        loadInterfaceConfig(std::string(TARVEL_DATA_DIR) + "/CONFIGUR.FCF", messages);
    ASSERT_TRUE(bundled);
    EXPECT_EQ(bundled->mode, 0);
    EXPECT_EQ(bundled->model, 0);
    EXPECT_EQ(bundled->numbering, 1);
}

}  // namespace
}  // namespace tarvel
