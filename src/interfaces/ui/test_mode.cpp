#include "interfaces/ui/test_mode.h"

#include "engine/program_state.h"

namespace tarvel {

TTestMode::TTestMode(ProgramState& state, QObject* parent) : QObject(parent), state_(state)
{
    timer_.setObjectName(QStringLiteral("timer666"));
    connect(&timer_, &QTimer::timeout, this, &TTestMode::poll);
}

void TTestMode::setOn(bool on)
{
    if (on == isOn()) return;
    InterfaceLayer& io = state_.io;
    // After a failure some boxes are connected again first; a box that stays
    // down leaves test mode off.
    if (on && !io.prepareTestMode()) {
        emit changed(false);
        return;
    }
    io.flags.testMode = on;
    if (on) {
        state_.sensors.identify();
        // The box failed to tell its sensors: the handler has ended test mode.
        if (!io.flags.testMode) {
            emit changed(false);
            return;
        }
        timer_.start(state_.speed.interval);
    } else {
        timer_.stop();
    }
    emit changed(on);
}

void TTestMode::poll()
{
    state_.io.pollInputs();
}

}  // namespace tarvel
