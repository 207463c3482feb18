// Drawing a line with a line tool: a click on the origin, then a click on the
// destination (the line is routed) or clicks on empty space that lay the line
// by hand, corner by corner, until a click on the destination joins it there.

#include <algorithm>
#include <string>

#include "flowchart/captions.h"
#include "flowchart/chart_editor.h"
#include "flowchart/editor_parts.h"
#include "flowchart/line_router.h"
#include "platform/messages.h"

namespace tarvel {

using namespace editing;

namespace {

constexpr int kMaxHandPoints = 6;

bool isStopText(std::string_view text)
{
    return text == "Stop" || text == "Stop All";
}

// A side of the destination a hand-drawn line may end on.
struct Side {
    Point at;
    bool vertical;  // entered by a vertical run
};

long squaredDistance(Point a, Point b)
{
    const long dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// The hand-drawn path joined to a side: the last run stretched level with
// the side and a turn into it, or the last run turned straight into it.
// Empty when the joined path has too many points, a slanted run or a run
// across a symbol.
std::optional<LineGeometry> joinedTo(const FlowDocument& doc, std::vector<Point> path, Side side,
                                     LineKind kind)
{
    const Point last = path.back();
    const bool lastVertical = path[path.size() - 2].x == last.x;
    if (side.vertical == lastVertical) {
        if (lastVertical)
            path.push_back({side.at.x, last.y});
        else
            path.push_back({last.x, side.at.y});
    } else if (lastVertical) {
        path.back().y = side.at.y;
    } else {
        path.back().x = side.at.x;
    }
    path.push_back(side.at);
    path.erase(std::unique(path.begin(), path.end()), path.end());
    if (path.size() > static_cast<std::size_t>(kLinePoints)) return std::nullopt;
    for (std::size_t k = 1; k < path.size(); ++k) {
        if (path[k - 1].x != path[k].x && path[k - 1].y != path[k].y) return std::nullopt;
        if (segmentCrossesSymbol(doc, path[k - 1], path[k])) return std::nullopt;
    }
    LineGeometry g;
    for (auto& q : g.points) q = {kUnusedPointX, -1};
    for (std::size_t k = 0; k < path.size(); ++k) g.points[k] = path[k];
    if (kind != LineKind::Plain) {
        const Point a = path[0], b = path[1];
        g.tag = a.x == b.x ? Point{a.x + 4, b.y > a.y ? a.y + 14 : a.y - 4}
                           : Point{b.x > a.x ? a.x + 4 : a.x - 20, a.y - 2};
    }
    return g;
}

}  // namespace

std::string ChartEditor::prefix() const
{
    switch (tool_) {
        case EditorTool::YesLine:
            return "Línea SI";
        case EditorTool::NoLine:
            return "Línea NO";
        default:
            return "Línea";
    }
}

LineKind ChartEditor::toolLineKind() const
{
    return static_cast<LineKind>(static_cast<int>(tool_) - static_cast<int>(EditorTool::Line));
}

void ChartEditor::setOrigin(int symbol)
{
    if (lineOrigin_ >= 0 && lineOrigin_ < doc_.symbolCount()) {
        FlowSymbol& s = doc_.symbolRef(lineOrigin_);
        if (s.selected == draw::Origin) s.selected = draw::Normal;
    }
    lineOrigin_ = symbol;
    if (symbol >= 0) doc_.symbolRef(symbol).selected = draw::Origin;
}

void ChartEditor::abandonLine()
{
    setOrigin(-1);
    handPath_.clear();
    if (moveState_ == kMoveHandLine) moveState_ = kMoveIdle;
    lineStep_ = isLineTool(tool_) ? 1 : 0;
}

void ChartEditor::documentReplaced()
{
    const bool lineInProgress = lineStep_ >= 2;
    lineOrigin_ = -1;  // an index into the old chart: nothing of it to unmark
    handPath_.clear();
    moveState_ = kMoveIdle;
    lineStep_ = isLineTool(tool_) ? 1 : 0;
    ghost_.reset();
    pressPoint_ = {-1, -1};
    lastLineSearch_ = -1;
    if (lineInProgress) messages_.status(toolPrompt(tool_));
}

void ChartEditor::linePress(Point p)
{
    // An origin that is no symbol of this chart starts the line afresh.
    if (lineStep_ >= 2 && (lineOrigin_ < 0 || lineOrigin_ >= doc_.symbolCount())) abandonLine();
    const int s = symbolAt(p);
    if (lineStep_ <= 1) {
        if (s < 0) {
            messages_.status(prefix() + ": Debe hacer clic sobre un símbolo");
            return;
        }
        lineStepOne(s);
    } else if (s >= 0) {
        lineEnd(s);
    } else if (lineStep_ == 2) {
        handStart(p);
    } else {
        handCorner(p);
    }
}

void ChartEditor::lineStepOne(int s)
{
    const FlowSymbol& sym = doc_.symbol(s);
    const LineKind kind = toolLineKind();
    for (int j = 0; j < doc_.lineCount(); ++j) {
        const FlowLine& l = doc_.line(j);
        if (l.origin != s || l.kind != kind) continue;
        switch (kind) {
            case LineKind::Plain:
                messages_.status("Línea: Ya hay una línea que comienza en este símbolo");
                break;
            case LineKind::Yes:
                messages_.status("Línea SI: Ya hay una línea SI que comienza en este símbolo");
                break;
            case LineKind::No:
                messages_.status("Línea NO: Ya hay una línea NO que comienza en este símbolo");
                break;
        }
        return;
    }
    if (kind != LineKind::Plain && sym.kind != SymbolKind::Decision) {
        messages_.status(prefix() +
                         (kind == LineKind::Yes
                              ? ": No puede tener una línea SI que comienza en este símbolo"
                              : ": No puede tener una línea NO que comienza en este símbolo"));
        return;
    }
    if (kind == LineKind::Plain && sym.kind == SymbolKind::Decision) {
        messages_.status("Línea: No puede tener una línea que comienza en una decisión");
        return;
    }
    if (sym.kind == SymbolKind::StartStop && isStopText(sym.text.view())) {
        messages_.status(prefix() + ": No puede tener una línea que comienza en un símbolo 'Alto'");
        return;
    }
    setOrigin(s);
    lineStep_ = 2;
    messages_.status(prefix() + ": Haga clic donde debe ir la línea");
}

// The first run of a hand-drawn line leaves the origin by the side midpoint
// nearest the point, straight out towards it.
void ChartEditor::handStart(Point p)
{
    const FlowSymbol& o = doc_.symbol(lineOrigin_);
    const Point sides[4] = {bottomSide(o), rightSide(o), leftSide(o), topSide(o)};
    int best = 0;
    long bestD = -1;
    for (int k = 0; k < 4; ++k) {
        const long d = squaredDistance(sides[k], p);
        if (bestD < 0 || d <= bestD) {
            bestD = d;
            best = k;
        }
    }
    const Point from = sides[best];
    const Point to = (best == 0 || best == 3) ? Point{from.x, p.y} : Point{p.x, from.y};
    if (from == to || segmentCrossesSymbol(doc_, from, to)) {
        messages_.status("Una línea no puede cruzar un símbolo, intente de nuevo");
        return;
    }
    handPath_ = {from, to};
    moveState_ = kMoveHandLine;
    lineStep_ = 3;
    messages_.status(prefix() + ": Haga clic en el siguiente vértice de la línea");
}

void ChartEditor::handCorner(Point p)
{
    if (static_cast<int>(handPath_.size()) >= kMaxHandPoints) {
        abandonLine();
        messages_.status("Hay un máximo de 5 esquinas, comienze de nuevo");
        return;
    }
    const Point last = handPath_.back();
    const Point prev = handPath_[handPath_.size() - 2];
    // Turn across the previous run.
    const Point next = prev.x == last.x ? Point{p.x, last.y} : Point{last.x, p.y};
    if (next == last || segmentCrossesSymbol(doc_, last, next)) {
        messages_.status("Una línea no puede cruzar un símbolo, intente de nuevo");
        return;
    }
    handPath_.push_back(next);
    ++lineStep_;
    messages_.status(prefix() + ": Haga clic en el siguiente vértice de la línea");
}

void ChartEditor::lineEnd(int d)
{
    const FlowSymbol& dest = doc_.symbol(d);
    if (dest.kind == SymbolKind::StartStop && !isStopText(dest.text.view())) {
        const std::string text =
            "Una línea no puede ir en la dirección de un símbolo 'Inicie' o 'Sub'";
        messages_.status(lineStep_ == 2 ? prefix() + ": " + text : text);
        return;
    }
    if (doc_.linesFull()) {
        messages_.tell(caption::Warning, "Solamente puede tener 400 líneas");
        return;
    }
    const LineKind kind = toolLineKind();
    const int origin = lineOrigin_;
    const bool byHand = lineStep_ >= 3 && handPath_.size() >= 2;
    std::optional<LineGeometry> geometry;
    if (byHand) geometry = handJoin(d, kind);
    if (!geometry) {
        LineRouter router(doc_);
        geometry = router.route(origin, d, kind);
        if (!geometry) return;  // no letter left: already said
    }
    if (doc_.appendLine(origin, d, kind, *geometry) < 0) return;
    setOrigin(-1);
    handPath_.clear();
    if (moveState_ == kMoveHandLine) moveState_ = kMoveIdle;
    doc_.setModified();
    messages_.status(byHand ? std::string("Haga clic en el origen de la siguiente línea")
                            : prefix() + ": Haga clic en el origen de la siguiente línea");
    lineStep_ = 1;
}

// The hand-drawn path joined to the destination by one of its three sides
// nearest the path's end, nearest first; empty when none joins cleanly and
// the line must be routed.
std::optional<LineGeometry> ChartEditor::handJoin(int d, LineKind kind) const
{
    const FlowSymbol& dest = doc_.symbol(d);
    const Point last = handPath_.back();
    std::vector<Side> sides = {{topSide(dest), true},
                               {bottomSide(dest), true},
                               {leftSide(dest), false},
                               {rightSide(dest), false}};
    std::stable_sort(sides.begin(), sides.end(), [&](const Side& a, const Side& b) {
        return squaredDistance(a.at, last) < squaredDistance(b.at, last);
    });
    for (std::size_t attempt = 0; attempt < 3; ++attempt)
        if (auto g = joinedTo(doc_, handPath_, sides[attempt], kind)) return g;
    return std::nullopt;
}

}  // namespace tarvel
