#pragma once
// The four monitors and the sensors window of the main window, created once
// and shown on demand, with the manual control and the test mode they share:
// which large monitor fits the interface, where each opens, and keeping them
// in step with the document and the interface choice. The owner destroys the
// set before the program state.

#include <QObject>
#include <memory>

#include "interfaces/monitor_layout.h"
#include "sensors/sensor_channels.h"

class QMainWindow;

namespace tarvel {

class ManualControl;
class ProgramState;
class TManualMonitorDialog;
class TMonitorCDialog;
class TMonitorCSDialog;
class TMonitorDialog;
class TMonitorNDialog;
class TSensorsDialog;
class TTestMode;

class TMonitorSet : public QObject, public SensorObserver {
    Q_OBJECT
public:
    TMonitorSet(ProgramState& state, QMainWindow* frame);
    ~TMonitorSet() override;

    ManualControl& control() { return *control_; }
    TMonitorDialog* large(LargeMonitor kind) const;
    TMonitorNDialog* outputMonitor() const { return outputs_; }
    TMonitorCDialog* motorMonitor() const { return motors_; }
    TMonitorCSDialog* smallMotorMonitor() const { return smallMotors_; }
    TManualMonitorDialog* reduced() const { return reduced_; }
    TSensorsDialog* sensors() const { return sensors_; }
    TTestMode& testMode() { return *testMode_; }

    // "Monitor Amplio": the large monitor that fits the interface, against the
    // right edge of the screen, bottom level with the main window, and the
    // sensors window on its left.
    void openLarge();
    // The sensors window alone, against the right edge of the main window.
    void openSensors();
    // "Monitor Reducido": the strip along the bottom of the main window,
    // where it stays while the window is resized, zoomed or moved.
    void openReduced();
    bool anyVisible() const;

    // The interface choice changed: labels, layouts, and the large monitor in
    // sight swapped for the one that now fits.
    void relabel();
    // A chart was loaded or cleared: its names and power levels.
    void refreshFromDocument();

    // The graph's values cursor moved: the value texts show what the sensors
    // give now (a captured sample, or "?").
    void refreshValues();
    // The values cursor went away: the value texts are empty until the next reading.
    void clearValueTexts();

    // SensorObserver: the reduced monitor writes values with the sensor's decimals.
    void sensorChanged(int channel) override;

private:
    void placeReduced();

    ProgramState& state_;
    QMainWindow* frame_;
    std::unique_ptr<ManualControl> control_;
    TMonitorNDialog* outputs_ = nullptr;
    TMonitorCDialog* motors_ = nullptr;
    TMonitorCSDialog* smallMotors_ = nullptr;
    TManualMonitorDialog* reduced_ = nullptr;
    TTestMode* testMode_ = nullptr;
    TSensorsDialog* sensors_ = nullptr;
};

}  // namespace tarvel
