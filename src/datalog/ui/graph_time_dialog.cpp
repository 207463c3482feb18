#include "datalog/ui/graph_time_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "datalog/capture_time.h"
#include "datalog/time_settings.h"
#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

constexpr int kFirstEdit = 101, kEndEdit = 102, kFirstUnit = 103, kEndUnit = 104, kForever = 105;
// Room for a count of hundredths in seconds (ten digits) and a little more.
constexpr int kEditLength = 12;

QString idName(int id)
{
    return QStringLiteral("id%1").arg(id);
}

}  // namespace

TGraphTimeDialog::TGraphTimeDialog(CaptureSettings& settings, Messages& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages)
{
    setObjectName(idName(224));
    setWindowTitle(QString::fromUtf8("Ajustar parámetros de tiempo"));
    paintDialogGrey(*this);

    firstEdit_ = new QLineEdit(this);
    firstEdit_->setObjectName(idName(kFirstEdit));
    endEdit_ = new QLineEdit(this);
    endEdit_->setObjectName(idName(kEndEdit));
    for (QLineEdit* edit : {firstEdit_, endEdit_}) edit->setMaxLength(kEditLength);
    firstUnit_ = makeUnits(kFirstUnit);
    endUnit_ = makeUnits(kEndUnit);
    forever_ = new QCheckBox(QString::fromUtf8("Continuar para siempre"), this);
    forever_->setObjectName(idName(kForever));

    const TimeDialogFields f = timeDialogFields(settings_);
    firstEdit_->setText(QString::fromStdString(f.firstText));
    firstUnit_->setCurrentIndex(static_cast<int>(f.firstUnit));
    endEdit_->setText(QString::fromStdString(f.endText));
    endUnit_->setCurrentIndex(static_cast<int>(f.endUnit));
    forever_->setChecked(f.endless);
    continueForever(f.endless);
    connect(forever_, &QCheckBox::toggled, this, &TGraphTimeDialog::continueForever);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromUtf8("duración:"), this), 0, 0);
    grid->addWidget(firstEdit_, 0, 1);
    grid->addWidget(firstUnit_, 0, 2);
    grid->addWidget(new QLabel(QString::fromUtf8("Duración total:"), this), 1, 0);
    grid->addWidget(endEdit_, 1, 1);
    grid->addWidget(endUnit_, 1, 2);
    grid->addWidget(forever_, 2, 1, 1, 2);

    auto* buttons = makeOkCancelRow(*this, "okButton", "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

QComboBox* TGraphTimeDialog::makeUnits(int id)
{
    auto* box = new QComboBox(this);
    box->setObjectName(idName(id));
    for (int u = 0; u < kTimeUnits; ++u)
        box->addItem(QString::fromUtf8(unitName(static_cast<TimeUnit>(u))));
    return box;
}

void TGraphTimeDialog::continueForever(bool on)
{
    endEdit_->setEnabled(!on);
    endUnit_->setEnabled(!on);
}

void TGraphTimeDialog::accept()
{
    TimeDialogFields entered;
    entered.firstText = firstEdit_->text().toStdString();
    entered.firstUnit = static_cast<TimeUnit>(firstUnit_->currentIndex());
    entered.endless = forever_->isChecked();
    entered.endText = endEdit_->text().toStdString();
    entered.endUnit = static_cast<TimeUnit>(endUnit_->currentIndex());
    const Status s = acceptTimeDialog(entered, settings_);
    if (!s) {
        s.refusal().show(messages_);
        return;
    }
    QDialog::accept();
}

}  // namespace tarvel
