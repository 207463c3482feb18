// tarvel run: runs a chart headless, in simulation, on a virtual clock. The
// clock reads 0 at run start and the k-th tick runs at k x Interval ms, so a
// run is fast and always the same. One line per event, the centisecond first.

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "engine/program_state.h"
#include "mimic_trace.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "platform/sound_player.h"
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

// Prints what changes, while the run is on.
class EventPrinter final : public IoObserver,
                           public VariableObserver,
                           public RunShell,
                           public SoundPlayer {
public:
    EventPrinter(const Clock& clock, const InterfaceLayer& io) : clock_(clock), io_(io) {}

    void begin()
    {
        outputs_ = io_.image().outputs;
        power_ = io_.image().outputPower;
        for (int m = 0; m < 4; ++m) motors_[static_cast<std::size_t>(m)] = io_.motorState(m);
        dac_ = io_.image().dacValue;
        live_ = true;
    }
    void runStopping() override { live_ = false; }

    void showOutput(int i, int state) override
    {
        auto& last = outputs_[static_cast<std::size_t>(i)];
        if (!live_ || last == state) return;
        last = state;
        line() << "output " << i + 1 << (state ? " on" : " off") << '\n';
    }
    void showMotor(int m, int state) override
    {
        auto& last = motors_[static_cast<std::size_t>(m)];
        if (!live_ || last == state) return;
        last = state;
        const char* word = state == kMotorForward ? "fd" : state == kMotorReverse ? "rev" : "off";
        line() << "motor " << static_cast<char>('a' + m) << ' ' << word << '\n';
    }
    void showPower(int output, int percent) override
    {
        auto& last = power_[static_cast<std::size_t>(output)];
        if (!live_ || last == percent) return;
        last = percent;
        line() << "power " << output + 1 << ' ' << percent << '\n';
    }
    void showDac(int value) override
    {
        if (!live_ || dac_ == value) return;
        dac_ = value;
        line() << "dac " << value << '\n';
    }
    void showVariable(int, std::int32_t) override {}
    void assigned(int index, std::int32_t value) override
    {
        if (live_) line() << "var " << variableLetter(index) << ' ' << value << '\n';
    }
    // Nothing is heard headless: the sound is named instead.
    void play(int slot, const std::string& path) override
    {
        if (live_) line() << "sound " << slot << ' ' << cp1252ToUtf8(path) << '\n';
    }
    void stop() override {}
    std::ostream& line() { return std::cout << clock_.nowCentiseconds() << ' '; }

private:
    const Clock& clock_;
    const InterfaceLayer& io_;
    bool live_ = false;
    std::array<int, 8> outputs_{};
    std::array<int, 8> power_{};
    std::array<int, 4> motors_{};
    int dac_ = 0;
};

struct TimedChange {
    bool analogue = false;
    int index = 0;  // input 0..7 or channel 0..3
    int value = 0;  // 0/1, or the raw reading
    std::int64_t cs = 0;
    bool done = false;
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

}  // namespace

int runCommand(std::vector<std::string> args)
{
    std::optional<int> numbering;
    if (!takeNumbering(args, numbering)) return usage();
    int ticks = 3000, interval = 20, multiplicity = 1;
    RunMode mode;
    std::vector<int> selection;
    std::vector<TimedChange> changes;
    std::vector<std::string> files;
    std::string sensorsDir = TARVEL_DEFAULT_SENSORS_DIR;
    std::string mimic;
    for (std::size_t i = 0; i < args.size(); ++i) {
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
            if (!intOption(ticks, 0)) return usage();
        } else if (a == "--interval") {
            if (!intOption(interval, kMinInterval)) return usage();
        } else if (a == "--multiplicity") {
            if (!intOption(multiplicity, 1)) return usage();
        } else if (a == "--run" && hasValue) {
            const std::string v = args[++i];
            if (v == "all")
                mode = RunMode{};
            else if (v == "selection")
                mode = RunMode{RunMode::Selection, 0};
            else if (v.rfind("sub:", 0) == 0) {
                const auto n = parseInt(v.substr(4));
                if (!n || *n < 1 || *n > kMaxSubs) return usage();
                mode = RunMode{RunMode::Sub, *n};
            } else {
                return usage();
            }
        } else if (a == "--select" && hasValue) {
            std::stringstream list(args[++i]);
            std::string item;
            while (std::getline(list, item, ',')) {
                const auto v = parseInt(item);
                if (!v) return usage();
                selection.push_back(*v);
            }
        } else if ((a == "--input" || a == "--value") && hasValue) {
            const auto c = parseChange(args[++i], a == "--value");
            if (!c) return usage();
            changes.push_back(*c);
        } else if (a == "--sensors" && hasValue) {
            sensorsDir = args[++i];
        } else if (a == "--mimic" && hasValue) {
            mimic = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            return usage();
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 1) return usage();

    InterfaceSettings settings;
    if (!readChartSettings(files[0], numbering, settings)) return 1;

    // As the window does: the interface chosen (which reads the calibration
    // files of the model's folder), then the chart loaded and its sensors
    // looked up there (its automatic flags stand as saved).
    VirtualClock clock;
    // Questions take their default (OK); the last error ends the output.
    ScriptedMessages messages;
    ProgramState state(messages, clock);
    InterfaceLayer& io = state.io;
    io.settings = settings;
    io.setSensorsDirectory(sensorsDir);
    io.applySelection();
    FlowDocument& doc = state.doc;
    FlowFileInfo info;
    if (!loadChart(files[0], settings, doc, info)) return 1;
    state.sensors.adoptDocument(false);
    state.speed.interval = interval;
    state.speed.multiplicity = multiplicity;
    Interpreter& run = state.interpreter;
    EventPrinter printer(clock, io);
    io.addObserver(&printer);
    run.addVariableObserver(&printer);
    run.setShell(&printer);
    run.setSound(&printer);
    run.runMode = mode;
    for (const int s : selection) doc.selectSymbol(s);
    std::unique_ptr<MimicTrace> trace;
    if (!mimic.empty() && !(trace = MimicTrace::attach(mimic, io, run, clock, state.sensors)))
        return 1;

    if (!run.start()) {
        std::cout << "0 end " << (messages.empty() ? std::string() : messages.last().text) << '\n';
        return 0;
    }
    printer.begin();
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TimedChange& a, const TimedChange& b) { return a.cs < b.cs; });
    for (int k = 1; k <= ticks && run.running(); ++k) {
        clock.now = static_cast<std::int64_t>(k) * interval;
        for (TimedChange& c : changes) {
            if (c.done || c.cs > clock.nowCentiseconds()) continue;
            c.done = true;
            if (c.analogue)
                io.setAnalogue(c.index, c.value);
            else
                io.setInput(c.index, c.value);
        }
        run.timerTick();
    }
    if (run.running()) {
        run.stop();
        std::cout << clock.nowCentiseconds() << " end ticks\n";
    } else if (run.lastStopReason() == StopReason::ChartStopped) {
        std::cout << clock.nowCentiseconds() << " end stop\n";
    } else {
        std::cout << clock.nowCentiseconds() << " end " << run.lastError() << '\n';
    }
    return 0;
}

}  // namespace tarvel::tool
