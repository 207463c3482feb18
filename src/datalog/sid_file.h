#pragma once
// The data files. SID is the program's own: a header of "%%" lines naming
// the 25 fields (time, four analogue channels, eight inputs, eight outputs,
// four motors), their units and ranges, the sensors of the analogue
// channels, the frequency counts and the graph layout, then one row of
// comma-separated values per sample; every line ends with CR CR LF. CSV and
// TSV are exports for spreadsheets: a row of column titles and the samples,
// lines ending with CR LF. All are Windows-1252 text.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "datalog/capture_data.h"
#include "platform/result.h"
#include "sensors/sensor_table.h"

namespace tarvel {

inline constexpr int kSidFields = 1 + kSensorChannels + 2 * kIoCount + kMotorCount;
inline constexpr std::string_view kSidDescription = "Data Captured using Tarvel 2";

// What the files say about an analogue channel's sensor.
enum class SidSensorKind { Sensor, Unknown, None };

struct SidChannel {
    SidSensorKind kind = SidSensorKind::Unknown;
    // A sensor's (Windows-1252); the others are written as "Unknown" or
    // "None" in percent.
    int id = 0;
    std::string name;
    std::string units;
    double minimum = 0.0;
    double maximum = 100.0;
    int decimals = 0;  // the channel's decimals: the sensor's range is written with them
    bool hasTable = false;

    // The decimals of the channel's values: those of a sensor with a
    // calibration table, else three (a reading in percent).
    int valueDecimals() const;
};
using SidChannels = std::array<SidChannel, kSensorChannels>;

// How the file names inputs and outputs: from 1, or from 0 when the
// interface numbers them so.
std::string serializeSid(const CaptureRecord& record, const SidChannels& channels,
                         bool numbersFromZero);

enum class ExportFormat { Csv, Tsv };
std::string serializeExport(ExportFormat format, const CaptureBuffer& buffer,
                            const SidChannels& channels, bool numbersFromZero);

// What reading a SID file decided for analogue channel c (c < analogueFields).
struct SidSensorChoice {
    enum Kind { TableEntry, Temporary, Unknown, None };
    Kind kind = Unknown;
    // TableEntry: the index in the sensor table; Temporary: in `temporaries`.
    int index = -1;
};

struct SidRead {
    // The capture as the file restores it; what the file lacks is as it was.
    CaptureRecord record;
    int analogueFields = 0;
    std::array<SidSensorChoice, kSensorChannels> sensors{};
    // Sensors the table lacks, to be appended to it, in order.
    std::vector<SensorEntry> temporaries;
    // The boxes to show while reading (the sensors the table lacked), in order.
    std::vector<Refusal> warnings;
};

// Reads a SID file over a copy of `base`, looking the sensors up in `table`.
// Refusals: a description other than this program's ("Tarvel2 solo puede
// leer..."), and "Error del archivo SID" for a declared field it does not
// recognise and for a file that breaks the limits of the capture or ends
// early. Nothing of the program is touched.
Result<SidRead> parseSid(std::string_view bytes, const CaptureRecord& base,
                         const SensorTable& table);

// The refusals of the files, as the program shows them.
Refusal sidCannotCreate();  // writing a SID file
Refusal sidCannotRead();
Refusal sidNotOurs();
Refusal sidMalformed();
Refusal exportCannotSave();

}  // namespace tarvel
