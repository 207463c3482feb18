#pragma once
// The chip data file "tolvachip.dat" in the sensors directory: one entry per
// board or single chip of the Tolva Chip system, each "prefix;name;" and a line
// end, then eight fields each ended by ','. A '/' in the prefix keeps an entry
// out of the interface dialog's lists (the lookup by subModel still counts it).
// The file is read entry by entry: a malformed entry is dropped alone and the
// others keep their places.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace tarvel {

struct ChipEntry {
    std::string name;      // Windows-1252, as in the file
    bool listed = true;    // false when a '/' stands before its name
    int linkKind = 0;      // 1, 2 (Contact Controller protocol live) or other
    std::string inputs;    // 8 characters, '1' = input present
    std::string outputs;   // 8 characters
    std::string motors;    // 4 characters
    std::string analogue;  // 4 characters
    bool motorSpeed = false;
    int optionWord = 0;
    int size = 256;    // program image size: 128, else 256
    int position = 0;  // its place among the entries of the file, as a subModel counts

    bool hasInput(int i) const;
    bool hasOutput(int i) const;
    bool hasMotor(int m) const;
    bool hasChannel(int c) const;
};

class ChipData {
public:
    ChipData() = default;
    explicit ChipData(std::vector<ChipEntry> entries) : entries_(std::move(entries)) {}

    // The well-formed entries in file order.
    const std::vector<ChipEntry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

    // The names for the dialog's two boxes: the first three listed entries are
    // the boards (their English names translated), the rest the single chips.
    std::vector<std::string> boardNames() const;
    std::vector<std::string> singleChipNames() const;

    // The entry chosen by a subModel: counts every entry, listed or not, well
    // formed or not; null when that entry was dropped or is not there.
    const ChipEntry* lookup(int subModel) const;

private:
    std::vector<ChipEntry> entries_;
};

// The well-formed entries of the text. An entry with a field missing, too long
// or not a number is left out, as is a head without its fields; a damaged
// entry offers no chip rather than a wrong one. No text is refused whole.
Result<ChipData> parseChipData(std::string_view text);

// The chip data file of a sensors directory, refused ("No se puede abrir
// archivo") when it is missing or unreadable. Nothing is shown: without the
// file the interface dialog's chip boxes simply stay empty.
Result<ChipData> loadChipData(const std::string& sensorsDir);

inline constexpr const char* kChipDataFileName = "tolvachip.dat";
inline constexpr std::size_t kChipFieldMax = 253;

}  // namespace tarvel
