#include "platform/file_lookup.h"

#include <system_error>

#include "platform/utf8_path.h"

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
    const fs::path exact = dir / pathFromUtf8(name);
    if (fs::exists(exact, ec) && !ec) return exact;

    std::optional<fs::path> best;
    fs::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string entry = utf8FromPath(it->path().filename());
        if (equalsIgnoreCase(entry, name) && (!best || entry < utf8FromPath(best->filename())))
            best = it->path();
    }
    return best;
}

std::optional<std::filesystem::path> resolveIgnoringCase(const std::filesystem::path& base,
                                                         const std::filesystem::path& relative)
{
    std::filesystem::path current = base;
    for (const auto& part : relative) {
        const std::string s = utf8FromPath(part);
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

std::string existingSpelling(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path p = pathFromUtf8(path);
    std::error_code ec;
    if (fs::exists(p, ec) || !p.has_filename()) return path;
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const auto found = findIgnoringCase(dir, utf8FromPath(p.filename()));
    if (!found) return path;
    return p.has_parent_path() ? utf8FromPath(*found) : utf8FromPath(found->filename());
}

}  // namespace tarvel
