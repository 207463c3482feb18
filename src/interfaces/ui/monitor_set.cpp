#include "interfaces/ui/monitor_set.h"

#include <QCheckBox>

#include <QMainWindow>

#include "engine/program_state.h"
#include "interfaces/manual_control.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/monitor_dialog.h"
#include "interfaces/ui/sensors_dialog.h"
#include "interfaces/ui/test_mode.h"
#include "platform/qt/window_place.h"

namespace tarvel {

TMonitorSet::TMonitorSet(ProgramState& state, QMainWindow* frame)
    : state_(state),
      frame_(frame),
      control_(std::make_unique<ManualControl>(state.io, state.doc.outputLevels,
                                               [&state] { return state.programRunning(); }))
{
    outputs_ = new TMonitorNDialog(state, *control_, frame);
    motors_ = new TMonitorCDialog(state, *control_, frame);
    smallMotors_ = new TMonitorCSDialog(state, *control_, frame);
    reduced_ = new TManualMonitorDialog(state, *control_, frame);
    testMode_ = new TTestMode(state, this);
    sensors_ = new TSensorsDialog(state, *testMode_, frame);
    // "Probar" of the strip and "Modo de Probar" of the sensors window share
    // the one test mode and follow it.
    QCheckBox* probar = reduced_->testBox();
    connect(probar, &QCheckBox::toggled, testMode_, &TTestMode::setOn);
    connect(testMode_, &TTestMode::changed, probar, [probar](bool on) {
        const QSignalBlocker block(probar);
        probar->setChecked(on);
    });
    for (QWidget* w :
         std::initializer_list<QWidget*>{outputs_, motors_, smallMotors_, reduced_, sensors_})
        w->hide();
    state.sensors.addObserver(this);
    // The strip keeps to the bottom of the chart's area through every resize and zoom.
    followClientArea(*frame, *this, [this] {
        if (reduced_ && reduced_->isVisible()) placeReduced();
    });
}

TMonitorSet::~TMonitorSet()
{
    // The dialogs are the frame's children, but they observe the program
    // state and use the manual control: they go first, while both still live.
    state_.sensors.removeObserver(this);
    testMode_->setOn(false);
    for (QWidget* w :
         std::initializer_list<QWidget*>{sensors_, outputs_, motors_, smallMotors_, reduced_})
        delete w;
    reduced_ = nullptr;  // the frame's watch outlives this body by a little
}

TMonitorDialog* TMonitorSet::large(LargeMonitor kind) const
{
    switch (kind) {
        case LargeMonitor::Outputs:
            return outputs_;
        case LargeMonitor::Motors:
            return motors_;
        default:
            return smallMotors_;
    }
}

void TMonitorSet::openLarge()
{
    TMonitorDialog* fitting = large(largeMonitorFor(state_.io.settings, state_.io.encoding));
    for (TMonitorDialog* d :
         {static_cast<TMonitorDialog*>(outputs_), static_cast<TMonitorDialog*>(motors_),
          static_cast<TMonitorDialog*>(smallMotors_)})
        if (d != fitting) d->hide();
    fitting->relabel();
    // Shown first, so that the size of its window frame is known.
    fitting->show();
    fitting->placeBeside(frame_->frameGeometry(), screenAreaOf(*frame_));
    fitting->raise();
    sensors_->show();
    sensors_->placeBeside(fitting->frameGeometry(), frame_->frameGeometry());
    sensors_->raise();
}

void TMonitorSet::openSensors()
{
    sensors_->show();
    sensors_->placeAtRightOf(frame_->frameGeometry());
    sensors_->raise();
}

void TMonitorSet::sensorChanged(int channel)
{
    reduced_->showValue(channel, state_.io.image().analogue[static_cast<std::size_t>(channel)]);
}

void TMonitorSet::refreshValues()
{
    for (int c = 0; c < kSensorChannels; ++c) {
        const int raw = state_.io.image().analogue[static_cast<std::size_t>(c)];
        reduced_->showValue(c, raw);
        sensors_->showValue(c, raw);
    }
}

void TMonitorSet::clearValueTexts()
{
    reduced_->clearValues();
    sensors_->clearValues();
}

void TMonitorSet::openReduced()
{
    reduced_->relabel();
    reduced_->show();
    placeReduced();
    reduced_->raise();
}

void TMonitorSet::placeReduced()
{
    placeOnBottom(*reduced_, clientAreaOf(*frame_), screenAreaOf(*frame_));
}

bool TMonitorSet::anyVisible() const
{
    return outputs_->isVisible() || motors_->isVisible() || smallMotors_->isVisible() ||
           reduced_->isVisible();
}

void TMonitorSet::relabel()
{
    bool largeShown = false;
    for (TMonitorDialog* d :
         {static_cast<TMonitorDialog*>(outputs_), static_cast<TMonitorDialog*>(motors_),
          static_cast<TMonitorDialog*>(smallMotors_)}) {
        largeShown = largeShown || d->isVisible();
        d->relabel();
    }
    const bool fits = large(largeMonitorFor(state_.io.settings, state_.io.encoding))->isVisible();
    if (largeShown && !fits) openLarge();
    const bool reducedShown = reduced_->isVisible();
    reduced_->relabel();
    if (reducedShown) openReduced();  // its width may have changed
}

void TMonitorSet::refreshFromDocument()
{
    outputs_->refreshFromDocument();
    motors_->refreshFromDocument();
    smallMotors_->refreshFromDocument();
}

}  // namespace tarvel
