#include "editors/ui/ed_button.h"

namespace tarvel {

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
}

}  // namespace tarvel
