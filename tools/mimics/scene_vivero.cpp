// A greenhouse: the heater on output 1, the fan on output 2, the board with
// the temperature of channel 1 and the chart's set point and count.

#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

#include "scene_kit.h"

namespace tarvel::mimicsets {

namespace {

using namespace vivero;

constexpr double kEaves = 96, kGround = 246;

void drawOutside(QPainter& p)
{
    fillVertical(p, QRectF(0, 0, 400, kGround), QColor(110, 176, 236), QColor(210, 236, 250));
    // The sun.
    drawGlow(p, QPointF(364, 32), 34, QColor(255, 230, 120), 160);
    p.setPen(QPen(QColor(240, 170, 30), 1.5));
    p.setBrush(QColor(255, 214, 70));
    p.drawEllipse(QPointF(364, 32), 15, 15);
    fillVertical(p, QRectF(0, kGround, 400, kLegend.top - kGround), QColor(120, 176, 84),
                 QColor(78, 128, 56));
}

void drawHouse(QPainter& p)
{
    // Glass walls and roof, tinted, on a low brick base.
    QPainterPath shell;
    shell.moveTo(24, 270);
    shell.lineTo(24, kEaves);
    shell.lineTo(200, 40);
    shell.lineTo(376, kEaves);
    shell.lineTo(376, 270);
    shell.closeSubpath();
    QLinearGradient glass(0, 40, 0, 270);
    glass.setColorAt(0, QColor(214, 240, 236));
    glass.setColorAt(1, QColor(186, 226, 206));
    p.setPen(QPen(QColor(60, 80, 80), 2));
    p.setBrush(glass);
    p.drawPath(shell);
    p.setPen(QPen(QColor(240, 248, 246), 2));
    for (double x = 68; x < 376; x += 44) {
        const double top = x <= 200 ? kEaves - (x - 24) * 56 / 176 : kEaves - (376 - x) * 56 / 176;
        p.drawLine(QPointF(x, top + 2), QPointF(x, 256));
    }
    p.drawLine(QPointF(26, kEaves + 2), QPointF(374, kEaves + 2));
    p.setPen(QPen(QColor(60, 80, 80), 1.2));
    p.setBrush(QColor(176, 96, 70));
    p.drawRect(QRectF(24, 256, 352, 14));
    p.setPen(QPen(QColor(140, 70, 50), 1));
    for (double x = 24; x < 376; x += 16) p.drawLine(QPointF(x, 256), QPointF(x, 270));
    p.drawLine(QPointF(24, 263), QPointF(376, 263));
}

void drawPlant(QPainter& p, double x, double height)
{
    p.setPen(QPen(QColor(80, 40, 26), 1.2));
    p.setBrush(QColor(196, 104, 64));
    QPainterPath pot;
    pot.moveTo(x - 9, 240);
    pot.lineTo(x + 9, 240);
    pot.lineTo(x + 6, 254);
    pot.lineTo(x - 6, 254);
    pot.closeSubpath();
    p.drawPath(pot);
    p.setPen(QPen(QColor(50, 110, 40), 2));
    p.drawLine(QPointF(x, 240), QPointF(x, 240 - height));
    p.setPen(QPen(QColor(30, 80, 30), 1));
    p.setBrush(QColor(76, 160, 60));
    for (int k = 0; k < 3; ++k) {
        const double y = 240 - height * (0.35 + 0.3 * k);
        p.drawEllipse(QPointF(x - 7, y), 7, 4);
        p.drawEllipse(QPointF(x + 7, y - 4), 7, 4);
    }
    p.setBrush(QColor(220, 50, 40));
    p.drawEllipse(QPointF(x + 3, 240 - height * 0.5), 3.5, 3.5);
}

void drawHeater(QPainter& p, bool on)
{
    const QRectF body(50, 216, 50, 38);
    if (on) drawGlow(p, body.center(), 30, QColor(255, 120, 40), 140);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(90, 92, 98));
    p.drawRect(QRectF(body.left() - 2, body.bottom(), body.width() + 4, 4));
    for (int k = 0; k < 5; ++k) {
        const QRectF fin(body.left() + 2 + k * 10, body.top(), 7, body.height());
        QLinearGradient g(fin.topLeft(), fin.topRight());
        g.setColorAt(0, on ? QColor(255, 120, 40) : QColor(200, 202, 206));
        g.setColorAt(0.5, on ? QColor(255, 220, 120) : QColor(246, 246, 248));
        g.setColorAt(1, on ? QColor(220, 60, 20) : QColor(170, 172, 178));
        p.setBrush(g);
        p.drawRoundedRect(fin, 3, 3);
    }
    if (!on) return;
    // Heat rising.
    p.setPen(QPen(QColor(240, 90, 40, 200), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        const double x = 60 + k * 15;
        QPainterPath wave;
        wave.moveTo(x, 210);
        wave.cubicTo(x - 6, 204, x + 6, 198, x, 192);
        p.drawPath(wave);
    }
}

void drawFan(QPainter& p, bool on)
{
    const QPointF c((kFan.left + kFan.right) / 2.0, (kFan.top + kFan.bottom) / 2.0);
    p.setPen(QPen(QColor(40, 40, 44), 1.5));
    p.setBrush(QColor(120, 126, 134));
    p.drawRoundedRect(QRectF(c.x() - 26, c.y() - 26, 52, 52), 6, 6);
    p.setBrush(QColor(46, 50, 56));
    p.drawEllipse(c, 22, 22);
    if (on) {
        // Blades too fast to see, and the way they turn.
        QRadialGradient blur(c, 21);
        blur.setColorAt(0, QColor(210, 214, 220, 230));
        blur.setColorAt(1, QColor(150, 156, 166, 160));
        p.setPen(Qt::NoPen);
        p.setBrush(blur);
        p.drawEllipse(c, 20, 20);
        p.setPen(QPen(QColor(30, 120, 220), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (const double start : {20.0, 200.0}) {
            p.drawArc(QRectF(c.x() - 15, c.y() - 15, 30, 30), static_cast<int>(start * 16),
                      120 * 16);
            const double a = qDegreesToRadians(start + 120);
            const QPointF tip = c + QPointF(15 * std::cos(a), -15 * std::sin(a));
            const QPointF along(-std::sin(a), -std::cos(a));
            const QPointF across(std::cos(a), -std::sin(a));
            p.drawLine(tip, tip - 6 * along + 3 * across);
            p.drawLine(tip, tip - 6 * along - 3 * across);
        }
    } else {
        p.setPen(QPen(QColor(30, 30, 30), 1));
        p.setBrush(QColor(196, 200, 208));
        for (int k = 0; k < 3; ++k) {
            p.save();
            p.translate(c);
            p.rotate(k * 120 + 15);
            QPainterPath blade;
            blade.moveTo(0, 0);
            blade.cubicTo(6, -6, 18, -8, 19, -2);
            blade.cubicTo(18, 4, 8, 4, 0, 0);
            p.drawPath(blade);
            p.restore();
        }
    }
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(70, 74, 80));
    p.drawEllipse(c, 4, 4);
}

void drawBoard(QPainter& p)
{
    const QRectF r = rectOf(kBoard);
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.drawLine(QPointF(r.left() + 20, r.top()), QPointF(200, 70));
    p.drawLine(QPointF(r.right() - 20, r.top()), QPointF(200, 70));
    drawPanel(p, r, QColor(250, 250, 246), QColor(50, 56, 60), 6);
    drawCentred(p, QRectF(r.left(), r.top() + 2, r.width(), 18), QStringLiteral("Temperatura"),
                sceneFont(13, true), QColor(30, 40, 50));
    drawCentred(p, QRectF(kTemperature.right + 2, kTemperature.top, 36, kTemperature.height()),
                QString::fromUtf8("°C"), sceneFont(16, true), QColor(30, 40, 50));
    p.setFont(sceneFont(12));
    p.setPen(QColor(30, 40, 50));
    p.drawText(QRectF(r.left() + 8, kSetPoint.top, 88, kSetPoint.height()),
               Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Consigna  x"));
    p.drawText(QRectF(r.left() + 8, kCount.top, 88, kCount.height()),
               Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Encendidos  n"));
}

}  // namespace

void drawGreenhouse(QPainter& p, int variant)
{
    drawOutside(p);
    drawHouse(p);
    for (const double x : {140.0, 172.0, 204.0, 236.0, 268.0})
        drawPlant(p, x, 26 + (int(x) % 3) * 4);
    drawHeater(p, (variant & HeaterOn) != 0);
    drawFan(p, (variant & FanOn) != 0);
    drawBoard(p);
    drawTitle(p, QStringLiteral("Invernadero"), QColor(20, 50, 40));
    drawLegend(p, {QString::fromUtf8("Salida 1: estufa.  Salida 2: ventilador.  Val 1: "
                                     "temperatura."),
                   QString::fromUtf8("Clic en la temperatura: +10; con el botón derecho: -10.")});
}

}  // namespace tarvel::mimicsets
