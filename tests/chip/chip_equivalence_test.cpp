// The same chart, interpreted and compiled for the chip: both switch the same
// outputs, motors and variables in the same order, at nearly the same times.
// The chip works a byte per slice and counts delays on its 100 ms base, so
// its times drift a little from the interpreter's; the sequences agree.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "chip/chip_session.h"
#include "engine/chart_builder.h"
#include "engine/program_state.h"
#include "example_charts.h"
#include "interfaces/interface_model.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

struct Change {
    std::string value;
    std::int64_t ms;
};
// Per output, motor or variable, its values in turn.
using Trace = std::map<std::string, std::vector<Change>>;

class TraceRecorder final : public IoObserver, public VariableObserver {
public:
    explicit TraceRecorder(const test::FakeClock& clock) : clock_(clock) {}
    void showOutput(int i, int s) override
    {
        add("output " + std::to_string(i + 1), s ? "on" : "off");
    }
    void showMotor(int m, int s) override
    {
        add(std::string("motor ") + char('a' + m), s == kMotorForward   ? "fd"
                                                   : s == kMotorReverse ? "rev"
                                                                        : "off");
    }
    void showPower(int o, int p) override
    {
        add("power " + std::to_string(o + 1), std::to_string(p));
    }
    void showVariable(int, std::int32_t) override {}
    void assigned(int i, std::int32_t v) override
    {
        // Every assignment counts, as in the run's trace.
        if (live)
            trace[std::string("var ") + variableLetter(i)].push_back(
                {std::to_string(v), clock_.now});
    }

    bool live = false;
    Trace trace;

private:
    void add(const std::string& key, const std::string& value)
    {
        std::string& last = last_[key];
        if (last.empty()) last = "off";
        if (!live || last == value) return;
        last = value;
        trace[key].push_back({value, clock_.now});
    }
    const test::FakeClock& clock_;
    std::map<std::string, std::string> last_;
};

// A timed press or release of an input.
struct Press {
    int input;
    int value;
    std::int64_t ms;
};

class Runner {
public:
    Runner(const FlowDocument& chart, int subModel) : state(messages, clock), recorder(clock)
    {
        InterfaceSettings& s = state.io.settings;
        s.mode = 1;
        s.model = ModelTolvaChip;
        s.subModel = subModel;
        s.numbering = 1;
        state.io.setSensorsDirectory(std::string(TARVEL_DATA_DIR) + "/SENSORS");
        state.io.applySelection();
        state.doc = chart;
        state.io.addObserver(&recorder);
        state.interpreter.addVariableObserver(&recorder);
        state.chip.addVariableObserver(&recorder);
    }

    Trace interpret(int seconds, const std::vector<Press>& presses)
    {
        EXPECT_TRUE(state.interpreter.start());
        return follow(
            seconds, presses, [&] { state.interpreter.timerTick(); },
            [&] { return state.interpreter.running(); });
    }
    Trace simulate(int seconds, const std::vector<Press>& presses)
    {
        EXPECT_TRUE(startChipSimulation(state, messages).program.has_value());
        EXPECT_TRUE(state.chip.running());
        return follow(
            seconds, presses, [&] { state.chip.timerTick(); },
            [&] { return state.chip.running(); });
    }

    test::FakeMessages messages;
    test::FakeClock clock;
    ProgramState state;
    TraceRecorder recorder;

private:
    template <typename Tick, typename Running>
    Trace follow(int seconds, const std::vector<Press>& presses, Tick tick, Running running)
    {
        recorder.live = true;
        const int ticks = seconds * 1000 / state.speed.interval;
        for (int k = 0; k < ticks && running(); ++k) {
            clock.advance(state.speed.interval);
            for (const Press& p : presses)
                if (clock.now == p.ms) state.io.setInput(p.input, p.value);
            tick();
        }
        recorder.live = false;
        return recorder.trace;
    }
};

