// A level crossing: the road runs into the distance over the railway, the
// barrier on motor A with its two limit switches, the warning lamps on
// outputs 1 and 2, and a button that says a train is coming.

#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

#include "scene_kit.h"

namespace tarvel::mimicsets {

namespace {

using namespace pasonivel;

constexpr double kHorizon = 150, kRailTop = 186, kRailBottom = 202;

void drawLandscape(QPainter& p)
{
    fillVertical(p, QRectF(0, 0, 400, kHorizon), QColor(120, 180, 232), QColor(206, 230, 246));
    drawCloud(p, QPointF(196, 34));
    drawCloud(p, QPointF(300, 60));
    // Distant hills and the fields.
    QPainterPath hills;
    hills.moveTo(0, kHorizon);
    hills.cubicTo(80, 120, 150, 136, 220, 140);
    hills.cubicTo(290, 144, 340, 122, 400, 132);
    hills.lineTo(400, kHorizon);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 168, 110));
    p.drawPath(hills);
    fillVertical(p, QRectF(0, kHorizon, 400, kLegend.top - kHorizon), QColor(150, 196, 110),
                 QColor(96, 150, 70));
}

void drawRoadAndRails(QPainter& p)
{
    // The road narrows towards the horizon.
    QPainterPath road;
    road.moveTo(176, kHorizon);
    road.lineTo(224, kHorizon);
    road.lineTo(380, kLegend.top);
    road.lineTo(60, kLegend.top);
    road.closeSubpath();
    QLinearGradient asphalt(0, kHorizon, 0, kLegend.top);
    asphalt.setColorAt(0, QColor(128, 128, 132));
    asphalt.setColorAt(1, QColor(78, 80, 86));
    p.setPen(Qt::NoPen);
    p.setBrush(asphalt);
    p.drawPath(road);
    p.setBrush(QColor(240, 236, 220));
    for (double t = 0.08; t < 1.0; t += 0.16) {
        // Dashes down the middle, longer and wider nearer the viewer.
        const double y0 = kHorizon + t * (kLegend.top - kHorizon);
        const double y1 = y0 + 5 + t * 10;
        const double w0 = 0.6 + t * 2, w1 = 0.6 + (t + 0.06) * 2;
        QPainterPath dash;
        dash.moveTo(200 - w0, y0);
        dash.lineTo(200 + w0, y0);
        dash.lineTo(200 + w1, y1);
        dash.lineTo(200 - w1, y1);
        dash.closeSubpath();
        p.drawPath(dash);
    }
    // The railway across everything: ballast, sleepers, two rails.
    p.fillRect(QRectF(0, kRailTop - 4, 400, kRailBottom - kRailTop + 8), QColor(150, 138, 122));
    p.setBrush(QColor(104, 72, 48));
    for (double x = 2; x < 400; x += 13) p.drawRect(QRectF(x, kRailTop - 1, 7, 18));
    p.setPen(QPen(QColor(70, 74, 82), 3));
    p.drawLine(QPointF(0, kRailTop + 3), QPointF(400, kRailTop + 3));
    p.drawLine(QPointF(0, kRailBottom - 3), QPointF(400, kRailBottom - 3));
    p.setPen(QPen(QColor(200, 204, 212), 1));
    p.drawLine(QPointF(0, kRailTop + 2), QPointF(400, kRailTop + 2));
    p.drawLine(QPointF(0, kRailBottom - 4), QPointF(400, kRailBottom - 4));
}

void drawBarrier(QPainter& p, int arm)
{
    // The cabinet with the motor, under the pivot, and the rest for the arm's tip.
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(QColor(150, 156, 164));
    p.drawRect(QRectF(104, kPivotY - 6, 26, 40));
    drawCentred(p, QRectF(104, kPivotY + 10, 26, 20), QStringLiteral("M"), sceneFont(14, true),
                QColor(40, 40, 44));
    p.setBrush(QColor(90, 94, 100));
    p.drawRect(QRectF(kPivotX + kArmLength - 10, kPivotY + 6, 5, 26));
    p.drawRect(QRectF(kPivotX + kArmLength - 16, kPivotY + 4, 17, 4));

    const double angle = arm == ArmUp ? 90 : arm == ArmHalf ? 42 : 0;
    p.save();
    p.translate(kPivotX, kPivotY);
    p.rotate(-angle);
    // Counterweight behind the pivot, then the striped arm.
    p.setBrush(QColor(60, 62, 68));
    p.drawRect(QRectF(-13, -6, 11, 12));
    const double w = 8;
    const int stripes = 7;
    for (int k = 0; k < stripes; ++k) {
        const double x0 = kArmLength * k / stripes;
        p.setPen(Qt::NoPen);
        p.setBrush(k % 2 ? QColor(245, 245, 240) : QColor(214, 36, 30));
        p.drawRect(QRectF(x0, -w / 2, kArmLength / stripes + 0.5, w));
    }
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0, -w / 2, kArmLength, w));
    p.restore();
    p.setBrush(QColor(50, 52, 58));
    p.drawEllipse(QPointF(kPivotX, kPivotY), 5, 5);
}

