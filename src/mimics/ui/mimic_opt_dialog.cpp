#include "mimics/ui/mimic_opt_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

constexpr int kLabelsId = 101, kListId = 102, kOkId = 103, kCancelId = 104;

QString idName(int id)
{
    return QStringLiteral("id%1").arg(id);
}

}  // namespace

TMimicOptDialog::TMimicOptDialog(const std::vector<std::string>& sets, int selected,
                                 bool showLabels, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("id222"));
    setWindowTitle(QString::fromUtf8("Opciones de Mímica"));
    paintDialogGrey(*this);

    list_ = new QListWidget(this);
    list_->setObjectName(idName(kListId));
    for (const std::string& name : sets) list_->addItem(QString::fromStdString(name));
    if (selected >= 0 && selected < list_->count()) list_->setCurrentRow(selected);
    list_->setMinimumSize(220, 160);
    auto* caption = new QLabel(QString::fromUtf8("&Conjuntos de mímicas:"), this);
    caption->setBuddy(list_);

    labels_ = new QCheckBox(QString::fromUtf8("&Mostrar Etiquetas"), this);
    labels_->setObjectName(idName(kLabelsId));
    labels_->setChecked(showLabels);

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(idName(kOkId));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(idName(kCancelId));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(list_);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addLayout(row);
    layout->addWidget(labels_);
}

int TMimicOptDialog::chosenIndex() const
{
    return list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
}

std::string TMimicOptDialog::chosenName() const
{
    const int row = chosenIndex();
    return row < 0 ? std::string() : list_->item(row)->text().toStdString();
}

bool TMimicOptDialog::showLabels() const
{
    return labels_->isChecked();
}

}  // namespace tarvel
