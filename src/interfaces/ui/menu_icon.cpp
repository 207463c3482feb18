#include "interfaces/ui/menu_icon.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace tarvel {

TMenuIcon::TMenuIcon(int id, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("id%1").arg(id));
    resize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

void TMenuIcon::openMenu()
{
    if (!menu_) return;
    menu_->popup(mapToGlobal(QPoint(width() * 3 / 4, height() / 2)));
}

void TMenuIcon::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int right = width() - 1, bottom = height() - 1;
    p.fillRect(rect(), QColor(192, 192, 192));
    // Raised: light along the top and left, shadow along the bottom and right.
    p.setPen(Qt::white);
    p.drawLine(0, 0, right - 1, 0);
    p.drawLine(0, 0, 0, bottom - 1);
    p.setPen(QColor(64, 64, 64));
    p.drawLine(0, bottom, right, bottom);
    p.drawLine(right, 0, right, bottom);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const qreal cx = width() / 2.0, cy = height() / 2.0;
    const QPointF arrow[] = {{cx - 5, cy - 2.5}, {cx + 5, cy - 2.5}, {cx, cy + 3.5}};
    p.drawPolygon(arrow, 3);
}

void TMenuIcon::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) openMenu();
}

}  // namespace tarvel
