#include "flowchart/ui/chart_picture.h"

#include <QBuffer>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include "flowchart/ui/flow_painter.h"

namespace tarvel {

namespace {

PaintOptions pictureOptions(const Rect& bounds, bool selectionOnly)
{
    PaintOptions o;
    o.picture = true;
    o.background = false;
    o.pageGuides = false;
    o.selectionOnly = selectionOnly;
    o.offset = QPoint(-bounds.left, -bounds.top);
    return o;
}

}  // namespace

ChartPicture renderChartPicture(const FlowDocument& doc, const ColourSet& colours,
                                bool selectionOnly)
{
    ChartPicture picture;
    const FlowPainter painter(doc, colours);
    picture.bounds = painter.pictureBounds(selectionOnly);
    if (picture.empty()) return picture;

    const QSize size(picture.bounds.right - picture.bounds.left,
                     picture.bounds.bottom - picture.bounds.top);
    const PaintOptions o = pictureOptions(picture.bounds, selectionOnly);

    picture.image = QImage(size, QImage::Format_RGB32);
    picture.image.fill(Qt::white);
    {
        QPainter p(&picture.image);
        painter.paint(p, o);
    }

    QBuffer buffer(&picture.svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // One unit is one pixel of a common screen, so the drawing pastes at the
    // size the chart has on the screen at 100 %.
    svg.setResolution(96);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Diagrama de flujo"));
    {
        QPainter p(&svg);
        painter.paint(p, o);
    }
    return picture;
}

QMimeData* makeChartPicture(const FlowDocument& doc, const ColourSet& colours, bool selectionOnly)
{
    const ChartPicture picture = renderChartPicture(doc, colours, selectionOnly);
    if (picture.empty()) return nullptr;
    auto* data = new QMimeData;  // the clipboard takes it over
    data->setData(QStringLiteral("image/svg+xml"), picture.svg);
    data->setImageData(picture.image);
    return data;
}

}  // namespace tarvel
