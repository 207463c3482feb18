#pragma once
// Reading one section of an initialisation file ("[SECTION]" headers and
// "KEY=value" lines), the way the program's home platform reads them: section
// names and keys match without regard to case, CR LF and LF line ends are both
// accepted, and a value is cut at 255 characters. The bytes of values are
// returned as stored (Windows-1252 on disk).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace tarvel {

inline constexpr std::size_t kIniValueMax = 255;

class IniSection {
public:
    using Entry = std::pair<std::string, std::string>;

    // The value of a key, ignoring case in its name; the first entry wins when a
    // key is given twice.
    std::optional<std::string> value(std::string_view key) const;
    std::string value(std::string_view key, std::string_view fallback) const;
    bool contains(std::string_view key) const { return value(key).has_value(); }

    // Keys as spelled in the file, in file order, without repeats.
    const std::vector<Entry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

    void add(std::string key, std::string value);

private:
    std::vector<Entry> entries_;
};

// The keys of every section called `section` in `text`. No text is refused:
// lines that are no key are passed over.
Result<IniSection> parseIniSection(std::string_view text, std::string_view section);

// The same read from a file; refused when it is no plain file or cannot be
// read. Nothing is shown: the program then goes on with its defaults.
Result<IniSection> loadIniSection(const std::filesystem::path& file, std::string_view section);

}  // namespace tarvel
