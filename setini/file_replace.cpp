#include "file_replace.h"
#include "file_names.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#endif

namespace setini {

namespace {

enum class Outcome { Written, NameTaken, Failed };

#ifdef _WIN32

// Writes a new file, not shared while it is written; a file it began and could
// not finish is deleted again.
Outcome writeNew(const std::filesystem::path& file, std::string_view bytes)
{
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS ? Outcome::NameTaken : Outcome::Failed;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        DWORD written = 0;
        ok = WriteFile(h, bytes.data() + done, DWORD(bytes.size() - done), &written, nullptr) &&
             written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (ok) return Outcome::Written;
    DeleteFileW(file.c_str());
    return Outcome::Failed;
}

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

int processId()
{
    return int(GetCurrentProcessId());
}

#else

// Writes a new file; one it began and could not finish is deleted again. It
// gets the usual permissions (0666 less the umask) rather than a private
// temporary file's, since the program that reads it may run under another
// account.
Outcome writeNew(const std::filesystem::path& file, std::string_view bytes)
{
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? Outcome::NameTaken : Outcome::Failed;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += std::size_t(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) return Outcome::Written;
    unlink(file.c_str());
    return Outcome::Failed;
}

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

int processId()
{
    return int(getpid());
}

// On the program's home platform there is only one file of a name whatever its
// letter case; a second spelling left here would be the one a reader might
// find first.
bool removeOtherSpellings(const std::filesystem::path& dir, std::string_view name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return true;  // a directory that cannot be listed hides them from readers too
    bool ok = true;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) return false;
        const std::string entry = it->path().filename().string();
        if (entry != name && equalsIgnoreCase(entry, name)) {
            std::error_code removeError;
            if (!fs::remove(it->path(), removeError)) ok = false;
        }
    }
    return ok;
}

#endif

}  // namespace

bool replaceFile(const std::filesystem::path& dir, std::string_view name, std::string_view bytes)
{
    namespace fs = std::filesystem;
    const fs::path target = dir / fs::path(std::string(name));
    std::error_code ec;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path temporary =
            dir / fs::path(std::string(name) + "." + std::to_string(processId()) + "-" +
                           std::to_string(attempt) + ".tmp");
        const Outcome written = writeNew(temporary, bytes);
        if (written == Outcome::NameTaken) continue;
        if (written == Outcome::Failed) return false;
        if (!moveOver(temporary, target)) {
            fs::remove(temporary, ec);
            return false;
        }
#ifdef _WIN32
        return true;
#else
        return removeOtherSpellings(dir, name);
#endif
    }
    return false;
}

}  // namespace setini
