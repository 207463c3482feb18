#include "datalog/ui/graph_count_type_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "datalog/graph_layout.h"
#include "platform/qt/grey_dialog.h"

namespace tarvel {

TGraphCountTypeDialog::TGraphCountTypeDialog(int& frequencyMode, QWidget* parent)
    : QDialog(parent), mode_(frequencyMode)
{
    setObjectName("id226");
    setWindowTitle(QString::fromUtf8("Escoje tipo de gráfica de frecuencia de entradas"));
    paintDialogGrey(*this);
    stacked_ = new QCheckBox(QString::fromUtf8("Pilado"), this);
    stacked_->setObjectName("id101");
    stacked_->setChecked(frequencyMode == kStacked);
    auto* buttons = makeOkCancelRow(*this, "okButton", "cancelButton");
    auto* column = new QVBoxLayout(this);
    column->addWidget(stacked_);
    column->addLayout(buttons);
}

void TGraphCountTypeDialog::accept()
{
    mode_ = stacked_->isChecked() ? kStacked : kSideBySide;
    QDialog::accept();
}

}  // namespace tarvel
