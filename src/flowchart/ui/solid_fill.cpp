#include "flowchart/ui/solid_fill.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <map>

namespace tarvel {

namespace {

bool directFormat(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
           f == QImage::Format_ARGB32_Premultiplied;
}

// The image a painter stores into, when it is one: for a widget that is the
// window's back buffer, which the painter reaches through a redirection.
QImage* rasterImage(QPainter& p)
{
    QPaintEngine* engine = p.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    return directFormat(image->format()) ? image : nullptr;
}

bool wholePixelShift(const QTransform& t, QPoint& shift)
{
    if (t.type() > QTransform::TxTranslate) return false;
    const qreal dx = t.dx(), dy = t.dy();
    if (dx != std::floor(dx) || dy != std::floor(dy)) return false;
    shift = QPoint(static_cast<int>(dx), static_cast<int>(dy));
    return true;
}

// Outline runs are kept per shape; a chart has a handful of shapes per zoom.
constexpr std::size_t kMaxCachedOutlines = 64;

}  // namespace

SolidFill::SolidFill(QPainter& p, bool direct) : p_(p)
{
    if (!direct || !p.isActive()) return;
    QImage* image = rasterImage(p);
    if (!image || image->isNull()) return;
    if (p.compositionMode() != QPainter::CompositionMode_SourceOver || p.opacity() != 1.0) return;
    if (!wholePixelShift(p.deviceTransform(), shift_)) return;

    QRegion allowed(image->rect());
    const QRegion system = p.paintEngine()->systemClip();
    if (!system.isEmpty()) allowed &= system;
    if (p.hasClipping()) allowed &= p.clipRegion().translated(shift_);
    for (const QRect& r : allowed) clip_.append({r.left(), r.top(), r.right(), r.bottom()});

    image_ = image;
    // The engine stores into the buffer it took when painting began; the
    // const access reaches that same buffer without detaching a copy.
    bits_ = const_cast<uchar*>(image->constBits());
    stride_ = image->bytesPerLine();
}

void SolidFill::fill(const QRect* rects, int count, QRgb colour)
{
    if (count <= 0) return;
    if (!image_) {
        p_.setPen(Qt::NoPen);
        p_.setBrush(QColor::fromRgb(colour));
        p_.drawRects(rects, count);
        return;
    }
    const quint32 stored = colour | 0xFF000000u;
    const int dx = shift_.x(), dy = shift_.y();
    for (int i = 0; i < count; ++i) {
        // A rectangle with a negative size covers the same pixels as its normalised form.
        const QRect& r = rects[i];
        const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
        store(std::min(l, rr) + dx, std::min(t, b) + dy, std::max(l, rr) + dx, std::max(t, b) + dy,
              stored);
    }
}

void SolidFill::store(int left, int top, int right, int bottom, quint32 colour)
{
    for (const Area& c : clip_) {
        const int l = std::max(left, c.left), r = std::min(right, c.right);
        const int t = std::max(top, c.top), b = std::min(bottom, c.bottom);
        if (l > r || t > b) continue;
        uchar* row = bits_ + static_cast<qsizetype>(t) * stride_ + static_cast<qsizetype>(l) * 4;
        if (l == r) {
            for (int y = t; y <= b; ++y, row += stride_) *reinterpret_cast<quint32*>(row) = colour;
        } else {
            for (int y = t; y <= b; ++y, row += stride_)
                std::fill_n(reinterpret_cast<quint32*>(row), r - l + 1, colour);
        }
    }
}

bool SolidFill::onImage(QRect bounds) const
{
    return image_ && image_->rect().contains(bounds.translated(shift_));
}

bool SolidFill::strokes(const QRect* strips, int count, QRgb colour)
{
    if (!image_) return false;
    QRect bounds;
    for (int i = 0; i < count; ++i) bounds |= strips[i].normalized();
    if (!onImage(bounds)) return false;
    fill(strips, count, colour);
    return true;
}

bool SolidFill::outline(const QPoint* corners, int count, QRgb colour)
{
    if (!image_ || count < 2) return false;
    QRect bounds(corners[0], QSize(1, 1));
    for (int i = 1; i < count; ++i) bounds |= QRect(corners[i], QSize(1, 1));
    if (!onImage(bounds)) return false;
    const QPoint at = corners[0] + shift_;
    const quint32 stored = colour | 0xFF000000u;
    for (const QRect& run : outlineRuns(corners, count))
        store(run.left() + at.x(), run.top() + at.y(), run.right() + at.x(), run.bottom() + at.y(),
              stored);
    return true;
}

const std::vector<QRect>& SolidFill::outlineRuns(const QPoint* corners, int count)
{
    static std::map<std::vector<int>, std::vector<QRect>> cache;
    std::vector<int> key;
    key.reserve(static_cast<std::size_t>(count) * 2);
    for (int i = 1; i < count; ++i) {
        key.push_back(corners[i].x() - corners[0].x());
        key.push_back(corners[i].y() - corners[0].y());
    }
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= kMaxCachedOutlines) cache.clear();

    // Drawn once with a margin of a pixel, as the painter draws it on screen.
    QRect bounds(corners[0], QSize(1, 1));
    for (int i = 1; i < count; ++i) bounds |= QRect(corners[i], QSize(1, 1));
    const QPoint origin = QPoint(1, 1) - bounds.topLeft();
    QVarLengthArray<QPoint, 8> moved;
    for (int i = 0; i < count; ++i) moved.append(corners[i] + origin);
    QImage scratch(bounds.size() + QSize(2, 2), QImage::Format_RGB32);
    scratch.fill(Qt::white);
    {
        QPainter sp(&scratch);
        sp.setRenderHint(QPainter::Antialiasing, false);
        sp.setPen(QPen(Qt::black, 1));
        sp.setBrush(Qt::NoBrush);
        sp.drawPolygon(moved.constData(), count);
    }
    std::vector<QRect> runs;
    const QPoint first = moved[0];
    for (int y = 0; y < scratch.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width();) {
            if (qRed(line[x]) != 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < scratch.width() && qRed(line[x]) == 0) ++x;
            runs.emplace_back(start - first.x(), y - first.y(), x - start, 1);
        }
    }
    return cache.emplace(std::move(key), std::move(runs)).first->second;
}

}  // namespace tarvel
