#include "platform/file_io.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/utf8_path.h"

namespace tarvel {

namespace fs = std::filesystem;

namespace {

// More links in a row than this are a loop; the open then fails on its own.
constexpr int kSymlinkHopsMax = 40;

fs::path followLinks(fs::path path)
{
    std::error_code ec;
    for (int hop = 0; hop < kSymlinkHopsMax && fs::is_symlink(path, ec); ++hop) {
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

bool readBytes(const fs::path& path, std::string& bytes)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) return false;
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

enum class Written { Ok, NotOpened, Failed };

Written writeBytes(const fs::path& path, std::string_view bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return Written::NotOpened;
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    f.close();
    return f ? Written::Ok : Written::Failed;
}

// Opening for appending changes nothing, so it tells whether the file may be
// written before anything is written.
bool mayWrite(const fs::path& path)
{
    std::ofstream f(path, std::ios::binary | std::ios::app);
    return static_cast<bool>(f);
}

WriteResult writeInPlace(const fs::path& target, std::string_view bytes)
{
    std::string previous;
    const bool hadPrevious = readBytes(target, previous);
    switch (writeBytes(target, bytes)) {
        case Written::Ok:
            return WriteResult::Ok;
        case Written::NotOpened:
            return WriteResult::OpenFailed;
        case Written::Failed:
            break;
    }
    if (hadPrevious) writeBytes(target, previous);
    return WriteResult::WriteFailed;
}

}  // namespace

bool readWholeFile(const std::string& path, std::string& bytes)
{
    return readBytes(pathFromUtf8(path), bytes);
}

WriteResult writeFileReplacing(const std::string& path, std::string_view bytes)
{
    const fs::path target = followLinks(pathFromUtf8(path));
    std::error_code ec;
    if (fs::is_directory(target, ec)) return WriteResult::OpenFailed;
    const fs::file_status existing = fs::status(target, ec);
    const bool exists = fs::exists(existing);
    if (exists && !mayWrite(target)) return WriteResult::OpenFailed;
    if (exists) {
        const std::uintmax_t names = fs::hard_link_count(target, ec);
        if (!ec && names > 1) return writeInPlace(target, bytes);
    }

    fs::path temp = target;
    temp += ".tmp~";
    switch (writeBytes(temp, bytes)) {
        case Written::Ok:
            break;
        case Written::NotOpened:
            return writeInPlace(target, bytes);
        case Written::Failed:
            fs::remove(temp, ec);
            return WriteResult::WriteFailed;
    }
    if (exists) fs::permissions(temp, existing.permissions(), ec);
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return WriteResult::WriteFailed;
    }
    return WriteResult::Ok;
}

}  // namespace tarvel
