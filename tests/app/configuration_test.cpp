// Start-up configuration with the machine-wide settings and the Windows
// directory both pointed at temporary folders.

#include "app/configuration.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QSettings>
#include <fstream>
#include <map>
#include <optional>

#include "interfaces/interface_config.h"
#include "platform/install_paths.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~EnvOverride()
    {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

class ConfigurationTest : public ::testing::Test {
protected:
    ConfigurationTest()
    {
        const QString scope = QString::fromStdString((root.path() / "system").string());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, scope);
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, scope);
        std::filesystem::create_directories(windir());
    }

    std::filesystem::path windir() const { return root.path() / "windows"; }
    const std::string current = "/home/aula/tarvel";

    void writeKey(const std::map<QString, QVariant>& values)
    {
        QSettings key(QSettings::SystemScope, QStringLiteral("Orvane"), QStringLiteral("Tarvel2"));
        for (const auto& [name, value] : values) key.setValue(name, value);
        key.sync();
        ASSERT_EQ(key.status(), QSettings::NoError);
    }
    void writeIni(const std::string& bytes, const char* name = "TARVEL2.INI")
    {
        std::ofstream(windir() / name, std::ios::binary) << bytes;
    }

    test::TempDir root;
    EnvOverride windirEnv{"TARVEL_WINDIR", windir().c_str()};
};

const std::string kFullIni =
    "[LOCATIONS]\r\n"
    "MIMICS=/srv/ini/mimics\r\n"
    "CONFIGURATION=/srv/ini/CONFIGUR.FCF\r\n"
    "SENSORS=/srv/ini/sensors\r\n"
    "FILEDIR=/srv/ini/charts\r\n"
    "INTERVAL=40\r\n"
    "MULTIPLICITY=3\r\n"
    "BASEIO=3A0\r\n"
    "COM2=/dev/ttyUSB0\r\n";

TEST_F(ConfigurationTest, NoKeyAndNoFileGiveDefaultsUnderTheCurrentDirectory)
{
    const AppConfiguration c = loadConfiguration(current);
    EXPECT_EQ(c.mimicsDir, current + "/MIMICS");
    EXPECT_EQ(c.configPath, current + "/CONFIGUR.FCF");
    EXPECT_EQ(c.sensorsDir, current + "/SENSORS");
    EXPECT_EQ(c.fileDir, "");
    EXPECT_EQ(c.interval, 20);
    EXPECT_EQ(c.multiplicity, 1);
    EXPECT_EQ(c.baseIo, 0x300);
    for (const auto& device : c.comDevices) EXPECT_EQ(device, "");
    EXPECT_EQ(c.portNames().device(0), PortNames::defaults().device(0));
}

TEST_F(ConfigurationTest, ACompleteKeyWinsOverTheFile)
{
    writeIni(kFullIni);
    writeKey({{"Mimics", "/srv/key/mimics"},
              {"Configuration", "/srv/key/CONFIGUR.FCF"},
              {"Sensors", "/srv/key/sensors"},
              {"Interval", 60},
              {"Multiplicity", 2},
              {"COM1", "/dev/ttyACM0"}});
    AppConfiguration c = loadConfiguration(current);
    EXPECT_EQ(c.mimicsDir, "/srv/key/mimics");
    EXPECT_EQ(c.configPath, "/srv/key/CONFIGUR.FCF");
    EXPECT_EQ(c.sensorsDir, "/srv/key/sensors");
    EXPECT_EQ(c.fileDir, "");  // optional in the key, and not taken from the file
    EXPECT_EQ(c.interval, 60);
    EXPECT_EQ(c.multiplicity, 2);
    // Only the file knows the base address and the devices the key leaves out.
    EXPECT_EQ(c.baseIo, 0x3A0);
    EXPECT_EQ(c.comDevices[0], "/dev/ttyACM0");
    EXPECT_EQ(c.comDevices[1], "/dev/ttyUSB0");
    EXPECT_EQ(c.portNames().device(0), "/dev/ttyACM0");

    // The run timer's floor holds for the key as well.
    writeKey({{"FileDir", "/srv/key/charts"}, {"Interval", 5}, {"Multiplicity", 0}});
    c = loadConfiguration(current);
    EXPECT_EQ(c.fileDir, "/srv/key/charts");
    EXPECT_EQ(c.interval, 20);
    EXPECT_EQ(c.multiplicity, 1);
}

