#include "editors/ui/ed_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace tarvel {

namespace {

// The caption as drawn without its mnemonic: "&&" stands for "&", a lone "&"
// goes. The key's text keeps it, so Alt and the letter still press it.
QString withoutMnemonic(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

}  // namespace

TEdButton::TEdButton(int bit, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), bit_(bit), caption_(caption)
{
    setObjectName(QStringLiteral("key%1").arg(bit));
    setAutoDefault(false);
    setMinimumWidth(44);
}

void TEdButton::setKeyEnabled(bool on)
{
    setEnabled(on);
    setText(on ? caption_ : QString());
    setFlat(!on);
}

void TEdButton::setMnemonicShown(bool shown)
{
    if (shown == mnemonicShown_) return;
    mnemonicShown_ = shown;
    update();
}

void TEdButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (!mnemonicShown_) option.text = withoutMnemonic(option.text);
    painter.drawControl(QStyle::CE_PushButton, option);
}

}  // namespace tarvel
