#include "scene_kit.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace tarvel::mimicsets {

QFont sceneFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QRectF rectOf(const Box& b)
{
    return QRectF(b.left, b.top, b.width(), b.height());
}

void drawLegend(QPainter& p, std::initializer_list<QString> lines)
{
    const QRectF strip = rectOf(kLegend);
    fillVertical(p, strip, QColor(46, 52, 64), QColor(30, 34, 42));
    p.setPen(QColor(90, 98, 112));
    p.drawLine(QPointF(0, strip.top() + 0.5), QPointF(strip.right(), strip.top() + 0.5));
    p.setFont(sceneFont(12));
    p.setPen(QColor(236, 239, 244));
    const double rowHeight = strip.height() / static_cast<double>(lines.size());
    double y = strip.top();
    for (const QString& line : lines) {
        p.drawText(QRectF(8, y, strip.width() - 16, rowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   line);
        y += rowHeight;
    }
}

void drawTitle(QPainter& p, const QString& text, const QColor& colour, double left)
{
    p.setFont(sceneFont(18, true));
    p.setPen(colour);
    p.drawText(QRectF(left, 4, 240, 26), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void fillVertical(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void drawGlow(QPainter& p, QPointF centre, double radius, QColor colour, int alpha)
{
    QRadialGradient g(centre, radius);
    colour.setAlpha(alpha);
    g.setColorAt(0, colour);
    colour.setAlpha(alpha * 2 / 3);
    g.setColorAt(0.5, colour);
    colour.setAlpha(alpha / 4);
    g.setColorAt(0.78, colour);
    colour.setAlpha(0);
    g.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void drawLamp(QPainter& p, QPointF centre, double radius, const QColor& colour, bool on,
              double haloRadius)
{
    if (on) drawGlow(p, centre, haloRadius, colour, 200);
    const QColor glass = on ? colour.lighter(115) : colour.darker(330);
    QRadialGradient g(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.3);
    g.setColorAt(0, on ? QColor(255, 255, 235) : glass.lighter(170));
    g.setColorAt(on ? 0.35 : 0.25, glass);
    g.setColorAt(1, on ? colour : glass.darker(140));
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void drawCloud(QPainter& p, QPointF centre)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawEllipse(centre, 23, 10);
    p.drawEllipse(centre + QPointF(15, -7), 15, 10);
    p.drawEllipse(centre + QPointF(-16, 1), 12, 8);
}

void drawCentred(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                 const QColor& colour)
{
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void drawPanel(QPainter& p, const QRectF& r, const QColor& fill, const QColor& outline,
               double radius)
{
    p.setPen(QPen(outline, 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

}  // namespace tarvel::mimicsets
