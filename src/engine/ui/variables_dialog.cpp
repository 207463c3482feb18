#include "engine/ui/variables_dialog.h"

#include "platform/qt/grey_dialog.h"
#include "platform/qt/title_width.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>

namespace tarvel {

namespace {

constexpr int kFirstFieldId = 801;
// What a user could type into a field; the program's own values are never cut.
constexpr int kFieldLength = 10;

}  // namespace

TVariablesDialog::TVariablesDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Variables"));
    setModal(false);
    paintDialogGrey(*this);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);
    // Wide enough for the longest value a variable can hold, sign included.
    const int fieldWidth =
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("-2147483648")) + 12;
    for (int i = 0; i < kVariableCount; ++i) {
        auto* label = new QLabel(QString(QChar::fromLatin1(variableLetter(i))), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("id%1").arg(kFirstFieldId + i));
        field->setReadOnly(true);
        field->setMaxLength(kFieldLength);
        field->setMinimumWidth(fieldWidth);
        field->setFocusPolicy(Qt::NoFocus);
        label->setBuddy(field);
        layout->addWidget(label, i, 0);
        layout->addWidget(field, i, 1);
        fields_[i] = field;
    }
    // Narrow as the fields are, the title "Variables" is read whole.
    reserveTitleWidth(*layout, *this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    clear();
}

void TVariablesDialog::showVariable(int index, std::int32_t value)
{
    if (index < 0 || index >= kVariableCount) return;
    const QString text = QString::number(value);
    // A line edit truncates set text to its limit; a value that runs away past
    // ten characters must still read as the number it is.
    fields_[index]->setMaxLength(std::max(kFieldLength, static_cast<int>(text.size())));
    fields_[index]->setText(text);
}

void TVariablesDialog::showUnused(int index)
{
    if (index < 0 || index >= kVariableCount) return;
    fields_[index]->setText(QStringLiteral("-"));
}

void TVariablesDialog::clear()
{
    for (int i = 0; i < kVariableCount; ++i) showVariable(i, 0);
}

}  // namespace tarvel
