#pragma once
// Where the WAV file of a sound slot lies. A slot holds the path as the
// pupil typed or browsed it, often on another machine: with backslashes, a
// drive letter, or another case. The file is looked for as written, then
// beside the chart (by the same relative path, then by its name alone), each
// ignoring case as on the program's home platform.

#include <string>

namespace tarvel {

// The path of an existing file for the slot text `slot` (UTF-8), or empty
// when there is none; `chartDir` is the chart's folder (empty: untitled).
std::string resolveSoundPath(const std::string& slot, const std::string& chartDir);

}  // namespace tarvel
