#pragma once
// Draws a flowchart document: page guides, symbols with their captions,
// labels, lines with their arrowheads, connector letters and YES/NO tags, and
// the frames of selected labels. One routine serves the window (scaled by the
// zoom and shifted by the scroll position), the clipboard pictures and the
// printer (at 100 %).
//
// All geometry is integer: a document point is drawn at
// x * zoom / 10 + offset, so at 50 % every coordinate and font size is halved
// exactly as the window expects when it invalidates areas.

#include <QPoint>
#include <QRect>
#include <functional>

#include "appearance/colour_set.h"
#include "flowchart/flow_document.h"

class QPainter;

namespace tarvel {

struct PaintOptions {
    int zoomX = 10, zoomY = 10;  // tenths: 10 is 100 %
    QPoint offset{0, 0};         // added after scaling: the negated scroll position, in pixels
    bool background = true;      // fill the area with the chart's white paper (screen only)
    bool pageGuides = true;      // the printed page marks (screen only)
    // Picture rules (clipboard, printer): captions are measured at 100 % with
    // the picture thresholds and each line is centred on the symbol's x; no
    // background, page guides or label frames whatever the flags above say.
    bool picture = false;
    // The printer: start/stop end boxes stop one unit higher (y + 12).
    bool printer = false;
    // Only the selected symbols and labels and the lines whose both ends are selected.
    bool selectionOnly = false;
    // Store the screen's opaque strips straight into a 32-bit image target,
    // with the pixels the painter would leave; off, everything goes through
    // the painter (the reference the tests compare with).
    bool directFills = true;
    bool loading = false;          // a file is being loaded: no symbols, labels or lines
    bool movingSomething = false;  // no label selection frames while something moves
    bool breakpoints = false;      // the red dots of breakpoints (screen only)

    // Hooks for what the editor draws over the chart: ghost outlines, the
    // rubber band or a group being moved (between the labels and the lines),
    // and a line being drawn by hand (after the lines). They get the painter
    // with these options' scaling in mind; FlowPainter::drawSymbolOutline helps.
    std::function<void(QPainter&)> drawGhosts;
    std::function<void(QPainter&)> drawHandLine;
};

class FlowPainter {
public:
    FlowPainter(const FlowDocument& doc, const ColourSet& colours);

    // Paints in document order; `dirty` (device pixels) lets it skip what lies
    // outside it. An empty `dirty` paints everything.
    void paint(QPainter& p, const PaintOptions& o, const QRect& dirty = QRect()) const;

    // The device rectangle a document rectangle covers at a zoom (for partial invalidation).
    static QRect toDevice(const Rect& r, const PaintOptions& o);

    // Bounding box in document units of the whole chart or of the selection,
    // as the picture rules draw it: symbols x ± 60 by their body heights (or
    // their caption when it is wider), labels by their text box, lines by
    // their points, connector circles and tags. Empty when nothing would be drawn.
    Rect pictureBounds(bool selectionOnly) const;

    // What a symbol (shape and caption), a line (with its arrowheads,
    // connector circles and tag) or a label (with its selection frame) draws,
    // in document units at any zoom, for repainting only what changed. Texts
    // are measured at 100 % with room to spare: small fonts run relatively wider.
    Rect drawnArea(const FlowSymbol& symbol) const;
    Rect drawnArea(const FlowLine& line) const;
    Rect drawnArea(const FlowLabel& label) const;

    // The width of a label's text at 100 % in document units, in the label's
    // own size; an empty text counts 4 wide (aligning and selection frames use it).
    int labelWidth(const FlowLabel& label) const;

    // The outline of a symbol shape at a centre, with the painter's current
    // pen and no fill: for ghost outlines.
    static void drawSymbolOutline(QPainter& p, SymbolKind kind, Point centre,
                                  const PaintOptions& o);

private:
    const FlowDocument& doc_;
    const ColourSet& colours_;
};

}  // namespace tarvel
