#pragma once
// "Enviar Serie": what a chip sends down its serial line, a text, a number
// in decimal or hexadecimal, or a variable. The last choices stay chosen for
// the next opening while the program runs.

#include <QDialog>
#include <string>

#include "editors/command_finish.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tarvel {

class Messages;

class TSendSerialDialog : public QDialog {
    Q_OBJECT
public:
    TSendSerialDialog(Messages& messages, QWidget* parent = nullptr);

    // After "Aceptar": what follows "Send " in the command.
    const std::string& sendText() const { return result_; }
    // The choices the next opening starts from.
    static SendSerialChoice& remembered();

    void accept() override;

private:
    void chosenKindChanged();
    SendSerialChoice current() const;

    Messages& messages_;
    QRadioButton* text_;
    QRadioButton* number_;
    QRadioButton* variable_;
    QLineEdit* textField_;
    QLineEdit* numberField_;
    QRadioButton* decimal_;
    QRadioButton* hex_;
    QRadioButton* x_;
    QRadioButton* y_;
    std::string result_;
};

}  // namespace tarvel
