#include "platform/file_lookup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace tarvel {
namespace {

TEST(FileLookup, FindsNamesWhateverTheirCase)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Sensors" / "DSI");
    std::ofstream(dir.path() / "Sensors" / "DSI" / "LUZ.CAL") << "x";
    std::ofstream(dir.path() / "tarvel2.ini") << "x";

    EXPECT_EQ(findIgnoringCase(dir.path(), "TARVEL2.INI"), dir.path() / "tarvel2.ini");
    EXPECT_EQ(findIgnoringCase(dir.path(), "SENSORS"), dir.path() / "Sensors");
    EXPECT_FALSE(findIgnoringCase(dir.path(), "MIMICS"));
    EXPECT_FALSE(findIgnoringCase(dir.path() / "nowhere", "x"));

    EXPECT_EQ(resolveIgnoringCase(dir.path(), "sensors/dsi/luz.cal"),
              dir.path() / "Sensors" / "DSI" / "LUZ.CAL");
    EXPECT_FALSE(resolveIgnoringCase(dir.path(), "sensors/sac/luz.cal"));
}

TEST(FileLookup, AnExactNameWinsOverOtherSpellings)
{
    test::TempDir dir;
    std::ofstream(dir.path() / "Luz.cal") << "a";
    std::ofstream(dir.path() / "LUZ.CAL") << "b";
    EXPECT_EQ(findIgnoringCase(dir.path(), "LUZ.CAL"), dir.path() / "LUZ.CAL");
    // Otherwise the first in name order, not the order the folder lists them.
    EXPECT_EQ(findIgnoringCase(dir.path(), "luz.cal"), dir.path() / "LUZ.CAL");
}

TEST(FileLookup, AFileIsTakenAsSpelledOnDisk)
{
    test::TempDir dir;
    std::ofstream(dir.path() / "configur.fcf") << "x";
    const std::string base = dir.path().string();
    EXPECT_EQ(existingSpelling(base + "/CONFIGUR.FCF"), base + "/configur.fcf");
    EXPECT_EQ(existingSpelling(base + "/configur.fcf"), base + "/configur.fcf");
    // Nothing of that name: the name as given, for a file yet to be written.
    EXPECT_EQ(existingSpelling(base + "/TARVEL2.INI"), base + "/TARVEL2.INI");
    EXPECT_EQ(existingSpelling(base + "/no/CONFIGUR.FCF"), base + "/no/CONFIGUR.FCF");
}

TEST(FileLookup, CaseFoldingIsAsciiOnly)
{
    EXPECT_TRUE(equalsIgnoreCase("Temperature", "TEMPERATURE"));
    EXPECT_FALSE(equalsIgnoreCase("Temperatura", "Temperature"));
    EXPECT_FALSE(equalsIgnoreCase("\xE1", "\xC1"));
    EXPECT_FALSE(equalsIgnoreCase("abc", "abcd"));
}

}  // namespace
}  // namespace tarvel
