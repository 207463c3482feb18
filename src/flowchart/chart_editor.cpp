#include "flowchart/chart_editor.h"

#include <algorithm>
#include <cstdlib>

#include "flowchart/captions.h"
#include "flowchart/command_text.h"
#include "flowchart/line_pieces.h"
#include "flowchart/line_router.h"
#include "platform/cp1252.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

// Symbols closer than this in both directions are too close.
constexpr int kCloseX = 120;
constexpr int kCloseY = 70;
// The body used for selecting, moving and the "over a line" tests.
constexpr int kBodyX = 60;
constexpr int kBodyY = 24;
// Insertion: the new symbol goes this far below the upper one; the column is
// searched in rows of this height down to the end of the drawing.
constexpr int kInsertGap = 84;
constexpr int kInsertRow = 28;
constexpr int kColumnEnd = 1760;
constexpr int kColumnFull = 1700;
constexpr int kMaxHandPoints = 6;
constexpr int kLineNear = 10;

const char* toolPrompt(EditorTool t)
{
    switch (t) {
        case EditorTool::StartStop:
            return "Inicie/Alto: Haga clic donde debe ir el Inicie/Alto";
        case EditorTool::Output:
            return "Salida: Haga clic donde debe ir la salida";
        case EditorTool::Process:
            return "Proceso: Haga clic donde debe ir el proceso";
        case EditorTool::Decision:
            return "Decisión: Haga clic donde debe ir la decisión";
        case EditorTool::Label:
            return "Etiqueta: Haga clic donde debe ir el etiqueta";
        case EditorTool::MoveEdit:
            return "Mover/Editar: Haga clic en el objeto que quiere mover o editar";
        case EditorTool::Line:
            return "Línea: Haga clic en el origen de la línea";
        case EditorTool::YesLine:
            return "Línea SI: Haga clic en el origen de la línea";
        case EditorTool::NoLine:
            return "Línea NO: Haga clic en el origen de la línea";
        default:
            return "";
    }
}

bool isLineTool(EditorTool t)
{
    return t == EditorTool::Line || t == EditorTool::YesLine || t == EditorTool::NoLine;
}

bool isSymbolTool(EditorTool t)
{
    return t == EditorTool::StartStop || t == EditorTool::Output || t == EditorTool::Process ||
           t == EditorTool::Decision;
}

bool isStopText(std::string_view text)
{
    return text == "Stop" || text == "Stop All";
}

bool overlaps(const Rect& a, const Rect& b)
{
    return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

Rect bodyBox(const FlowSymbol& s)
{
    return {s.x - kBodyX, s.y - kBodyY, s.x + kBodyX, s.y + kBodyY};
}

// Whether a segment runs through the body of a symbol centred at c: a
// vertical one strictly within x ± 60 reaching into y ± 24, a horizontal one
// strictly within y ± 24 reaching into x ± 60.
bool segmentOverBody(Point a, Point b, Point c)
{
    if (a.x == b.x) {
        if (a.x <= c.x - kBodyX || a.x >= c.x + kBodyX) return false;
        return std::min(a.y, b.y) <= c.y + kBodyY && std::max(a.y, b.y) >= c.y - kBodyY;
    }
    if (a.y == b.y) {
        if (a.y <= c.y - kBodyY || a.y >= c.y + kBodyY) return false;
        return std::min(a.x, b.x) <= c.x + kBodyX && std::max(a.x, b.x) >= c.x - kBodyX;
    }
    return false;
}

// The box of a line's points up to its connector mark or its end; empty for
// a line with nothing drawn there.
std::optional<Rect> firstStubBox(const FlowLine& l)
{
    std::optional<Rect> box;
    const auto add = [&box](Point q) {
        box = box ? Rect{std::min(box->left, q.x), std::min(box->top, q.y),
                         std::max(box->right, q.x), std::max(box->bottom, q.y)}
                  : Rect{q.x, q.y, q.x, q.y};
    };
    for (const LinePiece& piece : LinePieces(l)) {
        if (piece.kind == LinePiece::Kind::CircleBefore) break;
        add(piece.from);
        if (!piece.isSegment()) break;
        add(piece.to);
    }
    return box;
}

LineGeometry shifted(LineGeometry g, Point by)
{
    for (Point& p : g.points) {
        if (p.x == kUnusedPointX) break;
        if (p.x == kConnectorMarkX) continue;
        p.x += by.x;
        p.y += by.y;
    }
    if (g.tag.x >= 0) {
        g.tag.x += by.x;
        g.tag.y += by.y;
    }
    return g;
}

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

ChartEditor::ChartEditor(FlowDocument& doc, Messages& messages, LabelWidthFn labelWidth)
    : doc_(doc), messages_(messages), labelWidth_(std::move(labelWidth))
{
}

Point ChartEditor::snap(Point p)
{
    return FlowDocument::snapToGrid(p);
}

// ---- Tools ------------------------------------------------------------------------

bool ChartEditor::chooseTool(EditorTool tool, bool running)
{
    if (running || moving()) return false;
    if (isLineTool(tool) && doc_.linesFull()) {
        messages_.tell(caption::Warning, "Solamente puede tener 400 líneas");
        return false;
    }
    abandonLine();
    doc_.clearSelection();
    ghost_.reset();
    tool_ = tool;
    lineStep_ = isLineTool(tool) ? 1 : 0;
    messages_.status({});
    messages_.status(toolPrompt(tool));
    return true;
}

void ChartEditor::releaseTool()
{
    tool_ = EditorTool::None;
    ghost_.reset();
}

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

// ---- Lookups --------------------------------------------------------------------------

int ChartEditor::symbolAt(Point p) const
{
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        const FlowSymbol& s = doc_.symbol(i);
        if (p.x > s.x - kBodyX && p.x < s.x + kBodyX && p.y > s.y - kBodyY && p.y < s.y + kBodyY)
            return i;
    }
    return -1;
}

