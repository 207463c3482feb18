#include "icon_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace tarvel::icons {

namespace {

// Every drawing is laid out on this many units a side.
constexpr double kUnits = 256.0;
// Below this many pixels an icon keeps only its main shapes.
constexpr int kSmallIcon = 32;
// No stroke may come out thinner than this many pixels, or it vanishes.
constexpr double kThinnestStroke = 1.6;

constexpr int kLampRays = 8;
constexpr int kRoomForRays = 48;  // pixels

const QColor kTileTop(0x2a, 0x86, 0xa6);
const QColor kTileBottom(0x15, 0x55, 0x6d);
const QColor kInk(0x1b, 0x68, 0x84);  // the charts drawn on paper
const QColor kDecision(0xf4, 0xc4, 0x30);
const QColor kLampOn(0xff, 0x5a, 0x36);
const QColor kPaperEdge(0x6b, 0x7b, 0x83);
const QColor kFold(0xd5, 0xdd, 0xe1);
const QColor kTrace(0xd6, 0x3b, 0x2f);

struct Canvas {
    QPainter& p;
    bool small;
    double unitsPerPixel;

    // A stroke `units` wide, but never thinner than the device can show.
    QPen pen(const QColor& colour, double units) const
    {
        QPen pen(colour, std::max(units, kThinnestStroke * unitsPerPixel));
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }
};

QPolygonF diamond(QPointF centre, double halfWidth, double halfHeight)
{
    return QPolygonF({centre + QPointF(0, -halfHeight), centre + QPointF(halfWidth, 0),
                      centre + QPointF(0, halfHeight), centre + QPointF(-halfWidth, 0)});
}

// A line down to `to` ending in a small arrow head, as the chart's lines do.
void arrowDown(const Canvas& c, const QColor& colour, QPointF from, QPointF to, double width)
{
    c.p.setPen(c.pen(colour, width));
    c.p.drawLine(from, to - QPointF(0, width));
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(colour);
    const double head = width * 1.6;
    c.p.drawPolygon(
        QPolygonF({to, to + QPointF(-head, -head * 1.2), to + QPointF(head, -head * 1.2)}));
}

void paintTile(const Canvas& c)
{
    QLinearGradient fill(0, 12, 0, 244);
    fill.setColorAt(0, kTileTop);
    fill.setColorAt(1, kTileBottom);
    c.p.setPen(c.pen(kTileBottom.darker(130), 4));
    c.p.setBrush(fill);
    c.p.drawRoundedRect(QRectF(14, 14, 228, 228), 44, 44);
}

void paintApplication(const Canvas& c)
{
    paintTile(c);
    const QColor white(Qt::white);
    if (c.small) {
        c.p.setPen(Qt::NoPen);
        c.p.setBrush(white);
        c.p.drawRoundedRect(QRectF(62, 40, 132, 54), 27, 27);
        c.p.setPen(c.pen(white, 22));
        c.p.drawLine(QPointF(128, 94), QPointF(128, 132));
        c.p.setPen(c.pen(white, 10));
        c.p.setBrush(kDecision);
        c.p.drawPolygon(diamond(QPointF(128, 178), 78, 50));
        return;
    }
    // Start, a process, a decision whose YES line lights an output lamp.
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(white);
    c.p.drawRoundedRect(QRectF(70, 34, 104, 38), 19, 19);
    arrowDown(c, white, QPointF(122, 72), QPointF(122, 100), 9);
    c.p.setBrush(white);
    c.p.drawRect(QRectF(66, 100, 112, 42));
    arrowDown(c, white, QPointF(122, 142), QPointF(122, 160), 9);
    c.p.setPen(c.pen(white, 8));
    c.p.setBrush(kDecision);
    c.p.drawPolygon(diamond(QPointF(122, 192), 56, 34));
    c.p.setPen(c.pen(white, 9));
    c.p.setBrush(Qt::NoBrush);
    c.p.drawPolyline(QPolygonF({QPointF(178, 192), QPointF(204, 192), QPointF(204, 88)}));
    // The lamp, lit: short rays around it.
    const QPointF lamp(204, 66);
    c.p.setPen(c.pen(kDecision, 7));
    // Rays need room: in a middling icon they would blur the lamp.
    const int rays = c.unitsPerPixel * kRoomForRays <= kUnits ? kLampRays : 0;
    for (int ray = 0; ray < rays; ++ray) {
        const double angle = 2 * M_PI * ray / kLampRays + M_PI / kLampRays;
        const QPointF direction(std::cos(angle), std::sin(angle));
        if (direction.y() > 0.5) continue;  // the wire comes in from below
        c.p.drawLine(lamp + direction * 28, lamp + direction * 40);
    }
    c.p.setPen(c.pen(white, 6));
    c.p.setBrush(kLampOn);
    c.p.drawEllipse(lamp, 19, 19);
}

// A sheet with its top right corner folded; the content goes inside.
void paintPaper(const Canvas& c)
{
    const QPolygonF sheet(
        {QPointF(44, 14), QPointF(170, 14), QPointF(212, 56), QPointF(212, 242), QPointF(44, 242)});
    c.p.setPen(c.pen(kPaperEdge, 6));
    c.p.setBrush(Qt::white);
    c.p.drawPolygon(sheet);
    c.p.setBrush(kFold);
    c.p.drawPolygon(QPolygonF({QPointF(170, 14), QPointF(170, 56), QPointF(212, 56)}));
}

void paintChart(const Canvas& c)
{
    paintPaper(c);
    if (c.small) {
        c.p.setPen(Qt::NoPen);
        c.p.setBrush(kInk);
        c.p.drawRoundedRect(QRectF(70, 62, 88, 42), 21, 21);
        c.p.setPen(c.pen(kInk, 18));
        c.p.drawLine(QPointF(114, 104), QPointF(114, 140));
        c.p.setPen(c.pen(kInk, 12));
        c.p.setBrush(kDecision);
        c.p.drawPolygon(diamond(QPointF(120, 184), 58, 38));
        return;
    }
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(kInk);
    c.p.drawRoundedRect(QRectF(84, 52, 72, 28), 14, 14);
    arrowDown(c, kInk, QPointF(120, 80), QPointF(120, 104), 7);
    c.p.setPen(c.pen(kInk, 7));
    c.p.setBrush(Qt::white);
    c.p.drawRect(QRectF(80, 106, 80, 34));
    arrowDown(c, kInk, QPointF(120, 140), QPointF(120, 160), 7);
    c.p.setBrush(kDecision);
    c.p.setPen(c.pen(kInk, 7));
    c.p.drawPolygon(diamond(QPointF(120, 190), 44, 28));
}

void paintData(const Canvas& c)
{
    paintPaper(c);
    const double axis = c.small ? 14 : 7;
    c.p.setPen(c.pen(kInk, axis));
    c.p.setBrush(Qt::NoBrush);
    c.p.drawPolyline(QPolygonF({QPointF(74, 70), QPointF(74, 214), QPointF(190, 214)}));
    // A reading that rises and levels off, and below it an input switching.
    c.p.setPen(c.pen(kTrace, c.small ? 18 : 9));
    c.p.drawPolyline(QPolygonF({QPointF(82, 176), QPointF(104, 162), QPointF(124, 130),
                                QPointF(146, 112), QPointF(168, 100), QPointF(190, 96)}));
    if (c.small) return;
    c.p.setPen(c.pen(kInk, 6));
    c.p.drawPolyline(QPolygonF({QPointF(82, 200), QPointF(112, 200), QPointF(112, 184),
                                QPointF(150, 184), QPointF(150, 200), QPointF(190, 200)}));
}

}  // namespace

void paintIcon(IconKind kind, QPaintDevice& device, int pixels)
{
    QPainter p(&device);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixels / kUnits, pixels / kUnits);
    const Canvas canvas{p, pixels < kSmallIcon, kUnits / pixels};
    switch (kind) {
        case IconKind::Application:
            paintApplication(canvas);
            break;
        case IconKind::Chart:
            paintChart(canvas);
            break;
        case IconKind::Data:
            paintData(canvas);
            break;
    }
}

QImage renderIcon(IconKind kind, int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    paintIcon(kind, image, pixels);
    return image;
}

}  // namespace tarvel::icons
