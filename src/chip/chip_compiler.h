#pragma once
// The chip compiler: translates the chart into the program image that runs on
// a Tolva Chip or on the Quillo box, 128 or 256 bytes.
//
// Layout of an image (addresses for 256 bytes, then for 128):
//   0..2            entry addresses of starts 2, 3 and 4 (0: no such start)
//   3..             code; start 1 begins at 3
//   143..206/15..78 64 jump targets, entry e at base + e, taken from 63 down
//   207..222/79..94 16 delay values
//   223..238/95..   entry addresses of subs 1..16
//   239..254/111..  16 constant values
//   255/127         always 2
// Code grows upwards into the part of the jump area not yet taken; the two
// must never meet.
//
// A compile error is shown through Messages (caption and Spanish text) and
// returned with the symbol at fault, which the window selects and reveals.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/interface_settings.h"

namespace tarvel {

class FlowDocument;
class Messages;
struct ChipEntry;

enum class ChipDialect {
    Skip,    // conditions skip the next byte; jumps go through the jump table
    Direct,  // conditions and jumps carry their target address
};

// What the chosen interface makes of a chart.
struct ChipTarget {
    ChipDialect dialect = ChipDialect::Skip;
    int imageSize = 256;
    int linkKind = 0;  // the chip entry's link kind; 0 without an entry
    int optionWord = 0;
    bool numbersFromZero = false;  // inputs and outputs numbered 0-7 in the texts
};

// The target of an interface selection; `chip` is the chosen entry of the chip
// data file for the chip system (none: the plain skip dialect, 256 bytes).
ChipTarget chipTargetFor(const InterfaceSettings& settings, const ChipEntry* chip);

struct ChipProgram {
    ChipDialect dialect = ChipDialect::Skip;
    std::vector<std::uint8_t> image;  // 128 or 256 bytes
    std::vector<int> symbolAt;        // per address: the symbol whose code starts there, or -1
};

struct CompileFault {
    std::string caption;  // UTF-8, as shown
    std::string text;
    int symbol = -1;  // the symbol to select and reveal; -1 none
};

struct ChipCompileResult {
    std::optional<ChipProgram> program;  // set when the chart compiled
    std::optional<CompileFault> fault;   // set on a compile error
    // Neither is set when the user cancelled at the warning about the starts.
};

// How a number compared with an analogue channel reads on a direct-dialect
// chip, for channels whose sensor has a calibration table.
class ChannelScale {
public:
    virtual ~ChannelScale() = default;
    // The byte 0..255 whose reading is nearest to the value, or none when the
    // channel has no table (the value is then a percentage).
    virtual std::optional<int> tableByte(int channel, double value) const = 0;
};

// Compiles the chart. More than four starts asks "Amonestación de Compilar"
// (OK/Cancel) first; every fault is shown through `messages` and returned.
// The caller recomputes the output powers before, as for a run.
ChipCompileResult compileChart(const FlowDocument& doc, const ChipTarget& target,
                               Messages& messages, const ChannelScale* scale = nullptr);

inline constexpr std::string_view kCompileWarningCaption = "Amonestación de Compilar";
// The caption of the repeated-call check, in the program's own words.
inline constexpr std::string_view kNestingCaption = "Compile Error";

}  // namespace tarvel
