// One slice of the chip simulator at its heaviest: four tasks, none waiting,
// each switching outputs, adding to x and testing A against B every slice,
// with observers on every display and the marks.

#include <benchmark/benchmark.h>

#include <vector>

#include "chip/chip_layout.h"
#include "chip/chip_simulator.h"
#include "engine/speed_settings.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "platform/clock.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

class StepClock final : public Clock {
public:
    std::int64_t nowMs() const override { return now; }
    void sleepMs(std::int64_t ms) override { now += ms; }
    std::int64_t now = 0;
};

class CountingObserver final : public IoObserver,
                               public VariableObserver,
                               public ChartMarks,
                               public RunShell {
public:
    void showOutput(int, int) override { ++events; }
    void showMotor(int, int) override { ++events; }
    void showPower(int, int) override { ++events; }
    void showVariable(int, std::int32_t) override { ++events; }
    void markSymbol(int, Mark) override { ++events; }
    void markLine(int, Mark) override { ++events; }
    long events = 0;
};

// Task k loops at 3 + 20k: output on, B := 1, x += B, the margin test that
// skips nothing, output off, and the jump back through entry 63 - k.
ChipProgram busyProgram()
{
    const ChipLayout layout = ChipLayout::forSize(kFullProgramSize);
    std::vector<std::uint8_t> image(kFullProgramSize, 0);
    std::vector<int> symbols(kFullProgramSize, -1);
    image.back() = kChipLastByte;
    image[layout.constBase + 4] = 1;
    for (int k = 0; k < kChipTasks; ++k) {
        const int at = kChipCodeStart + 20 * k;
        if (k > 0) image[static_cast<std::size_t>(k - 1)] = static_cast<std::uint8_t>(at);
        const int entry = kChipJumpEntries - 1 - k;
        const std::uint8_t code[] = {static_cast<std::uint8_t>(0x10 + k),
                                     0x44,
                                     0x51,
                                     0x34,
                                     0x3F,
                                     static_cast<std::uint8_t>(0x18 + k),
                                     static_cast<std::uint8_t>(0xC0 + entry)};
        for (std::size_t i = 0; i < sizeof code; ++i) {
            image[static_cast<std::size_t>(at) + i] = code[i];
            symbols[static_cast<std::size_t>(at) + i] = 7 * k + static_cast<int>(i);
        }
        image[static_cast<std::size_t>(layout.jumpBase + entry)] = static_cast<std::uint8_t>(at);
    }
    return {ChipDialect::Skip, image, symbols};
}

void BM_ChipSliceFourBusyTasks(benchmark::State& state)
{
    ScriptedMessages messages;
    messages.recording = false;
    StepClock clock;
    SpeedSettings speed;
    InterfaceLayer io;
    io.settings.mode = 1;
    io.settings.model = ModelTolvaChip;
    io.connect(true);
    CountingObserver observer;
    io.addObserver(&observer);
    ChipSimulator sim(io, clock, messages, speed);
    sim.setMarks(&observer);
    sim.setShell(&observer);
    sim.addVariableObserver(&observer);
    sim.start(busyProgram(), ChipTarget{});
    for (auto _ : state) {
        clock.now += 20;  // the tenths counters move on too
        sim.slice();
    }
    if (!sim.running()) state.SkipWithError("the program stopped");
    benchmark::DoNotOptimize(observer.events);
}
BENCHMARK(BM_ChipSliceFourBusyTasks);

}  // namespace
