#include "chip/chip_data.h"

#include <array>
#include <charconv>

#include "flowchart/captions.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"
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

constexpr std::size_t kChipFieldCount = 8;

// An entry's head "prefix;name;": the positions of its two ';'.
struct EntryHead {
    std::size_t open, close;
};

// Every head in file order, found as the lookup counts entries: by pairs of
// ';'. A name without its closing ';' is no entry.
std::vector<EntryHead> entryHeads(std::string_view text)
{
    std::vector<EntryHead> heads;
    for (std::size_t pos = 0;;) {
        const std::size_t open = text.find(';', pos);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find(';', open + 1);
        if (close == std::string_view::npos) break;
        heads.push_back({open, close});
        pos = close + 1;
    }
    return heads;
}

// The fields of one entry from `body`, the text between its name and the next
// entry's name: a line end, then eight fields each ended by ','.
std::optional<ChipEntry> parseFields(std::string_view body)
{
    std::size_t pos = 0;
    if (pos < body.size() && body[pos] == '\r') ++pos;  // two characters, or a bare LF
    if (pos >= body.size() || body[pos] != '\n') return std::nullopt;
    ++pos;
    std::array<std::string_view, kChipFieldCount> fields;
    for (auto& f : fields) {
        const std::size_t comma = body.find(',', pos);
        if (comma == std::string_view::npos || comma - pos > kChipFieldMax) return std::nullopt;
        f = body.substr(pos, comma - pos);
        pos = comma + 1;
    }
    const auto link = decimal(fields[0]);
    const auto option = decimal(fields[6]);
    const auto size = decimal(fields[7]);
    if (!link || !option || !size) return std::nullopt;
    ChipEntry e;
    e.linkKind = *link;
    e.inputs = std::string(fields[1]);
    e.outputs = std::string(fields[2]);
    e.motors = std::string(fields[3]);
    e.analogue = std::string(fields[4]);
    e.motorSpeed = fields[5] == "1";
    e.optionWord = *option;
    e.size = *size == 128 ? 128 : 256;
    return e;
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

Result<ChipData> parseChipData(std::string_view text)
{
    std::vector<ChipEntry> entries;
    const std::vector<EntryHead> heads = entryHeads(text);
    // A '/' anywhere from the previous entry's first ',' up to a name keeps
    // that entry out of the lists.
    std::size_t exclusionFrom = 0;
    for (std::size_t k = 0; k < heads.size(); ++k) {
        const EntryHead& head = heads[k];
        const bool listed = text.substr(exclusionFrom, head.open - exclusionFrom).find('/') ==
                            std::string_view::npos;
        const std::size_t bodyStart = head.close + 1;
        const std::size_t bodyEnd = k + 1 < heads.size() ? heads[k + 1].open : text.size();
        const std::string_view body = text.substr(bodyStart, bodyEnd - bodyStart);
        const std::size_t comma = body.find(',');
        exclusionFrom = comma == std::string_view::npos ? bodyStart : bodyStart + comma + 1;

        std::optional<ChipEntry> entry = parseFields(body);
        if (!entry) continue;  // dropped; the entries after it keep their places
        entry->name = std::string(text.substr(head.open + 1, head.close - head.open - 1));
        entry->listed = listed;
        entry->position = static_cast<int>(k);
        entries.push_back(std::move(*entry));
    }
    return ChipData(std::move(entries));
}

Result<ChipData> loadChipData(const std::string& sensorsDir)
{
    const auto path = findIgnoringCase(pathFromUtf8(sensorsDir), kChipDataFileName);
    std::string bytes;
    if (!path || !readWholeFile(utf8FromPath(*path), bytes))
        return Refusal{std::string(caption::FileError), "No se puede abrir archivo"};
    return parseChipData(bytes);
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
    for (const ChipEntry& e : entries_)
        if (e.position == subModel) return &e;
    return nullptr;
}

}  // namespace tarvel
