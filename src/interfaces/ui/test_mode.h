#pragma once
// Test mode: the interface's inputs and values polled without a run, on
// timer 666 every `Interval` ms, so a pupil can try switches and sensors.
// The check boxes that drive it ("Modo de Probar" of the sensors window)
// follow its state.

#include <QObject>
#include <QTimer>

namespace tarvel {

class ProgramState;

class TTestMode : public QObject {
    Q_OBJECT
public:
    explicit TTestMode(ProgramState& state, QObject* parent = nullptr);

    bool isOn() const { return timer_.isActive(); }
    // On: the test-mode flag, the sensors identified, the polling started.
    // Off: the flag cleared and the polling stopped.
    void setOn(bool on);
    QTimer& timer() { return timer_; }

signals:
    void changed(bool on);

private:
    void poll();

    ProgramState& state_;
    QTimer timer_;
};

}  // namespace tarvel
