// One interpreter tick at the heaviest load: 20 tasks, 101 passes per tick,
// each task cycling through output, Let, decision and delay symbols, with
// observers attached to every display.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/interpreter.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_layer.h"
#include "platform/clock.h"
#include "platform/scripted_messages.h"
#include "sensors/sensor_channels.h"

namespace {

using namespace tarvel;

class StepClock final : public Clock {
public:
    std::int64_t nowMs() const override { return now; }
    void sleepMs(std::int64_t ms) override { now += ms; }
    std::int64_t now = 0;
};

class CountingObserver final : public IoObserver, public VariableObserver, public ChartMarks {
public:
    void showInput(int, int) override { ++events; }
    void showOutput(int, int) override { ++events; }
    void showMotor(int, int) override { ++events; }
    void showValue(int, int) override { ++events; }
    void showDac(int) override { ++events; }
    void showPower(int, int) override { ++events; }
    void showVariable(int, std::int32_t) override { ++events; }
    void markSymbol(int, Mark) override { ++events; }
    void markLine(int, Mark) override { ++events; }
    long events = 0;
};

int addSymbol(FlowDocument& doc, SymbolKind kind, const std::string& text, int n)
{
    const int i = doc.appendSymbol(kind, {64 + (n % 20) * 64, 56 + (n / 20) * 56});
    doc.setSymbolText(i, text);
    return i;
}

void BM_RunTickHeaviestLoad(benchmark::State& state)
{
    FlowDocument doc;
    int n = 0;
    for (int t = 0; t < kMaxTasks; ++t) {
        const int s = addSymbol(doc, SymbolKind::StartStop, "Start", n++);
        const char out = static_cast<char>('1' + t % 8);
        const int a = addSymbol(doc, SymbolKind::Output, std::string("Output ") + out + " on", n++);
        const int b = addSymbol(doc, SymbolKind::Process, "Let a = a + 1", n++);
        const int c = addSymbol(doc, SymbolKind::Decision, "Is Val 1 > 50", n++);
        const int d =
            addSymbol(doc, SymbolKind::Output, std::string("Output ") + out + " off", n++);
        const int e = addSymbol(doc, SymbolKind::Process, "Delay 0.01", n++);
        const int f = addSymbol(doc, SymbolKind::Decision, "Is x < 1000", n++);
        const int g = addSymbol(doc, SymbolKind::Process, "Let x = x + 1", n++);
        auto line = [&](int from, int to, LineKind k) {
            doc.appendLine(from, to, k, LineGeometry{});
        };
        line(s, a, LineKind::Plain);
        line(a, b, LineKind::Plain);
        line(b, c, LineKind::Plain);
        line(c, d, LineKind::Yes);
        line(c, d, LineKind::No);
        line(d, e, LineKind::Plain);
        line(e, f, LineKind::Plain);
        line(f, g, LineKind::Yes);
        line(f, a, LineKind::No);
        line(g, a, LineKind::Plain);
    }
    InterfaceLayer io;
    io.setSliderLevels(&doc.outputLevels);
    io.applySelection();
    StepClock clock;
    ScriptedMessages messages;
    messages.recording = false;
    SpeedSettings speed;
    speed.multiplicity = 101;
    Interpreter run(doc, io, clock, messages, speed);
    SensorChannels channels(doc, io);  // no calibration files: every channel in percent
    run.setChannelValues(&channels);
    CountingObserver observer;
    io.addObserver(&observer);
    run.addVariableObserver(&observer);
    run.setMarks(&observer);
    io.setAnalogue(0, 700);
    if (!run.start()) state.SkipWithError("the chart did not start");
    for (auto _ : state) {
        clock.now += speed.interval;
        run.timerTick();
        if (!run.running()) {
            state.PauseTiming();
            run.start();
            state.ResumeTiming();
        }
    }
    state.counters["events/tick"] = benchmark::Counter(static_cast<double>(observer.events),
                                                       benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RunTickHeaviestLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
