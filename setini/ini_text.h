#pragma once
// The text of the initialisation file: section LOCATIONS with four keys, each
// line ended by CR LF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace setini {

inline constexpr std::string_view kIniFileName = "Tarvel2.ini";

// Tarvel2Esp reads no more than this many bytes of a value.
inline constexpr std::size_t kIniValueMax = 255;

// The five lines for these three paths (UTF-8) in the bytes stored on disk.
// Empty when a value would be longer than Tarvel2Esp reads, since the program
// would then look in a folder cut short.
std::optional<std::string> locationsText(std::string_view sensorsDir,
                                         std::string_view configurationFile,
                                         std::string_view mimicsDir);

// A UTF-8 path as stored in the file. The file is Windows-1252, and so is the
// path when every character has a Windows-1252 byte. A path that has not, or
// whose Windows-1252 bytes would read as different UTF-8 characters (Tarvel2Esp
// takes a value that is valid UTF-8 as UTF-8), is stored as the UTF-8 bytes
// unchanged: a question mark in place of a letter would name another folder.
// Bytes that are not UTF-8 at all are stored as they are.
std::string storedPath(std::string_view utf8);

}  // namespace setini
