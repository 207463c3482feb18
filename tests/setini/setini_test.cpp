// The installer run as the built program, from copies of it placed in
// temporary installation directories.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/fault_child.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> names(const fs::path& dir)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

// What the installer writes for an installation directory, given as stored.
std::string fiveLines(const std::string& dir)
{
    return "[LOCATIONS]\r\nSENSORS=" + dir + "/Sensors\r\nCONFIGURATION=" + dir +
           "/CONFIGUR.FCF\r\nMIMICS=" + dir + "/MIMICS\r\nINTERVAL=20\r\n";
}

class SetiniTest : public ::testing::Test {
protected:
    SetiniTest() { fs::create_directories(windir); }

    // A copy of the program in `dir`, as an installation leaves it.
    fs::path install(const fs::path& dir)
    {
        fs::create_directories(dir);
        const fs::path program = dir / "Setini";
        fs::copy_file(SETINI_PATH, program, fs::copy_options::overwrite_existing);
        return program;
    }

    test::ProgramRun run(const fs::path& program, const fs::path& windowsDir)
    {
        return test::runProgram(program, {{"TARVEL_WINDIR", windowsDir.string()}});
    }

    test::TempDir root;
    const fs::path windir = root.path() / "windows";
    const fs::path ini = windir / "Tarvel2.ini";
};

