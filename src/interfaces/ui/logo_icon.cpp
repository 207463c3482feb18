#include "interfaces/ui/logo_icon.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tarvel {

namespace {

QPixmap drawPicture()
{
    QPixmap pixmap(96, 48);
    pixmap.fill(QColor(255, 255, 255));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0, 0, 128);
    // A start, an output and a decision, joined top to bottom.
    p.setPen(QPen(ink, 1.2));
    p.setBrush(QColor(255, 255, 160));
    p.drawRoundedRect(QRectF(6, 3, 22, 9), 4.5, 4.5);
    p.drawLine(QPointF(17, 12), QPointF(17, 16));
    p.setBrush(QColor(160, 220, 255));
    QPainterPath output;
    output.moveTo(9, 16);
    output.lineTo(29, 16);
    output.lineTo(25, 25);
    output.lineTo(5, 25);
    output.closeSubpath();
    p.drawPath(output);
    p.drawLine(QPointF(17, 25), QPointF(17, 29));
    p.setBrush(QColor(255, 190, 190));
    const QPointF diamond[] = {{17, 29}, {28, 36.5}, {17, 44}, {6, 36.5}};
    p.drawPolygon(diamond, 4);
    // A lamp lit by the chart.
    p.setBrush(QColor(0, 200, 0));
    p.drawLine(QPointF(28, 36.5), QPointF(33, 36.5));
    p.drawEllipse(QPointF(37, 36.5), 3.5, 3.5);

    p.setPen(ink);
    p.setFont(QFont(QStringLiteral("Arial"), 11, QFont::Bold));
    p.drawText(QRectF(36, 4, 58, 20), Qt::AlignCenter, QStringLiteral("Tarvel"));
    p.setPen(QColor(200, 0, 0));
    p.setFont(QFont(QStringLiteral("Arial"), 16, QFont::Bold));
    p.drawText(QRectF(44, 20, 50, 26), Qt::AlignCenter, QStringLiteral("2"));
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(0, 0, 95, 47);
    return pixmap;
}

}  // namespace

TLogoIcon::TLogoIcon(int id, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("id%1").arg(id));
    resize(sizeHint());
}

const QPixmap& TLogoIcon::picture()
{
    static const QPixmap picture = drawPicture();
    return picture;
}

void TLogoIcon::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(192, 192, 192));
    const QPixmap& logo = picture();
    p.drawPixmap((width() - logo.width()) / 2, (height() - logo.height()) / 2, logo);
}

void TLogoIcon::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit clicked();
}

}  // namespace tarvel
