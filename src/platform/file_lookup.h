#pragma once
// File and directory names the program looks up (sensor folders, calibration
// files, the initialisation file, mimic sets) are matched without regard to
// case, as on the program's home platform.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvel {

// Names are UTF-8 (paths are built from them with pathFromUtf8).

// ASCII case folding of Windows-1252 / UTF-8 names; bytes above 0x7F compare as they are.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// The entry of `dir` whose name equals `name` ignoring case: the exact name when
// it exists, else the first match in name order (so the result does not depend
// on the order the file system lists entries). Empty when there is none or the
// directory cannot be read.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& dir,
                                                      std::string_view name);

// Resolves a relative path one component at a time, ignoring case in each.
std::optional<std::filesystem::path> resolveIgnoringCase(const std::filesystem::path& base,
                                                         const std::filesystem::path& relative);

// A file named by a UTF-8 path as it is spelled on disk: the path itself when
// it names an entry, else the entry of its folder whose name matches ignoring
// case, else the path unchanged (a file yet to be written takes that name).
std::string existingSpelling(const std::string& path);

}  // namespace tarvel
