#include "editors/ui/send_serial_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/messages.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

QRadioButton* option(const char* text, int id, QWidget* parent)
{
    auto* b = new QRadioButton(QString::fromUtf8(text), parent);
    b->setObjectName(QStringLiteral("id%1").arg(id));
    return b;
}

}  // namespace

SendSerialChoice& TSendSerialDialog::remembered()
{
    static SendSerialChoice choice;
    return choice;
}

TSendSerialDialog::TSendSerialDialog(Messages& messages, QWidget* parent)
    : QDialog(parent), messages_(messages)
{
    setObjectName("dialog320");
    setWindowTitle(QStringLiteral("Enviar Serie"));
    setModal(true);
    text_ = option("Enviar &Texto", 102, this);
    number_ = option("Enviar &Número", 101, this);
    variable_ = option("Exponer &Variable", 107, this);
    textField_ = new QLineEdit(this);
    textField_->setObjectName("id103");
    numberField_ = new QLineEdit(this);
    numberField_->setObjectName("id104");
    decimal_ = option("&Décimo", 106, this);
    hex_ = option("&Hex", 105, this);
    x_ = option("&X", 109, this);
    y_ = option("&Y", 110, this);

    // Three independent groups of options: what, the base, the variable.
    for (auto group : {std::pair{text_, number_}, std::pair{decimal_, hex_}, std::pair{x_, y_}}) {
        auto* g = new QButtonGroup(this);
        g->addButton(group.first);
        g->addButton(group.second);
        if (group.first == text_) g->addButton(variable_);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(text_, 0, 0);
    grid->addWidget(textField_, 0, 1, 1, 2);
    grid->addWidget(number_, 1, 0);
    grid->addWidget(numberField_, 1, 1, 1, 2);
    grid->addWidget(decimal_, 2, 1);
    grid->addWidget(hex_, 2, 2);
    grid->addWidget(variable_, 3, 0);
    grid->addWidget(x_, 3, 1);
    grid->addWidget(y_, 3, 2);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole)
        ->setObjectName("accept");
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &TSendSerialDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSendSerialDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    const SendSerialChoice& last = remembered();
    (last.kind == SendSerialChoice::Text     ? text_
     : last.kind == SendSerialChoice::Number ? number_
                                             : variable_)
        ->setChecked(true);
    (last.hex ? hex_ : decimal_)->setChecked(true);
    (last.variableY ? y_ : x_)->setChecked(true);
    for (QRadioButton* b : {text_, number_, variable_})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) chosenKindChanged();
        });
    chosenKindChanged();
}

void TSendSerialDialog::chosenKindChanged()
{
    // Only the fields of the chosen option may be used; the focus goes there.
    const bool isText = text_->isChecked(), isNumber = number_->isChecked(),
               isVariable = variable_->isChecked();
    textField_->setEnabled(isText);
    numberField_->setEnabled(isNumber);
    decimal_->setEnabled(isNumber);
    hex_->setEnabled(isNumber);
    x_->setEnabled(isVariable);
    y_->setEnabled(isVariable);
    if (isText)
        textField_->setFocus();
    else if (isNumber)
        numberField_->setFocus();
    else
        (y_->isChecked() ? y_ : x_)->setFocus();
}

SendSerialChoice TSendSerialDialog::current() const
{
    SendSerialChoice c;
    c.kind = text_->isChecked()     ? SendSerialChoice::Text
             : number_->isChecked() ? SendSerialChoice::Number
                                    : SendSerialChoice::Variable;
    c.hex = hex_->isChecked();
    c.variableY = y_->isChecked();
    c.text = toCp1252(textField_->text());
    c.number = toCp1252(numberField_->text());
    return c;
}

void TSendSerialDialog::accept()
{
    const SendSerialChoice c = current();
    const SendSerialResult r = sendSerialText(c);
    if (!r.warning.empty()) {
        messages_.tell(caption::Warning, r.warning);
        return;
    }
    result_ = r.send;
    SendSerialChoice& last = remembered();
    last.kind = c.kind;
    last.hex = c.hex;
    last.variableY = c.variableY;
    QDialog::accept();
}

}  // namespace tarvel
