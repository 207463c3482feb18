#include "platform/file_lookup.h"

#include <system_error>

namespace tarvel {

namespace {
char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& dir,
                                                      std::string_view name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path exact = dir / fs::path(std::string(name));
    if (fs::exists(exact, ec) && !ec) return exact;

    std::optional<fs::path> best;
    fs::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string entry = it->path().filename().string();
        if (equalsIgnoreCase(entry, name) && (!best || entry < best->filename().string()))
            best = it->path();
    }
    return best;
}

std::optional<std::filesystem::path> resolveIgnoringCase(const std::filesystem::path& base,
                                                         const std::filesystem::path& relative)
{
    std::filesystem::path current = base;
    for (const auto& part : relative) {
        const std::string s = part.string();
        if (s.empty() || s == ".") continue;
        if (s == "..") {
            current /= part;
            continue;
        }
        auto found = findIgnoringCase(current, s);
        if (!found) return std::nullopt;
        current = *found;
    }
    return current;
}

}  // namespace tarvel
