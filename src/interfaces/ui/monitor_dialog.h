#pragma once
// The large monitors ("Monitor"): rows of inputs and outputs, each with the
// document's name for it in an edit box and its lamp, and, on the motor
// monitors, the motors with their direction buttons and power sliders. Row 0
// is the bottom row. They follow the interface layer as observers, so what a
// chart switches shows at once, and they hand clicks to the manual control.
//
//   TMonitorNDialog  (214): 8 inputs, 8 outputs, a power slider per output
//   TMonitorCDialog  (215): 8 inputs, 8 outputs, 4 motors with a slider each
//   TMonitorCSDialog (220): 4 inputs, 4 outputs, 2 motors with a slider each

#include <QDialog>
#include <array>

#include "interfaces/interface_layer.h"
#include "interfaces/monitor_layout.h"

class QLabel;
class QLineEdit;
class QSlider;

namespace tarvel {

class ManualControl;
class ProgramState;
class TStIcon;

class TMonitorDialog : public QDialog, public IoObserver {
    Q_OBJECT
public:
    ~TMonitorDialog() override;

    LargeMonitor kind() const { return kind_; }
    int dialogId() const;
    int rows() const { return rows_; }
    int motors() const { return motors_; }

    // Labels for the numbering and the interface's capabilities, then names,
    // lamps and sliders as the document and the image hold them.
    void relabel();
    // The document's names and levels changed (a chart was loaded or cleared).
    void refreshFromDocument();
    // Against the right edge of the screen, its bottom level with the main window's.
    void placeBeside(const QRect& mainFrame, const QRect& screen);

    // The controls of a row (row 0 at the bottom) and of a motor.
    TStIcon* inputLamp(int row) const { return inputLamps_[idx(row)]; }
    TStIcon* outputLamp(int row) const { return outputLamps_[idx(row)]; }
    TStIcon* motorButton(int motor) const { return motorButtons_[idx(motor)]; }
    QLineEdit* inputEdit(int row) const { return inputEdits_[idx(row)]; }
    QLineEdit* outputEdit(int row) const { return outputEdits_[idx(row)]; }
    QLineEdit* motorEdit(int motor) const { return motorEdits_[idx(motor)]; }
    // The sliders: one per output row on the output monitor, one per motor otherwise.
    QSlider* slider(int n) const { return sliders_[idx(n)]; }
    int sliderCount() const { return kind_ == LargeMonitor::Outputs ? rows_ : motors_; }

    // IoObserver
    void showInput(int index, int state) override;
    void showOutput(int index, int state) override;
    void showMotor(int motor, int state) override;
    void showPower(int output, int percent) override;

protected:
    TMonitorDialog(LargeMonitor kind, ProgramState& state, ManualControl& control, QWidget* parent);
    void showEvent(QShowEvent* event) override;

private:
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    void build();
    void placeRow(QWidget* w, int row, int count, int x);
    int itemOf(MonitorItem kind, int row) const;
    int rowOf(MonitorItem kind, int item) const;
    void showLevel(int n);
    void setSlider(int n, int percent);
    void sliderMoved(int n, int value);

    LargeMonitor kind_;
    ProgramState& state_;
    ManualControl& control_;
    int rows_ = 8;
    int motors_ = 0;
    int onState_ = 1;
    std::array<TStIcon*, 8> inputLamps_{};
    std::array<TStIcon*, 8> outputLamps_{};
    std::array<TStIcon*, 4> motorButtons_{};
    std::array<QLineEdit*, 8> inputEdits_{};
    std::array<QLineEdit*, 8> outputEdits_{};
    std::array<QLineEdit*, 4> motorEdits_{};
    std::array<QSlider*, 8> sliders_{};
    std::array<QLabel*, 8> percents_{};
};

class TMonitorNDialog final : public TMonitorDialog {
    Q_OBJECT
public:
    TMonitorNDialog(ProgramState& state, ManualControl& control, QWidget* parent = nullptr)
        : TMonitorDialog(LargeMonitor::Outputs, state, control, parent)
    {
    }
};

class TMonitorCDialog final : public TMonitorDialog {
    Q_OBJECT
public:
    TMonitorCDialog(ProgramState& state, ManualControl& control, QWidget* parent = nullptr)
        : TMonitorDialog(LargeMonitor::Motors, state, control, parent)
    {
    }
};

class TMonitorCSDialog final : public TMonitorDialog {
    Q_OBJECT
public:
    TMonitorCSDialog(ProgramState& state, ManualControl& control, QWidget* parent = nullptr)
        : TMonitorDialog(LargeMonitor::SmallMotors, state, control, parent)
    {
    }
};

}  // namespace tarvel