TEST_F(SetiniTest, WritesTheFiveLinesForTheDirectoryItRunsFrom)
{
    const fs::path dir = root.path() / "Archivos de programa" / "Tarvel 2";
    const test::ProgramRun result = run(install(dir), windir);

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");  // silent
    EXPECT_EQ(readBytes(ini), fiveLines(dir.string()));
    EXPECT_EQ(names(windir), std::vector<std::string>{"Tarvel2.ini"});  // no temporary left

    // Readable by other accounts as any new file is, not private to the installer.
    const mode_t mask = umask(0);
    umask(mask);
    struct stat info {};
    ASSERT_EQ(stat(ini.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST_F(SetiniTest, ReplacesAnEarlierFileWhole)
{
    const fs::path dir = root.path() / "Tarvel";
    const fs::path program = install(dir);
    const std::string earlier =
        "[LOCATIONS]\r\nSENSORS=/old\r\nINTERVAL=45\r\nMULTIPLICITY=3\r\n[OTRA]\r\nCLAVE=1\r\n" +
        std::string(20000, ';');
    writeBytes(ini, earlier);
    writeBytes(windir / "TARVEL2.INI", earlier);  // the same file on a case-blind system

    ASSERT_EQ(run(program, windir).exitCode, 0);
    EXPECT_EQ(readBytes(ini), fiveLines(dir.string()));
    EXPECT_EQ(names(windir), std::vector<std::string>{"Tarvel2.ini"});

    ASSERT_EQ(run(program, windir).exitCode, 0);
    EXPECT_EQ(readBytes(ini), fiveLines(dir.string()));
    EXPECT_EQ(names(windir), std::vector<std::string>{"Tarvel2.ini"});
}

TEST_F(SetiniTest, OnAFullDiskTheEarlierFileStaysWhole)
{
    const fs::path program = install(root.path() / "Tarvel");
    const std::string earlier = "[LOCATIONS]\r\nSENSORS=/old\r\n";
    writeBytes(ini, earlier);
    // Room for 16 bytes, far less than the five lines.
    const int exitCode = test::runInChild({.fileSizeLimit = 16}, [&] {
        const int code = run(program, windir).exitCode;
        return code < 0 ? 254 : code;
    });
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(readBytes(ini), earlier);
    EXPECT_EQ(names(windir), std::vector<std::string>{"Tarvel2.ini"});
}

TEST_F(SetiniTest, FailsAndWritesNothingWhereTheFileCannotBeWritten)
{
    const fs::path program = install(root.path() / "Tarvel");
    writeBytes(root.path() / "archivo", "no soy una carpeta");

    std::vector<fs::path> unwritable = {root.path() / "no-existe", root.path() / "archivo" / "win"};
    if (geteuid() != 0) {  // permissions do not stop the superuser
        const fs::path readOnly = root.path() / "solo-lectura";
        fs::create_directory(readOnly);
        fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
        unwritable.push_back(readOnly);
    }
    for (const fs::path& dir : unwritable) {
        const test::ProgramRun result = run(program, dir);
        EXPECT_EQ(result.exitCode, 1) << dir;
        EXPECT_EQ(result.output, "") << dir;
        std::error_code ec;
        EXPECT_FALSE(fs::exists(dir / "Tarvel2.ini", ec)) << dir;
    }
    EXPECT_FALSE(fs::exists(root.path() / "no-existe"));  // not created either
    if (geteuid() != 0) {
        EXPECT_TRUE(fs::is_empty(root.path() / "solo-lectura"));
    }

    // No Windows directory at all: nothing names one.
    const test::ProgramRun nowhere = test::runProgram(
        program,
        {{"TARVEL_WINDIR", std::nullopt}, {"XDG_CONFIG_HOME", ""}, {"HOME", std::nullopt}});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_EQ(nowhere.output, "");
}

TEST_F(SetiniTest, WritesWhereTheMainProgramLooks)
{
    const fs::path dir = root.path() / "Tarvel";
    const fs::path program = install(dir);
    const fs::path xdg = root.path() / "xdg";
    const fs::path home = root.path() / "home";
    fs::create_directories(xdg);
    fs::create_directories(home / ".config");

    // An empty TARVEL_WINDIR counts as unset.
    ASSERT_EQ(test::runProgram(program, {{"TARVEL_WINDIR", ""},
                                         {"XDG_CONFIG_HOME", xdg.string()},
                                         {"HOME", home.string()}})
                  .exitCode,
              0);
    EXPECT_EQ(readBytes(xdg / "Tarvel2.ini"), fiveLines(dir.string()));

    ASSERT_EQ(test::runProgram(program, {{"TARVEL_WINDIR", std::nullopt},
                                         {"XDG_CONFIG_HOME", std::nullopt},
                                         {"HOME", home.string()}})
                  .exitCode,
              0);
    EXPECT_EQ(readBytes(home / ".config" / "Tarvel2.ini"), fiveLines(dir.string()));
    EXPECT_TRUE(fs::is_empty(windir));
}

TEST_F(SetiniTest, DirectoryNamesBeyondAsciiAreStoredAsTheMainProgramReadsThem)
{
    struct Case {
        const char* name;    // UTF-8, as the file system holds it
        const char* stored;  // the bytes in the file
    };
    const Case cases[] = {
        {"Tecnolog\u00EDa",
         "Tecnolog\xED"
         "a"},  // Windows-1252
        {"Se\u00F1ales \u20AC",
         "Se\xF1"
         "ales \x80"},                     // above Latin-1 too
        {"\u65E5\u672C", "\u65E5\u672C"},  // no Windows-1252 byte: UTF-8 kept
        {"\u00C3\u00A9", "\u00C3\u00A9"},  // C3 A9 would read back as an e acute
        {"caf\xE9", "caf\xE9"},            // not UTF-8: kept as it is
    };
    int n = 0;
    for (const Case& c : cases) {
        const fs::path parent = root.path() / ("caso " + std::to_string(n++));
        ASSERT_EQ(run(install(parent / c.name), windir).exitCode, 0) << c.name;
        EXPECT_EQ(readBytes(ini), fiveLines(parent.string() + "/" + c.stored)) << c.name;
    }
}

TEST_F(SetiniTest, FoldersShippedInAnotherLetterCaseAreNamedAsTheyAre)
{
    const fs::path dir = root.path() / "Tarvel";
    const fs::path program = install(dir);
    fs::create_directory(dir / "SENSORS");
    fs::create_directory(dir / "mimics");
    fs::create_directory(dir / "Mimics");
    writeBytes(dir / "configur.fcf", "AAAAAAAA");

    ASSERT_EQ(run(program, windir).exitCode, 0);
    const std::string d = dir.string();
    // The first match in name order when several spellings exist.
    EXPECT_EQ(readBytes(ini), "[LOCATIONS]\r\nSENSORS=" + d + "/SENSORS\r\nCONFIGURATION=" + d +
                                  "/configur.fcf\r\nMIMICS=" + d + "/Mimics\r\nINTERVAL=20\r\n");

    // The exact spelling wins whenever it is there.
    fs::create_directory(dir / "Sensors");
    writeBytes(dir / "CONFIGUR.FCF", "AAAAAAAA");
    fs::create_directory(dir / "MIMICS");
    ASSERT_EQ(run(program, windir).exitCode, 0);
    EXPECT_EQ(readBytes(ini), fiveLines(d));
}

TEST_F(SetiniTest, UnderAPrefixItPointsAtTheDataFolderBesideItsOwn)
{
    // bin/Setini with the shipped files in share/tarvel2, as `cmake --install`
    // and the package leave them.
    const fs::path prefix = root.path() / "usr local";
    const fs::path program = install(prefix / "bin");
    const fs::path data = prefix / "share" / "tarvel2";
    fs::create_directories(data / "SENSORS");
    fs::create_directories(data / "MIMICS");
    writeBytes(data / "CONFIGUR.FCF", "CBAAAAAA");

    ASSERT_EQ(run(program, windir).exitCode, 0);
    const std::string d = data.string();
    EXPECT_EQ(readBytes(ini), "[LOCATIONS]\r\nSENSORS=" + d + "/SENSORS\r\nCONFIGURATION=" + d +
                                  "/CONFIGUR.FCF\r\nMIMICS=" + d + "/MIMICS\r\nINTERVAL=20\r\n");

    // Any of the files beside the program still puts them all there.
    fs::create_directory(prefix / "bin" / "MIMICS");
    ASSERT_EQ(run(program, windir).exitCode, 0);
    EXPECT_EQ(readBytes(ini), fiveLines((prefix / "bin").string()));
}

TEST_F(SetiniTest, APathLongerThanTheMainProgramReadsLeavesTheOldFile)
{
    // The longest value is CONFIGURATION's: the directory and "/CONFIGUR.FCF".
    const std::size_t suffix = std::string("/CONFIGUR.FCF").size();
    const std::size_t fits = 255 - suffix - root.path().string().size() - 1;
    const fs::path longest = root.path() / std::string(fits, 'a');
    ASSERT_EQ(run(install(longest), windir).exitCode, 0);
    EXPECT_EQ(readBytes(ini), fiveLines(longest.string()));

    const std::string earlier = readBytes(ini);
    const test::ProgramRun tooLong = run(install(root.path() / std::string(fits + 1, 'b')), windir);
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_EQ(tooLong.output, "");
    EXPECT_EQ(readBytes(ini), earlier);
    EXPECT_EQ(names(windir), std::vector<std::string>{"Tarvel2.ini"});
}

}  // namespace
}  // namespace tarvel

#endif
