#pragma once
// The drawing kit of the shipped mimic scenes: fonts, the legend strip, lamps
// that glow, and the small shapes the scenes share. Everything is drawn with
// antialiasing on a 400 x 320 picture.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <initializer_list>

#include "mimic_layout.h"

namespace tarvel::mimicsets {

QFont sceneFont(int pixels, bool bold = false);
QRectF rectOf(const Box& b);

// The dark strip along the bottom with one or two lines of legend.
void drawLegend(QPainter& p, std::initializer_list<QString> lines);
// The set's name along the top, from `left`.
void drawTitle(QPainter& p, const QString& text, const QColor& colour, double left = 10);

// A vertical gradient filling a rectangle.
void fillVertical(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom);
// A soft halo that fades to nothing at `radius`.
void drawGlow(QPainter& p, QPointF centre, double radius, QColor colour, int alpha);
// A round signal lamp: dark glass when off, bright with a halo when on.
void drawLamp(QPainter& p, QPointF centre, double radius, const QColor& colour, bool on,
              double haloRadius);
// A small white cloud of three puffs.
void drawCloud(QPainter& p, QPointF centre);
// A text centred in a rectangle.
void drawCentred(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                 const QColor& colour);
// A rounded panel with an outline.
void drawPanel(QPainter& p, const QRectF& r, const QColor& fill, const QColor& outline,
               double radius = 6);

// The scenes, each in a variant (its layout names the variants' bits).
void drawLighthouse(QPainter& p, int variant);
void drawTrafficLights(QPainter& p, int variant);
void drawLevelCrossing(QPainter& p, int variant);
void drawGreenhouse(QPainter& p, int variant);

}  // namespace tarvel::mimicsets
