#include "platform/qt/grey_dialog.h"

#include <QColor>
#include <QDialog>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace tarvel {

void paintDialogGrey(QWidget& dialog)
{
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(112, 112, 112));
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
}

QHBoxLayout* makeOkCancelRow(QDialog& dialog, const char* okName, const char* cancelName)
{
    auto* ok = new QPushButton(QStringLiteral("Aceptar"), &dialog);
    ok->setObjectName(QLatin1String(okName));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), &dialog);
    cancel->setObjectName(QLatin1String(cancelName));
    // Through the virtual slots, so a dialog's own accept() checks its fields.
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace tarvel
