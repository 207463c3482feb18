#include "install_location.h"
#include "file_names.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace setini {

namespace {

#ifdef _WIN32

std::string toUtf8(const std::wstring& text)
{
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(std::size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), size, nullptr,
                            nullptr);
    return utf8;
}

// The short form of a directory, or the directory itself when the system has
// none for it (short names switched off on that volume, for instance).
std::wstring shortForm(const std::wstring& dir)
{
    // "C:" alone would mean the current directory of drive C.
    const bool driveRoot = dir.size() == 2 && dir[1] == L':';
    const std::wstring asked = driveRoot ? dir + L'\\' : dir;
    const DWORD need = GetShortPathNameW(asked.c_str(), nullptr, 0);
    if (need == 0) return dir;
    std::wstring result(need, L'\0');
    const DWORD got = GetShortPathNameW(asked.c_str(), result.data(), need);
    if (got == 0 || got >= need) return dir;
    result.resize(got);
    if (driveRoot && !result.empty() && result.back() == L'\\') result.pop_back();
    return result;
}

#else

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

#endif

bool holdsProgramFiles(const std::filesystem::path& dir)
{
    std::error_code ec;
    for (const std::string_view name : {"Sensors", "CONFIGUR.FCF", "MIMICS"})
        if (std::filesystem::exists(dir / std::filesystem::path(nameOnDisk(dir, name)), ec))
            return true;
    return false;
}

}  // namespace

std::optional<std::filesystem::path> windowsDirectory()
{
#ifdef _WIN32
    if (const wchar_t* forced = _wgetenv(L"TARVEL_WINDIR"); forced != nullptr && *forced != L'\0')
        return std::filesystem::path(forced);
    std::wstring buffer(MAX_PATH + 1, L'\0');
    UINT n = GetWindowsDirectoryW(buffer.data(), UINT(buffer.size()));
    if (n >= buffer.size()) {
        buffer.assign(n + 1, L'\0');
        n = GetWindowsDirectoryW(buffer.data(), UINT(buffer.size()));
    }
    if (n == 0 || n >= buffer.size()) return std::nullopt;
    buffer.resize(n);
    return std::filesystem::path(buffer);
#else
    if (auto forced = environment("TARVEL_WINDIR")) return std::filesystem::path(*forced);
    if (auto config = environment("XDG_CONFIG_HOME")) return std::filesystem::path(*config);
    if (auto home = environment("HOME")) return std::filesystem::path(*home) / ".config";
    return std::nullopt;
#endif
}

std::optional<InstallDirectory> installationDirectory()
{
#ifdef _WIN32
    // Long paths do not fit the classic 260 characters; a cut path would name
    // another directory, so the buffer grows until the whole path fits.
    std::wstring module;
    for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 2) {
        module.assign(size, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, module.data(), size);
        if (n == 0) return std::nullopt;
        if (n < size) {
            module.resize(n);
            break;
        }
        module.clear();
    }
    const auto cut = module.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return std::nullopt;
    const std::wstring dir = shortForm(module.substr(0, cut));
    return InstallDirectory{std::filesystem::path(dir), toUtf8(dir)};
#elif defined(__linux__)
    std::string exe(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
        if (n < 0) return std::nullopt;
        if (std::size_t(n) < exe.size()) {
            exe.resize(std::size_t(n));
            break;
        }
        if (exe.size() >= 65536) return std::nullopt;
        exe.resize(exe.size() * 2);
    }
    const auto cut = exe.rfind('/');
    if (cut == std::string::npos) return std::nullopt;
    const std::string dir = exe.substr(0, cut);
    return InstallDirectory{std::filesystem::path(dir.empty() ? "/" : dir), dir};
#else
    return std::nullopt;
#endif
}

InstallDirectory dataDirectory(const InstallDirectory& installDir)
{
    if (holdsProgramFiles(installDir.path)) return installDir;
    const std::filesystem::path shared =
        (installDir.path / std::filesystem::path(kDataFromProgramDir)).lexically_normal();
    std::error_code ec;
    if (!std::filesystem::is_directory(shared, ec)) return installDir;
#ifdef _WIN32
    const std::wstring dir = shortForm(shared.wstring());
    return InstallDirectory{std::filesystem::path(dir), toUtf8(dir)};
#else
    std::string text = shared.string();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return InstallDirectory{shared, text};
#endif
}

std::string nameOnDisk([[maybe_unused]] const std::filesystem::path& dir, std::string_view name)
{
#ifdef _WIN32
    return std::string(name);
#else
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(dir / fs::path(std::string(name)), ec)) return std::string(name);
    // The first match in name order, so the answer does not depend on the
    // order the file system lists its entries.
    std::string best;
    fs::directory_iterator it(dir, ec);
    if (ec) return std::string(name);
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string entry = it->path().filename().string();
        if (equalsIgnoreCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    return best.empty() ? std::string(name) : best;
#endif
}

}  // namespace setini
