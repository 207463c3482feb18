// The lighthouse at night: a striped tower on a rocky islet, its lamp on
// output 1 and the beam that motor A turns.

#include <QLinearGradient>
#include <QPainterPath>

#include "scene_kit.h"

namespace tarvel::mimicsets {

namespace {

using namespace faro;

constexpr double kHorizon = 200;

void drawSky(QPainter& p)
{
    fillVertical(p, QRectF(0, 0, 400, kHorizon), QColor(9, 20, 52), QColor(36, 66, 112));
    // Stars from a fixed sequence, so every picture of the set has the same sky.
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const double x = next() % 400, y = next() % 170;
        const double r = (next() % 3 == 0) ? 1.3 : 0.8;
        p.setBrush(QColor(255, 255, 240, 120 + static_cast<int>(next() % 120)));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    // The moon, clear of the beams.
    p.setBrush(QColor(250, 244, 214));
    p.drawEllipse(QPointF(356, 20), 11, 11);
    p.setBrush(QColor(12, 24, 58));
    p.drawEllipse(QPointF(361, 16), 10, 10);
}

void drawSea(QPainter& p)
{
    fillVertical(p, QRectF(0, kHorizon, 400, kLegend.top - kHorizon), QColor(22, 58, 92),
                 QColor(10, 34, 58));
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 6; ++row) {
        const double y = kHorizon + 10 + row * 13;
        p.setPen(QPen(QColor(90, 140, 180, 90 + row * 12), 1.2));
        for (double x = -20 + (row % 2) * 17; x < 400; x += 34) {
            QPainterPath wave;
            wave.moveTo(x, y);
            wave.quadTo(x + 8, y - 4, x + 16, y);
            p.drawPath(wave);
        }
    }
}

void drawIslet(QPainter& p)
{
    QPainterPath rock;
    rock.moveTo(96, 282);
    rock.lineTo(118, 246);
    rock.lineTo(146, 236);
    rock.lineTo(176, 230);
    rock.lineTo(232, 228);
    rock.lineTo(262, 234);
    rock.lineTo(292, 248);
    rock.lineTo(318, 282);
    rock.closeSubpath();
    QLinearGradient g(0, 228, 0, 282);
    g.setColorAt(0, QColor(104, 96, 88));
    g.setColorAt(1, QColor(52, 48, 46));
    p.setPen(QPen(QColor(30, 28, 28), 1.5));
    p.setBrush(g);
    p.drawPath(rock);
    p.setPen(QPen(QColor(140, 132, 120), 1.2));
    p.drawLine(QPointF(130, 256), QPointF(150, 246));
    p.drawLine(QPointF(268, 250), QPointF(284, 262));
    p.drawLine(QPointF(200, 262), QPointF(226, 256));
    // The keeper's house beside the tower.
    p.setPen(QPen(QColor(30, 30, 30), 1.2));
    p.setBrush(QColor(232, 228, 214));
    p.drawRect(QRectF(242, 208, 34, 22));
    p.setBrush(QColor(170, 44, 40));
    QPainterPath roof;
    roof.moveTo(238, 209);
    roof.lineTo(259, 194);
    roof.lineTo(280, 209);
    roof.closeSubpath();
    p.drawPath(roof);
    p.setBrush(QColor(255, 214, 120));
    p.drawRect(QRectF(250, 214, 8, 8));
    p.setBrush(QColor(80, 60, 50));
    p.drawRect(QRectF(264, 216, 7, 14));
}

void drawTower(QPainter& p)
{
    // A tapered tower in red and white bands.
    const double baseY = 232, topY = 112;
    auto halfWidth = [&](double y) { return 18 + (y - topY) / (baseY - topY) * 14; };
    const int bands = 6;
    for (int k = 0; k < bands; ++k) {
        const double y0 = topY + (baseY - topY) * k / bands;
        const double y1 = topY + (baseY - topY) * (k + 1) / bands;
        QPainterPath band;
        band.moveTo(200 - halfWidth(y0), y0);
        band.lineTo(200 + halfWidth(y0), y0);
        band.lineTo(200 + halfWidth(y1), y1);
        band.lineTo(200 - halfWidth(y1), y1);
        band.closeSubpath();
        QLinearGradient g(200 - halfWidth(y1), 0, 200 + halfWidth(y1), 0);
        const QColor c = k % 2 ? QColor(236, 236, 230) : QColor(200, 40, 36);
        g.setColorAt(0, c.darker(125));
        g.setColorAt(0.4, c.lighter(110));
        g.setColorAt(1, c.darker(150));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(band);
    }
    QPainterPath outline;
    outline.moveTo(200 - halfWidth(baseY), baseY);
    outline.lineTo(200 - halfWidth(topY), topY);
    outline.lineTo(200 + halfWidth(topY), topY);
    outline.lineTo(200 + halfWidth(baseY), baseY);
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    // Door and two small windows.
    p.setBrush(QColor(60, 44, 36));
    p.drawRoundedRect(QRectF(193, 214, 14, 18), 5, 5);
    p.setBrush(QColor(40, 52, 72));
    p.drawRect(QRectF(196, 150, 8, 10));
    p.drawRect(QRectF(196, 184, 8, 10));
}

void drawLampRoom(QPainter& p, bool lit)
{
    const QPointF glassCentre(kLampX, kLampY);
    // The halo keeps within the lamp's picture, between the two beams'.
    if (lit) drawGlow(p, glassCentre, 20, QColor(255, 230, 130), 255);
    // Gallery with its railing.
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(QColor(58, 62, 70));
    p.drawRect(QRectF(176, 106, 48, 6));
    p.setPen(QPen(QColor(40, 40, 44), 1.4));
    p.drawLine(QPointF(178, 98), QPointF(222, 98));
    for (double x = 178; x <= 222; x += 7.3) p.drawLine(QPointF(x, 98), QPointF(x, 106));
    // The glass, dark or lit, with its frames.
    QLinearGradient glass(186, 0, 214, 0);
    if (lit) {
        glass.setColorAt(0, QColor(255, 214, 90));
        glass.setColorAt(0.5, QColor(255, 252, 220));
        glass.setColorAt(1, QColor(255, 206, 80));
    } else {
        glass.setColorAt(0, QColor(34, 46, 70));
        glass.setColorAt(0.5, QColor(70, 88, 118));
        glass.setColorAt(1, QColor(30, 40, 62));
    }
    p.setPen(QPen(QColor(24, 24, 28), 1.5));
    p.setBrush(glass);
    p.drawRect(QRectF(186, 76, 28, 24));
    p.drawLine(QPointF(195.3, 76), QPointF(195.3, 100));
    p.drawLine(QPointF(204.7, 76), QPointF(204.7, 100));
    // The roof and its vent ball.
    QPainterPath roof;
    roof.moveTo(182, 77);
    roof.cubicTo(186, 64, 194, 60, 200, 59);
    roof.cubicTo(206, 60, 214, 64, 218, 77);
    roof.closeSubpath();
    QLinearGradient red(182, 0, 218, 0);
    red.setColorAt(0, QColor(150, 28, 26));
    red.setColorAt(0.4, QColor(214, 52, 46));
    red.setColorAt(1, QColor(120, 22, 22));
    p.setBrush(red);
    p.drawPath(roof);
    p.setBrush(QColor(60, 60, 64));
    p.drawEllipse(QPointF(200, 56), 3.2, 3.2);
    p.setBrush(QColor(58, 62, 70));
    p.drawRect(QRectF(184, 100, 32, 6));
}

// A wedge of light from the lamp to one side, fading with distance.
void drawBeam(QPainter& p, bool right)
{
    const double edge = right ? 400 : 0;
    const double sign = right ? 1 : -1;
    QLinearGradient fade(kLampX, 0, edge, 0);
    fade.setColorAt(0, QColor(255, 244, 170, 210));
    fade.setColorAt(0.6, QColor(255, 240, 160, 110));
    fade.setColorAt(1, QColor(255, 236, 150, 40));
    QPainterPath wide;
    wide.moveTo(kLampX + sign * 10, kLampY - 7);
    wide.lineTo(edge, kLampY - 40);
    wide.lineTo(edge, kLampY + 40);
    wide.lineTo(kLampX + sign * 10, kLampY + 7);
    wide.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.drawPath(wide);
    QPainterPath core;
    core.moveTo(kLampX + sign * 10, kLampY - 4);
    core.lineTo(edge, kLampY - 18);
    core.lineTo(edge, kLampY + 18);
    core.lineTo(kLampX + sign * 10, kLampY + 4);
    core.closeSubpath();
    QLinearGradient bright(kLampX, 0, edge, 0);
    bright.setColorAt(0, QColor(255, 255, 230, 200));
    bright.setColorAt(1, QColor(255, 250, 200, 50));
    p.setBrush(bright);
    p.drawPath(core);
}

}  // namespace

void drawLighthouse(QPainter& p, int variant)
{
    drawSky(p);
    drawSea(p);
    drawIslet(p);
    drawTower(p);
    if (variant & BeamRight) drawBeam(p, true);
    if (variant & BeamLeft) drawBeam(p, false);
    drawLampRoom(p, (variant & LampOn) != 0);
    drawTitle(p, QStringLiteral("Faro"), QColor(236, 240, 250));
    drawLegend(p, {QString::fromUtf8("Salida 1: la lámpara del faro."),
                   QString::fromUtf8("Motor A: gira el haz (adelante a la derecha, atrás a la "
                                     "izquierda).")});
}

}  // namespace tarvel::mimicsets
