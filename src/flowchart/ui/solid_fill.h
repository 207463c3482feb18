#pragma once
// Opaque one-colour rectangles for the chart painter: line strips,
// arrowheads, straight outlines and the runs of slanted outlines.
//
// On the screen a chart is thousands of one-pixel strips. The raster engine
// fills each rectangle row by row through its general span machinery, which
// costs far more than the few pixels it stores. When the painter draws into
// a 32-bit image with a whole-pixel translation, an opaque solid fill stores
// nothing but the colour in each covered pixel, so these rectangles are
// stored straight into the image, inside the painter's clip; the pixels are
// those the painter would have left. Any other target (printer, SVG, a scaled
// or rotated painter, other formats) gets them through the painter.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QRgb>
#include <QVarLengthArray>
#include <vector>

class QPainter;

namespace tarvel {

class SolidFill {
public:
    // `direct` allows storing into the image when the painter permits it;
    // off, everything goes through the painter (the reference the tests
    // compare the direct stores with).
    SolidFill(QPainter& p, bool direct);

    bool direct() const { return image_ != nullptr; }

    // Fills rectangles given in the painter's coordinates with an opaque
    // colour. Through the painter this leaves its pen off and its brush set
    // to the colour.
    void fill(const QRect* rects, int count, QRgb colour);
    void fill(const QRect& rect, QRgb colour) { fill(&rect, 1, colour); }

    // One-pixel strokes the painter draws with a cosmetic pen: the strips of
    // straight ones, or the corners of a polygon with whole-pixel corners.
    // Stored directly when they lie wholly on the image: the painter cuts
    // strokes at the image's edge in its own way, so there they are left to
    // it (false: draw them through the painter).
    bool strokes(const QRect* strips, int count, QRgb colour);
    bool outline(const QPoint* corners, int count, QRgb colour);

private:
    // That outline as horizontal runs relative to its first corner, measured
    // once per shape by drawing it with the painter's own stroker, so the
    // runs are exactly its pixels.
    static const std::vector<QRect>& outlineRuns(const QPoint* corners, int count);
    // Pixels from (left, top) to (right, bottom) inclusive, image coordinates.
    void store(int left, int top, int right, int bottom, quint32 colour);
    bool onImage(QRect bounds) const;

    QPainter& p_;
    QImage* image_ = nullptr;
    QPoint shift_;  // painter coordinates to image pixels
    // The areas that may change, in image pixels, edges included.
    struct Area {
        int left, top, right, bottom;
    };
    QVarLengthArray<Area, 4> clip_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
};

}  // namespace tarvel
