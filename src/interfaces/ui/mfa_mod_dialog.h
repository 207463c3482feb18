#pragma once
// The MFA module dialog ("Módulo de Motor"): how the motor lines of the MFA
// Serial Computer Module are wired, which decides how reverse is encoded.

#include <QDialog>

class QButtonGroup;

namespace tarvel {

// The wirings, as stored in the motorOption of the interface settings.
inline constexpr int kMfaTwoMotorModules = 0;
inline constexpr int kMfaMotorAndRelay = 1;
inline constexpr int kMfaEightBit = 2;

class TMfaModDialog : public QDialog {
    Q_OBJECT
public:
    explicit TMfaModDialog(int motorOption, QWidget* parent = nullptr);

    // The option in force: the one the dialog opened with until "Aceptar" takes
    // the checked one.
    int motorOption() const { return motorOption_; }

public slots:
    void accept() override;

private:
    QButtonGroup* options_ = nullptr;
    int motorOption_;
};

}  // namespace tarvel
