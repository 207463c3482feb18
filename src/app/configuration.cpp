#include "app/configuration.h"

#include <QDir>
#include <QSettings>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "interfaces/interface_config.h"
#include "platform/cp1252.h"
#include "platform/file_lookup.h"
#include "platform/ini_file.h"
#include "platform/install_paths.h"
#include "platform/messages.h"
#include "platform/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tarvel {

namespace {

constexpr int kDefaultInterval = 20;
constexpr int kDefaultMultiplicity = 1;
constexpr int kDefaultBaseIo = 0x300;

// A number as the C library reads one: leading blanks, an optional sign, then
// digits, anything after them ignored. No digits, or a number beyond int, gives
// the fallback.
int parseNumber(std::string_view text, int base, int fallback)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() ? value : fallback;
}

// Values of the initialisation file are Windows-1252 as the installer writes
// them; one edited by hand elsewhere may well be UTF-8 already.
std::string iniText(const std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return utf8.hasError() ? cp1252ToUtf8(bytes) : text.toStdString();
}

// The pace has the run timer's floor: 20 ms and one pass per tick.
void applyPaceFloors(AppConfiguration& config)
{
    config.interval = std::max(config.interval, kDefaultInterval);
    config.multiplicity = std::max(config.multiplicity, kDefaultMultiplicity);
}

std::string comKey(int port)
{
    return "COM" + std::to_string(port + 1);
}

// An empty directory or file name would send the program looking in the
// current directory under no name at all; the default is meant instead.
void setPath(std::string& target, std::string value)
{
    if (!value.empty()) target = std::move(value);
}

}  // namespace

PortNames AppConfiguration::portNames() const
{
    PortNames names = PortNames::defaults();
    for (int n = 0; n < kComPorts; ++n) names.setDevice(n, comDevices[std::size_t(n)]);
    return names;
}

std::string windowsDirectory()
{
    const QString forced = qEnvironmentVariable("TARVEL_WINDIR");
    if (!forced.isEmpty()) return forced.toStdString();
#ifdef _WIN32
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (n > 0 && n <= MAX_PATH) return QString::fromWCharArray(buffer, int(n)).toStdString();
    return "C:/Windows";
#else
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty()) return xdg.toStdString();
    return (QDir::homePath() + QStringLiteral("/.config")).toStdString();
#endif
}

Result<AppConfiguration> parseConfiguration(const IniSection& ini, const SettingsKey& key,
                                            const std::string& currentDir)
{
    AppConfiguration config;
    config.mimicsDir = currentDir + "/MIMICS";
    config.configPath = currentDir + "/CONFIGUR.FCF";
    config.sensorsDir = currentDir + "/SENSORS";

    const auto iniValue = [&ini](std::string_view name) {
        const auto v = ini.value(name);
        return v ? iniText(*v) : std::string();
    };
    const auto keyText = [&key](const std::string& name) {
        const auto found = key.find(name);
        return found == key.end() ? std::string() : found->second;
    };

    // The base address has no place in the settings key, so the
    // initialisation file gives it however the rest is configured.
    config.baseIo = parseNumber(iniValue("BASEIO"), 16, kDefaultBaseIo);
    if (config.baseIo < 0) config.baseIo = kDefaultBaseIo;

    // A key lacking any of these is not used at all, not even its directories.
    constexpr std::array required{"Interval", "Mimics", "Configuration", "Sensors", "Multiplicity"};
    const bool keyComplete = std::all_of(required.begin(), required.end(),
                                         [&key](const char* name) { return key.count(name) > 0; });

    config.fromSettingsKey = keyComplete;
    if (keyComplete) {
        setPath(config.mimicsDir, keyText("Mimics"));
        setPath(config.configPath, keyText("Configuration"));
        setPath(config.sensorsDir, keyText("Sensors"));
        config.fileDir = keyText("FileDir");
        config.interval = parseNumber(keyText("Interval"), 10, kDefaultInterval);
        config.multiplicity = parseNumber(keyText("Multiplicity"), 10, kDefaultMultiplicity);
        // Devices the key does not name may still be named by the file.
        for (int n = 0; n < kComPorts; ++n) {
            const std::string device = keyText(comKey(n));
            config.comDevices[std::size_t(n)] = device.empty() ? iniValue(comKey(n)) : device;
        }
    } else {
        setPath(config.mimicsDir, iniValue("MIMICS"));
        setPath(config.configPath, iniValue("CONFIGURATION"));
        setPath(config.sensorsDir, iniValue("SENSORS"));
        config.fileDir = iniValue("FILEDIR");
        config.interval = parseNumber(iniValue("INTERVAL"), 10, kDefaultInterval);
        config.multiplicity = parseNumber(iniValue("MULTIPLICITY"), 10, kDefaultMultiplicity);
        for (int n = 0; n < kComPorts; ++n) config.comDevices[std::size_t(n)] = iniValue(comKey(n));
    }
    applyPaceFloors(config);
    return config;
}

AppConfiguration loadConfiguration(const std::string& defaultDir)
{
    // No initialisation file reads as one without keys.
    const auto iniPath = findIgnoringCase(pathFromUtf8(windowsDirectory()), "TARVEL2.INI");
    Result<IniSection> ini = iniPath ? loadIniSection(*iniPath, "LOCATIONS") : IniSection{};

    QSettings settings(QSettings::SystemScope, QStringLiteral("Orvane"), QStringLiteral("Tarvel2"));
    // The names are looked up as the platform's settings match them (without
    // regard to case in the registry).
    std::vector<std::string> names{"Interval", "Mimics",  "Configuration",
                                   "Sensors",  "FileDir", "Multiplicity"};
    for (int n = 0; n < kComPorts; ++n) names.push_back(comKey(n));
    SettingsKey key;
    for (const std::string& name : names) {
        const QString qname = QString::fromStdString(name);
        if (!settings.contains(qname)) continue;
        const QVariant value = settings.value(qname);
        // Outside Windows the key is a text file, where an unquoted path with
        // a comma in it reads back as a list.
        key[name] = value.typeId() == QMetaType::QStringList
                        ? value.toStringList().join(QLatin1Char(',')).toStdString()
                        : value.toString().toStdString();
    }
    AppConfiguration config =
        parseConfiguration(ini ? ini.value() : IniSection{}, key, defaultDir).value();
    const Result<FirmataPinMap> pins = loadFirmataPinMap(pathFromUtf8(windowsDirectory()));
    if (pins)
        config.firmataPins = pins.value();
    else
        config.firmataRefusal = pins.refusal();
    return config;
}

std::string defaultDataFolder(const std::string& programDir, const std::string& currentDir)
{
    const auto installed = installedDataDir(pathFromUtf8(programDir));
    return installed ? utf8FromPath(*installed) : currentDir;
}

InterfaceSettings startupInterfaceSettings(const std::string& configPath, Messages& messages)
{
    const Result<InterfaceSettings> record = loadInterfaceConfig(configPath, messages);
    return record ? record.value() : fallbackSettings();
}

void adjustStartupPort(InterfaceSettings& settings, const PortPresence& present)
{
    if (settings.mode == 0) settings.subModel = 0;
    if (settings.port == kUsbPort) return;
    const int first = firstPresentPort(present);
    const int last = lastPresentPort(present);
    settings.port = std::max(settings.port, first < 0 ? 0 : first);
    settings.port = std::min(settings.port, last < 0 ? 4 : last);
}

}  // namespace tarvel
