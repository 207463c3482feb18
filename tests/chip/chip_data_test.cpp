#include "chip/chip_data.h"

#include <gtest/gtest.h>

#include <fstream>

#include "interfaces/interface_caps.h"
#include "interfaces/interface_model.h"
#include "interfaces/model_traits.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

// Boards, an excluded entry among them, and two single chips.
constexpr std::string_view kFile =
    "1;STANDARD BOARD;\r\n1,11111111,11111111,1111,1111,1,0,256,\r\n"
    "2;Motor board;\r\n1,11110000,11110000,1111,0000,1,1,256,\r\n"
    "/x;Retired board;\r\n0,10000000,10000000,0000,0000,0,0,128,\r\n"
    "3;ADC board;\r\n1,11111111,11111111,0000,1111,0,0,256,\r\n"
    "4;Chip 8;\n2,11110000,11110000,1100,1100,1,0,128,\n"
    "5;Chip 18;\r\n7,11000000,11110000,1000,0000,0,3,256,\r\n";

TEST(ChipData, ListsBoardsAndSingleChipsSkippingExcludedEntries)
{
    const ChipData data = parseChipData(kFile).value();
    ASSERT_EQ(data.entries().size(), 6u);
    EXPECT_FALSE(data.entries()[2].listed);
    EXPECT_EQ(
        data.boardNames(),
        (std::vector<std::string>{"Tablero est\xE1nder", "Tablero del motor", "Tablero del ADC"}));
    EXPECT_EQ(data.singleChipNames(), (std::vector<std::string>{"Chip 8", "Chip 18"}));
}

TEST(ChipData, LookupBySubModelCountsExcludedEntriesToo)
{
    const ChipData data = parseChipData(kFile).value();
    ASSERT_NE(data.lookup(2), nullptr);
    EXPECT_EQ(data.lookup(2)->name, "Retired board");
    EXPECT_EQ(data.lookup(3)->name, "ADC board");
    const ChipEntry* chip = data.lookup(4);
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(chip->linkKind, 2);
    EXPECT_EQ(chip->size, 128);
    EXPECT_TRUE(chip->motorSpeed);
    EXPECT_EQ(data.lookup(5)->size, 256);
    EXPECT_EQ(data.lookup(5)->optionWord, 3);
    EXPECT_EQ(data.lookup(6), nullptr);
    EXPECT_EQ(data.lookup(-1), nullptr);
}

TEST(ChipData, AMalformedEntryIsDroppedAloneAndTheOthersKeepTheirPlaces)
{
    EXPECT_TRUE(parseChipData("").value().empty());
    EXPECT_TRUE(parseChipData("just text, no entries").value().empty());
    // A name without its closing ';', fields cut short, a field past its limit, a non-number.
    EXPECT_TRUE(parseChipData("1;Standard board").value().empty());
    EXPECT_TRUE(parseChipData("1;A;\r\n1,11111111,11111111,1111,").value().empty());
    EXPECT_TRUE(
        parseChipData("1;A;\r\n1," + std::string(300, '1') + ",1,1,1,1,0,256,").value().empty());
    EXPECT_TRUE(parseChipData("1;A;\r\nx,1,1,1,1,1,0,256,").value().empty());
    EXPECT_TRUE(parseChipData("1;A;x1,1,1,1,1,1,0,256,").value().empty());

    // What follows the name of the second entry, damaged in each way.
    const std::string good = "\r\n1,11111111,11111111,1111,1111,1,0,256,\r\n";
    const std::string damaged[] = {
        "\r\n1,11110000,11110000,1111,\r\n",                       // fields cut short
        "\r\nx,11110000,11110000,1111,0000,1,1,256,\r\n",          // not a number
        "\r\n1," + std::string(300, '1') + ",1,1,1,1,0,256,\r\n",  // a field past its limit
        "1,11110000,11110000,1111,0000,1,1,256,\r\n",              // no line end after the name
    };
    for (const std::string& bad : damaged) {
        SCOPED_TRACE(bad);
        const ChipData data = parseChipData("1;Standard board;" + good + "2;Motor board;" + bad +
                                            "3;ADC board;" + good + "4;Chip 8;" + good)
                                  .value();
        ASSERT_EQ(data.entries().size(), 3u);
        EXPECT_EQ(data.boardNames(),
                  (std::vector<std::string>{"Tablero est\xE1nder", "Tablero del ADC", "Chip 8"}));
        // The lookup counts the dropped entry: the subModels of the others stand.
        ASSERT_NE(data.lookup(0), nullptr);
        EXPECT_EQ(data.lookup(1), nullptr);
        ASSERT_NE(data.lookup(2), nullptr);
        EXPECT_EQ(data.lookup(2)->name, "ADC board");
        ASSERT_NE(data.lookup(3), nullptr);
        EXPECT_EQ(data.lookup(3)->name, "Chip 8");
        EXPECT_EQ(data.lookup(3)->size, 256);
    }

    // Short capability fields read as absent items, never past their end.
    const ChipData shortFields = parseChipData("1;A;\r\n1,1,,1,,1,0,128,").value();
    ASSERT_EQ(shortFields.entries().size(), 1u);
    EXPECT_TRUE(shortFields.lookup(0)->hasInput(0));
    EXPECT_FALSE(shortFields.lookup(0)->hasInput(7));
    EXPECT_FALSE(shortFields.lookup(0)->hasOutput(0));
}

