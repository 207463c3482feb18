#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace tarvel {
namespace {

TEST(IniFile, ReadsOneSectionIgnoringCaseAndLineEnds)
{
    // CR LF, LF and a lone CR in one file; the section given twice, in other
    // spellings, with blanks around names and values.
    const std::string text =
        "\xEF\xBB\xBF[Other]\r\nMIMICS=wrong\r\n"
        "[ locations ]\r\n"
        "  Mimics = C:\\TARVEL\\MIMICS  \r\n"
        "; a comment=ignored\n"
        "not a key\n"
        "=no name\n"
        "sensors=\"C:\\With Quotes\"\r"
        "[OTHER]\nINTERVAL=99\n"
        "[LOCATIONS]\nmimics=second\nInterval=25";
    const IniSection s = parseIniSection(text, "LOCATIONS").value();

    EXPECT_EQ(s.value("MIMICS"), "C:\\TARVEL\\MIMICS");
    EXPECT_EQ(s.value("mImIcS"), "C:\\TARVEL\\MIMICS");  // the first entry wins
    EXPECT_EQ(s.value("SENSORS"), "C:\\With Quotes");
    EXPECT_EQ(s.value("interval"), "25");  // from the second LOCATIONS only
    EXPECT_FALSE(s.value("; a comment"));
    EXPECT_FALSE(s.value("not a key"));
    EXPECT_EQ(s.value("FILEDIR", "fallback"), "fallback");
    ASSERT_EQ(s.entries().size(), 3u);
    EXPECT_EQ(s.entries()[0].first, "Mimics");

    EXPECT_TRUE(parseIniSection(text, "NOWHERE")->empty());
    EXPECT_TRUE(parseIniSection("", "LOCATIONS")->empty());
}

TEST(IniFile, ValuesAreCutAt255Characters)
{
    const std::string longValue(300, 'x');
    const IniSection s =
        parseIniSection("[L]\nA=" + longValue + "\nB=\nC=\xE9t\xE9\n", "L").value();
    EXPECT_EQ(s.value("A"), std::string(255, 'x'));
    EXPECT_EQ(s.value("B"), "");           // present, but empty
    EXPECT_EQ(s.value("C"), "\xE9t\xE9");  // bytes as stored
}

TEST(IniFile, AMissingOrUnreadableFileIsRefused)
{
    test::TempDir dir;
    EXPECT_FALSE(loadIniSection(dir.path() / "none.ini", "LOCATIONS"));
    EXPECT_FALSE(loadIniSection(dir.path(), "LOCATIONS"));  // a folder

    std::ofstream(dir.path() / "t.ini", std::ios::binary) << "[LOCATIONS]\r\nBASEIO=310\r\n";
    EXPECT_EQ(loadIniSection(dir.path() / "t.ini", "locations")->value("baseio"), "310");
}

}  // namespace
}  // namespace tarvel
