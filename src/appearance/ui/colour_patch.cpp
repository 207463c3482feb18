#include "appearance/ui/colour_patch.h"

#include <QPainter>

#include "appearance/colour_set.h"

namespace tarvel {

TColourPatch::TColourPatch(QWidget* parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("id107"));
    setFocusPolicy(Qt::NoFocus);
}

QColor TColourPatch::toQColor(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

void TColourPatch::setColour(std::uint32_t colour)
{
    colour_ = colour;
    update();
}

void TColourPatch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), palette().window());
    p.setPen(Qt::black);
    if (colour_ & kNoColour) {
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.bottomLeft(), r.topRight());
        return;
    }
    p.setBrush(toQColor(colour_));
    p.drawRect(r);
}

}  // namespace tarvel
