#include "interfaces/model_traits.h"

#include <gtest/gtest.h>

#include "interfaces/interface_model.h"

namespace tarvel {
namespace {

TEST(ModelTraits, SensorSubdirectories)
{
    EXPECT_EQ(sensorSubdirectory(ModelNone, 0), "OTHERS");
    EXPECT_EQ(sensorSubdirectory(ModelDeltronics, 0), "DSI");
    EXPECT_EQ(sensorSubdirectory(ModelSenseControl, 0), "SAC");
    EXPECT_EQ(sensorSubdirectory(ModelMfa, 0), "OTHERS");
    EXPECT_EQ(sensorSubdirectory(ModelContactController, 0), "CC");
    EXPECT_EQ(sensorSubdirectory(ModelLego, 0), "Lego");
    EXPECT_EQ(sensorSubdirectory(ModelFischertechnik, 0), "Ft");
    EXPECT_EQ(sensorSubdirectory(ModelQuillo, 0), "CC");
}

TEST(ModelTraits, CompactFilesWhenTheInterfaceHasASeparateMotorBank)
{
    EXPECT_TRUE(isCompactLayout(0, 3, 0));
    for (const int model : {7, 10, 11, 12, 13}) EXPECT_TRUE(isCompactLayout(1, model, 0)) << model;
    EXPECT_TRUE(isCompactLayout(1, 1, 2));
    EXPECT_FALSE(isCompactLayout(1, 1, 1));
    EXPECT_FALSE(isCompactLayout(1, 2, 0));
    EXPECT_FALSE(isCompactLayout(1, 6, 0));
    // The file layout and Connect's motor bank are one rule.
    for (int model = 0; model <= 14; ++model)
        for (int sub = 0; sub <= 6; ++sub)
            EXPECT_EQ(isCompactLayout(1, model, sub),
                      modelTraits(model, sub).encoding.separateMotorBank)
                << model << ":" << sub;
}

TEST(ModelTraits, TheChipLinkDecidesWhatATolvaChipTalks)
{
    const ModelTraits live = modelTraits(ModelTolvaChip, 1, kChipLinkContactController);
    EXPECT_EQ(live.protocol, ProtocolFamily::ContactController);
    EXPECT_EQ(live.chipKeys, ChipKeys::LiveLink);
    EXPECT_TRUE(isContactControllerType(ModelTolvaChip, kChipLinkContactController));
    const ModelTraits alone = modelTraits(ModelTolvaChip, 1, 1);
    EXPECT_EQ(alone.protocol, ProtocolFamily::None);
    EXPECT_EQ(alone.chipKeys, ChipKeys::TurnOnly);
    // Either way the motor bank, the restricted keypads and the chip entry stay.
    for (const ModelTraits& t : {live, alone}) {
        EXPECT_TRUE(t.encoding.separateMotorBank);
        EXPECT_TRUE(t.restrictedKeypads);
        EXPECT_TRUE(t.usesChipEntry);
    }
    // The link kind means nothing to other models.
    EXPECT_EQ(modelTraits(ModelLego, 0, kChipLinkContactController).protocol, ProtocolFamily::Lego);
    EXPECT_EQ(modelTraits(ModelNone, 0, kChipLinkContactController).protocol, ProtocolFamily::None);
}

TEST(ModelTraits, FourMotorSlidersForSerialPlusAndEveryFirstVariant)
{
    EXPECT_TRUE(modelTraits(ModelDeltronics, kDeltronicsSerialPlus).fourMotorSliders);
    for (const int model : {0, 1, 7, 10, 11, 12, 13})
        EXPECT_TRUE(modelTraits(model, 0).fourMotorSliders) << model;
    EXPECT_FALSE(modelTraits(ModelContactController, kContactControllerBasic).fourMotorSliders);
    EXPECT_FALSE(modelTraits(ModelTolvaChip, 1).fourMotorSliders);
    EXPECT_FALSE(modelTraits(ModelLego, 1).fourMotorSliders);
}

TEST(ModelTraits, EveryDialogChoiceShowsAgainAsItself)
{
    // What a choice takes is shown by the same radio when the dialog opens again.
    const InterfaceChoice choices[] = {InterfaceChoice::Deltronics,
                                       InterfaceChoice::DeltronicsSerialPlus,
                                       InterfaceChoice::DeltronicsJunior,
                                       InterfaceChoice::DeltronicsDigitalAdaptor,
                                       InterfaceChoice::SenseControl,
                                       InterfaceChoice::Mfa,
                                       InterfaceChoice::ContactController,
                                       InterfaceChoice::ContactControllerPlus,
                                       InterfaceChoice::TolvaChipBoard,
                                       InterfaceChoice::Vizo,
                                       InterfaceChoice::Lego,
                                       InterfaceChoice::Fischertechnik,
                                       InterfaceChoice::Quillo,
                                       InterfaceChoice::Firmata};
    for (const InterfaceChoice choice : choices) {
        for (const int index : {0, 1, 2}) {
            const InterfaceSettings s =
                settingsForChoice(choice, InterfaceSettings{}, 2, 2, index, index);
            EXPECT_EQ(modelTraits(s).choice, choice) << int(choice) << " item " << index;
            if (choice == InterfaceChoice::TolvaChipBoard) EXPECT_EQ(boardIndexOf(s), index);
            if (choice == InterfaceChoice::Vizo) EXPECT_EQ(singleChipIndexOf(s), index);
        }
    }
}

TEST(ModelTraits, DialogChoicesForceWhatTheBoxNeeds)
{
    InterfaceSettings current;
    current.motorOption = 2;
    current.model = 9;
    current.subModel = 4;
    const auto take = [&](InterfaceChoice c) { return settingsForChoice(c, current, 2, 2, 0, 0); };

    const InterfaceSettings cc = take(InterfaceChoice::ContactController);
    EXPECT_EQ(cc.numbering, 1);
    EXPECT_EQ(cc.highLow, 1);
    EXPECT_EQ(cc.motorOption, 0);
    const InterfaceSettings mfa = take(InterfaceChoice::Mfa);
    EXPECT_EQ(mfa.numbering, 2);
    EXPECT_EQ(mfa.highLow, 0);
    EXPECT_EQ(mfa.motorOption, 2);
    EXPECT_EQ(take(InterfaceChoice::DeltronicsJunior).numbering, 1);
    EXPECT_EQ(take(InterfaceChoice::DeltronicsJunior).highLow, 2);
    EXPECT_EQ(take(InterfaceChoice::Lego).motorOption, 2);
    // A code the dialog does not offer keeps its model and sub-model.
    const InterfaceSettings kept = take(InterfaceChoice::Unoffered);
    EXPECT_EQ(kept.model, 9);
    EXPECT_EQ(kept.subModel, 4);
    EXPECT_EQ(kept.numbering, 2);
    EXPECT_TRUE(choiceRule(InterfaceChoice::Vizo).usbAllowed);
    EXPECT_TRUE(choiceRule(InterfaceChoice::Quillo).usbAllowed);
    EXPECT_FALSE(choiceRule(InterfaceChoice::ContactController).usbAllowed);
    // The Arduino board numbers from 1 and reads its pull-ups as they are;
    // its motors are output pairs, so its charts keep the full file layout.
    const InterfaceSettings board = take(InterfaceChoice::Firmata);
    EXPECT_EQ(board.model, ModelFirmata);
    EXPECT_EQ(board.numbering, 1);
    EXPECT_EQ(board.highLow, 0);
    EXPECT_EQ(board.motorOption, 0);
    EXPECT_FALSE(isCompactLayout(1, ModelFirmata, 0));
    EXPECT_EQ(sensorSubdirectory(ModelFirmata, 0), "Arduino");
}

}  // namespace
}  // namespace tarvel
