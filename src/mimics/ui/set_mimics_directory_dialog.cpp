#include "mimics/ui/set_mimics_directory_dialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

constexpr int kOkId = 1, kCancelId = 2, kEditId = 102, kDefaultId = 103, kBrowseId = 104;
// The directory is kept to the length the configuration holds.
constexpr int kDirectoryMax = 255;

QPushButton* button(const char* text, int id, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QStringLiteral("id%1").arg(id));
    return b;
}

}  // namespace

TSetMimicsDirectoryDialog::TSetMimicsDirectoryDialog(const QString& directory,
                                                     const QString& defaultDirectory,
                                                     QWidget* parent)
    : QDialog(parent), default_(defaultDirectory)
{
    setObjectName(QStringLiteral("mimicsDirectoryDialog"));
    setWindowTitle(QString::fromUtf8("Poner Directorio de Mímicas"));
    paintDialogGrey(*this);

    edit_ = new QLineEdit(directory, this);
    edit_->setObjectName(QStringLiteral("id%1").arg(kEditId));
    edit_->setMaxLength(kDirectoryMax);
    edit_->setMinimumWidth(320);
    auto* caption = new QLabel(QString::fromUtf8("Directorio de &Mímicas:"), this);
    caption->setBuddy(edit_);

    QPushButton* browse = button("&Examinar...", kBrowseId, this);
    QPushButton* standard = button("&Predeterminado", kDefaultId, this);
    QPushButton* ok = button("Aceptar", kOkId, this);
    QPushButton* cancel = button("Cancelar", kCancelId, this);
    ok->setDefault(true);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = chooser_(this, edit_->text());
        if (!chosen.isEmpty()) edit_->setText(chosen);
    });
    connect(standard, &QPushButton::clicked, this, [this] { edit_->setText(default_); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* field = new QHBoxLayout;
    field->addWidget(edit_);
    field->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(standard);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addLayout(field);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TSetMimicsDirectoryDialog::directory() const
{
    return edit_->text();
}

QString TSetMimicsDirectoryDialog::browse(QWidget* parent, const QString& start)
{
    return QFileDialog::getExistingDirectory(
        parent, QString::fromUtf8("Seleccione el directorio de mímicas"), start,
        QFileDialog::ShowDirsOnly);
}

}  // namespace tarvel
