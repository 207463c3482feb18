// tarvel sid show and tarvel sid export: a data file as the program reads it,
// and its export for spreadsheets; and the capture of a headless run.

#include <iostream>

#include <nlohmann/json.hpp>

#include "datalog/capture_files.h"
#include "datalog/time_settings.h"
#include "engine/program_state.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "platform/file_lookup.h"
#include "tool_common.h"

namespace tarvel::tool {

namespace {

using nlohmann::ordered_json;

class StillClock final : public Clock {
public:
    std::int64_t nowMs() const override { return 0; }
    void sleepMs(std::int64_t) override {}
};

template <class Array>
ordered_json firstOf(const Array& values, int count)
{
    ordered_json a = ordered_json::array();
    for (int i = 0; i < count; ++i) a.push_back(values[static_cast<std::size_t>(i)]);
    return a;
}

template <class Channels>
ordered_json channelsOf(const Channels& channels, int count)
{
    ordered_json a = ordered_json::array();
    for (const auto& c : channels) a.push_back(firstOf(c, count));
    return a;
}

ordered_json layoutJson(const GraphLayout& g)
{
    return {{"paneWeight", g.paneWeight},
            {"paneKind", g.paneKind},
            {"paneChannels", g.paneChannels},
            {"totalWeight", g.totalWeight},
            {"analogueGraph", g.analogueGraph},
            {"inputGraph", g.inputGraph},
            {"outputGraph", g.outputGraph},
            {"motorGraph", g.motorGraph},
            {"frequencyGraph", g.frequencyGraph},
            {"yMin", g.yMin},
            {"yMax", g.yMax},
            {"labelDecimals", g.labelDecimals},
            {"axisChannel", g.axisChannel},
            {"yStep", g.yStep},
            {"analogueShown", g.analogueShown},
            {"gridMode", g.gridMode},
            {"gridStep", g.gridStep},
            {"gridMajorEvery", g.gridMajorEvery},
            {"selectedIcon", g.selectedIcon}};
}

// Each channel as a data file would describe it, with the sensor's unit
// symbol and, for one read from a calibration file, the file's name.
ordered_json sensorsJson(const SensorChannels& sensors)
{
    const SidChannels described = describeChannels(sensors);
    ordered_json a = ordered_json::array();
    for (int c = 0; c < kSensorChannels; ++c) {
        const SidChannel& d = described[static_cast<std::size_t>(c)];
        const ChannelSensor& ch = sensors.channel(c);
        const bool sensor = d.kind == SidSensorKind::Sensor;
        const char* kindText = sensor                          ? "sensor"
                               : d.kind == SidSensorKind::None ? "none"
                                                               : "unknown";
        const std::string name = sensor                          ? d.name
                                 : d.kind == SidSensorKind::None ? "None"
                                                                 : "Unknown";
        a.push_back({{"kind", kindText},
                     {"file", sensor ? ch.fileName : std::string()},
                     {"id", d.id},
                     {"name", cp1252ToUtf8(name)},
                     {"units", cp1252ToUtf8(sensor ? d.units : std::string("percent"))},
                     {"shortUnits", cp1252ToUtf8(ch.units)},
                     {"decimals", d.decimals},
                     {"min", d.minimum},
                     {"max", d.maximum},
                     {"hasTable", d.hasTable}});
    }
    return a;
}

ordered_json captureJson(const DataCapture& capture, const SensorChannels& sensors)
{
    const CaptureRecord& r = capture.data;
    const int n = r.buffer.sampleCount;
    ordered_json counts = ordered_json::array();
    for (int b = 0; b < r.state.binCount; ++b)
        counts.push_back(r.frequency.counts[static_cast<std::size_t>(b)]);
    return {{"span", r.state.span},
            {"interval", r.state.interval},
            {"sampleCount", n},
            {"binCount", r.state.binCount},
            {"time", firstOf(r.buffer.time, n)},
            {"analogue", channelsOf(r.buffer.analogue, n)},
            {"inputs", firstOf(r.buffer.inputs, n)},
            {"outputs", firstOf(r.buffer.outputs, n)},
            {"motors", channelsOf(r.buffer.motors, n)},
            {"counts", counts},
            {"endLabel", cp1252ToUtf8(r.state.endLabel)},
            {"middleLabel", cp1252ToUtf8(r.state.middleLabel)},
            {"sensors", sensorsJson(sensors)},
            {"layout", layoutJson(r.layout)},
            {"frequencyMode", r.frequency.frequencyMode},
            {"frequencyMax", r.frequency.frequencyMax}};
}

// Splits "--sensors DIR" off the arguments; false when it has no value.
bool takeSensors(std::vector<std::string>& args, std::optional<std::string>& dir)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--sensors") continue;
        if (i + 1 >= args.size()) return false;
        dir = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    return true;
}

int sidShowOrExport(std::vector<std::string> args, bool show)
{
    std::optional<std::string> dir;
    std::optional<int> numbering;
    if (!takeSensors(args, dir) || !takeNumbering(args, numbering) ||
        args.size() != (show ? 1u : 2u))
        return usage();
    ScriptedMessages messages = stderrMessages();
    DataFileKind kind = DataFileKind::Csv;
    if (!show) {
        const std::string& out = args[1];
        const std::string_view ext =
            std::string_view(out).substr(out.size() < 4 ? 0 : out.size() - 4);
        if (!equalsIgnoreCase(ext, ".CSV") && !equalsIgnoreCase(ext, ".TSV")) {
            std::cerr << "El archivo exportado debe tener la extensión .CSV o .TSV\n";
            return 1;
        }
        kind = equalsIgnoreCase(ext, ".CSV") ? DataFileKind::Csv : DataFileKind::Tsv;
    }
    StillClock clock;
    ProgramState state(messages, clock);
    // Without a folder the table is empty: every sensor the file names is
    // taken as a temporary one. A folder of calibration files gives its
    // own; a sensors folder whose files lie in the model folders gives
    // those of "OTHERS", the folder of the simulation.
    if (dir) {
        state.sensors.reloadTable(*dir);
        if (state.sensors.table().empty()) state.sensors.reloadTable(*dir + "/OTHERS");
    }
    if (!openCaptureFile(args[0], state.capture, state.sensors, messages)) return 1;
    if (show) {
        std::cout << captureJson(state.capture, state.sensors).dump(2) << '\n';
        return 0;
    }
    const bool fromZero = numberingFromZero(numbering.value_or(1));
    return saveCaptureFile(args[1], kind, state.capture, state.sensors, fromZero, messages) ? 0 : 1;
}

}  // namespace

