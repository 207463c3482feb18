#include "datalog/capture_files.h"

#include "datalog/data_capture.h"
#include "platform/file_io.h"
#include "sensors/sensor_channels.h"

namespace tarvel {

namespace {

constexpr std::size_t kExtensionLength = 3;

const char* extensionOf(DataFileKind kind)
{
    switch (kind) {
        case DataFileKind::Csv:
            return "CSV";
        case DataFileKind::Tsv:
            return "TSV";
        case DataFileKind::Sid:
            break;
    }
    return "SID";
}

}  // namespace

SidChannels describeChannels(const SensorChannels& sensors)
{
    SidChannels channels;
    for (int c = 0; c < kSensorChannels; ++c) {
        const ChannelSensor& ch = sensors.channel(c);
        SidChannel& out = channels[static_cast<std::size_t>(c)];
        if (ch.sensor == kSensorNone) {
            out.kind = SidSensorKind::None;
            continue;
        }
        // Percent, and a sensor the table no longer holds, read as unknown.
        if (ch.sensor < 0 || ch.sensor >= sensors.table().size()) continue;
        const Calibration& cal = ch.calibration;
        out.kind = SidSensorKind::Sensor;
        out.id = cal.id;
        out.name = cal.name;
        out.units = cal.units;
        out.minimum = cal.minimum;
        out.maximum = cal.maximum;
        out.decimals = ch.decimals();
        out.hasTable = cal.hasTable;
    }
    return channels;
}

std::string dataFileName(const std::string& path, DataFileKind kind)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // A name too short to lose three characters keeps them and gains the extension.
    if (path.size() - nameStart < kExtensionLength) return path + "." + extensionOf(kind);
    return path.substr(0, path.size() - kExtensionLength) + extensionOf(kind);
}

Status saveCaptureFile(const std::string& path, DataFileKind kind, DataCapture& capture,
                       const SensorChannels& sensors, bool numbersFromZero, Messages& messages)
{
    const SidChannels channels = describeChannels(sensors);
    const bool sid = kind == DataFileKind::Sid;
    const std::string bytes =
        sid ? serializeSid(capture.data, channels, numbersFromZero)
            : serializeExport(kind == DataFileKind::Csv ? ExportFormat::Csv : ExportFormat::Tsv,
                              capture.buffer(), channels, numbersFromZero);
    if (writeFileReplacing(path, bytes) != WriteResult::Ok) {
        const Refusal refusal = sid ? sidCannotCreate() : exportCannotSave();
        refusal.show(messages);
        return refusal;
    }
    // Only the program's own file keeps the data: an export leaves them unsaved.
    if (sid) capture.markSaved();
    return done();
}

Status openCaptureFile(const std::string& path, DataCapture& capture, SensorChannels& sensors,
                       Messages& messages)
{
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        sidCannotRead().show(messages);
        return sidCannotRead();
    }
    Result<SidRead> read = parseSid(bytes, capture.data, sensors.table());
    if (!read) {
        read.refusal().show(messages);
        return read.refusal();
    }
    for (const Refusal& warning : read->warnings) warning.show(messages);
    applySidRead(std::move(read).value(), capture, sensors);
    return done();
}

void applySidRead(SidRead read, DataCapture& capture, SensorChannels& sensors)
{
    std::vector<int> added;
    for (SensorEntry& e : read.temporaries) added.push_back(sensors.addTemporary(std::move(e)));
    for (int c = 0; c < read.analogueFields; ++c) {
        const SidSensorChoice& s = read.sensors[static_cast<std::size_t>(c)];
        int choice = s.kind == SidSensorChoice::None ? kSensorNone : kSensorPercent;
        if (s.kind == SidSensorChoice::TableEntry) choice = s.index;
        if (s.kind == SidSensorChoice::Temporary) {
            const int index = added[static_cast<std::size_t>(s.index)];
            if (index >= 0) choice = index;
        }
        sensors.choose(c, choice);
    }
    capture.replace(std::move(read.record));
}

}  // namespace tarvel
