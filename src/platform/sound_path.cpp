#include "platform/sound_path.h"

#include <filesystem>
#include <system_error>

#include "platform/file_lookup.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

namespace fs = std::filesystem;

bool isFile(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec) && !ec;
}

// "C:\SONIDOS\timbre.wav" as a relative path with forward slashes: no drive,
// no leading separator.
std::string portable(const std::string& slot, bool& wasAbsolute)
{
    std::string s = slot;
#ifndef _WIN32
    for (char& c : s)
        if (c == '\\') c = '/';
#endif
    wasAbsolute = false;
    if (s.size() >= 2 && s[1] == ':') {
        s.erase(0, 2);
        wasAbsolute = true;
    }
    while (!s.empty() && (s.front() == '/' || s.front() == '\\')) {
        s.erase(0, 1);
        wasAbsolute = true;
    }
    return s;
}

}  // namespace

std::string resolveSoundPath(const std::string& slot, const std::string& chartDir)
{
    if (slot.empty()) return {};
    const fs::path asWritten = pathFromUtf8(existingSpelling(slot));
    if (isFile(asWritten)) return utf8FromPath(asWritten);

    bool wasAbsolute = false;
    const std::string relative = portable(slot, wasAbsolute);
    if (relative.empty()) return {};
    const fs::path rel = pathFromUtf8(relative);
    const fs::path base = chartDir.empty() ? fs::path(".") : pathFromUtf8(chartDir);
#ifndef _WIN32
    // A path from the root, in another case.
    if (slot.front() == '/')
        if (const auto found = resolveIgnoringCase(fs::path("/"), rel); found && isFile(*found))
            return utf8FromPath(*found);
#endif
    // An absolute path of another machine is only looked for by its name.
    if (!wasAbsolute) {
        if (const auto found = resolveIgnoringCase(fs::path("."), rel); found && isFile(*found))
            return utf8FromPath(*found);
        if (const auto found = resolveIgnoringCase(base, rel); found && isFile(*found))
            return utf8FromPath(*found);
    }
    if (const auto found = findIgnoringCase(base, utf8FromPath(rel.filename()));
        found && isFile(*found))
        return utf8FromPath(*found);
    return {};
}

}  // namespace tarvel
