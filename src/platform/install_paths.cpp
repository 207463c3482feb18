#include "platform/install_paths.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

// The build sets this from the installation directories it was configured with.
#ifndef TARVEL_DATA_FROM_BIN
#define TARVEL_DATA_FROM_BIN "../share/tarvel2"
#endif

namespace tarvel {

std::filesystem::path dataDirFromProgramDir()
{
    return std::filesystem::path(TARVEL_DATA_FROM_BIN);
}

std::filesystem::path programDirectory()
{
#ifdef _WIN32
    // Long paths do not fit the classic 260 characters; the buffer grows until
    // the whole path fits, since a cut path would name another folder.
    for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 2) {
        std::wstring module(size, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, module.data(), size);
        if (n == 0) return {};
        if (n < size) {
            module.resize(n);
            return std::filesystem::path(module).parent_path();
        }
    }
    return {};
#elif defined(__linux__)
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
#else
    return {};
#endif
}

std::optional<std::filesystem::path> installedDataDir(const std::filesystem::path& programDir)
{
    if (programDir.empty()) return std::nullopt;
    const std::filesystem::path data = (programDir / dataDirFromProgramDir()).lexically_normal();
    std::error_code ec;
    if (!std::filesystem::is_directory(data, ec)) return std::nullopt;
    return data;
}

}  // namespace tarvel
