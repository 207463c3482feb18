#pragma once
// Automatic routing of a line between two symbols: an orthogonal path of at
// most 7 points that crosses no symbol and keeps clear of other lines, found
// by searching free channels in steps of 8 units. When no such path exists
// the line becomes two short stubs joined by a lettered connector.

#include <optional>

#include "flowchart/flow_document.h"

namespace tarvel {

// The box a symbol blocks for routing: x ± 60 (± 48 for a Process, and for an
// Output when the tested segment is horizontal at its own y) by y ± 24 (± 12
// for a StartStop).
Rect obstacleBox(const FlowSymbol& s, bool horizontalAtOwnY = false);

// Whether the segment a-b (horizontal or vertical) passes through a symbol's
// obstacle box; symbols `ignoreA` and `ignoreB` (the line's own ends) are
// skipped.
bool segmentCrossesSymbol(const FlowDocument& doc, Point a, Point b, int ignoreA = -1,
                          int ignoreB = -1);

// Where a line leaves or enters a symbol.
Point bottomSide(const FlowSymbol& s);
Point topSide(const FlowSymbol& s);
Point leftSide(const FlowSymbol& s);
Point rightSide(const FlowSymbol& s);

class LineRouter {
public:
    explicit LineRouter(FlowDocument& doc) : doc_(doc) {}

    // The geometry (points and tag) of a line of `kind` from origin to
    // destination. Line `excludeLine` (the line being routed again, or -1) is
    // not an obstacle. A connector fall-back takes the lowest free letter from
    // the document; with none left the document shows "Ya no hay más letras"
    // and the result is empty (the line must not be added).
    std::optional<LineGeometry> route(int origin, int destination, LineKind kind,
                                      int excludeLine = -1);

    // Routes an existing line again from scratch, freeing its letter first.
    // False (and the line unchanged) when no letter is left for it.
    bool reroute(int line);

private:
    FlowDocument& doc_;
};

}  // namespace tarvel
