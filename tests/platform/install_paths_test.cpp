// Finding the data installed with the program from the program's own folder.

#include "platform/install_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

TEST(InstallPaths, TheDataFolderIsFoundBesideTheProgramsFolderWhereverThePrefixLies)
{
    test::TempDir root;
    const fs::path prefix = root.path() / "opt" / "Tarvel 2";
    fs::create_directories(prefix / "bin");
    // Nothing installed yet: a program run from its build tree.
    EXPECT_FALSE(installedDataDir(prefix / "bin"));

    const fs::path data = (prefix / "bin" / dataDirFromProgramDir()).lexically_normal();
    fs::create_directories(data);
    const auto found = installedDataDir(prefix / "bin");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, data);
    // A clean path: the configuration and the initialisation file show it.
    for (const fs::path& part : *found) EXPECT_NE(part, "..") << *found;

    // The whole prefix moved elsewhere.
    const fs::path moved = root.path() / "usr" / "local";
    fs::create_directories(moved.parent_path());
    fs::rename(prefix, moved);
    EXPECT_EQ(installedDataDir(moved / "bin"),
              (moved / "bin" / dataDirFromProgramDir()).lexically_normal());
    EXPECT_FALSE(installedDataDir(prefix / "bin"));

    // A file where the folder should be is not a data folder; nor is an unknown program folder.
    fs::remove_all(moved / "bin" / dataDirFromProgramDir());
    std::ofstream(moved / "bin" / dataDirFromProgramDir()) << "no";
    EXPECT_FALSE(installedDataDir(moved / "bin"));
    EXPECT_FALSE(installedDataDir(fs::path()));
}

#ifdef __linux__
TEST(InstallPaths, TheProgramsFolderIsTheOneItsExecutableLiesIn)
{
    const fs::path dir = programDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(fs::is_regular_file(dir / "tarvel_core_tests")) << dir;
}
#endif

}  // namespace
}  // namespace tarvel
