#pragma once
// File names travel through the program as UTF-8 text: the shell hands them
// over so, and the configuration is read so. The standard library takes a
// narrow string as the local code page on Windows, where a name with "ñ" or an
// accent would then miss its file or be written under a garbled name. Every
// open, save and lookup builds its path here instead.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// The command-line arguments of a program as UTF-8 (on Windows from the wide
// command line, as `argv` is in the local code page there).
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace tarvel
