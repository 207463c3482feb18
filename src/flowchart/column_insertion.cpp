// Inserting a symbol into a column: a symbol placed between two symbols of a
// column that a line joins goes in below the upper one; the block beneath
// moves down to make room, its lines following it, and the joining line is
// redirected through the new symbol.

#include <algorithm>
#include <cstdlib>

#include "flowchart/captions.h"
#include "flowchart/chart_editor.h"
#include "flowchart/editor_parts.h"
#include "flowchart/line_pieces.h"
#include "flowchart/line_router.h"
#include "platform/messages.h"

namespace tarvel {

using namespace editing;

namespace {

// The new symbol goes this far below the upper one; the column is searched in
// rows of this height down to the end of the drawing.
constexpr int kInsertGap = 84;
constexpr int kInsertRow = 28;
constexpr int kColumnEnd = 1760;
constexpr int kColumnFull = 1700;

bool lineCrossesSymbols(const FlowDocument& doc, const FlowLine& l)
{
    for (const LinePiece& piece : LinePieces(l))
        if (piece.isSegment() && segmentCrossesSymbol(doc, piece.from, piece.to)) return true;
    return false;
}

// The path of a line once its origin (o), its destination (d) or both have
// moved by `offset`: both moved shifts the whole line; one moved straight up
// or down stretches the vertical run at that end while it keeps its
// direction. Empty when the line must be routed again.
std::optional<LineGeometry> followed(const FlowLine& l, bool o, bool d, Point offset)
{
    LineGeometry g = l.geometry;
    if (o && d) return shifted(g, offset);
    const int n = l.pointCount();
    if (offset.x != 0 || l.hasConnector() || n < 2) return std::nullopt;
    Point& first = g.points[0];
    const Point second = g.points[1];
    const Point beforeLast = g.points[static_cast<std::size_t>(n - 2)];
    Point& last = g.points[static_cast<std::size_t>(n - 1)];
    if (d && beforeLast.x == last.x && last.y + offset.y > beforeLast.y) {
        last.y += offset.y;
    } else if (o && first.x == second.x && first.y + offset.y < second.y) {
        first.y += offset.y;
        if (g.tag.x >= 0) g.tag.y += offset.y;
    } else {
        return std::nullopt;
    }
    return g;
}

}  // namespace

std::pair<int, int> ChartEditor::columnNeighbours(Point c) const
{
    int upper = -1, lower = -1;
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        const FlowSymbol& s = doc_.symbol(i);
        if (s.x != c.x) continue;
        if (s.y < c.y && (upper < 0 || s.y > doc_.symbol(upper).y)) upper = i;
        if (s.y > c.y && (lower < 0 || s.y < doc_.symbol(lower).y)) lower = i;
    }
    return {upper, lower};
}

bool ChartEditor::columnBandFree(int x, int upper, int lower) const
{
    const Rect band{x - kBodyX, doc_.symbol(upper).y + 32, x + kBodyX, doc_.symbol(lower).y - 32};
    for (int i = 0; i < doc_.symbolCount(); ++i)
        if (overlaps(obstacleBox(doc_.symbol(i)), band)) return false;
    return true;
}

PressOutcome ChartEditor::insertBetween(int upper, int lower, SymbolKind kind, int x)
{
    if (doc_.symbolsFull()) {
        messages_.tell(caption::Warning, "No se puede tener más que 220 símbolos");
        return {};
    }
    const int upperY = doc_.symbol(upper).y;
    const int newY = upperY + kInsertGap;
    const int shift = std::max(0, upperY + 2 * kInsertGap - doc_.symbol(lower).y);
    // Everything from the new symbol's place down to the block's end moves,
    // the band widening to take in whole symbols.
    Rect band{x - kBodyX, newY, x + kBodyX, blockEnd(x, newY)};
    const std::vector<int> moved = symbolsInBand(band, upper);
    for (const int i : moved)
        if (doc_.symbol(i).y > kColumnFull) {
            messages_.tell("Error de inserción", "Está llena la columna");
            return {};
        }
    std::vector<int> labels;
    for (int i = 0; i < doc_.labelCount(); ++i) {
        const FlowLabel& l = doc_.label(i);
        if (l.x >= band.left && l.x < band.right && l.y >= band.top && l.y < band.bottom)
            labels.push_back(i);
    }

    const FlowDocument before = doc_;
    doc_.clearSelection();
    if (shift > 0) {
        for (const int i : moved) doc_.moveSymbol(i, {doc_.symbol(i).x, doc_.symbol(i).y + shift});
        for (const int i : labels) doc_.moveLabel(i, {doc_.label(i).x, doc_.label(i).y + shift});
        if (!rerouteAttached(moved, {0, shift})) {
            restore(before);
            return {};
        }
    }

    const int added = doc_.appendSymbol(kind, {x, newY});
    doc_.selectSymbol(added);
    doc_.setCurrentSymbol(added);
    if (!redirectInto(upper, lower, added)) {
        restore(before);
        return {};
    }
    releaseTool();
    doc_.setModified();
    return {PressOutcome::OpenSymbolEditor, added};
}

