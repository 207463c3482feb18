#pragma once
// Where the installer writes, and the directory it was installed in.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace setini {

// The data folder of an installation under a prefix, seen from the folder of
// the executables; the build sets it from its installation directories.
#ifndef TARVEL_DATA_FROM_BIN
#define TARVEL_DATA_FROM_BIN "../share/tarvel2"
#endif
inline constexpr std::string_view kDataFromProgramDir = TARVEL_DATA_FROM_BIN;

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// The folder that stands for the Windows directory, as Tarvel2Esp looks for
// it: $TARVEL_WINDIR when set, else the Windows directory on Windows and
// $XDG_CONFIG_HOME (or ~/.config) elsewhere. Empty when there is none.
std::optional<std::filesystem::path> windowsDirectory();

struct InstallDirectory {
    std::filesystem::path path;  // for looking at its entries
    std::string text;            // as written to the file: UTF-8, no trailing separator
};

// The directory that holds this program's executable; on Windows in its short
// (8.3) form when the system gives one, elsewhere as it is. Empty when the
// program cannot find its own path.
std::optional<InstallDirectory> installationDirectory();

// The folder whose files the initialisation file names. Normally the
// installation directory itself, where the program's files lie beside Setini.
// When none of them (Sensors, CONFIGUR.FCF, MIMICS) is there but the data
// folder of an installation under a prefix is (bin/../share/tarvel2), that
// folder; otherwise the installation directory still.
InstallDirectory dataDirectory(const InstallDirectory& installDir);

// `name` spelled as the entry of `dir` that matches it ignoring case, so that
// a case-sensitive file system leads to the folders as they were shipped
// (SENSORS for Sensors); `name` itself when there is no such entry. On Windows
// the spelling does not matter and `name` is returned unchanged.
std::string nameOnDisk(const std::filesystem::path& dir, std::string_view name);

}  // namespace setini