TEST_F(ConfigurationTest, AnIncompleteKeySendsEverythingToTheFile)
{
    writeIni(kFullIni);
    writeKey({{"Mimics", "/srv/key/mimics"},
              {"Configuration", "/srv/key/CONFIGUR.FCF"},
              {"Sensors", "/srv/key/sensors"},
              {"FileDir", "/srv/key/charts"},
              {"Interval", 60},
              {"COM1", "/dev/ttyACM0"}});
    const AppConfiguration c = loadConfiguration(current);
    EXPECT_EQ(c.mimicsDir, "/srv/ini/mimics");
    EXPECT_EQ(c.configPath, "/srv/ini/CONFIGUR.FCF");
    EXPECT_EQ(c.sensorsDir, "/srv/ini/sensors");
    EXPECT_EQ(c.fileDir, "/srv/ini/charts");
    EXPECT_EQ(c.interval, 40);
    EXPECT_EQ(c.multiplicity, 3);
    EXPECT_EQ(c.comDevices[0], "");
    EXPECT_EQ(c.comDevices[1], "/dev/ttyUSB0");
}

TEST_F(ConfigurationTest, TheBoardPinsComeFromTheFirmataSection)
{
    writeIni(kFullIni + "[FIRMATA]\r\nOUT8=A4\r\nIN5=\r\n");
    AppConfiguration c = loadConfiguration(current);
    EXPECT_FALSE(c.firmataRefusal);
    EXPECT_EQ(c.firmataPins.outputs[7], 18);
    EXPECT_EQ(c.firmataPins.inputs[4], kNoPin);
    EXPECT_EQ(c.firmataPins.inputs[0], 10);  // left out: the default
    EXPECT_EQ(c.interval, 40);               // the locations are read all the same

    // A pin used twice is refused with its keys; the defaults stand.
    writeIni(kFullIni + "[FIRMATA]\r\nOUT8=A4\r\n");
    c = loadConfiguration(current);
    ASSERT_TRUE(c.firmataRefusal);
    EXPECT_NE(c.firmataRefusal->text.find("OUT8 y en IN5"), std::string::npos);
    EXPECT_EQ(c.firmataPins, FirmataPinMap::defaults());
}

TEST_F(ConfigurationTest, TheFileIsReadWhateverTheCaseOfItsNameAndKeys)
{
    writeIni(
        "[Locations]\n"
        "Mimics=/srv/m\n"
        "sensors=C:\\Archivos de programa\\Tarvel\\Se\xF1"
        "ales\n"  // as the installer writes it
        "iNtErVaL=35\n"
        "baseio=0x2f8\n"
        "Com6=/dev/ttyS9\n",
        "tarvel2.ini");
    const AppConfiguration c = loadConfiguration(current);
    EXPECT_EQ(c.mimicsDir, "/srv/m");
    EXPECT_EQ(c.sensorsDir, "C:\\Archivos de programa\\Tarvel\\Se\u00F1ales");
    EXPECT_EQ(c.configPath, current + "/CONFIGUR.FCF");  // missing keys take the defaults
    EXPECT_EQ(c.interval, 35);
    EXPECT_EQ(c.baseIo, 0x2F8);
    EXPECT_EQ(c.comDevices[5], "/dev/ttyS9");
    EXPECT_EQ(c.portNames().device(5), "/dev/ttyS9");
}

TEST_F(ConfigurationTest, BadNumbersAndEmptyNamesTakeTheDefaults)
{
    struct Case {
        const char* interval;
        const char* multiplicity;
        const char* baseIo;
        int wantInterval, wantMultiplicity, wantBaseIo;
    };
    for (const Case k :
         {Case{"fast", "x", "zz", 20, 1, 0x300}, Case{"10", "-4", "-300", 20, 1, 0x300},
          Case{"  500ms", "+7", "378h", 500, 7, 0x378},
          Case{"99999999999", "", "", 20, 1, 0x300}}) {
        writeIni(std::string("[LOCATIONS]\r\nMIMICS=\r\nCONFIGURATION=\r\nINTERVAL=") + k.interval +
                 "\r\nMULTIPLICITY=" + k.multiplicity + "\r\nBASEIO=" + k.baseIo + "\r\n");
        const AppConfiguration c = loadConfiguration(current);
        EXPECT_EQ(c.interval, k.wantInterval) << k.interval;
        EXPECT_EQ(c.multiplicity, k.wantMultiplicity) << k.multiplicity;
        EXPECT_EQ(c.baseIo, k.wantBaseIo) << k.baseIo;
        EXPECT_EQ(c.mimicsDir, current + "/MIMICS");
        EXPECT_EQ(c.configPath, current + "/CONFIGUR.FCF");
    }
}

