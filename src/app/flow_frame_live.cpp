// The main frame's side of the live interface: "&Simular", the link the
// layer speaks over, the keep-alive timers the protocols ask for, and what
// the communication-error handler asks of the window (stop the run, end the
// test mode).

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "app/flex_button_gadget.h"
#include "app/flow_frame.h"
#include "app/tool_pictures.h"
#include "interfaces/ui/monitor_set.h"
#include "interfaces/ui/test_mode.h"
#include "platform/byte_link.h"

namespace tarvel {

namespace {

constexpr int kSimulate = 123;

}  // namespace

void TFlowFrame::wireLink()
{
    InterfaceLayer& io = state_->io;
    io.setByteLink(&services_.ports);
    io.setPortNames(portNames_);
    io.setLinkShell(this);
}

void TFlowFrame::addSimulateCommand(QMenu* control)
{
    // Its picture follows the state (a box shown greyed while simulating)
    // without the tool bar being built again.
    auto* simulate = new TFlexButtonGadget(kSimulatingPicture, kSimulate, "&Simular", this);
    simulate->setStatusTip(
        QString::fromUtf8("Cuando es seleccionado, se puede ejecutar sin un interfaz"));
    actions_[kSimulate] = simulate;
    control->addAction(simulate);
    simulate->setCheckable(true);
    simulate->setChecked(true);
    connect(simulate, &QAction::triggered, this, &TFlowFrame::simulateCommand);
}

void TFlowFrame::simulateCommand(bool on)
{
    InterfaceLayer& io = state_->io;
    if (on || io.canGoLive()) {
        io.setSimulate(on);
        // The handler may have ended test mode or the run meanwhile.
        monitors_->relabel();
    }
    updateSimulateCommand();
}

void TFlowFrame::updateSimulateCommand()
{
    auto* simulate = qobject_cast<TFlexButtonGadget*>(action(kSimulate));
    if (!simulate) return;
    const InterfaceLayer& io = state_->io;
    const InterfaceSettings& s = io.settings;
    simulate->setEnabled(s.mode == 1 && !modelTraits(s).runCompiles && !state_->downloading());
    simulate->setChecked(io.flags.simulate);
    simulate->setPicture(io.flags.simulate ? kSimulatingPicture : kLivePicture);
}

const QTimer* TFlowFrame::keepAliveTimer(int timerId) const
{
    const auto it = keepAlives_.find(timerId);
    return it == keepAlives_.end() ? nullptr : it->second.get();
}

// ---- LinkShell ----------------------------------------------------------------------

void TFlowFrame::stopRunTimers()
{
    runTimer_.stop();
    // The run ends at its next check; with its timer stopped, that check
    // comes once the handler has returned.
    if (state_->interpreter.running())
        QTimer::singleShot(0, this, [this] { state_->interpreter.stopOnLinkFailure(); });
}

void TFlowFrame::resumeRunTimers()
{
    if (state_->interpreter.running()) restartRunTimer();
}

void TFlowFrame::testModeEnded()
{
    // Stops timer 666 and unchecks "Probar" and "Modo de Probar".
    monitors_->testMode().setOn(false);
}

void TFlowFrame::startKeepAlive(int timerId, int periodMs)
{
    std::unique_ptr<QTimer>& timer = keepAlives_[timerId];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setObjectName(QStringLiteral("timer%1").arg(timerId));
        connect(timer.get(), &QTimer::timeout, this,
                [this, timerId] { state_->io.keepAlive(timerId); });
    }
    timer->start(periodMs);
}

void TFlowFrame::stopKeepAlive(int timerId)
{
    if (const auto it = keepAlives_.find(timerId); it != keepAlives_.end()) it->second->stop();
}

}  // namespace tarvel
