#pragma once
// Pictures of the chart, or of the selection, at 100 % for the clipboard:
// SVG for programs that take drawings, PNG for everything else. Both are
// sized to the chart's bounds and drawn with the picture rules.

#include <QByteArray>
#include <QImage>

#include "appearance/colour_set.h"
#include "flowchart/flow_document.h"

class QMimeData;

namespace tarvel {

struct ChartPicture {
    Rect bounds;  // document units; the picture's origin is its top left
    QByteArray svg;
    QImage image;  // white paper, one pixel per unit
    bool empty() const { return bounds.empty(); }
};

// Nothing to draw (no objects, or none selected) gives an empty picture.
ChartPicture renderChartPicture(const FlowDocument& doc, const ColourSet& colours,
                                bool selectionOnly);

// The picture as clipboard data: "image/svg+xml" and an image, for the
// clipboard to take over; nullptr when there is nothing to draw.
QMimeData* makeChartPicture(const FlowDocument& doc, const ColourSet& colours, bool selectionOnly);

}  // namespace tarvel
