#pragma once
// Where the program finds its files and how fast it runs, read once at
// start-up: from the machine-wide settings key "Orvane/Tarvel2" when that is
// complete, otherwise from TARVEL2.INI, section LOCATIONS, in the Windows
// directory (written at installation). Then the interface record from
// CONFIGUR.FCF, fitted to the serial ports this machine has.

#include <array>
#include <map>
#include <optional>
#include <string>

#include "interfaces/firmata_pin_map.h"
#include "interfaces/interface_settings.h"
#include "interfaces/port_probe.h"
#include "platform/ini_file.h"
#include "platform/result.h"

namespace tarvel {

class Messages;

struct AppConfiguration {
    std::string mimicsDir, configPath, sensorsDir, fileDir;  // UTF-8 paths
    int interval = 20;                                       // run timer period in ms, at least 20
    int multiplicity = 1;                                    // passes per tick, at least 1
    int baseIo = 0x300;                                      // I/O base address of interface cards
    std::array<std::string, kComPorts> comDevices;           // empty = default device
    bool fromSettingsKey = false;  // the settings key was complete (else the file was read)
    // The board pins of the initialisation file's [FIRMATA] section, or why
    // they were refused (then the defaults stand and no board is driven).
    FirmataPinMap firmataPins = FirmataPinMap::defaults();
    std::optional<Refusal> firmataRefusal;

    // The port names with the configured devices in place of the defaults.
    PortNames portNames() const;
};

// The folder that stands for the Windows directory: $TARVEL_WINDIR when set,
// else the Windows directory on Windows, $XDG_CONFIG_HOME (or ~/.config)
// elsewhere.
std::string windowsDirectory();

// The values of the machine-wide settings key, by the names the key holds.
using SettingsKey = std::map<std::string, std::string>;

// The configuration from the LOCATIONS section of the initialisation file
// (values as stored) and the settings key; `currentDir` gives the places used
// where neither names one. Never refused: missing or malformed values take
// their defaults.
Result<AppConfiguration> parseConfiguration(const IniSection& ini, const SettingsKey& key,
                                            const std::string& currentDir);

// Reads the settings key and the initialisation file and parses them;
// `defaultDir` holds the places neither names (see defaultDataFolder).
AppConfiguration loadConfiguration(const std::string& defaultDir);

// The folder whose MIMICS, CONFIGUR.FCF and SENSORS are used when neither the
// settings key nor the initialisation file names them: the data installed with
// the program in `programDir`, else the current folder (a program run from its
// build tree, or from a folder that holds its files as they shipped).
std::string defaultDataFolder(const std::string& programDir, const std::string& currentDir);

// The interface record of CONFIGUR.FCF at start-up. When it cannot be read,
// "No se puede cargar Configuración" is shown and the fallback record stands.
InterfaceSettings startupInterfaceSettings(const std::string& configPath, Messages& messages);

// Fits the record read at start-up to this machine: with no interface the
// subModel is 0, and a COM port is kept within the present ports (within COM1
// to COM5 when none is present). USB (-1) is left alone.
void adjustStartupPort(InterfaceSettings& settings, const PortPresence& present);

}  // namespace tarvel
