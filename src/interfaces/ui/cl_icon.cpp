#include "interfaces/ui/cl_icon.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarvel {

TClIcon::TClIcon(int id, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("id%1").arg(id));
    resize(sizeHint());
}

void TClIcon::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int right = width() - 1, bottom = height() - 1;
    p.fillRect(rect(), QColor(192, 192, 192));
    p.setPen(Qt::black);
    p.drawRect(0, 0, right, bottom);
    p.drawLine(0, 0, right, bottom);
    p.drawLine(0, bottom, right, 0);
}

void TClIcon::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit clicked();
}

}  // namespace tarvel
