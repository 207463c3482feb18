#include "platform/file_io.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace tarvel {

bool readWholeFile(const std::string& path, std::string& bytes)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    f.seekg(0, std::ios::end);
    const std::streamoff size = f.tellg();
    if (size < 0) return false;
    f.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0) f.read(bytes.data(), size);
    return static_cast<bool>(f) || f.eof();
}

WriteResult writeFileReplacing(const std::string& path, std::string_view bytes)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return WriteResult::OpenFailed;
    fs::path temp = target;
    temp += ".tmp~";
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        if (!f) return WriteResult::OpenFailed;
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        f.flush();
        if (!f) {
            f.close();
            fs::remove(temp, ec);
            return WriteResult::WriteFailed;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return WriteResult::WriteFailed;
    }
    return WriteResult::Ok;
}

}  // namespace tarvel
