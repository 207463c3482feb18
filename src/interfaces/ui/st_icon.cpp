#include "interfaces/ui/st_icon.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarvel {

TStIcon::TStIcon(int id, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("id%1").arg(id));
    setFont(QFont(QStringLiteral("Arial"), 8, QFont::Bold));
    resize(sizeHint());
}

QColor TStIcon::stateColour(int state)
{
    switch (state) {
        case 1:
            return QColor(255, 0, 0);
        case 2:
            return QColor(255, 255, 0);
        case 3:
            return QColor(0, 255, 0);
        default:
            return QColor(192, 192, 192);
    }
}

void TStIcon::setState(int state)
{
    if (state == state_) return;
    state_ = state;
    update();
}

void TStIcon::setLabel(const QString& label)
{
    if (label == label_) return;
    label_ = label;
    update();
}

void TStIcon::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int right = width() - 1, bottom = height() - 1;
    p.fillRect(rect(), stateColour(state_));
    p.setPen(Qt::black);
    p.drawRect(0, 0, right, bottom);
    // The light falls from the bottom right.
    p.setPen(Qt::white);
    p.drawLine(1, bottom - 1, right - 1, bottom - 1);
    p.drawLine(right - 1, 1, right - 1, bottom - 1);
    p.setPen(Qt::black);
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, label_);
}

void TStIcon::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    else if (event->button() == Qt::RightButton)
        emit rightClicked();
}

void TStIcon::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

}  // namespace tarvel