// Each item goes through the same values; each change comes within the drift
// the chip's slices and tenths allow by then. The chip's delays end up to a
// tenth early, so near the end of the run it may be a change ahead: changes
// from `cutoff` on are not compared. Motors shown from outputs that two
// tasks switch at the same moment pass through a state that depends on which
// task switches first, which the chip does not fix: `motors` false leaves
// the motor displays out.
void expectSameTrace(const Trace& interpreted, const Trace& simulated, std::int64_t cutoff,
                     bool motors)
{
    ASSERT_FALSE(interpreted.empty());
    for (const auto& [key, changes] : interpreted) {
        if (!motors && key.rfind("motor", 0) == 0) continue;
        SCOPED_TRACE(key);
        const auto it = simulated.find(key);
        ASSERT_NE(it, simulated.end());
        const auto compared = static_cast<std::size_t>(std::count_if(
            changes.begin(), changes.end(), [&](const Change& c) { return c.ms < cutoff; }));
        ASSERT_GE(it->second.size(), compared);
        for (std::size_t i = 0; i < compared; ++i) {
            EXPECT_EQ(it->second[i].value, changes[i].value) << "change " << i;
            const std::int64_t drift = 300 + changes[i].ms / 20;
            EXPECT_NEAR(static_cast<double>(it->second[i].ms), static_cast<double>(changes[i].ms),
                        static_cast<double>(drift))
                << "change " << i;
        }
    }
    for (const auto& [key, changes] : simulated) EXPECT_TRUE(interpreted.count(key)) << key;
}

const FlowDocument& example(const std::string& name)
{
    static const std::vector<examples::ExampleChart> charts = examples::makeExampleCharts();
    for (const auto& c : charts)
        if (c.fileName == name) return c.doc;
    ADD_FAILURE() << name;
    return charts.front().doc;
}

void expectBothAgree(const FlowDocument& chart, int subModel, int seconds,
                     const std::vector<Press>& presses = {}, bool motors = true)
{
    Runner interpreted(chart, subModel);
    Runner simulated(chart, subModel);
    const Trace a = interpreted.interpret(seconds, presses);
    const Trace b = simulated.simulate(seconds, presses);
    EXPECT_TRUE(interpreted.messages.empty());
    EXPECT_TRUE(simulated.messages.empty()) << simulated.messages.last().text;
    expectSameTrace(a, b, (seconds - 5) * 1000, motors);
}

constexpr int kStandardBoard = 0;  // eight inputs, skip dialect, 256 bytes
constexpr int kContactChip = 3;    // talks live: direct dialect, 128 bytes

TEST(ChipEquivalence, ExampleChartsRunAlikeOnTheStandardBoard)
{
    for (const char* name : {"FARO.FLO", "FAROGIRA.FLO"}) {
        SCOPED_TRACE(name);
        expectBothAgree(example(name), kStandardBoard, 40);
    }
    // Two tasks switching outputs 3 and 4 at the same moment.
    expectBothAgree(example("SEMAFORO.FLO"), kStandardBoard, 40, {}, false);
    // Charts that wait for a button.
    expectBothAgree(example("BARRERA.FLO"), kStandardBoard, 30, {{0, 1, 3000}, {0, 0, 4000}});
    expectBothAgree(example("PEATONES.FLO"), kStandardBoard, 40, {{0, 1, 5000}, {0, 0, 5500}});
}

// Counts with x and y, loops on a decision, waits for input 2 and ends.
FlowDocument countingChart()
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int start = b.start();
    const int zero = b.proc("Let x = 0");
    const int on = b.out("Turn Output 1 on");
    const int add = b.proc("Let x = x + 1");
    const int w1 = b.proc("Delay 0.5");
    const int off = b.out("Turn Output 1 off");
    const int w2 = b.proc("Delay 0.5");
    const int more = b.decide("Is x < 4");
    const int wait = b.decide("Is Input 2 on");
    const int run = b.out("Turn Motor a fd ");
    const int w3 = b.proc("Delay 1.5");
    const int back = b.out("Turn Motor a rev ");
    const int y = b.proc("Let y = y + 3");
    const int w4 = b.proc("Delay 1");
    const int halt = b.out("Turn Motor a off ");
    const int stop = b.stop();
    b.chain({start, zero, on, add, w1, off, w2, more});
    b.join(more, on, LineKind::Yes);
    b.join(more, wait, LineKind::No);
    b.join(wait, wait, LineKind::No);
    b.join(wait, run, LineKind::Yes);
    b.chain({run, w3, back, y, w4, halt, stop});
    return doc;
}

TEST(ChipEquivalence, VariablesDecisionsAndInputsRunAlikeInBothDialects)
{
    for (const int subModel : {kStandardBoard, kContactChip}) {
        SCOPED_TRACE(subModel);
        expectBothAgree(countingChart(), subModel, 20, {{1, 1, 8000}});
    }
}

}  // namespace
}  // namespace tarvel
