#include "chip/chip_data.h"

#include <charconv>

#include "flowchart/captions.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

bool flag(const std::string& field, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < field.size() &&
           field[static_cast<std::size_t>(i)] == '1';
}

std::optional<int> decimal(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    int v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr == s.data()) return std::nullopt;
    return v;
}

}  // namespace

bool ChipEntry::hasInput(int i) const
{
    return flag(inputs, i);
}
bool ChipEntry::hasOutput(int i) const
{
    return flag(outputs, i);
}
bool ChipEntry::hasMotor(int m) const
{
    return flag(motors, m);
}
bool ChipEntry::hasChannel(int c) const
{
    return flag(analogue, c);
}

ChipData ChipData::parse(std::string_view text)
{
    ChipData data;
    std::size_t pos = 0;
    // A '/' anywhere from the previous entry's first ',' up to a name keeps
    // that entry out of the lists.
    std::size_t exclusionFrom = 0;
    while (true) {
        const std::size_t open = text.find(';', pos);
        if (open == std::string_view::npos) break;  // what is left is no entry
        const std::size_t close = text.find(';', open + 1);
        if (close == std::string_view::npos) return {};
        ChipEntry e;
        e.listed =
            text.substr(exclusionFrom, open - exclusionFrom).find('/') == std::string_view::npos;
        e.name = std::string(text.substr(open + 1, close - open - 1));
        pos = close + 1;
        // The line end after the name: two characters, or a bare LF.
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
        else
            return {};

        std::string fields[8];
        for (auto& f : fields) {
            const std::size_t comma = text.find(',', pos);
            if (comma == std::string_view::npos || comma - pos > kChipFieldMax) return {};
            f = std::string(text.substr(pos, comma - pos));
            pos = comma + 1;
            if (&f == &fields[0]) exclusionFrom = pos;
        }
        const auto link = decimal(fields[0]);
        const auto option = decimal(fields[6]);
        const auto size = decimal(fields[7]);
        if (!link || !option || !size) return {};
        e.linkKind = *link;
        e.inputs = fields[1];
        e.outputs = fields[2];
        e.motors = fields[3];
        e.analogue = fields[4];
        e.motorSpeed = fields[5] == "1";
        e.optionWord = *option;
        e.size = *size == 128 ? 128 : 256;
        data.entries_.push_back(std::move(e));
    }
    return data;
}

ChipData ChipData::load(const std::string& sensorsDir)
{
    const auto path = findIgnoringCase(pathFromUtf8(sensorsDir), kChipDataFileName);
    if (!path) return {};
    std::string bytes;
    if (!readWholeFile(utf8FromPath(*path), bytes)) return {};
    return parse(bytes);
}

std::vector<std::string> ChipData::boardNames() const
{
    std::vector<std::string> names;
    for (const auto& e : entries_) {
        if (!e.listed) continue;
        if (names.size() == 3) break;
        names.push_back(translateModuleName(e.name));
    }
    return names;
}

std::vector<std::string> ChipData::singleChipNames() const
{
    std::vector<std::string> names;
    int listed = 0;
    for (const auto& e : entries_) {
        if (!e.listed) continue;
        if (++listed > 3) names.push_back(e.name);
    }
    return names;
}

const ChipEntry* ChipData::lookup(int subModel) const
{
    if (subModel < 0 || static_cast<std::size_t>(subModel) >= entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(subModel)];
}

}  // namespace tarvel
