#pragma once
// What `tarvel run` shares between its simulated and its live runs: the
// options, and the trace of what changes, one line an event with the
// centisecond first.

#include <array>
#include <cstdint>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/interpreter.h"
#include "engine/program_state.h"
#include "platform/clock.h"
#include "platform/sound_player.h"
#include "tool_common.h"

namespace tarvel::tool {

// An input switched or a value set by the options, at its centisecond.
struct TimedChange {
    bool analogue = false;
    int index = 0;  // input 0..7 or channel 0..3
    int value = 0;  // 0/1, or the raw reading
    std::int64_t cs = 0;
    bool done = false;
};

struct RunOptions {
    int ticks = 3000;
    int interval = 20;
    int multiplicity = 1;
    std::optional<int> numbering;
    RunMode mode;
    std::vector<int> selection;
    // Symbols whose breakpoint ends the run when a task reaches one.
    std::vector<int> breaks;
    std::vector<TimedChange> changes;
    std::string sensorsDir = TARVEL_DEFAULT_SENSORS_DIR;
    std::string chart;
    // A mimic set whose pictures are traced as they change ("DIR/NAME").
    std::string mimic;
    // The compiled chart run in the chip simulator instead of the interpreter.
    bool chip = false;
    // "--capture OUT.SID" and its times.
    RunCapture capture;
    // A live run: the interface and the device of its box.
    bool live = false;
    int model = 0;
    int subModel = 0;
    std::string port;
};

// Prints what changes, while the run is on.
class EventPrinter final : public IoObserver,
                           public VariableObserver,
                           public RunShell,
                           public SoundPlayer {
public:
    EventPrinter(const Clock& clock, const InterfaceLayer& io) : clock_(clock), io_(io) {}

    void begin();
    void runStopping() override { live_ = false; }
    // What the window repaints after each pass and after the switching-off
    // of a stop (the mimic's pending objects).
    void setRepaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }
    void passDone() override { repaint(); }
    void runStopped() override { repaint(); }
    void repaint()
    {
        if (repaint_) repaint_();
    }
    void showOutput(int i, int state) override;
    void showMotor(int m, int state) override;
    void showPower(int output, int percent) override;
    void showDac(int value) override;
    void showVariable(int, std::int32_t) override {}
    void assigned(int index, std::int32_t value) override;
    // Nothing is heard headless: the sound is named instead.
    void play(int slot, const std::string& path) override;
    void stop() override {}
    // "CS break I task T"; the run ends there.
    void heldAtBreakpoint(int task, int symbol) override;
    bool held() const { return held_; }
    std::ostream& line() { return std::cout << clock_.nowCentiseconds() << ' '; }

private:
    const Clock& clock_;
    const InterfaceLayer& io_;
    bool live_ = false;
    bool held_ = false;
    std::function<void()> repaint_;
    std::array<int, kIoCount> outputs_{};
    std::array<int, kIoCount> power_{};
    std::array<int, kMotorCount> motors_{};
    int dac_ = 0;
};

// The run's speed, what it starts, its breakpoints and the printer following
// it, as the options give them; false (and said) when a breakpoint names no
// symbol of the chart.
bool prepareRun(ProgramState& state, EventPrinter& printer, const RunOptions& options);

// The last line: why the run ended ("break", "stop", "ticks", or the message).
void printEnd(EventPrinter& printer, Interpreter& run, const std::string& linkMessage);

int liveRun(const RunOptions& options);

}  // namespace tarvel::tool
