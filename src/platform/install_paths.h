#pragma once
// Where an installed program finds the files that ship with it. The data folder
// lies at a fixed place relative to the folder of the executables (by default
// share/tarvel2 beside bin/ under one prefix), so a prefix that is moved or
// unpacked elsewhere as a whole keeps working without any configuration.

#include <filesystem>
#include <optional>

namespace tarvel {

// The data folder as seen from the folder of the executables, as installed.
std::filesystem::path dataDirFromProgramDir();

// The folder that holds the running executable; empty when the system does not
// say.
std::filesystem::path programDirectory();

// The installed data folder for executables in `programDir`, when it exists
// (a program run from its build tree has none).
std::optional<std::filesystem::path> installedDataDir(const std::filesystem::path& programDir);

}  // namespace tarvel
