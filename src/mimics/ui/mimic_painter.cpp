#include "mimics/ui/mimic_painter.h"

#include <QFontMetrics>
#include <QPainter>

#include "flowchart/captions.h"
#include "flowchart/ui/chart_text.h"
#include "mimics/mimic_display.h"
#include "mimics/ui/mimic_pictures.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

constexpr int kFontHeight = 16;
constexpr int kFontWidth = 8;
const QColor kFrameYellow(255, 255, 160);

QRect rectOf(const MimicObject& o)
{
    return QRect(QPoint(o.left, o.top), QPoint(o.right - 1, o.bottom - 1));
}

QString textOf(const MimicObject& o)
{
    return fromCp1252(translateMimicChannelName(o.shown().view()));
}

}  // namespace

MimicPainter::MimicPainter(const MimicDisplay& display, const QtMimicPictures& pictures)
    : display_(display), pictures_(pictures), font_(textFont())
{
}

QFont MimicPainter::textFont()
{
    return gdiStyleFont(kFontHeight, kFontWidth);
}

void MimicPainter::paint(QPainter& p, const QColor& windowColour, const QRect& dirty) const
{
    const QRect window(0, 0, kMimicWidth, kMimicHeight);
    const QRect area = p.device() ? QRect(0, 0, p.device()->width(), p.device()->height()) : window;
    // What no object covers shows the window colour, never what was there.
    p.fillRect(dirty.isEmpty() ? area : dirty, windowColour);
    if (!display_.loaded()) return;
    p.setFont(font_);
    for (int i = 0; i < display_.objectCount(); ++i)
        if (dirty.isEmpty() || extent(i).intersects(dirty)) paintObject(p, i);
    // Whatever lies beyond the set's 400 x 320 is the window's own.
    p.fillRect(QRect(kMimicWidth, 0, std::max(0, area.width() - kMimicWidth), area.height()),
               windowColour);
    p.fillRect(QRect(0, kMimicHeight, area.width(), std::max(0, area.height() - kMimicHeight)),
               windowColour);
}

void MimicPainter::paintObject(QPainter& p, int object) const
{
    const MimicObject& o = display_.object(object);
    if (o.has(mimicflag::Label) && !display_.showLabels()) return;
    if (o.has(mimicflag::Frame)) {
        p.setPen(Qt::black);
        p.setBrush(o.has(mimicflag::Filled) ? kFrameYellow : QColor(Qt::white));
        // The frame's outline lies inside the rectangle, right and bottom edges excluded.
        p.drawRect(QRect(o.left, o.top, o.right - o.left - 1, o.bottom - o.top - 1));
    }
    if (o.has(mimicflag::Text)) {
        p.setPen(Qt::black);
        p.drawText(QRect(o.left, o.top, o.right - o.left, o.bottom - o.top),
                   Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, textOf(o));
        return;
    }
    const int n = display_.shownPicture(object);
    if (n < 0) return;
    const QImage& image = pictures_.image(n);
    if (!image.isNull()) p.drawImage(QPoint(o.left, o.bottom - image.height()), image);
}

QRect MimicPainter::extent(int object) const
{
    const MimicObject& o = display_.object(object);
    QRect r = rectOf(o);
    if (o.has(mimicflag::Text)) {
        const QFontMetrics metrics(font_);
        const QRect box(o.left, o.top, o.right - o.left, o.bottom - o.top);
        const QRect text = metrics.boundingRect(
            box, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, textOf(o));
        return r.united(text.adjusted(-2, -2, 2, 2));
    }
    const int n = display_.shownPicture(object);
    if (n >= 0) {
        const QImage& image = pictures_.image(n);
        r = r.united(QRect(o.left, o.bottom - image.height(), image.width(), image.height()));
    }
    return r;
}

}  // namespace tarvel
