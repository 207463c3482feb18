#include "platform/ini_file.h"

#include <system_error>

#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

std::string_view trim(std::string_view s)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A value written in quotes reads without them, as the home platform does.
std::string_view unquote(std::string_view s)
{
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

}  // namespace

std::optional<std::string> IniSection::value(std::string_view key) const
{
    for (const auto& [name, text] : entries_)
        if (equalsIgnoreCase(name, key)) return text;
    return std::nullopt;
}

std::string IniSection::value(std::string_view key, std::string_view fallback) const
{
    auto found = value(key);
    return found ? std::move(*found) : std::string(fallback);
}

void IniSection::add(std::string key, std::string value)
{
    if (contains(key)) return;
    entries_.emplace_back(std::move(key), std::move(value));
}

Result<IniSection> parseIniSection(std::string_view text, std::string_view section)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    IniSection result;
    bool inSection = false;
    // CR LF, LF and a lone CR all end a line; the empty lines between CR and LF
    // are skipped like any other.
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trim(text.substr(pos, end - pos));
        pos = end + 1;

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name =
                trim(line.substr(1, close == std::string_view::npos ? close : close - 1));
            inSection = equalsIgnoreCase(name, section);
            continue;
        }
        if (!inSection) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, eq));
        if (key.empty()) continue;
        std::string_view value = unquote(trim(line.substr(eq + 1)));
        if (value.size() > kIniValueMax) value = value.substr(0, kIniValueMax);
        result.add(std::string(key), std::string(value));
    }
    return result;
}

Result<IniSection> loadIniSection(const std::filesystem::path& file, std::string_view section)
{
    // Only a plain file is read: a device or a folder under the name is
    // refused rather than blocking or failing.
    std::error_code ec;
    std::string bytes;
    if (!std::filesystem::is_regular_file(file, ec) || !readWholeFile(utf8FromPath(file), bytes))
        return Refusal{std::string(caption::FileError), "No se puede abrir archivo"};
    return parseIniSection(bytes, section);
}

}  // namespace tarvel