int sidCommand(const std::vector<std::string>& args)
{
    if (args.empty()) return usage();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "show") return sidShowOrExport(rest, true);
    if (args[0] == "export") return sidShowOrExport(rest, false);
    return usage();
}

bool RunCapture::take(const std::vector<std::string>& args, std::size_t& i, bool& bad)
{
    const std::string& a = args[i];
    if (a != "--capture" && a != "--first-span" && a != "--end-time") return false;
    if (i + 1 >= args.size()) {
        bad = true;
        return true;
    }
    const std::string& value = args[++i];
    if (a == "--capture") {
        out = value;
        return true;
    }
    const bool digits =
        !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
    if (!digits) {
        bad = true;
        return true;
    }
    (a == "--first-span" ? firstSpan : endTime) = leadingCount(value);
    return true;
}

bool RunCapture::apply(CaptureSettings& settings) const
{
    const Status set =
        setCaptureTimes(firstSpan.value_or(settings.firstSpan), endTime.value_or(0), settings);
    if (set) return true;
    std::cerr << set.refusal().text << '\n';
    return false;
}

bool RunCapture::save(ProgramState& state) const
{
    if (out.empty()) return true;
    ScriptedMessages messages = stderrMessages();
    const bool fromZero = numberingFromZero(state.io.settings.numbering);
    return saveCaptureFile(out, DataFileKind::Sid, state.capture, state.sensors, fromZero, messages)
        .ok();
}

}  // namespace tarvel::tool