Rect ChartEditor::labelBox(const FlowLabel& l) const
{
    const int w = l.text.empty() ? 4 : labelWidth_(l);
    return {l.x, l.y, l.x + w, l.y + 7 * (l.size + 1)};
}

int ChartEditor::labelAt(Point p) const
{
    for (int i = 0; i < doc_.labelCount(); ++i) {
        const Rect r = labelBox(doc_.label(i));
        if (p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom) return i;
    }
    return -1;
}

int ChartEditor::lineNear(Point p)
{
    const int n = doc_.lineCount();
    for (int step = 1; step <= n; ++step) {
        const int i = (lastLineSearch_ + step) % n;
        const std::optional<Rect> found = firstStubBox(doc_.line(i));
        if (!found) continue;
        const Rect& box = *found;
        if (p.x >= box.left - kLineNear && p.x <= box.right + kLineNear &&
            p.y >= box.top - kLineNear && p.y <= box.bottom + kLineNear) {
            lastLineSearch_ = i;
            return i;
        }
    }
    return -1;
}

bool ChartEditor::tooClose(Point c, int ignore) const
{
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        if (i == ignore) continue;
        const FlowSymbol& s = doc_.symbol(i);
        if (std::abs(s.x - c.x) < kCloseX && std::abs(s.y - c.y) < kCloseY) return true;
    }
    return false;
}

bool ChartEditor::tooClose(Point c, const std::vector<int>& ignore) const
{
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        if (std::find(ignore.begin(), ignore.end(), i) != ignore.end()) continue;
        const FlowSymbol& s = doc_.symbol(i);
        if (std::abs(s.x - c.x) < kCloseX && std::abs(s.y - c.y) < kCloseY) return true;
    }
    return false;
}

bool ChartEditor::overLine(Point c, const std::function<bool(const FlowLine&)>& skip) const
{
    for (int i = 0; i < doc_.lineCount(); ++i) {
        const FlowLine& l = doc_.line(i);
        if (skip && skip(l)) continue;
        for (const LinePiece& piece : LinePieces(l))
            if (piece.isSegment() && segmentOverBody(piece.from, piece.to, c)) return true;
    }
    return false;
}

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

// ---- Placing -------------------------------------------------------------------------