void drawWarningSign(QPainter& p, int variant)
{
    const double x = 360;
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(QColor(236, 236, 236));
    p.drawRect(QRectF(x - 2.5, 100, 5, 160));
    // The cross of St Andrew, white with red edges.
    p.save();
    p.translate(x, 112);
    for (const double a : {35.0, -35.0}) {
        p.save();
        p.rotate(a);
        p.setBrush(QColor(245, 245, 245));
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawRect(QRectF(-30, -5, 60, 10));
        p.restore();
    }
    p.restore();
    // The plate with its two lamps.
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    p.setBrush(QColor(24, 24, 26));
    p.drawRoundedRect(QRectF(328, 140, 64, 20), 9, 9);
    drawLamp(p, QPointF(340, 150), 9.5, QColor(255, 40, 30), (variant & LampLeftOn) != 0, 14);
    drawLamp(p, QPointF(380, 150), 9.5, QColor(255, 40, 30), (variant & LampRightOn) != 0, 14);
}

// A limit switch in the panel: its caption, the lever and its light.
void drawSwitch(QPainter& p, const Box& box, const QString& caption, bool closed)
{
    const QRectF r = rectOf(box);
    drawPanel(p, r.adjusted(1, 1, -1, -1), QColor(54, 64, 78), QColor(20, 24, 30), 5);
    drawCentred(p, QRectF(r.left(), r.top() + 2, r.width(), 16), caption, sceneFont(11, true),
                QColor(236, 240, 246));
    const QPointF base(r.left() + 24, r.bottom() - 9);
    p.setPen(QPen(QColor(20, 20, 20), 1.2));
    p.setBrush(QColor(196, 198, 204));
    p.drawRect(QRectF(base.x() - 14, base.y() - 7, 28, 12));
    // The lever: raised while open, down on its button when closed.
    const double a = qDegreesToRadians(closed ? 6.0 : 34.0);
    const QPointF pivot(base.x() - 10, base.y() - 7);
    const QPointF end = pivot + QPointF(22 * std::cos(a), -22 * std::sin(a));
    p.setPen(QPen(QColor(40, 40, 44), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pivot, end);
    p.setPen(QPen(QColor(20, 20, 20), 1.2));
    p.setBrush(QColor(40, 40, 44));
    p.drawEllipse(end, 3.2, 3.2);
    const QPointF led(r.right() - 14, base.y() - 1);
    if (closed) drawGlow(p, led, 10, QColor(80, 255, 120), 170);
    p.setPen(QPen(QColor(10, 10, 10), 1));
    p.setBrush(closed ? QColor(110, 255, 140) : QColor(30, 70, 40));
    p.drawEllipse(led, 4.5, 4.5);
}

void drawTrainButton(QPainter& p, bool pressed)
{
    const QRectF r = rectOf(kTrainButton);
    drawPanel(p, r.adjusted(1, 1, -1, -1), QColor(54, 64, 78), QColor(20, 24, 30), 5);
    drawCentred(p, QRectF(r.left(), r.top() + 2, r.width(), 16), QStringLiteral("Llega tren"),
                sceneFont(11, true), QColor(236, 240, 246));
    const QPointF c(r.center().x(), r.bottom() - 22);
    // Pressed, the button sinks into a lit ring.
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    p.setBrush(pressed ? QColor(120, 230, 90) : QColor(236, 200, 60));
    p.drawEllipse(c, 15, 15);
    QRadialGradient g(c - QPointF(3, 4), 13);
    g.setColorAt(0, pressed ? QColor(60, 60, 64) : QColor(120, 124, 132));
    g.setColorAt(1, pressed ? QColor(20, 20, 24) : QColor(44, 46, 52));
    p.setBrush(g);
    p.drawEllipse(c + (pressed ? QPointF(0.8, 1.2) : QPointF()), pressed ? 9 : 10.5,
                  pressed ? 9 : 10.5);
}

}  // namespace

void drawLevelCrossing(QPainter& p, int variant)
{
    drawLandscape(p);
    drawRoadAndRails(p);
    // The control panel down the left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(34, 42, 54, 235));
    p.drawRect(QRectF(0, 26, 84, kLegend.top - 26));
    drawTrainButton(p, (variant & TrainPressed) != 0);
    drawSwitch(p, kSwitchUp, QStringLiteral("Fin arriba"), (variant & UpClosed) != 0);
    drawSwitch(p, kSwitchDown, QStringLiteral("Fin abajo"), (variant & DownClosed) != 0);
    drawCentred(p, QRectF(0, kSwitchDown.bottom + 2, 84, 18), QStringLiteral("Motor A"),
                sceneFont(11, true), QColor(236, 240, 246));
    drawWarningSign(p, variant);
    drawBarrier(p, variant & ArmMask);
    // Right of the raised arm.
    drawTitle(p, QStringLiteral("Paso a nivel"), QColor(20, 40, 70), 132);
    drawLegend(p, {QString::fromUtf8("Motor A: adelante baja la barrera, atrás la sube.  "
                                     "Salidas 1 y 2: luces."),
                   QString::fromUtf8("Entradas: 1 fin abajo, 2 fin arriba, 3 llega un tren.")});
}

}  // namespace tarvel::mimicsets
