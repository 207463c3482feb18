#pragma once
// The reduced monitor (217): a strip without a title along the bottom of the
// main window with the lamps of the eight inputs, the four analogue values
// with their buttons "1".."4", the eight outputs and the four motors, and for
// the MFA its analogue output. It opens by itself when a run starts and no
// monitor is in sight. Lamp positions count from the left; the MFA's inputs
// and outputs run the other way.

#include <QDialog>
#include <array>

#include "interfaces/interface_layer.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarvel {

class ManualControl;
class ProgramState;
class TClIcon;
class TStIcon;

class TManualMonitorDialog final : public QDialog, public IoObserver {
    Q_OBJECT
public:
    TManualMonitorDialog(ProgramState& state, ManualControl& control, QWidget* parent = nullptr);
    ~TManualMonitorDialog() override;

    // The width of the strip with the MFA's analogue output (model 6 only);
    // without it the strip is 47/50 of that plus 1.
    static constexpr int kFullWidth = 840;
    static constexpr int kHeight = 46;

    // The full width with the analogue output, for the MFA.
    bool mfaLayoutShown() const { return mfa_; }
    // The layout for the interface in use, the labels for its numbering and
    // capabilities, and every lamp and value as the image holds them.
    void relabel();

    TStIcon* inputLamp(int position) const { return inputs_[idx(position)]; }
    TStIcon* outputLamp(int position) const { return outputs_[idx(position)]; }
    TStIcon* motorLamp(int motor) const { return motors_[idx(motor)]; }
    QPushButton* valueButton(int channel) const { return valueButtons_[idx(channel)]; }
    QLineEdit* valueField(int channel) const { return valueFields_[idx(channel)]; }
    QPushButton* dacButton() const { return dacButton_; }
    QLineEdit* dacField() const { return dacField_; }
    TClIcon* closeButton() const { return close_; }
    // "Probar": test mode, shared with the sensors window's "Modo de Probar".
    QCheckBox* testBox() const { return testBox_; }

    // IoObserver
    void showInput(int index, int state) override;
    void showOutput(int index, int state) override;
    void showMotor(int motor, int state) override;
    void showValue(int channel, int raw) override;
    void showDac(int value) override;
    // The four value texts emptied.
    void clearValues();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    void build();
    void setMfaLayout(bool mfa);
    int itemAt(bool input, int position) const;

    ProgramState& state_;
    ManualControl& control_;
    bool mfa_ = false;
    std::array<TStIcon*, 8> inputs_{};
    std::array<TStIcon*, 8> outputs_{};
    std::array<TStIcon*, 4> motors_{};
    std::array<QPushButton*, 4> valueButtons_{};
    std::array<QLineEdit*, 4> valueFields_{};
    QPushButton* dacButton_ = nullptr;
    QLineEdit* dacField_ = nullptr;
    TClIcon* close_ = nullptr;
    QCheckBox* testBox_ = nullptr;
};

}  // namespace tarvel
