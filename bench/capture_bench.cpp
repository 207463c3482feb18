// Data capture at run time and its files: one sampling step with a frequency
// graph on screen (a sample, or the edge count between samples), and writing
// and reading a SID file of a full buffer.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "datalog/capture_files.h"
#include "datalog/sid_file.h"
#include "engine/program_state.h"
#include "platform/clock.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

class BenchClock final : public Clock {
public:
    std::int64_t nowMs() const override { return now; }
    void sleepMs(std::int64_t ms) override { now += ms; }
    std::int64_t now = 0;
};

struct Program {
    ScriptedMessages messages;
    BenchClock clock;
    ProgramState state{messages, clock};

    Program()
    {
        messages.recording = false;
        // A frequency graph of the first four inputs.
        GraphLayout& g = state.capture.data.layout;
        g.paneKind[0] = kind(GraphKind::FirstFrequency);
        g.paneWeight[0] = 4;
        g.paneChannels[0] = 4;
        for (int i = 0; i < 4; ++i) g.frequencyGraph[static_cast<std::size_t>(i)] = g.paneKind[0];
        state.capture.start();
    }

    // The next step: the clock moves by `ms` and an input changes.
    void step(std::int64_t ms, int& k)
    {
        clock.now += ms;
        state.io.setInput(k % 4, (k / 4) % 2);
        ++k;
        benchmark::DoNotOptimize(state.capture.samplingStep());
    }
};

// Every step takes a sample (the buffer halves now and then, as in a run).
void BM_SamplingStepSample(benchmark::State& s)
{
    Program p;
    int k = 0;
    for (auto _ : s) {
        p.step(10 * std::int64_t{p.state.capture.state().interval}, k);
        // A new capture after ten halvings keeps the times far from wrapping.
        if (p.state.capture.state().span > (kDefaultSpan << 10)) {
            s.PauseTiming();
            p.state.capture.start();
            s.ResumeTiming();
        }
    }
    if (p.state.capture.sampleCount() == 0) s.SkipWithError("no sample was taken");
}
BENCHMARK(BM_SamplingStepSample);

// Steps between samples count the inputs' rising edges.
void BM_SamplingStepEdges(benchmark::State& s)
{
    Program p;
    int k = 0;
    // The clock stands still: no sample falls due.
    for (auto _ : s) p.step(0, k);
}
BENCHMARK(BM_SamplingStepEdges);

// A full buffer with a sensor on every channel.
void fillFull(Program& p)
{
    CaptureRecord& r = p.state.capture.data;
    for (int n = 0; n < kCaptureCapacity; ++n) {
        const auto k = static_cast<std::size_t>(n);
        r.buffer.time[k] = static_cast<std::uint32_t>(12 * (n + 1));
        for (auto& channel : r.buffer.analogue) channel[k] = 12.345 + n * 0.5;
        r.buffer.inputs[k] = static_cast<std::uint8_t>(n);
        r.buffer.outputs[k] = static_cast<std::uint8_t>(255 - n);
        for (auto& motor : r.buffer.motors) motor[k] = static_cast<std::int8_t>(n % 201 - 100);
    }
    r.buffer.sampleCount = kCaptureCapacity;
    p.state.sensors.reloadTable(std::string(TARVEL_DATA_DIR) + "/SENSORS/DSI");
    for (int c = 0; c < kSensorChannels; ++c) p.state.sensors.choose(c, c);
}

std::string scratchFile()
{
    return (std::filesystem::temp_directory_path() / "tarvel-bench-capture.SID").string();
}

void BM_SidSaveFull(benchmark::State& s)
{
    Program p;
    fillFull(p);
    const std::string path = scratchFile();
    for (auto _ : s) {
        const Status saved = saveCaptureFile(path, DataFileKind::Sid, p.state.capture,
                                             p.state.sensors, false, p.messages);
        benchmark::DoNotOptimize(saved.ok());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SidSaveFull)->Unit(benchmark::kMicrosecond);

void BM_SidOpenFull(benchmark::State& s)
{
    Program p;
    fillFull(p);
    const std::string path = scratchFile();
    if (!saveCaptureFile(path, DataFileKind::Sid, p.state.capture, p.state.sensors, false,
                         p.messages))
        s.SkipWithError("the file could not be written");
    for (auto _ : s) {
        const Status read = openCaptureFile(path, p.state.capture, p.state.sensors, p.messages);
        benchmark::DoNotOptimize(read.ok());
    }
    if (p.state.capture.sampleCount() != kCaptureCapacity) s.SkipWithError("not read back");
    std::filesystem::remove(path);
}
BENCHMARK(BM_SidOpenFull)->Unit(benchmark::kMicrosecond);

// The text alone, without the disk.
void BM_SidSerializeParseFull(benchmark::State& s)
{
    Program p;
    fillFull(p);
    const SidChannels channels = describeChannels(p.state.sensors);
    for (auto _ : s) {
        const std::string text = serializeSid(p.state.capture.data, channels, false);
        const auto read = parseSid(text, p.state.capture.data, p.state.sensors.table());
        benchmark::DoNotOptimize(read.ok());
    }
}
BENCHMARK(BM_SidSerializeParseFull)->Unit(benchmark::kMicrosecond);

}  // namespace
