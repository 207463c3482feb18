#include "chip/ui/chip_run.h"

#include "chip/chip_session.h"
#include "engine/program_state.h"

namespace tarvel {

TChipRun::TChipRun(ProgramState& state, Messages& messages, QObject* parent)
    : QObject(parent), state_(state), messages_(messages)
{
    timer_.setObjectName(QStringLiteral("timer1235"));
    connect(&timer_, &QTimer::timeout, this, [this] { state_.chip.timerTick(); });
    state_.chip.setShell(this);
}

TChipRun::~TChipRun()
{
    timer_.stop();
    state_.chip.setShell(nullptr);
}

bool TChipRun::running() const
{
    return state_.chip.running();
}

void TChipRun::toggle()
{
    if (running()) {
        stop();
        return;
    }
    if (state_.interpreter.running() || state_.downloading()) return;
    const ChipCompileResult result = startChipSimulation(state_, messages_);
    if (result.fault) emit compileFault(result.fault->symbol);
}

void TChipRun::stop()
{
    state_.chip.stop();
}

void TChipRun::step()
{
    state_.chip.step();
}

void TChipRun::restartTimer()
{
    if (!running()) return;
    timer_.start(state_.speed.interval);
}

void TChipRun::runStarted()
{
    // Single stepping included: the timer carries each task on to its next symbol.
    timer_.start(state_.speed.interval);
    emit started();
}

void TChipRun::runStopped()
{
    timer_.stop();
    emit stopped();
}

void TChipRun::passDone()
{
    emit sliceDone();
}

}  // namespace tarvel
