// Setini: run once after the program's files have been copied into their
// installation directory. It writes Tarvel2.ini in the Windows directory so that
// Tarvel2Esp finds its sensor tables, its configuration file and its mimics
// beside it (or in the data folder of an installation under a prefix). It shows
// nothing and takes no arguments: exit code 0 when the file is in place, 1 when
// it is not.

#include <filesystem>
#include <string>
#include <string_view>

#include "file_replace.h"
#include "ini_text.h"
#include "install_location.h"

int main()
{
    const auto windowsDir = setini::windowsDirectory();
    if (!windowsDir) return 1;
    const auto installDir = setini::installationDirectory();
    if (!installDir) return 1;
    const setini::InstallDirectory dataDir = setini::dataDirectory(*installDir);

    const auto inInstallDir = [&dataDir](std::string_view name) {
        return dataDir.text + setini::kSeparator + setini::nameOnDisk(dataDir.path, name);
    };
    const auto text = setini::locationsText(inInstallDir("Sensors"), inInstallDir("CONFIGUR.FCF"),
                                            inInstallDir("MIMICS"));
    if (!text) return 1;

    return setini::replaceFile(*windowsDir, setini::kIniFileName, *text) ? 0 : 1;
}
