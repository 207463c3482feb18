#pragma once
// The .FLO flowchart file: a byte stream of printable characters and
// NUL-terminated texts, read and written in one pass.
//
// Reading never trusts a file: a file that ends early, a count beyond a
// table's capacity, a text longer than its field or a value out of range is
// refused whole, and the document in memory stays exactly as it was (the file
// is read into a copy that replaces the document only on success). Saving
// writes a temporary file beside the target and renames it over, so a failed
// save never destroys the old file.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "flowchart/flow_document.h"
#include "interfaces/interface_settings.h"
#include "platform/file_io.h"
#include "platform/result.h"

namespace tarvel {

class Messages;

inline constexpr int kFlowFileVersion = 132;

// The header settings as stored in a file.
struct FlowFileHeader {
    int version = kFlowFileVersion;
    int analogueSource = 0;
    int highLow = 0;
    int mode = 0;
    int numbering = 1;
    int subModel = 0;
    int model = 0;
};

// What a file held besides the tables, as stored (before any adjustment to the
// program's current settings).
struct FlowFileInfo {
    FlowFileHeader header;
    std::vector<int> levels;  // 4 or 8 values 0..100
    bool hasSensors = false;
    std::array<int, 4> sensors{-1, -1, -1, -1};  // item as stored, -1 x4 when absent
    bool hasMimic = false;                       // the version carries a mimic name
    std::string mimic;                           // empty when none
    bool hasSounds = false;
};

// The refusals of the flowchart file, each with its message in an "Error de
// archivo" box.
enum class FlowFileRefusal {
    WrongExtension,
    CannotOpen,
    NewerVersion,
    Damaged,
    CannotWrite,
    Unsound,  // a document the reader would refuse: not written
};

// The program's message for a refusal, and the refusal as it is shown.
std::string_view flowFileMessage(FlowFileRefusal refusal);
Refusal flowFileRefusal(FlowFileRefusal refusal);

// How the program stands when a file is loaded: its current interface
// settings decide renumbering, motor names and automatic sensors.
struct FlowLoadContext {
    InterfaceSettings current;
    // Whether a sensor identifier is in the sensor table (a channel whose
    // sensor is not reads in percent); without it every identifier is taken
    // as it is.
    std::function<bool(int id)> sensorKnown;
    // Called by loadFlowFile, once the chart is in place, with the file's
    // mimic set name when it is not empty and differs from the loaded one;
    // the mimic window asks and loads. Without it, the name is simply taken.
    std::function<void(const std::string& name)> offerMimic;
};

// A chart as a file holds it: the document (with the items the file does not
// carry taken from the document it replaces) and what the file stored.
struct FlowFile {
    FlowDocument chart;
    FlowFileInfo info;
};

// ---- Pure encoding ---------------------------------------------------------

// Four bytes 'A'..'P', nibbles from the most significant.
void appendNumber(std::string& out, int value);
// The signed 16-bit value of four bytes; false unless all lie in 'A'..'P'.
bool decodeNumber(std::string_view four, int& value);

std::string serializeFlowFile(const FlowDocument& doc, const InterfaceSettings& settings);

// Whether a document can be written as a file that reads back; refused with
// the reason (an index out of range, a kind or size the format lacks, a
// number beyond its four letters) when not.
Status checkFlowFile(const FlowDocument& doc, const InterfaceSettings& settings);

// Reads the header settings alone (the version check included).
Result<FlowFileHeader> parseFlowFileHeader(std::string_view bytes);

// Reads a whole file image. `base` is the document being replaced: items a
// file does not carry keep their values from it. Nothing else is touched.
Result<FlowFile> parseFlowFile(std::string_view bytes, const FlowDocument& base,
                               const FlowLoadContext& context);

// ---- Files -------------------------------------------------------------------

// The extension accepted by the open paths: ".FLO" or ".flo".
bool hasFlowExtension(std::string_view path);

// Loads a chart into `doc`: the extension check (its message unless silent),
// reading, version check, the numbering adjustment; gives what the file
// stored. Refusals show their message and leave the document, its flags and
// path as they were.
Result<FlowFileInfo> loadFlowFile(FlowDocument& doc, const std::string& path,
                                  const FlowLoadContext& context, Messages& messages,
                                  bool silent = false);

// Saves a chart under the given settings; on success clears the modified and
// untitled flags and keeps the path. A document whose file would not read back
// is not written at all: its fault is shown and it stays modified.
Status saveFlowFile(FlowDocument& doc, const std::string& path, const InterfaceSettings& settings,
                    Messages& messages);

}  // namespace tarvel
