#include "flowchart/chart_editor.h"

#include <algorithm>
#include <cstdlib>

#include "flowchart/captions.h"
#include "flowchart/editor_parts.h"
#include "flowchart/line_pieces.h"
#include "flowchart/line_router.h"
#include "platform/cp1252.h"
#include "platform/messages.h"

namespace tarvel {

namespace editing {

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

}  // namespace editing

using namespace editing;

namespace {

// Symbols closer than this in both directions are too close.
constexpr int kCloseX = 120;
constexpr int kCloseY = 70;
constexpr int kLineNear = 10;

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

// An edit whose lines could not all be routed again, for want of a connector
// letter (the router has said "Ya no hay más letras"), is undone whole rather
// than leave a line pointing where its symbol no longer is.
void ChartEditor::restore(const FlowDocument& before)
{
    doc_.revertTo(before);
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

std::string ChartEditor::hoverPrompt(Point p) const
{
    const int s = symbolAt(p);
    if (s < 0) return "Mover/Editar: Haga clic en el objeto que desea mover o editar";
    const FlowSymbol& sym = doc_.symbol(s);
    return "Mover/Editar '" + cp1252ToUtf8(symbolCaption(sym.kind, sym.text.view())) + "'";
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
