#include "app/tool_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <algorithm>

namespace tarvel {

namespace {

// Every picture is drawn on a 24 × 24 grid and scaled to the size wanted.
constexpr qreal kGrid = 24.0;

const QColor kInk(28, 44, 92);
const QColor kSymbolFill(206, 224, 255);
const QColor kArrowInk(40, 40, 40);
const QColor kDownload(30, 110, 220);

// Outlines stay at least a little over a pixel wide, or at 16 px they fade
// into a blur.
qreal atLeastAPixel(const QPainter& p, qreal width)
{
    return std::max(width, 1.15 / p.worldTransform().m11());
}

QPen pen(const QPainter& p, const QColor& colour, qreal width)
{
    return QPen(colour, atLeastAPixel(p, width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The flowchart symbols share one outline and fill, lit from the top.
void symbolShape(QPainter& p, const QPainterPath& shape)
{
    const QRectF box = shape.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, kSymbolFill.lighter(112));
    fill.setColorAt(1, kSymbolFill.darker(108));
    p.setBrush(fill);
    p.setPen(pen(p, kInk, 1.6));
    p.drawPath(shape);
}

void deleteCross(QPainter& p, bool enabled)
{
    const QColor edge = enabled ? QColor(150, 16, 16) : QColor(150, 150, 150);
    const QColor body = enabled ? QColor(228, 48, 40) : QColor(196, 196, 196);
    for (const auto& [colour, width] : {std::pair{edge, 5.2}, std::pair{body, 3.0}}) {
        p.setPen(pen(p, colour, width));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    }
}

// A downward arrow whose point is at `tip`.
void downArrow(QPainter& p, const QPointF& tip, qreal length, qreal headWidth, const QColor& colour,
               qreal shaftWidth)
{
    const qreal headLength = headWidth * 0.75;
    p.setPen(QPen(colour, atLeastAPixel(p, shaftWidth), Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(tip.x(), tip.y() - length), QPointF(tip.x(), tip.y() - headLength + 0.5));
    p.setPen(pen(p, colour, 0.8));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({QPointF(tip.x() - headWidth / 2, tip.y() - headLength),
                             QPointF(tip.x() + headWidth / 2, tip.y() - headLength), tip}));
}

// The arrow of a flowchart line, running down as the lines of a chart do,
// with a tag beside it for the YES and NO lines.
void chartLine(QPainter& p, const QString& tag, const QColor& tagColour)
{
    if (tag.isEmpty()) {
        downArrow(p, QPointF(12, 21.5), 18.5, 9, kArrowInk, 2.0);
        return;
    }
    downArrow(p, QPointF(20, 21.5), 18.5, 7, kArrowInk, 2.0);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    font.setStretch(QFont::Condensed);
    p.setFont(font);
    p.setPen(tagColour);
    p.drawText(QRectF(-1, 3, 17.5, 18), Qt::AlignCenter, tag);
}

void labelLetters(QPainter& p)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setItalic(true);
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0, 15, 22), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("A"));
    font.setPixelSize(14);
    p.setFont(font);
    p.drawText(QRectF(14, 0, 10, 21), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("a"));
}

void pointer(QPainter& p)
{
    const QPolygonF arrow({QPointF(6, 2.5), QPointF(6, 19.5), QPointF(10, 15.7),
                           QPointF(12.8, 21.8), QPointF(15.8, 20.4), QPointF(13, 14.4),
                           QPointF(18.5, 14.4)});
    p.setBrush(Qt::white);
    p.setPen(pen(p, Qt::black, 1.4));
    p.drawPolygon(arrow);
}

void runTriangle(QPainter& p)
{
    QLinearGradient fill(QPointF(0, 3), QPointF(0, 21));
    fill.setColorAt(0, QColor(96, 210, 80));
    fill.setColorAt(1, QColor(22, 140, 34));
    p.setBrush(fill);
    p.setPen(pen(p, QColor(12, 92, 20), 1.6));
    p.drawPolygon(QPolygonF({QPointF(6.5, 3.5), QPointF(20.5, 12), QPointF(6.5, 20.5)}));
}

void stopSquare(QPainter& p)
{
    QLinearGradient fill(QPointF(0, 5), QPointF(0, 19));
    fill.setColorAt(0, QColor(244, 86, 70));
    fill.setColorAt(1, QColor(196, 26, 22));
    p.setBrush(fill);
    p.setPen(pen(p, QColor(128, 14, 14), 1.6));
    p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
}

// A chip in its package, pins either side, notch at the top.
void chip(QPainter& p)
{
    p.setPen(pen(p, QColor(150, 150, 150), 1.6));
    for (const qreal y : {14.0, 17.0, 20.0}) {
        p.drawLine(QPointF(4, y), QPointF(7, y));
        p.drawLine(QPointF(17, y), QPointF(20, y));
    }
    p.setPen(pen(p, QColor(20, 20, 20), 1.0));
    p.setBrush(QColor(58, 58, 64));
    p.drawRoundedRect(QRectF(6.5, 12, 11, 10.5), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(140, 140, 150));
    p.drawPie(QRectF(10.5, 10.5, 3, 3), 180 * 16, 180 * 16);
}

void usbBox(QPainter& p)
{
    QLinearGradient fill(QPointF(0, 12), QPointF(0, 22));
    fill.setColorAt(0, QColor(236, 236, 240));
    fill.setColorAt(1, QColor(176, 178, 188));
    p.setBrush(fill);
    p.setPen(pen(p, QColor(60, 62, 72), 1.3));
    p.drawRoundedRect(QRectF(3, 12.5, 18, 9), 2, 2);
    // The plug on its side and the lamp on its face.
    p.setBrush(QColor(120, 122, 132));
    p.drawRect(QRectF(0.8, 15, 2.2, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 190, 60));
    p.drawEllipse(QPointF(17, 17), 1.6, 1.6);
}

// The interface box of "&Simular": greyed and dashed while only simulated,
// lit and on its cable while a box is driven.
void interfaceBox(QPainter& p, bool live)
{
    if (live) {
        p.setPen(pen(p, QColor(60, 62, 72), 1.6));
        p.drawLine(QPointF(12, 2), QPointF(12, 7));
        p.drawLine(QPointF(12, 7), QPointF(6, 7));
        p.drawLine(QPointF(6, 7), QPointF(6, 12.5));
        usbBox(p);
        return;
    }
    QPen dashed = pen(p, QColor(130, 130, 138), 1.3);
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(QColor(236, 236, 240));
    p.drawRoundedRect(QRectF(3, 12.5, 18, 9), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 170, 176));
    p.drawEllipse(QPointF(17, 17), 1.6, 1.6);
}

