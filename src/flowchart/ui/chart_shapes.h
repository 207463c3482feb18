#pragma once
// The geometry of a chart on the screen or paper: integer scaling of document
// units, the symbol shapes, arrowheads, connector boxes and the extents of
// what a symbol or line draws.

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QVarLengthArray>

#include "flowchart/flow_document.h"
#include "flowchart/ui/flow_painter.h"

class QPainter;

namespace tarvel {

class SolidFill;

// Document units to device pixels: x * zoom / 10 + offset, in integers.
struct Scale {
    int zx, zy, ox, oy;
    explicit Scale(const PaintOptions& o)
        : zx(o.zoomX), zy(o.zoomY), ox(o.offset.x()), oy(o.offset.y())
    {
    }
    int x(int v) const { return v * zx / 10 + ox; }
    int y(int v) const { return v * zy / 10 + oy; }
    QPoint pt(int px, int py) const { return {x(px), y(py)}; }
    // The pixels a box from (l, t) up to but not including (r, b) covers, as
    // a rectangle whose outline Qt draws on exactly those pixels.
    QRect outline(int l, int t, int r, int b) const
    {
        const int L = x(l), T = y(t);
        return {L, T, std::max(x(r) - L - 1, 0), std::max(y(b) - T - 1, 0)};
    }
    // The same box for filling.
    QRect fill(int l, int t, int r, int b) const
    {
        const int L = x(l), T = y(t);
        return {L, T, x(r) - L, y(b) - T};
    }
};

// A straight join that stops one pixel short of its end, so vertical and
// horizontal strokes end on the outline they meet rather than beyond it.
void joinLine(QPainter& p, QPoint a, QPoint b);

// Outline (or, with the painter's brush and no pen, the fill) of a shape.
void drawShape(QPainter& p, const Scale& s, SymbolKind kind, int x, int y, bool subCall,
               bool printer, bool filling);

// The outline of a shape stored directly where that gives the painter's
// pixels: straight edges as strips, slanted ones as measured runs. False
// when the painter is to draw it (round ends, outlines cut by the image's edge).
bool directOutline(SolidFill& fill, const Scale& s, SymbolKind kind, int x, int y, bool subCall,
                   QRgb colour);

// A filled arrowhead 6 units long and 8 wide with its tip at (x, y),
// pointing along (dx, dy) turned to the nearest of the four directions.
void drawArrowhead(QPainter& p, const Scale& s, int x, int y, int dx, int dy);

// The same arrowhead as strips one pixel wide, from its base to its tip. On
// the screen a chart has a couple of thousand arrowheads: filling strips is
// far cheaper than rasterising triangles.
using Strips = QVarLengthArray<QRect, 128>;
void arrowheadStrips(Strips& out, const Scale& s, int x, int y, int dx, int dy);

// The connector boxes: 20 units wide, 10 above and below the stub's point;
// after the first stub's end, before the second stub's start.
Rect connectorBoxAfter(Point end);
Rect connectorBoxBefore(Point start);

bool hasTag(const FlowLine& l);
// Everything a line draws, in document units; tagWidth is the width of its tag text.
Rect lineExtent(const FlowLine& l, int tagWidth, int tagHeight);
// The box a symbol's shape occupies, without its caption.
Rect symbolBody(const FlowSymbol& s);
// A caption line may be wider than its symbol (a start/stop caption is never
// broken, and a line without blanks cannot be): for skipping symbols outside
// the area painted, this is wide enough for 39 of the widest characters.
Rect symbolReach(const FlowSymbol& s);
// A process calling a subroutine, drawn with a bar inside each side.
bool isSubCall(const FlowSymbol& s);

}  // namespace tarvel
