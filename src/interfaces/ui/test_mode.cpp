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
    if (on && io.linkLive() && io.runFlags().linkFailed) {
        // Some boxes are connected again after a failure before polling.
        const TestReconnect rule = io.traits().testReconnect;
        if (rule != TestReconnect::None)
            io.connect(true);
        else
            io.flags.linkFailed = false;  // a new start: a failure is reported again
        if (rule == TestReconnect::ReconnectOrStayOff && io.runFlags().linkFailed) {
            emit changed(false);
            return;
        }
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
