#pragma once
// Replacing a file whole: the new content goes to a temporary file beside it,
// which is renamed over the old one only once it is complete, so the old file
// stays as it was when anything fails.

#include <filesystem>
#include <string_view>

namespace setini {

// Writes `bytes` as the file `name` in `dir`. Where the file system tells
// letter cases apart, other spellings of the same name are removed afterwards,
// leaving the one file that a case-insensitive reader can find. False on any
// failure.
bool replaceFile(const std::filesystem::path& dir, std::string_view name, std::string_view bytes);

}  // namespace setini
