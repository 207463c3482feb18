#include "engine/ui/sounds_dialog.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "flowchart/flow_document.h"
#include "platform/qt/grey_dialog.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

constexpr int kFirstFieldId = 320;
constexpr int kFirstButtonId = 330;
// The window's size in dialog units: a quarter of the average character
// width across, an eighth of the line height down.
constexpr int kWidthUnits = 238, kHeightUnits = 127;

QString systemWavChooser(QWidget* parent, const QString& title, const QString& dir)
{
    QFileDialog dialog(parent, title, dir, QStringLiteral("Archivo de onda (*.WAV)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("WAV"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

TSoundsDialog::TSoundsDialog(FlowDocument& doc, std::string fileDir, QWidget* parent)
    : QDialog(parent), doc_(doc), fileDir_(std::move(fileDir))
{
    setObjectName(QStringLiteral("id319"));
    setWindowTitle(QStringLiteral("Sonidos"));
    setModal(false);
    paintDialogGrey(*this);
    chooser_ = [this](int, const QString& title, const QString& dir) {
        return systemWavChooser(this, title, dir);
    };

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(2);
    layout->setColumnStretch(1, 1);
    for (int i = 0; i < kSoundSlots; ++i) {
        auto* label = new QLabel(QString::number(i), this);
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("id%1").arg(kFirstFieldId + i));
        field->setMaxLength(kSoundNameMax);
        label->setBuddy(field);
        // A slot typed in is a change to the chart, as one browsed for is:
        // closing must not lose it without the question.
        connect(field, &QLineEdit::textEdited, this, [this] { doc_.setModified(); });
        auto* button = new QPushButton(QString::fromUtf8("Examinar..."), this);
        button->setObjectName(QStringLiteral("id%1").arg(kFirstButtonId + i));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { browse(i); });
        layout->addWidget(label, i, 0);
        layout->addWidget(field, i, 1);
        layout->addWidget(button, i, 2);
        fields_[static_cast<std::size_t>(i)] = field;
        buttons_[static_cast<std::size_t>(i)] = button;
    }
    const QFontMetrics metrics(font());
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const int charWidth = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    resize(std::max(kWidthUnits * charWidth / 4, layout->minimumSize().width()),
           std::max(kHeightUnits * metrics.height() / 8, layout->minimumSize().height()));
}

void TSoundsDialog::storeFields()
{
    for (int i = 0; i < kSoundSlots; ++i)
        doc_.soundFiles[static_cast<std::size_t>(i)] = toCp1252(field(i)->text());
}

void TSoundsDialog::loadFields()
{
    for (int i = 0; i < kSoundSlots; ++i)
        field(i)->setText(fromCp1252(doc_.soundFiles[static_cast<std::size_t>(i)].view()));
}

void TSoundsDialog::browse(int slot)
{
    const QString title = QStringLiteral("Escoje archivo para sonido %1").arg(slot);
    const QString dir = fileDir_.empty() ? QString() : QString::fromStdString(fileDir_);
    const QString chosen = chooser_(slot, title, dir);
    if (chosen.isEmpty()) return;
    field(slot)->setText(chosen.left(kSoundNameMax));
    doc_.setModified();
}

void TSoundsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    recordSizes();
}

void TSoundsDialog::recordSizes()
{
    if (sizesRecorded_) return;
    sizesRecorded_ = true;
    // The frame may be dragged narrower down to twice the room the buttons
    // take at the right, never taller than the window opened; the grid keeps
    // the fields' right margin and the buttons' distance from the right edge.
    layout()->activate();
    const int buttonDistance = width() - buttons_[0]->geometry().left();
    setMinimumWidth(std::max(minimumWidth(), 2 * buttonDistance));
    setMaximumHeight(height());
}

}  // namespace tarvel
