#include "interfaces/ui/mfa_mod_dialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "interfaces/ui/opt_box.h"
#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

struct MfaOption {
    int id;
    int value;
    const char* text;
};

constexpr MfaOption kOptions[] = {
    {101, kMfaTwoMotorModules, "1 o 2 módulos de movimiento"},
    {102, kMfaMotorAndRelay, "Módulo de movimiento (A/B) y unidad de relé (C/D)"},
    {103, kMfaEightBit, "Módulo de 8bits"},
};

}  // namespace

TMfaModDialog::TMfaModDialog(int motorOption, QWidget* parent)
    : QDialog(parent), motorOption_(motorOption)
{
    setWindowTitle(QString::fromUtf8("Módulo de Motor"));
    paintDialogGrey(*this);

    options_ = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    for (const MfaOption& o : kOptions) {
        auto* box = new TOptBox(o.id, QString::fromUtf8(o.text), this);
        options_->addButton(box, o.value);
        layout->addWidget(box);
        // An option out of range (an old configuration file) checks nothing and
        // is kept unless the user picks one.
        if (o.value == motorOption) box->setChecked(true);
    }
    layout->addSpacing(8);

    layout->addLayout(makeOkCancelRow(*this, "id1", "id2"));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TMfaModDialog::accept()
{
    if (options_->checkedId() >= 0) motorOption_ = options_->checkedId();
    QDialog::accept();
}

}  // namespace tarvel
