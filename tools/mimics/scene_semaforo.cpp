// A street with a pedestrian crossing: the cars' lights on outputs 1..3, the
// walkers' lights on 4 and 5, "ESPERE" on 6 and the push button on input 1.

#include <QLinearGradient>
#include <QPainterPath>

#include "scene_kit.h"

namespace tarvel::mimicsets {

namespace {

using namespace semaforo;

constexpr double kKerb = 206, kRoadTop = 214;

QPointF centreOf(const Box& b)
{
    return QPointF((b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0);
}

void drawBuilding(QPainter& p, QRectF r, QColor wall, int columns)
{
    p.setPen(QPen(QColor(60, 60, 66), 1.2));
    p.setBrush(wall);
    p.drawRect(r);
    p.setBrush(QColor(150, 190, 220));
    const double w = 10, h = 12;
    const double gap = (r.width() - columns * w) / (columns + 1);
    for (double y = r.top() + 10; y + h < kKerb - 18; y += 24)
        for (int c = 0; c < columns; ++c)
            p.drawRect(QRectF(r.left() + gap + c * (w + gap), y, w, h));
}

void drawStreet(QPainter& p)
{
    fillVertical(p, QRectF(0, 0, 400, kKerb), QColor(132, 190, 236), QColor(214, 234, 248));
    drawCloud(p, QPointF(150, 30));
    drawCloud(p, QPointF(246, 22));
    drawBuilding(p, QRectF(100, 86, 62, kKerb - 86), QColor(196, 120, 96), 2);
    drawBuilding(p, QRectF(162, 104, 70, kKerb - 104), QColor(222, 206, 170), 3);
    drawBuilding(p, QRectF(232, 70, 66, kKerb - 70), QColor(150, 164, 186), 2);
    // Pavement and kerb.
    p.fillRect(QRectF(0, kKerb, 400, kRoadTop - kKerb), QColor(196, 196, 190));
    p.fillRect(QRectF(0, kRoadTop - 3, 400, 3), QColor(150, 150, 146));
    // The road and its zebra crossing.
    fillVertical(p, QRectF(0, kRoadTop, 400, kLegend.top - kRoadTop), QColor(84, 86, 92),
                 QColor(60, 62, 68));
    p.setBrush(QColor(240, 240, 236));
    for (double y = kRoadTop + 5; y + 6 <= kLegend.top - 3; y += 11)
        p.drawRect(QRectF(150, y, 100, 6));
    // The stop line before the crossing.
    p.setBrush(QColor(240, 240, 236));
    p.drawRect(QRectF(138, kRoadTop + 2, 4, kLegend.top - kRoadTop - 4));
}

void drawCar(QPainter& p)
{
    // A small car waiting before the line.
    QPainterPath body;
    body.moveTo(10, 266);
    body.lineTo(10, 250);
    body.quadTo(12, 242, 24, 240);
    body.lineTo(40, 238);
    body.lineTo(54, 226);
    body.lineTo(94, 226);
    body.lineTo(110, 240);
    body.quadTo(128, 242, 130, 252);
    body.lineTo(130, 266);
    body.closeSubpath();
    QLinearGradient g(0, 226, 0, 266);
    g.setColorAt(0, QColor(70, 130, 210));
    g.setColorAt(1, QColor(30, 70, 150));
    p.setPen(QPen(QColor(20, 24, 36), 1.5));
    p.setBrush(g);
    p.drawPath(body);
    p.setBrush(QColor(190, 226, 246));
    QPainterPath glass;
    glass.moveTo(46, 239);
    glass.lineTo(57, 229);
    glass.lineTo(72, 229);
    glass.lineTo(72, 239);
    glass.closeSubpath();
    p.drawPath(glass);
    glass.translate(30, 0);
    QPainterPath back;
    back.moveTo(76, 239);
    back.lineTo(76, 229);
    back.lineTo(92, 229);
    back.lineTo(104, 239);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(30, 30, 32));
    for (const double x : {34.0, 106.0}) {
        p.drawEllipse(QPointF(x, 266), 10, 10);
        p.setBrush(QColor(170, 170, 176));
        p.drawEllipse(QPointF(x, 266), 4, 4);
        p.setBrush(QColor(30, 30, 32));
    }
    p.setBrush(QColor(255, 236, 160));
    p.drawEllipse(QPointF(127, 250), 3, 3);
}

void drawWalker(QPainter& p, QPointF foot, double scale, const QColor& c, bool walking)
{
    p.setPen(QPen(c, 3.2 * scale, Qt::SolidLine, Qt::RoundCap));
    const QPointF hip = foot + QPointF(0, -12 * scale);
    const QPointF neck = hip + QPointF(0, -11 * scale);
    p.drawLine(hip, neck);
    if (walking) {
        p.drawLine(hip, foot + QPointF(-6 * scale, 0));
        p.drawLine(hip, foot + QPointF(6 * scale, 0));
        p.drawLine(neck + QPointF(0, 2 * scale), neck + QPointF(-6 * scale, 9 * scale));
        p.drawLine(neck + QPointF(0, 2 * scale), neck + QPointF(6 * scale, 7 * scale));
    } else {
        p.drawLine(hip, foot + QPointF(-2.5 * scale, 0));
        p.drawLine(hip, foot + QPointF(2.5 * scale, 0));
        p.drawLine(neck + QPointF(0, 2 * scale), neck + QPointF(-3 * scale, 10 * scale));
        p.drawLine(neck + QPointF(0, 2 * scale), neck + QPointF(3 * scale, 10 * scale));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(neck + QPointF(0, -4 * scale), 3.6 * scale, 3.6 * scale);
}

void drawCarLights(QPainter& p, int variant)
{
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    p.setBrush(QColor(70, 72, 78));
    p.drawRect(QRectF(328, 150, 5, kKerb - 150));
    p.setBrush(QColor(40, 43, 50));
    p.drawRoundedRect(QRectF(314, 46, 32, 104), 7, 7);
    const Box lamps[] = {kCarRed, kCarAmber, kCarGreen};
    const QColor colours[] = {QColor(240, 40, 30), QColor(255, 170, 20), QColor(40, 220, 90)};
    for (int k = 0; k < 3; ++k)
        drawLamp(p, centreOf(lamps[k]), 12, colours[k], (variant >> k) & 1, 17);
}

void drawWalkerLights(QPainter& p, int variant)
{
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    p.setBrush(QColor(70, 72, 78));
    p.drawRect(QRectF(68, 138, 5, kKerb - 138));
    p.setBrush(QColor(40, 43, 50));
    p.drawRoundedRect(QRectF(53, 54, 34, 80), 6, 6);
    const bool red = (variant >> 3) & 1, green = (variant >> 4) & 1;
    const QPointF rc = centreOf(kWalkerRed), gc = centreOf(kWalkerGreen);
    if (red) drawGlow(p, rc, 19, QColor(255, 60, 40), 150);
    if (green) drawGlow(p, gc, 19, QColor(60, 255, 120), 150);
    p.setPen(QPen(QColor(15, 15, 15), 1.2));
    p.setBrush(QColor(16, 16, 18));
    p.drawRoundedRect(QRectF(rc.x() - 13, rc.y() - 15, 26, 30), 3, 3);
    p.drawRoundedRect(QRectF(gc.x() - 13, gc.y() - 15, 26, 30), 3, 3);
    drawWalker(p, rc + QPointF(0, 12), 1.05, red ? QColor(255, 70, 50) : QColor(90, 30, 28), false);
    drawWalker(p, gc + QPointF(0, 12), 1.05, green ? QColor(90, 255, 140) : QColor(28, 80, 44),
               true);
}

void drawButtonBox(QPainter& p, int variant)
{
    drawPanel(p, QRectF(45, 146, 50, 62), QColor(242, 200, 64), QColor(40, 34, 20), 5);
    const bool wait = (variant >> 5) & 1;
    const QRectF sign(49, 151, 42, 14);
    // Lit, the sign's glass takes the light's own colour; its light stays
    // inside the sign, where the picture of the lamp is cut.
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(wait ? QColor(150, 80, 0) : QColor(22, 22, 24));
    p.drawRect(sign);
    drawCentred(p, sign, QStringLiteral("ESPERE"), sceneFont(10, true),
                wait ? QColor(255, 240, 150) : QColor(70, 62, 40));
    // Pressed, the button sinks into a lit ring.
    const bool pressed = (variant & ButtonPressed) != 0;
    const QPointF c(70, 186);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(pressed ? QColor(120, 230, 90) : QColor(190, 192, 196));
    p.drawEllipse(c, 13, 13);
    QRadialGradient g(c - QPointF(3, 4), 14);
    g.setColorAt(0, pressed ? QColor(170, 40, 30) : QColor(255, 120, 100));
    g.setColorAt(1, pressed ? QColor(110, 20, 16) : QColor(200, 30, 24));
    p.setBrush(g);
    const double r = pressed ? 8 : 9.5;
    p.drawEllipse(c + (pressed ? QPointF(0.6, 1) : QPointF()), r, r);
}

}  // namespace

void drawTrafficLights(QPainter& p, int variant)
{
    drawStreet(p);
    drawCar(p);
    // Someone waiting on the pavement.
    drawWalker(p, QPointF(116, 204), 1.6, QColor(60, 60, 120), false);
    drawCarLights(p, variant);
    drawWalkerLights(p, variant);
    drawButtonBox(p, variant);
    drawTitle(p, QString::fromUtf8("Semáforo con pulsador"), QColor(20, 40, 70));
    drawLegend(p, {QString::fromUtf8("Coches: salidas 1 roja, 2 ámbar, 3 verde.  Peatones: "
                                     "4 roja, 5 verde."),
                   QString::fromUtf8("Pulsador: entrada 1.  Luz «ESPERE»: salida 6.")});
}

}  // namespace tarvel::mimicsets
