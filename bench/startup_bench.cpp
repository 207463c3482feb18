// Whole-program figures: a cold start of Tarvel2Esp to its first painted
// window with an example chart (offscreen, as a separate process each time),
// and how late a ten-second Delay ends when a chart runs on the real clock
// with the window's 20 ms tick.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/interpreter.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_layer.h"
#include "platform/clock.h"
#include "platform/scripted_messages.h"
#include "sensors/sensor_channels.h"

extern char** environ;

namespace {

using namespace tarvel;
using Steady = std::chrono::steady_clock;

// Tarvel2Esp --quit-after-load CHART: it shows the window, loads the chart,
// paints once and ends. No initialisation file or settings of the machine
// are read (an empty folder stands for the Windows directory).
void BM_ColdStartToFirstPaint(benchmark::State& state)
{
    const std::string chart = std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/SEMAFORO.FLO";
    const std::filesystem::path windir =
        std::filesystem::temp_directory_path() / ("tarvel-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(windir);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("TARVEL_WINDIR=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("TARVEL_WINDIR=" + windir.string());
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = TARVEL_PROGRAM_PATH, option = "--quit-after-load", file = chart;
    char* argv[] = {program.data(), option.data(), file.data(), nullptr};

    for (auto _ : state) {
        const auto begin = Steady::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("Tarvel2Esp did not start");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        state.SetIterationTime(std::chrono::duration<double>(Steady::now() - begin).count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("Tarvel2Esp did not load the chart");
            break;
        }
    }
    std::filesystem::remove_all(windir);
}
BENCHMARK(BM_ColdStartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start_)
            .count();
    }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

private:
    Steady::time_point start_ = Steady::now();
};

// Start, "Delay 10", output 1 on: the window's timer ticks every 20 ms (a
// tick that comes late is not made up for). The time from the tick that runs
// the Delay to the tick that switches the output on is measured; the figure
// is how much later than ten seconds that is. One tick (20 ms) is the target.
void BM_RealClockDelayTenSeconds(benchmark::State& state)
{
    constexpr int kTickMs = 20;
    double worstLateMs = 0;
    for (auto _ : state) {
        ScriptedMessages messages;
        messages.recording = false;
        SteadyClock clock;
        FlowDocument doc(&messages);
        InterfaceLayer io;
        io.settings.mode = 0;
        io.settings.numbering = 1;
        io.setClock(&clock);
        io.applySelection();
        SpeedSettings speed;
        Interpreter run(doc, io, clock, messages, speed);
        SensorChannels channels(doc, io);
        run.setChannelValues(&channels);
        const int s = doc.appendSymbol(SymbolKind::StartStop, {320, 84});
        doc.setSymbolText(s, "Start");
        const int d = doc.appendSymbol(SymbolKind::Process, {320, 168});
        doc.setSymbolText(d, "Delay 10");
        const int o = doc.appendSymbol(SymbolKind::Output, {320, 252});
        doc.setSymbolText(o, "Turn Output 1 on");
        LineGeometry g;
        g.points[0] = {320, 97};
        g.points[1] = {320, 143};
        doc.appendLine(s, d, LineKind::Plain, g);
        g.points[0] = {320, 181};
        g.points[1] = {320, 227};
        doc.appendLine(d, o, LineKind::Plain, g);

        const auto begin = Steady::now();
        if (!run.start()) {
            state.SkipWithError("the chart did not start");
            break;
        }
        auto next = begin;
        std::optional<Steady::time_point> delayTick;
        Steady::time_point tick = begin;
        while (io.image().outputs[0] == 0 && run.running()) {
            next += std::chrono::milliseconds(kTickMs);
            std::this_thread::sleep_until(next);
            tick = Steady::now();
            const int before = run.taskSymbol(0);
            run.timerTick();
            if (!delayTick && before == d && run.taskSymbol(0) != d) delayTick = tick;
            next = std::max(next, Steady::now());
        }
        if (!delayTick) {
            state.SkipWithError("the Delay never ran");
            break;
        }
        const double ms = std::chrono::duration<double, std::milli>(tick - *delayTick).count();
        state.SetIterationTime(ms / 1000.0);
        worstLateMs = std::max(worstLateMs, ms - 10000.0);
        run.stop();
    }
    state.counters["late_ms"] = worstLateMs;
    state.counters["tick_ms"] = kTickMs;
}
BENCHMARK(BM_RealClockDelayTenSeconds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
