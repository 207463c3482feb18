#pragma once
// The variables window ("Variables"): the eight variables of a running chart,
// each in a read-only field beside its letter.

#include <QDialog>
#include <array>
#include <cstdint>

#include "engine/variables.h"

class QLineEdit;

namespace tarvel {

class TVariablesDialog : public QDialog, public VariableObserver {
    Q_OBJECT
public:
    explicit TVariablesDialog(QWidget* parent = nullptr);

    // Writes the value in decimal into the field of variable index (0..7 for
    // a, b, c, d, n, x, y, z); any other index is ignored.
    void showVariable(int index, std::int32_t value) override;
    // A variable the running program does not have reads "-".
    void showUnused(int index) override;
    // Shows every variable as 0, as at start-up.
    void clear();

private:
    std::array<QLineEdit*, kVariableCount> fields_{};
};

}  // namespace tarvel