PressOutcome ChartEditor::placeSymbol(Point p)
{
    const Point c = snap(p);
    const auto kind = static_cast<SymbolKind>(static_cast<int>(tool_));
    const bool near = tooClose(c, -1);
    if (near || overLine(c, {})) {
        const auto [upper, lower] = columnNeighbours(c);
        if (upper >= 0 && lower >= 0 && columnBandFree(c.x, upper, lower)) {
            if (kind == SymbolKind::StartStop) {
                messages_.tell(caption::Warning, "No se puede insertar un Inicie/Alto");
                return {};
            }
            return insertBetween(upper, lower, kind, c.x);
        }
        messages_.tell(
            caption::Warning,
            near ? "No se puede poner un símbolo nuevo demasiado cerca a un símbolo previo"
                 : "You cannot place a new symbol over a line");
        return {};
    }
    const int i = doc_.appendSymbol(kind, c);
    if (i < 0) return {};
    doc_.clearSelection();
    doc_.selectSymbol(i);
    doc_.setCurrentSymbol(i);
    releaseTool();
    doc_.setModified();
    return {PressOutcome::OpenSymbolEditor, i};
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
            if (i == skip || std::find(found.begin(), found.end(), i) != found.end()) continue;
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

// An edit whose lines could not all be routed again, for want of a connector
// letter (the router has said "Ya no hay más letras"), is undone whole rather
// than leave a line pointing where its symbol no longer is.
void ChartEditor::restore(const FlowDocument& before)
{
    doc_.revertTo(before);
}

// Lines of moved symbols follow them: both ends moved shifts the whole line;
// one end moved stretches the run at that end when it is vertical, else routes
// again; then anything that now crosses a symbol is routed again. False when
// a line could not be routed for want of a connector letter.
bool ChartEditor::rerouteAttached(const std::vector<int>& moved, Point offset)
{
    auto isMoved = [&](int s) { return std::find(moved.begin(), moved.end(), s) != moved.end(); };
    LineRouter router(doc_);
    std::vector<int> again;
    for (int j = 0; j < doc_.lineCount(); ++j) {
        const FlowLine& l = doc_.line(j);
        const bool o = isMoved(l.origin), d = isMoved(l.destination);
        if (!o && !d) continue;
        if (const auto g = followed(l, o, d, offset))
            doc_.setLineGeometry(j, *g);
        else
            again.push_back(j);
    }
    for (int j = 0; j < doc_.lineCount(); ++j)
        if (std::find(again.begin(), again.end(), j) == again.end() &&
            lineCrossesSymbols(doc_, doc_.line(j)))
            again.push_back(j);
    for (const int j : again)
        if (!router.reroute(j)) return false;
    return true;
}

PressOutcome ChartEditor::placeLabel(Point p)
{
    // The limit comes first, even where the empty last label could be reused.
    if (doc_.labelsFull()) {
        messages_.tell(caption::Warning, "Solo se puede tener 100 etiquetas");
        return {};
    }
    int i = -1;
    if (doc_.selectedLabels().size() == 1 && doc_.labelCount() > 0 &&
        doc_.label(doc_.labelCount() - 1).text.empty()) {
        i = doc_.labelCount() - 1;  // reuse the empty label left by the last try
    } else {
        i = doc_.appendLabel({p.x, p.y - 14});
        if (i < 0) return {};
    }
    FlowLabel& l = doc_.labelRef(i);
    l.size = 1;
    l.text.clear();
    doc_.moveLabel(i, {p.x, p.y - 14});
    doc_.clearSelection();
    doc_.selectLabel(i);
    doc_.setCurrentLabel(i);
    doc_.setModified();
    return {PressOutcome::OpenLabelEditor, i};
}

// ---- Move/edit -----------------------------------------------------------------------

PressOutcome ChartEditor::moveEditPress(Point p)
{
    if (const int l = labelAt(p); l >= 0) {
        if (doc_.isLabelSelected(l)) return {};
        doc_.clearSelection();
        doc_.selectLabel(l);
        doc_.setCurrentLabel(l);
        return {PressOutcome::DelayedLabelEditor, l};
    }
    if (const int s = symbolAt(p); s >= 0) {
        if (doc_.isSymbolSelected(s)) return {};
        doc_.clearSelection();
        doc_.selectSymbol(s);
        doc_.setCurrentSymbol(s);
        return {PressOutcome::DelayedSymbolEditor, s};
    }
    if (const int line = lineNear(p); line >= 0) {
        doc_.clearSelection();
        doc_.setSelectedLine(line);
        return {};
    }
    doc_.clearSelection();
    messages_.status({});
    return {};
}

PressOutcome ChartEditor::press(Point p, bool running)
{
    if (running) return {};
    pressPoint_ = p;
    if (isSymbolTool(tool_)) {
        if (moving()) return {};
        return placeSymbol(p);
    }
    switch (tool_) {
        case EditorTool::Label:
            return placeLabel(p);
        case EditorTool::MoveEdit:
            if (moving()) return {};
            return moveEditPress(p);
        case EditorTool::Line:
        case EditorTool::YesLine:
        case EditorTool::NoLine:
            linePress(p);
            return {};
        default:
            return {};
    }
}

PressOutcome ChartEditor::rightPress(Point p, bool running)
{
    if (running) return {};
    if (tool_ != EditorTool::MoveEdit) {
        if (moving()) return {};
        abandonLine();
        ghost_.reset();
        tool_ = EditorTool::MoveEdit;
        lineStep_ = 0;
        messages_.status("Mover/Editar: Haga clic en el objeto para mover o editar");
    }
    return press(p, running);
}

void ChartEditor::startDrag(Point p, bool copy, bool running)
{
    if (running || tool_ != EditorTool::MoveEdit || moving()) return;
    pressPoint_ = p;
    pointer_ = p;
    const int s = symbolAt(p);
    const int l = labelAt(p);
    const auto& symbols = doc_.selectedSymbols();
    if (symbols.size() == 1 && doc_.selectedLabels().empty() && s >= 0 && s == symbols.front() &&
        l < 0) {
        moveState_ = s;
        for (int j = 0; j < doc_.lineCount(); ++j) {
            FlowLine& line = doc_.lineRef(j);
            if (line.origin == s || line.destination == s) {
                line.selected = draw::Guide;
            }
        }
        ghost_ = snap(p);
        return;
    }
    if ((s >= 0 && doc_.isSymbolSelected(s)) || (l >= 0 && doc_.isLabelSelected(l))) {
        moveState_ = copy ? kMoveGroupCopy : kMoveGroup;
        return;
    }
    doc_.clearSelection();
    moveState_ = kMoveRubberBand;
}

void ChartEditor::pointerMoved(Point p)
{
    pointer_ = p;
    if ((isSymbolTool(tool_) && !moving()) || moveState_ >= 0) {
        const Point g = snap(p);
        if (g.x < -9 || g.y < -9)
            ghost_.reset();
        else
            ghost_ = g;
    }
}

void ChartEditor::release(Point p)
{
    pointer_ = p;
    const int state = moveState_;
    if (state >= 0) {
        moveState_ = kMoveIdle;
        ghost_.reset();
        for (int j = 0; j < doc_.lineCount(); ++j) {
            FlowLine& line = doc_.lineRef(j);
            if (line.selected == draw::Guide) line.selected = draw::Normal;
        }
        dropSymbol(state, p);
    } else if (state == kMoveRubberBand) {
        selectInBand();
        moveState_ = kMoveIdle;
    } else if (state == kMoveGroup || state == kMoveGroupCopy) {
        dropGroup(state == kMoveGroupCopy);
        moveState_ = kMoveIdle;
    }
}

std::optional<Point> ChartEditor::ghost() const
{
    return ghost_;
}

SymbolKind ChartEditor::ghostKind() const
{
    if (moveState_ >= 0 && moveState_ < doc_.symbolCount()) return doc_.symbol(moveState_).kind;
    if (isSymbolTool(tool_)) return static_cast<SymbolKind>(static_cast<int>(tool_));
    return SymbolKind::Process;
}

std::optional<Rect> ChartEditor::rubberBand() const
{
    if (moveState_ != kMoveRubberBand) return std::nullopt;
    return Rect{std::min(pressPoint_.x, pointer_.x), std::min(pressPoint_.y, pointer_.y),
                std::max(pressPoint_.x, pointer_.x), std::max(pressPoint_.y, pointer_.y)};
}

std::optional<Point> ChartEditor::groupOffset() const
{
    if (moveState_ != kMoveGroup && moveState_ != kMoveGroupCopy) return std::nullopt;
    // Whole grid steps, so moved symbols stay on the grid.
    auto round = [](int v, int step) {
        return (v >= 0 ? (v + step / 2) / step : -((-v + step / 2) / step)) * step;
    };
    return Point{round(pointer_.x - pressPoint_.x, kGridX),
                 round(pointer_.y - pressPoint_.y, kGridY)};
}

void ChartEditor::selectInBand()
{
    const auto band = rubberBand();
    if (!band) return;
    for (int i = 0; i < doc_.symbolCount(); ++i)
        if (overlaps(bodyBox(doc_.symbol(i)), *band)) doc_.selectSymbol(i);
    for (int i = 0; i < doc_.labelCount(); ++i)
        if (overlaps(labelBox(doc_.label(i)), *band)) doc_.selectLabel(i);
}

void ChartEditor::dropSymbol(int index, Point p)
{
    if (index < 0 || index >= doc_.symbolCount()) return;
    const Point c = snap(p);
    const FlowSymbol& s = doc_.symbol(index);
    if (c.x == s.x && c.y == s.y) return;
    if (c.x < 0 || c.y < 0 || c.x > kDrawingWidth || c.y > kDrawingHeight) return;
    if (tooClose(c, index)) {
        messages_.tell(caption::Warning,
                       "No se puede posicionar un símbolo demasiado cerca a un símbolo previo");
        return;
    }
    if (overLine(c, [index](const FlowLine& l) {
            return l.origin == index || l.destination == index;
        })) {
        messages_.tell(caption::Warning, "No se puede posicionar un símbolo sobre una línea");
        return;
    }
    const FlowDocument before = doc_;
    doc_.moveSymbol(index, c);
    doc_.deselectSymbol(index);
    LineRouter router(doc_);
    for (int j = 0; j < doc_.lineCount(); ++j) {
        const FlowLine& l = doc_.line(j);
        if (l.origin != index && l.destination != index) continue;
        if (!router.reroute(j)) return restore(before);
    }
    tool_ = EditorTool::MoveEdit;
    doc_.clearSelection();
    doc_.setModified();
}

void ChartEditor::dropGroup(bool copy)
{
    const auto offset = groupOffset();
    if (!offset || (offset->x == 0 && offset->y == 0)) return;
    const Point o = *offset;
    const std::vector<int> symbols = doc_.selectedSymbols();
    const std::vector<int> labels = doc_.selectedLabels();
    auto isSelected = [&](int s) {
        return std::find(symbols.begin(), symbols.end(), s) != symbols.end();
    };

    for (const int i : symbols) {
        const FlowSymbol& s = doc_.symbol(i);
        const Point c{s.x + o.x, s.y + o.y};
        if (c.x < 0 || c.y < 0 || c.x > kDrawingWidth || c.y > kDrawingHeight) return;
        // Moved symbols go with each other; copies must keep clear of everything.
        if (copy ? tooClose(c, -1) : tooClose(c, symbols)) {
            messages_.tell(caption::Message,
                           "No se puede posicionar un símbolo demasiado cerca a un símbolo previo");
            return;
        }
        const bool over = copy ? overLine(c, {}) : overLine(c, [&](const FlowLine& l) {
            return isSelected(l.origin) || isSelected(l.destination);
        });
        if (over) {
            messages_.tell(caption::Message, "No se puede posicionar un símbolo sobre una línea");
            return;
        }
    }
    for (const int i : labels) {
        const FlowLabel& l = doc_.label(i);
        if (l.x + o.x < 0 || l.y + o.y < 0) return;
    }

    const FlowDocument before = doc_;
    if (!copy) {
        for (const int i : symbols)
            doc_.moveSymbol(i, {doc_.symbol(i).x + o.x, doc_.symbol(i).y + o.y});
        for (const int i : labels)
            doc_.moveLabel(i, {doc_.label(i).x + o.x, doc_.label(i).y + o.y});
        // Lines between moved symbols move with them; the others are routed again.
        LineRouter router(doc_);
        for (int j = 0; j < doc_.lineCount(); ++j) {
            const FlowLine& l = doc_.line(j);
            const bool a = isSelected(l.origin), b = isSelected(l.destination);
            if (!a && !b) continue;
            if (a && b)
                doc_.setLineGeometry(j, shifted(l.geometry, o));
            else if (!router.reroute(j))
                return restore(before);
        }
        doc_.setModified();
        return;
    }

    // A copy: check every table's room first, so a refusal changes nothing.
    int lines = 0;
    for (int j = 0; j < doc_.lineCount(); ++j)
        if (isSelected(doc_.line(j).origin) && isSelected(doc_.line(j).destination)) ++lines;
    if (doc_.symbolCount() + static_cast<int>(symbols.size()) > kMaxSymbols) {
        messages_.tell(caption::Warning, "No se puede tener más que 220 símbolos");
        return;
    }
    if (doc_.labelCount() + static_cast<int>(labels.size()) > kMaxLabels) {
        messages_.tell(caption::Warning, "Solo se puede tener 100 etiquetas");
        return;
    }
    if (doc_.lineCount() + lines > kMaxLines) {
        messages_.tell(caption::Warning, "Solamente puede tener 400 líneas");
        return;
    }
    std::vector<int> copyOf(static_cast<std::size_t>(doc_.symbolCount()), -1);
    std::vector<int> newSymbols, newLabels;
    bool subs = false;
    for (const int i : symbols) {
        const FlowSymbol original = doc_.symbol(i);
        const int n = doc_.appendSymbol(original.kind, {original.x + o.x, original.y + o.y});
        copyOf[static_cast<std::size_t>(i)] = n;
        newSymbols.push_back(n);
        if (doc_.isSubHead(i)) {
            // A copied subroutine head takes the lowest number not in use.
            const std::vector<int> used = doc_.subHeads();
            int number = 0;
            for (int k = 1; k <= kMaxSubNumber; ++k)
                if (std::find(used.begin(), used.end(), k) == used.end()) {
                    number = k;
                    break;
                }
            doc_.setSymbolText(n, "Sub " + std::to_string(number));
            subs = true;
        } else {
            doc_.setSymbolText(n, original.text.view());
        }
    }
    for (const int i : labels) {
        const FlowLabel original = doc_.label(i);
        const int n = doc_.appendLabel({original.x + o.x, original.y + o.y});
        doc_.labelRef(n).size = original.size;
        doc_.setLabelText(n, original.text.view());
        newLabels.push_back(n);
    }
    LineRouter router(doc_);
    const int existing = doc_.lineCount();
    for (int j = 0; j < existing; ++j) {
        const FlowLine original = doc_.line(j);
        if (!isSelected(original.origin) || !isSelected(original.destination)) continue;
        const int from = copyOf[static_cast<std::size_t>(original.origin)];
        const int to = copyOf[static_cast<std::size_t>(original.destination)];
        LineGeometry g = shifted(original.geometry, o);
        if (original.hasConnector()) {
            // A copied connector needs its own letter: route it afresh.
            const auto routed = router.route(from, to, original.kind);
            if (!routed) return restore(before);
            g = *routed;
        }
        doc_.appendLine(from, to, original.kind, g);
    }
    // The copies become the selection, ready to be moved on.
    doc_.clearSelection();
    for (const int n : newSymbols) doc_.selectSymbol(n);
    for (const int n : newLabels) doc_.selectLabel(n);
    doc_.setModified();
    if (subs && doc_.observer()) doc_.observer()->subroutinesChanged();
}

std::string ChartEditor::hoverPrompt(Point p) const
{
    const int s = symbolAt(p);
    if (s < 0) return "Mover/Editar: Haga clic en el objeto que desea mover o editar";
    const FlowSymbol& sym = doc_.symbol(s);
    return "Mover/Editar '" + cp1252ToUtf8(symbolCaption(sym.kind, sym.text.view())) + "'";
}

// ---- Lines -----------------------------------------------------------------------------

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
        return;
    }
    if (lineStep_ == 2) {
        if (s >= 0) {
            lineEnd(s);
            return;
        }
        // Hand drawing: leave by the side midpoint nearest the point.
        const FlowSymbol& o = doc_.symbol(lineOrigin_);
        const Point sides[4] = {bottomSide(o), rightSide(o), leftSide(o), topSide(o)};
        int best = 0;
        long bestD = -1;
        for (int k = 0; k < 4; ++k) {
            const long dx = sides[k].x - p.x, dy = sides[k].y - p.y;
            const long d = dx * dx + dy * dy;
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
        return;
    }
    if (s >= 0) {
        lineEnd(s);
        return;
    }
    handCorner(p);
}

