#pragma once
// The program's data-file operations: saving the capture as SID, CSV or TSV
// with the sensors of the analogue channels, and opening a SID file, which
// sets the channels' sensors (appending to the table those it lacks) and
// replaces the capture.

#include <string>

#include "datalog/sid_file.h"
#include "platform/result.h"

namespace tarvel {

class DataCapture;
class Messages;
class SensorChannels;

enum class DataFileKind { Sid, Csv, Tsv };

// The channels' sensors as the files describe them.
SidChannels describeChannels(const SensorChannels& sensors);

// The chosen name with its last three characters replaced by "SID", "CSV" or
// "TSV", whatever they were ("datos.txt" becomes "datos.CSV").
std::string dataFileName(const std::string& path, DataFileKind kind);

// Writes the capture (the name as chosen); a SID file clears the unsaved
// flag. A file that cannot be written is refused with its message and the old
// one, if any, stays.
Status saveCaptureFile(const std::string& path, DataFileKind kind, DataCapture& capture,
                       const SensorChannels& sensors, bool numbersFromZero, Messages& messages);

// Reads a SID file. On success the channels it names take their sensors and
// the capture is replaced; a refusal is shown and changes nothing.
Status openCaptureFile(const std::string& path, DataCapture& capture, SensorChannels& sensors,
                       Messages& messages);

// What a successful read sets: the sensors of the channels read, then the
// capture (so a graph's limits are the file's, not the sensors').
void applySidRead(SidRead read, DataCapture& capture, SensorChannels& sensors);

}  // namespace tarvel
