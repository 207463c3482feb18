// tarvel run: runs a chart headless. In simulation on a virtual clock: the
// clock reads 0 at run start and the k-th tick runs at k x Interval ms, so a
// run is fast and always the same. With --interface against a box on a port,
// on the real clock (live_run.cpp). One line per event, the centisecond first.

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "chip_run.h"
#include "engine/program_state.h"
#include "mimic_trace.h"
#include "platform/clock.h"
#include "run_trace.h"
#include "sensors/sensor_channels.h"
#include "tool_common.h"

namespace tarvel::tool {

namespace {

class VirtualClock final : public Clock {
public:
    std::int64_t nowMs() const override { return now; }
    void sleepMs(std::int64_t ms) override { now += ms > 0 ? ms : 0; }
    std::int64_t now = 0;
};

// "N=on@CS", "N=off@CS" or "C=RAW@CS".
std::optional<TimedChange> parseChange(const std::string& change, bool analogue)
{
    const std::size_t eq = change.find('=');
    const std::size_t at = change.find('@');
    if (eq == std::string::npos || at == std::string::npos || at < eq) return std::nullopt;
    const auto index = parseInt(change.substr(0, eq));
    const auto cs = parseInt(change.substr(at + 1));
    const std::string value = change.substr(eq + 1, at - eq - 1);
    if (!index || !cs || *cs < 0) return std::nullopt;
    TimedChange c;
    c.analogue = analogue;
    c.cs = *cs;
    if (analogue) {
        const auto raw = parseInt(value);
        if (*index < 1 || *index > 4 || !raw || *raw < 0 || *raw > 1024) return std::nullopt;
        c.index = *index - 1;
        c.value = *raw;
    } else {
        if (*index < 1 || *index > 8 || (value != "on" && value != "off")) return std::nullopt;
        c.index = *index - 1;
        c.value = value == "on" ? 1 : 0;
    }
    return c;
}

// The options of `tarvel run`; false on a malformed one.
bool parseRunOptions(std::vector<std::string> args, RunOptions& o, bool& changesGiven)
{
    if (!takeNumbering(args, o.numbering)) return false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool bad = false;
        if (o.capture.take(args, i, bad)) {
            if (bad) return false;
            continue;
        }
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        auto intOption = [&](int& target, int minimum) {
            if (!hasValue) return false;
            const auto v = parseInt(args[++i]);
            if (!v || *v < minimum) return false;
            target = *v;
            return true;
        };
        if (a == "--ticks") {
            if (!intOption(o.ticks, 0)) return false;
        } else if (a == "--interval") {
            if (!intOption(o.interval, kMinInterval)) return false;
        } else if (a == "--multiplicity") {
            if (!intOption(o.multiplicity, 1)) return false;
        } else if (a == "--run" && hasValue) {
            const std::string v = args[++i];
            if (v == "all") {
                o.mode = RunMode{};
            } else if (v == "selection") {
                o.mode = RunMode{RunMode::Selection, 0};
            } else if (v.rfind("sub:", 0) == 0) {
                const auto n = parseInt(v.substr(4));
                if (!n || *n < 1 || *n > kMaxSubs) return false;
                o.mode = RunMode{RunMode::Sub, *n};
            } else {
                return false;
            }
        } else if ((a == "--select" || a == "--break") && hasValue) {
            std::vector<int>& into = a == "--select" ? o.selection : o.breaks;
            std::stringstream list(args[++i]);
            std::string item;
            while (std::getline(list, item, ',')) {
                const auto v = parseInt(item);
                if (!v || (a == "--break" && *v < 0)) return false;
                into.push_back(*v);
            }
        } else if ((a == "--input" || a == "--value") && hasValue) {
            const auto c = parseChange(args[++i], a == "--value");
            if (!c) return false;
            o.changes.push_back(*c);
            changesGiven = true;
        } else if (a == "--sensors" && hasValue) {
            o.sensorsDir = args[++i];
        } else if (a == "--interface" && hasValue) {
            if (!parseModel(args[++i], o.model, o.subModel)) return false;
            o.live = true;
        } else if (a == "--port" && hasValue) {
            o.port = args[++i];
        } else if (a == "--mimic" && hasValue) {
            o.mimic = args[++i];
        } else if (a == "--chip") {
            o.chip = true;
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 1) return false;
    o.chart = files[0];
    // A port belongs to a live run, and a live run needs one.
    return o.live == !o.port.empty();
}

int simulatedRun(RunOptions& o)
{
    InterfaceSettings settings;
    if (!readChartSettings(o.chart, o.numbering, settings)) return 1;

    // As the window does: the interface chosen (which reads the calibration
    // files of the model's folder), then the chart loaded and its sensors
    // looked up there (its automatic flags stand as saved).
    VirtualClock clock;
    // Questions take their default (OK); the last error ends the output.
    ScriptedMessages messages;
    ProgramState state(messages, clock);
    // Times refused as the time dialog refuses them: nothing runs, nothing is written.
    if (!o.capture.apply(state.capture.settings)) return 1;
    InterfaceLayer& io = state.io;
    io.settings = settings;
    io.setSensorsDirectory(o.sensorsDir);
    io.applySelection();
    FlowDocument& doc = state.doc;
    FlowFileInfo info;
    if (!loadChart(o.chart, settings, doc, info)) return 1;
    state.sensors.adoptDocument(false);
    Interpreter& run = state.interpreter;
    EventPrinter printer(clock, io);
    if (!prepareRun(state, printer, o)) return 1;
    std::unique_ptr<MimicTrace> trace;
    if (!o.mimic.empty() && !(trace = MimicTrace::attach(o.mimic, io, run, clock, state.sensors)))
        return 1;
    if (trace) printer.setRepaint([&trace] { trace->repaint(); });

    std::stable_sort(o.changes.begin(), o.changes.end(),
                     [](const TimedChange& a, const TimedChange& b) { return a.cs < b.cs; });
    // Tick k: the clock moves on and the changes due by then are applied.
    const auto tickTo = [&](int k) {
        clock.now = static_cast<std::int64_t>(k) * o.interval;
        for (TimedChange& c : o.changes) {
            if (c.done || c.cs > clock.nowCentiseconds()) continue;
            c.done = true;
            if (c.analogue)
                io.setAnalogue(c.index, c.value);
            else
                io.setInput(c.index, c.value);
        }
        // Inputs pressed between ticks are drawn before the next tick runs.
        printer.repaint();
    };
    if (o.chip) {
        // The compiled chart in the chip simulator, on the same clock and changes.
        ChipRunHooks hooks{&printer, &printer, [&] { printer.begin(); }, tickTo,
                           [&] { return clock.nowCentiseconds(); }};
        return runChipProgram(state, messages, o.ticks, hooks);
    }
    if (!run.start()) {
        std::cout << "0 end " << (messages.empty() ? std::string() : messages.last().text) << '\n';
        return o.capture.save(state) ? 0 : 1;
    }
    printer.begin();
    for (int k = 1; k <= o.ticks && run.running() && !printer.held(); ++k) {
        tickTo(k);
        run.timerTick();
    }
    printEnd(printer, run, std::string());
    return o.capture.save(state) ? 0 : 1;
}

}  // namespace

int runCommand(std::vector<std::string> args)
{
    RunOptions options;
    bool changesGiven = false;
    if (!parseRunOptions(std::move(args), options, changesGiven)) return usage();
    // The chip simulator and a live box keep no capture here: refused rather than
    // a run that silently writes no file.
    if (options.chip && !options.capture.out.empty()) return usage();
    // The compiled program has no symbols to stop at.
    if (options.chip && !options.breaks.empty()) return usage();
    if (!options.live) return simulatedRun(options);
    if (options.chip || !options.capture.out.empty()) return usage();
    if (changesGiven) {
        std::cerr << "Las opciones --input y --value no valen con --interface: las entradas y los "
                     "valores los da la caja.\n";
        return 1;
    }
    return liveRun(options);
}

}  // namespace tarvel::tool