void ChartEditor::lineStepOne(int s)
{
    const FlowSymbol& sym = doc_.symbol(s);
    const auto kind =
        static_cast<LineKind>(static_cast<int>(tool_) - static_cast<int>(EditorTool::Line));
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
    const auto kind =
        static_cast<LineKind>(static_cast<int>(tool_) - static_cast<int>(EditorTool::Line));
    const int origin = lineOrigin_;
    std::optional<LineGeometry> geometry;
    const bool byHand = lineStep_ >= 3 && handPath_.size() >= 2;
    if (byHand) {
        // Join the last run to the nearest side of the destination, trying the
        // nearer sides first; a path that still crosses a symbol is routed.
        const Point last = handPath_.back();
        const Point prev = handPath_[handPath_.size() - 2];
        const bool lastVertical = prev.x == last.x;
        struct Side {
            Point at;
            bool vertical;  // entered by a vertical run
        };
        std::vector<Side> sides = {{topSide(dest), true},
                                   {bottomSide(dest), true},
                                   {leftSide(dest), false},
                                   {rightSide(dest), false}};
        std::stable_sort(sides.begin(), sides.end(), [&](const Side& a, const Side& b) {
            const long da = long(a.at.x - last.x) * (a.at.x - last.x) +
                            long(a.at.y - last.y) * (a.at.y - last.y);
            const long db = long(b.at.x - last.x) * (b.at.x - last.x) +
                            long(b.at.y - last.y) * (b.at.y - last.y);
            return da < db;
        });
        for (int attempt = 0; attempt < 3 && !geometry; ++attempt) {
            const Side side = sides[static_cast<std::size_t>(attempt)];
            std::vector<Point> path = handPath_;
            if (side.vertical == lastVertical) {
                // Stretch the last run level with the side, then a turn into it.
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
            // Drop repeated points.
            path.erase(std::unique(path.begin(), path.end()), path.end());
            if (path.size() > static_cast<std::size_t>(kLinePoints)) continue;
            bool clear = true;
            for (std::size_t k = 1; k < path.size() && clear; ++k) {
                if (path[k - 1].x != path[k].x && path[k - 1].y != path[k].y)
                    clear = false;
                else if (segmentCrossesSymbol(doc_, path[k - 1], path[k]))
                    clear = false;
            }
            if (!clear) continue;
            LineGeometry g;
            for (auto& q : g.points) q = {kUnusedPointX, -1};
            for (std::size_t k = 0; k < path.size(); ++k) g.points[k] = path[k];
            if (kind != LineKind::Plain) {
                const Point a = path[0], b = path[1];
                g.tag = a.x == b.x ? Point{a.x + 4, b.y > a.y ? a.y + 14 : a.y - 4}
                                   : Point{b.x > a.x ? a.x + 4 : a.x - 20, a.y - 2};
            }
            geometry = g;
        }
    }
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

// ---- Commands ---------------------------------------------------------------------------

bool ChartEditor::canDelete() const
{
    return !doc_.selectedSymbols().empty() || !doc_.selectedLabels().empty() ||
           doc_.selectedLine() >= 0 || moveState_ == kMoveHandLine;
}

void ChartEditor::deleteCommand()
{
    if (moveState_ == kMoveHandLine) {
        abandonLine();
        messages_.status("Haga clic en el origen de la línea");
        return;
    }
    if (moving()) return;
    doc_.deleteSelection();
    lastLineSearch_ = -1;
}

void ChartEditor::align(AlignMode mode)
{
    const std::vector<int>& labels = doc_.selectedLabels();
    if (labels.empty()) return;
    int left = 1 << 30, right = -(1 << 30), top = 1 << 30, bottom = -(1 << 30);
    for (const int i : labels) {
        const Rect r = labelBox(doc_.label(i));
        left = std::min(left, r.left);
        right = std::max(right, r.right);
        top = std::min(top, r.top);
        bottom = std::max(bottom, r.bottom);
    }
    for (const int i : labels) {
        const Rect r = labelBox(doc_.label(i));
        const int width = r.right - r.left;
        Point to{r.left, r.top};
        switch (mode) {
            case AlignMode::Left:
                to.x = left;
                break;
            case AlignMode::Right:
                to.x = right - width;
                break;
            case AlignMode::Centre:
                to.x = (left + right) / 2 - width / 2;
                break;
            case AlignMode::Top:
                to.y = top;
                break;
            case AlignMode::Bottom:
                to.y = bottom - (r.bottom - r.top);
                break;
        }
        doc_.moveLabel(i, to);
    }
    doc_.setModified();
}

}  // namespace tarvel
