#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/file_lookup.h"
#include "platform/utf8_path.h"
#include "support/fault_child.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path)
{
    std::string bytes;
    EXPECT_TRUE(readWholeFile(utf8FromPath(path), bytes)) << path;
    return bytes;
}

void put(const fs::path& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Everything in the folder, to see that no temporary file is left behind.
std::vector<std::string> names(const fs::path& dir)
{
    std::vector<std::string> all;
    for (const auto& entry : fs::directory_iterator(dir))
        all.push_back(utf8FromPath(entry.path().filename()));
    std::sort(all.begin(), all.end());
    return all;
}

TEST(FileSave, ReplacesTheFileAndKeepsItsPermissions)
{
    test::TempDir dir;
    const fs::path file = dir.path() / "faro.FLO";
    put(file, "anterior");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, mode);

    ASSERT_EQ(writeFileReplacing(utf8FromPath(file), "nuevo"), WriteResult::Ok);
    EXPECT_EQ(contents(file), "nuevo");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, mode);
    EXPECT_EQ(names(dir.path()), std::vector<std::string>{"faro.FLO"});
}

TEST(FileSave, ThroughASymbolicLinkWritesTheFileItLeadsTo)
{
    test::TempDir dir;
    fs::create_directory(dir.path() / "real");
    const fs::path target = dir.path() / "real" / "faro.FLO";
    put(target, "anterior");
    fs::create_symlink(fs::path("real") / "faro.FLO", dir.path() / "enlace.FLO");
    fs::create_symlink("enlace.FLO", dir.path() / "enlace2.FLO");  // a link to a link

    ASSERT_EQ(writeFileReplacing(utf8FromPath(dir.path() / "enlace2.FLO"), "nuevo"),
              WriteResult::Ok);
    EXPECT_EQ(contents(target), "nuevo");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "enlace.FLO"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "enlace2.FLO"));
    EXPECT_EQ(names(dir.path() / "real"), std::vector<std::string>{"faro.FLO"});

    // A file with a second name keeps both: the bytes are rewritten where they lie.
    fs::create_hard_link(target, dir.path() / "copia.FLO");
    ASSERT_EQ(writeFileReplacing(utf8FromPath(target), "otra vez"), WriteResult::Ok);
    EXPECT_EQ(contents(dir.path() / "copia.FLO"), "otra vez");
}

#ifndef _WIN32
// Runs `work` with the rights of an ordinary account, as on a school machine;
// the test itself may run with every right, which no folder would refuse.
int asOrdinaryUser(const std::function<int()>& work)
{
    return test::runInChild({.ordinaryUser = true}, work);
}

TEST(FileSave, AFolderThatOnlyLetsItsFilesBeWrittenStillSaves)
{
    test::TempDir dir;
    const fs::path file = dir.path() / "faro.FLO";
    const fs::path locked = dir.path() / "bloqueado.FLO";
    put(file, "anterior, y m\xE1s largo que lo nuevo");
    put(locked, "solo lectura");
    using fs::perms;
    fs::permissions(file, perms::owner_read | perms::owner_write | perms::group_read |
                              perms::group_write | perms::others_read | perms::others_write);
    fs::permissions(locked, perms::owner_read | perms::group_read | perms::others_read);
    fs::permissions(dir.path(), perms::owner_read | perms::owner_exec | perms::group_read |
                                    perms::group_exec | perms::others_read | perms::others_exec);

    const int saved = asOrdinaryUser(
        [&] { return static_cast<int>(writeFileReplacing(utf8FromPath(file), "nuevo")); });
    const int refused = asOrdinaryUser(
        [&] { return static_cast<int>(writeFileReplacing(utf8FromPath(locked), "nuevo")); });
    const int created = asOrdinaryUser([&] {
        return static_cast<int>(writeFileReplacing(utf8FromPath(dir.path() / "otro.FLO"), "x"));
    });
    fs::permissions(dir.path(), fs::perms::owner_all);

    EXPECT_EQ(saved, static_cast<int>(WriteResult::Ok));
    EXPECT_EQ(contents(file), "nuevo");
    // A read-only file is refused and stays as it was; a new file has nowhere to go.
    EXPECT_EQ(refused, static_cast<int>(WriteResult::OpenFailed));
    EXPECT_EQ(contents(locked), "solo lectura");
    EXPECT_EQ(created, static_cast<int>(WriteResult::OpenFailed));
    EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"bloqueado.FLO", "faro.FLO"}));
}
#endif

// Names with "ñ" and accents are saved, found and read under exactly that name.
TEST(FilePaths, NamesWithAccentsReachTheDiskAsTyped)
{
    const std::string name =
        "Dise\xC3\xB1o de se\xC3\xB1"
        "ales";  // "Diseño de señales", UTF-8
    EXPECT_EQ(pathFromUtf8(name), fs::path(u8"Dise\u00F1o de se\u00F1ales"));
    EXPECT_EQ(utf8FromPath(fs::path(u8"Dise\u00F1o de se\u00F1ales")), name);

    test::TempDir dir;
    const std::string folder = utf8FromPath(dir.path()) + "/" + name;
    fs::create_directory(pathFromUtf8(folder));
    const std::string file = folder +
                             "/Ca\xC3\xB1"
                             "a.FLO";  // "Caña.FLO"
    ASSERT_EQ(writeFileReplacing(file, "bytes"), WriteResult::Ok);
    EXPECT_EQ(names(pathFromUtf8(folder)), std::vector<std::string>{"Ca\xC3\xB1"
                                                                    "a.FLO"});
    std::string back;
    ASSERT_TRUE(readWholeFile(file, back));
    EXPECT_EQ(back, "bytes");
    EXPECT_EQ(findIgnoringCase(pathFromUtf8(folder),
                               "CA\xC3\xB1"
                               "A.flo"),
              pathFromUtf8(file));
    EXPECT_EQ(existingSpelling(folder + "/ca\xC3\xB1"
                                        "a.flo"),
              file);
}

}  // namespace
}  // namespace tarvel
