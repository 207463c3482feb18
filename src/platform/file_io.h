#pragma once
// Whole-file reading and safe replacing writes: saving never destroys the
// previous file on failure. Paths are UTF-8 text.

#include <string>
#include <string_view>

namespace tarvel {

// Writes bytes to a file, the one save routine of the program. The new bytes go
// to a temporary file beside the target, which then takes the target's place
// with the target's permissions, so the old file survives any failure. A save
// through a symbolic link writes the file the link leads to. Where no file can
// be created beside the target (a folder that only lets its files be written)
// or the file has other names (hard links), the target is rewritten in place,
// and its old bytes are put back if the new ones cannot all be written. A file
// that cannot be written is refused and left alone.
enum class WriteResult { Ok, OpenFailed, WriteFailed };
WriteResult writeFileReplacing(const std::string& path, std::string_view bytes);
// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes);

}  // namespace tarvel