// The end of the block below a new symbol: down the column in rows until five
// rows in a row hold no symbol, or the end of the column.
int ChartEditor::blockEnd(int x, int newY) const
{
    auto rowHasSymbol = [&](int y) {
        for (int i = 0; i < doc_.symbolCount(); ++i) {
            const FlowSymbol& s = doc_.symbol(i);
            if (std::abs(s.x - x) < 2 * kBodyX && s.y >= y && s.y < y + kInsertRow) return true;
        }
        return false;
    };
    int end = newY;
    int empty = 0;
    for (int y = newY; empty < 5; y += kInsertRow) {
        if (y > kColumnEnd - 1) return kColumnEnd;
        if (rowHasSymbol(y)) {
            empty = 0;
            end = y + kInsertRow;
        } else {
            ++empty;
        }
    }
    return end;
}

// The symbols whose bodies overlap the band, widening it sideways to the edges
// of each one found until no new one is found.
std::vector<int> ChartEditor::symbolsInBand(Rect& band, int skip) const
{
    std::vector<int> found;
    for (bool grew = true; grew;) {
        grew = false;
        for (int i = 0; i < doc_.symbolCount(); ++i) {
            if (i == skip || contains(found, i)) continue;
            const Rect b = bodyBox(doc_.symbol(i));
            if (!overlaps(b, band)) continue;
            found.push_back(i);
            band.left = std::min(band.left, b.left);
            band.right = std::max(band.right, b.right);
            grew = true;
        }
    }
    return found;
}

// The line from the upper to the lower symbol now enters the inserted one and,
// unless that is a decision, a plain line goes on from it to the lower one.
// False when routing ran out of connector letters.
bool ChartEditor::redirectInto(int upper, int lower, int added)
{
    LineRouter router(doc_);
    for (int j = 0; j < doc_.lineCount(); ++j) {
        FlowLine& l = doc_.lineRef(j);
        if (l.origin != upper || l.destination != lower) continue;
        l.destination = added;
        if (!router.reroute(j)) return false;
        // An insertion never takes the chart beyond its line capacity.
        if (doc_.symbol(added).kind == SymbolKind::Decision || doc_.linesFull()) return true;
        const auto g = router.route(added, lower, LineKind::Plain);
        if (!g) return false;
        doc_.appendLine(added, lower, LineKind::Plain, *g);
        return true;
    }
    return true;
}

// Lines of moved symbols follow them: both ends moved shifts the whole line;
// one end moved stretches the run at that end when it is vertical, else routes
// again; then anything that now crosses a symbol is routed again. False when
// a line could not be routed for want of a connector letter.
bool ChartEditor::rerouteAttached(const std::vector<int>& moved, Point offset)
{
    LineRouter router(doc_);
    std::vector<int> again;
    for (int j = 0; j < doc_.lineCount(); ++j) {
        const FlowLine& l = doc_.line(j);
        const bool o = contains(moved, l.origin), d = contains(moved, l.destination);
        if (!o && !d) continue;
        if (const auto g = followed(l, o, d, offset))
            doc_.setLineGeometry(j, *g);
        else
            again.push_back(j);
    }
    for (int j = 0; j < doc_.lineCount(); ++j)
        if (!contains(again, j) && lineCrossesSymbols(doc_, doc_.line(j))) again.push_back(j);
    for (const int j : again)
        if (!router.reroute(j)) return false;
    return true;
}

}  // namespace tarvel
