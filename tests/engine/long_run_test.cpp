// A whole school day and night in one go: a chart with the most tasks a run
// takes, capturing data all along, for 24 hours of the virtual clock. The
// heap must not grow after the first hour, and the capture must still be
// taking samples at the end, within its buffer.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "engine/chart_builder.h"
#include "engine/program_state.h"
#include "engine/speed_settings.h"
#include "engine/variables.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVEL_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TARVEL_UNDER_ASAN 1
#endif

#ifdef TARVEL_UNDER_ASAN
// The sanitizer's allocator counts what it holds (its header does not come
// with every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarvel {
namespace {

// Bytes of heap in use, from the allocator in force; 0 when unknown.
std::size_t heapInUse()
{
#ifdef TARVEL_UNDER_ASAN
    return __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

constexpr std::int64_t kHourMs = 3600 * 1000;
// Ticks of a tenth of a second: a Delay still ends on time, and a day takes
// 864 000 ticks of 20 tasks.
constexpr int kTickMs = 100;

// Task k: its output on, a short delay, a count, a decision on an input, its
// output off, another delay, and round again for ever.
void addTask(test::ChartBuilder& c, int k)
{
    const std::string output = std::to_string(k % 8 + 1);
    const std::string var(1, kVariableLetters[k % kVariableCount]);
    const int start = c.start();
    const int on = c.out("Turn Output " + output + " on");
    const int wait = c.proc("Delay 0." + std::to_string(k % 5 + 1));
    const int count = c.proc("Let " + var + " = " + var + " + 1");
    const int ask = c.decide("Is Input " + std::to_string(k % 8 + 1) + " on");
    const int off = c.out("Turn Output " + output + " off");
    const int rest = c.proc("Delay 0.3");
    c.chain({start, on, wait, count, ask});
    c.join(ask, off, LineKind::Yes);
    c.join(ask, rest, LineKind::No);
    c.chain({off, rest});
    c.join(rest, on);
}

TEST(LongRun, TwentyTasksForADayKeepTheHeapFlatAndTheCaptureGoing)
{
    test::FakeMessages messages;
    test::FakeClock clock;
    ProgramState state(messages, clock);
    state.io.settings.mode = 0;
    state.io.settings.numbering = 1;
    state.io.applySelection();
    state.capture.settings.logOnRun = true;
    test::ChartBuilder chart(state.doc);
    for (int k = 0; k < kMaxTasks; ++k) addTask(chart, k);

    Interpreter& run = state.interpreter;
    ASSERT_TRUE(run.start());
    ASSERT_EQ(run.taskCount(), kMaxTasks);

    std::size_t afterAnHour = 0;
    std::int64_t tick = 0;
    const auto runUntil = [&](std::int64_t ms) {
        for (; clock.now < ms && run.running(); ++tick) {
            clock.advance(kTickMs);
            // The inputs change now and then, so both branches are taken.
            if (tick % 37 == 0)
                state.io.setInput(static_cast<int>(tick / 37 % 8), tick / 37 % 3 == 0);
            run.timerTick();
        }
    };
    runUntil(kHourMs);
    afterAnHour = heapInUse();
    const int samplesAfterAnHour = state.capture.sampleCount();
    runUntil(24 * kHourMs);
    const std::size_t afterADay = heapInUse();

    RecordProperty("heap_after_1h", std::to_string(afterAnHour));
    RecordProperty("heap_after_24h", std::to_string(afterADay));
    ASSERT_TRUE(run.running()) << (messages.empty() ? "" : messages.last().text);
    EXPECT_TRUE(messages.empty());
    // No growth beyond allocator noise: a leak of a few bytes per tick would
    // show as megabytes over the 820 000 ticks since the first hour.
    EXPECT_LE(afterADay, afterAnHour + 16 * 1024) << afterAnHour << " -> " << afterADay;

    // The capture kept sampling to the end, compressing instead of growing.
    const CaptureBuffer& buffer = state.capture.buffer();
    ASSERT_GT(samplesAfterAnHour, 0);
    ASSERT_GT(buffer.sampleCount, 0);
    EXPECT_LE(buffer.sampleCount, kCaptureCapacity);
    const std::uint32_t last = buffer.time[static_cast<std::size_t>(buffer.sampleCount - 1)];
    EXPECT_GE(last, static_cast<std::uint32_t>(23 * 360000))
        << "the last sample is older than an hour";
    // Every variable counted its tasks' rounds: each round lasts at most two seconds.
    for (int v = 0; v < kVariableCount; ++v)
        EXPECT_GT(run.variables()[static_cast<std::size_t>(v)], 24 * 3600 / 2) << v;
    run.stop();
}

}  // namespace
}  // namespace tarvel
