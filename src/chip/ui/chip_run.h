#pragma once
// The chip simulation in the window: the Simulate command's work (compile,
// start, stop), timer 1235 that drives the simulator's slices at the speed
// settings' `Interval`, and the signals the frame follows to show that a
// simulated chip program runs.

#include <QObject>
#include <QTimer>

#include "engine/run_ports.h"

namespace tarvel {

class Messages;
class ProgramState;

class TChipRun : public QObject, public RunShell {
    Q_OBJECT
public:
    TChipRun(ProgramState& state, Messages& messages, QObject* parent = nullptr);
    ~TChipRun() override;

    bool running() const;
    QTimer& timer() { return timer_; }
    // The Simulate command: compiles the chart and runs the program, or
    // stops the one that runs. A compile fault names its symbol
    // (compileFault) and nothing starts.
    void toggle();
    void stop();
    // The space bar while single stepping.
    void step();
    // The speed settings changed: the timer takes the new `Interval`.
    void restartTimer();

    // RunShell
    void runStarted() override;
    void runStopped() override;
    void passDone() override;

signals:
    void started();
    void stopped();
    // A slice is done (the mimic window repaints what changed).
    void sliceDone();
    void compileFault(int symbol);

private:
    ProgramState& state_;
    Messages& messages_;
    QTimer timer_;
};

}  // namespace tarvel
