// The installer and the program together: Setini, copied into an installation
// directory as a setup leaves it, writes the initialisation file, and the
// program's start-up reads its locations from it.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <QSettings>
#include <filesystem>

#include "app/configuration.h"
#include "interfaces/interface_config.h"
#include "support/fake_messages.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

TEST(SetiniEndToEnd, TheProgramFindsItsFilesWhereTheInstallerPointsIt)
{
    test::TempDir root;
    // No settings key, so the initialisation file decides.
    const QString scope = QString::fromStdString((root.path() / "system").string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, scope);
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, scope);

    // Spaces and a letter beyond ASCII in the name; the folders as shipped.
    const fs::path install = root.path() / "Programas del aula" / "Tarvel 2 Dise\u00F1o";
    fs::create_directories(install / "SENSORS");
    fs::create_directories(install / "MIMICS");
    fs::copy_file(fs::path(TARVEL_DATA_DIR) / "CONFIGUR.FCF", install / "CONFIGUR.FCF");
    fs::copy_file(SETINI_PATH, install / "Setini");
    const fs::path windir = root.path() / "Windows";
    fs::create_directories(windir);

    const test::ProgramRun setup =
        test::runProgram(install / "Setini", {{"TARVEL_WINDIR", windir.string()}});
    ASSERT_EQ(setup.exitCode, 0) << setup.output;

    const QByteArray previous = qgetenv("TARVEL_WINDIR");
    const bool wasSet = qEnvironmentVariableIsSet("TARVEL_WINDIR");
    qputenv("TARVEL_WINDIR", QByteArray::fromStdString(windir.string()));
    const AppConfiguration config = loadConfiguration("/home/aula");
    if (wasSet)
        qputenv("TARVEL_WINDIR", previous);
    else
        qunsetenv("TARVEL_WINDIR");

    EXPECT_EQ(config.sensorsDir, (install / "SENSORS").string());
    EXPECT_EQ(config.configPath, (install / "CONFIGUR.FCF").string());
    EXPECT_EQ(config.mimicsDir, (install / "MIMICS").string());
    EXPECT_EQ(config.interval, 20);
    EXPECT_EQ(config.multiplicity, 1);
    EXPECT_EQ(config.fileDir, "");
    EXPECT_TRUE(fs::is_directory(config.sensorsDir));

    test::FakeMessages messages;
    EXPECT_TRUE(loadInterfaceConfig(config.configPath, messages));
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace tarvel

#endif