TEST(ChipData, LoadsFromTheSensorsDirectoryWhateverTheCase)
{
    test::TempDir dir;
    EXPECT_FALSE(loadChipData(dir.path().string()));
    std::ofstream(dir.path() / "TOLVACHIP.DAT", std::ios::binary) << kFile;
    EXPECT_EQ(loadChipData(dir.path().string())->entries().size(), 6u);
}

TEST(ChipData, TheBundledFileHasBoardsChipsAndAnExcludedEntry)
{
    const ChipData data = loadChipData(std::string(TARVEL_DATA_DIR) + "/SENSORS").value();
    EXPECT_EQ(data.boardNames().size(), 3u);
    EXPECT_GE(data.singleChipNames().size(), 2u);
    bool excluded = false, small = false, large = false;
    for (const auto& e : data.entries()) {
        excluded |= !e.listed;
        small |= e.size == 128 && e.linkKind == 2;
        large |= e.listed && e.size == 256 && e.name.find("board") == std::string::npos;
    }
    EXPECT_TRUE(excluded);
    EXPECT_TRUE(small);
    EXPECT_TRUE(large);
    // Every listed single chip is found again by the subModel the dialog gives it.
    const auto chips = data.singleChipNames();
    for (std::size_t k = 0; k < chips.size(); ++k) {
        const ChipEntry* e = data.lookup(3 + static_cast<int>(k));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->name, chips[k]);
    }
}

InterfaceSettings chipSettings(int subModel)
{
    InterfaceSettings s;
    s.mode = 1;
    s.model = ModelTolvaChip;
    s.subModel = subModel;
    return s;
}

TEST(ChipCaps, MasksComeFromTheChosenEntry)
{
    const ChipData data = parseChipData(kFile).value();
    // Link kind 1, everything present.
    InterfaceCaps c = computeCaps(chipSettings(0), data.lookup(0));
    EXPECT_EQ(c.inputMask, 0x1FE00u);
    EXPECT_EQ(c.outputMask, 0x1FE00u);
    EXPECT_EQ(c.motorMask, 0x3C00000u);
    EXPECT_EQ(c.valueKeyMask, 0x1E10u);
    EXPECT_EQ(c.turnKeyMask, 0xD0u);
    EXPECT_EQ(c.decisionKeyMask, 0x18000010u | 0x40u | 0x82u);
    EXPECT_EQ(c.motorSpeed, 1);
    EXPECT_EQ(sensorSubdirectory(ModelTolvaChip, data.lookup(0)->linkKind), "OTHERS");

    // Link kind 2 (Contact Controller live): half the items, and the extra decision bit.
    c = computeCaps(chipSettings(4), data.lookup(4));
    EXPECT_EQ(c.inputMask, 0x1E00u);
    EXPECT_EQ(c.outputMask, 0x1E00u);
    EXPECT_EQ(c.motorMask, 0xC00000u);
    EXPECT_EQ(c.valueKeyMask, 0x610u);
    EXPECT_EQ(c.decisionKeyMask, 0x18000010u | 0x40u | 0x82u | 0x1u);
    EXPECT_EQ(sensorSubdirectory(ModelTolvaChip, 2), "CC");

    // Another link kind: no analogue channels, no speed, its own option word.
    c = computeCaps(chipSettings(5), data.lookup(5));
    EXPECT_EQ(c.inputMask, 0x600u);
    EXPECT_EQ(c.outputMask, 0x1E00u);
    EXPECT_EQ(c.motorMask, 0x400000u);
    EXPECT_EQ(c.valueKeyMask, 0x10u);
    EXPECT_EQ(c.decisionKeyMask, 0x18000050u);
    EXPECT_EQ(c.turnKeyMask, 0xD0u);
    EXPECT_EQ(c.motorSpeed, 0);
    EXPECT_EQ(c.optionWord, 3);

    // A chip without outputs or motors offers neither key after "Turn".
    const ChipData bare = parseChipData("1;A;\r\n1,10000000,00000000,0000,0000,0,0,128,").value();
    c = computeCaps(chipSettings(0), bare.lookup(0));
    EXPECT_EQ(c.turnKeyMask, 0x10u);
    EXPECT_EQ(c.outputMask, 0u);

    // No entry (missing file): the defaults stand.
    c = computeCaps(chipSettings(9), nullptr);
    EXPECT_EQ(c.outputMask, 0x1FE00u);
    EXPECT_EQ(c.motorSpeed, 0);
}

}  // namespace
}  // namespace tarvel
