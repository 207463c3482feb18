#pragma once
// What the interpreter tells the windows around it.

namespace tarvel {

// The running marks drawn on the chart.
enum class Mark { Normal, Active, ActiveLine, Calling, Error };

class ChartMarks {
public:
    virtual ~ChartMarks() = default;
    virtual void markSymbol(int symbol, Mark mark) = 0;
    virtual void markLine(int line, Mark mark) = 0;
};

// The frame around a run: caption, run button, timer, menus, editors.
class RunShell {
public:
    virtual ~RunShell() = default;
    // A run has started: the caption and the run button follow, the run timer starts.
    virtual void runStarted() {}
    // The run is about to stop: what follows is the switching-off.
    virtual void runStopping() {}
    // The run has stopped: the timer stops, caption and button return.
    virtual void runStopped() {}
    // The run mode changed by itself (the selection question moved it to all starts).
    virtual void runModeChanged() {}
    // A run-time error names this symbol: it is the only selected symbol and
    // its editor opens.
    virtual void showFailingSymbol(int /*symbol*/) {}
    // Every pass over the tasks is done (the mimic window repaints).
    virtual void passDone() {}
    // A task reached a symbol with a breakpoint: single stepping is on and
    // every task is held there.
    virtual void heldAtBreakpoint(int /*task*/, int /*symbol*/) {}
};

// Data capture during a run: a fresh capture at the start, the samples that
// are due at the start of every tick, the time axis fitted at the stop.
class CaptureHook {
public:
    virtual ~CaptureHook() = default;
    virtual void reset() = 0;
    // True when it read the inputs from the interface (this tick's first
    // decision needs not read them again).
    virtual bool sample() = 0;
    virtual void fitTimeAxis() = 0;
};

// The calibrated value of an analogue channel 0..3 in its sensor's units.
class ChannelValues {
public:
    virtual ~ChannelValues() = default;
    virtual double value(int channel) const = 0;
};

}  // namespace tarvel
