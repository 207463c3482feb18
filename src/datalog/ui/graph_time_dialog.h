#pragma once
// "Ajustar parámetros de tiempo": the span a capture starts with and the
// time after which logging stops, each in seconds, minutes, hours or days.
// The new times take effect at the next run start or clearing.

#include <QDialog>

#include "datalog/capture_data.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tarvel {

class Messages;

class TGraphTimeDialog : public QDialog {
    Q_OBJECT
public:
    TGraphTimeDialog(CaptureSettings& settings, Messages& messages, QWidget* parent = nullptr);

    // "Aceptar": the rules of the times; a refusal says why and keeps the
    // dialog open.
    void accept() override;

private:
    QComboBox* makeUnits(int id);
    void continueForever(bool on);

    CaptureSettings& settings_;
    Messages& messages_;
    QLineEdit* firstEdit_ = nullptr;
    QComboBox* firstUnit_ = nullptr;
    QLineEdit* endEdit_ = nullptr;
    QComboBox* endUnit_ = nullptr;
    QCheckBox* forever_ = nullptr;
};

}  // namespace tarvel
