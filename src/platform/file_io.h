#pragma once
// Whole-file reading and safe replacing writes: saving never destroys the
// previous file on failure.

#include <string>
#include <string_view>

namespace tarvel {

// Writes bytes to a file through a temporary beside it and a rename, so the
// old file survives any failure.
enum class WriteResult { Ok, OpenFailed, WriteFailed };
WriteResult writeFileReplacing(const std::string& path, std::string_view bytes);
// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes);

}  // namespace tarvel