#ifndef _WIN32
TEST_F(ConfigurationTest, WhatNothingNamesIsTakenFromTheInstalledDataElseTheCurrentFolder)
{
    const std::filesystem::path prefix = root.path() / "prefix";
    std::filesystem::create_directories(prefix / "bin");
    const std::string bin = (prefix / "bin").string();
    EXPECT_EQ(defaultDataFolder(bin, current), current);

    const std::filesystem::path data =
        (prefix / "bin" / dataDirFromProgramDir()).lexically_normal();
    std::filesystem::create_directories(data);
    EXPECT_EQ(defaultDataFolder(bin, current), data.string());

    // The initialisation file still wins over the installed data.
    writeIni("[LOCATIONS]\r\nSENSORS=/srv/aula/sensores\r\n");
    const AppConfiguration config = loadConfiguration(defaultDataFolder(bin, current));
    EXPECT_EQ(config.sensorsDir, "/srv/aula/sensores");
    EXPECT_EQ(config.mimicsDir, (data / "MIMICS").string());
    EXPECT_EQ(config.configPath, (data / "CONFIGUR.FCF").string());
}

TEST(WindowsDirectory, FallsBackToTheUserConfigurationFolder)
{
    EnvOverride windir("TARVEL_WINDIR", nullptr);
    {
        EnvOverride xdg("XDG_CONFIG_HOME", "/tmp/xdg-here");
        EXPECT_EQ(windowsDirectory(), "/tmp/xdg-here");
    }
    EnvOverride xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(windowsDirectory(), (QDir::homePath() + "/.config").toStdString());
    EnvOverride forced("TARVEL_WINDIR", "/opt/win");
    EXPECT_EQ(windowsDirectory(), "/opt/win");
}
#endif

TEST(InterfaceSettingsAtStartUp, AnUnreadableRecordFallsBackWithAMessage)
{
    test::TempDir dir;
    test::FakeMessages messages;

    const std::string missing = (dir.path() / "CONFIGUR.FCF").string();
    EXPECT_EQ(startupInterfaceSettings(missing, messages), fallbackSettings());
    EXPECT_FALSE(loadInterfaceConfig(missing, test::ignoredMessages()));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "No se puede cargar Configuración");
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);

    std::ofstream(missing, std::ios::binary) << "CCAB";  // too short to be a record
    EXPECT_FALSE(loadInterfaceConfig(missing, messages));
    EXPECT_EQ(messages.shown.size(), 2u);

    std::ofstream(missing, std::ios::binary) << "BCABL@AC";
    const Result<InterfaceSettings> read = loadInterfaceConfig(missing, messages);
    ASSERT_TRUE(read);
    const InterfaceSettings s = read.value();
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(s.model, 11);
    EXPECT_EQ(s.port, -1);
    EXPECT_EQ(s.subModel, 2);

    // Saved as "configur.fcf" on a disk that tells the cases apart: found all the same.
    std::filesystem::rename(missing, dir.path() / "configur.fcf");
    EXPECT_EQ(startupInterfaceSettings(missing, messages), s);
    EXPECT_TRUE(loadInterfaceConfig(missing, messages));
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(InterfaceSettingsAtStartUp, PortIsKeptWithinThePresentPorts)
{
    const PortPresence none{};
    const PortPresence com3to5{false, false, true, true, true, false};
    struct Case {
        int port;
        const PortPresence& present;
        int want;
    };
    for (const Case c : {Case{0, com3to5, 2}, Case{3, com3to5, 3}, Case{5, com3to5, 4},
                         Case{-1, com3to5, -1}, Case{-7, com3to5, 2}, Case{2, none, 2},
                         Case{5, none, 4}, Case{-1, none, -1}, Case{-3, none, 0}}) {
        InterfaceSettings s;
        s.mode = 1;
        s.port = c.port;
        s.subModel = 3;
        adjustStartupPort(s, c.present);
        EXPECT_EQ(s.port, c.want) << c.port;
        EXPECT_EQ(s.subModel, 3);
    }

    InterfaceSettings noInterface;
    noInterface.mode = 0;
    noInterface.subModel = 2;
    adjustStartupPort(noInterface, com3to5);
    EXPECT_EQ(noInterface.subModel, 0);
}

}  // namespace
}  // namespace tarvel