// A curved arrow turning back over its own path: to the left for undo, to
// the right (the same arrow mirrored) for redo.
void turnArrow(QPainter& p, bool forward)
{
    p.save();
    if (forward) {
        p.translate(kGrid, 0);
        p.scale(-1, 1);
    }
    const QColor ink(24, 110, 60);
    QPainterPath arc;
    arc.moveTo(19.5, 19);
    arc.cubicTo(21.5, 10, 15, 6.5, 7.5, 8.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(p, ink.darker(130), 4.4));
    p.drawPath(arc);
    p.setPen(pen(p, ink.lighter(135), 2.4));
    p.drawPath(arc);
    p.setPen(pen(p, ink.darker(130), 1.0));
    p.setBrush(ink.lighter(120));
    p.drawPolygon(QPolygonF({QPointF(2, 9.5), QPointF(10, 3), QPointF(10.5, 15.5)}));
    p.restore();
}

bool draw(QPainter& p, int id)
{
    QPainterPath shape;
    switch (id) {
        case 312:
        case 313:
            deleteCross(p, id == 312);
            return true;
        case 306:
            shape.addRoundedRect(QRectF(2, 7, 20, 10), 5, 5);
            symbolShape(p, shape);
            return true;
        case 304:
            shape.addPolygon(QPolygonF({QPointF(7, 6.5), QPointF(22.5, 6.5), QPointF(17, 17.5),
                                        QPointF(1.5, 17.5), QPointF(7, 6.5)}));
            symbolShape(p, shape);
            return true;
        case 302:
            shape.addRect(QRectF(2.5, 6.5, 19, 11));
            symbolShape(p, shape);
            return true;
        case 305:
            shape.addPolygon(QPolygonF({QPointF(12, 2), QPointF(22.5, 12), QPointF(12, 22),
                                        QPointF(1.5, 12), QPointF(12, 2)}));
            symbolShape(p, shape);
            return true;
        case 301:
            labelLetters(p);
            return true;
        case 303:
            pointer(p);
            return true;
        case 307:
            chartLine(p, {}, {});
            return true;
        case 308:
            chartLine(p, QStringLiteral("SI"), QColor(0, 128, 0));
            return true;
        case 309:
            chartLine(p, QStringLiteral("NO"), QColor(200, 0, 0));
            return true;
        case 123:
            runTriangle(p);
            return true;
        case 124:
            stopSquare(p);
            return true;
        case kSimulatingPicture:
        case kLivePicture:
            interfaceBox(p, id == kLivePicture);
            return true;
        case 314:
            chip(p);
            downArrow(p, QPointF(12, 10.5), 9.5, 8, kDownload, 3.0);
            return true;
        case 318:
            chip(p);
            downArrow(p, QPointF(8, 10.5), 9.5, 6.5, kDownload, 2.4);
            downArrow(p, QPointF(16, 10.5), 9.5, 6.5, kDownload, 2.4);
            return true;
        case 319:
            chip(p);
            p.save();
            p.translate(5, -1.5);
            p.scale(0.55, 0.55);
            runTriangle(p);
            p.restore();
            return true;
        case kUndoPicture:
        case kRedoPicture:
            turnArrow(p, id == kRedoPicture);
            return true;
        case 317:
            usbBox(p);
            downArrow(p, QPointF(12, 11), 10, 8, kDownload, 3.0);
            return true;
        default:
            return false;
    }
}

QPixmap render(int id, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / kGrid, size / kGrid);
    draw(p, id);
    return pixmap;
}

}  // namespace

const QList<int>& toolPictureIds()
{
    static const QList<int> ids{
        312,          313,          306,         304, 302, 305, 301, 303, 307,
        308,          309,          123,         124, 314, 317, 318, 319, kSimulatingPicture,
        kLivePicture, kUndoPicture, kRedoPicture};
    return ids;
}

QIcon toolPicture(int id)
{
    if (!toolPictureIds().contains(id)) return {};
    QIcon icon;
    for (const int size : {16, 20, 24, 32, 48}) icon.addPixmap(render(id, size));
    return icon;
}

}  // namespace tarvel
