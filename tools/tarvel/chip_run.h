#pragma once
// tarvel run --chip: the chart compiled for the chart's interface and run in
// the chip simulator, tick by tick on the run's virtual clock, with the same
// trace lines as the interpreted run.

#include <cstdint>
#include <functional>

namespace tarvel {
class ProgramState;
class RunShell;
class ScriptedMessages;
class VariableObserver;
}  // namespace tarvel

namespace tarvel::tool {

struct ChipRunHooks {
    VariableObserver* variables = nullptr;  // the trace's "var" lines
    RunShell* shell = nullptr;              // the trace stops before the switching off
    std::function<void()> begin;            // the program started: the trace begins
    // Before tick k: the clock reads k x Interval and the changes due are made.
    std::function<void(int tick)> beforeTick;
    std::function<std::int64_t()> nowCentiseconds;
};

// Runs up to `ticks` ticks and prints the last line ("CS end stop", "CS end
// ticks" or "CS end MESSAGE"); a compile fault prints "0 end MESSAGE".
// Returns the exit code.
int runChipProgram(ProgramState& state, ScriptedMessages& messages, int ticks,
                   const ChipRunHooks& hooks);

}  // namespace tarvel::tool
