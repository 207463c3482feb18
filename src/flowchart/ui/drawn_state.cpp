#include "flowchart/ui/drawn_state.h"

#include <algorithm>

#include "flowchart/ui/chart_shapes.h"
#include "flowchart/ui/flow_painter.h"

namespace tarvel {

namespace {

bool same(const FlowSymbol& a, const FlowSymbol& b)
{
    return a.kind == b.kind && a.x == b.x && a.y == b.y && a.selected == b.selected &&
           a.text == b.text;
}

bool same(const FlowLine& a, const FlowLine& b)
{
    return a.kind == b.kind && a.selected == b.selected && a.geometry.tag == b.geometry.tag &&
           a.geometry.points == b.geometry.points;
}

bool same(const FlowLabel& a, const FlowLabel& b)
{
    return a.size == b.size && a.x == b.x && a.y == b.y && a.text == b.text;
}

// Entries compared by index: one that differs, or that is only on one side,
// is repainted where it was and where it is.
template <typename T, typename Same, typename Area>
void compare(const std::vector<T>& before, const std::vector<T>& after, Same sameEntry, Area area,
             std::vector<Rect>& out)
{
    const std::size_t n = std::max(before.size(), after.size());
    for (std::size_t i = 0; i < n; ++i) {
        const bool inBefore = i < before.size(), inAfter = i < after.size();
        if (inBefore && inAfter && sameEntry(before[i], after[i])) continue;
        if (inBefore) out.push_back(area(before[i]));
        if (inAfter) out.push_back(area(after[i]));
    }
}

Rect outlineAt(SymbolKind kind, Point centre)
{
    FlowSymbol s;
    s.kind = kind;
    s.x = centre.x;
    s.y = centre.y;
    return symbolBody(s);
}

}  // namespace

DrawnState::DrawnState(const FlowDocument& doc, const ChartEditor& editor, bool chart)
{
    if (const auto g = editor.ghost()) outlines_.push_back(outlineAt(editor.ghostKind(), *g));
    if (const auto band = editor.rubberBand())
        outlines_.push_back({band->left, band->top, band->right + 1, band->bottom + 1});
    if (const auto offset = editor.groupOffset()) {
        for (const int i : doc.selectedSymbols()) {
            if (i < 0 || i >= doc.symbolCount()) continue;
            const FlowSymbol& s = doc.symbol(i);
            outlines_.push_back(outlineAt(s.kind, {s.x + offset->x, s.y + offset->y}));
        }
    }
    const auto& path = editor.handPath();
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Point a = path[i - 1], b = path[i];
        outlines_.push_back({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
                             std::max(a.y, b.y) + 1});
    }
    if (!chart) return;

    symbols_.reserve(static_cast<std::size_t>(doc.symbolCount()));
    for (int i = 0; i < doc.symbolCount(); ++i) symbols_.push_back(doc.symbol(i));
    lines_.reserve(static_cast<std::size_t>(doc.lineCount()));
    for (int i = 0; i < doc.lineCount(); ++i) lines_.push_back(doc.line(i));
    // Label frames are hidden while something moves.
    labels_.reserve(static_cast<std::size_t>(doc.labelCount()));
    for (int i = 0; i < doc.labelCount(); ++i) {
        const bool selected = std::find(doc.selectedLabels().begin(), doc.selectedLabels().end(),
                                        i) != doc.selectedLabels().end();
        labels_.push_back({doc.label(i), selected && !editor.moving()});
    }
}

std::vector<Rect> DrawnState::changes(const DrawnState& before, const DrawnState& after,
                                      const FlowPainter& painter)
{
    std::vector<Rect> out;
    compare(
        before.symbols_, after.symbols_,
        [](const FlowSymbol& a, const FlowSymbol& b) { return same(a, b); },
        [&](const FlowSymbol& s) { return painter.drawnArea(s); }, out);
    compare(
        before.lines_, after.lines_,
        [](const FlowLine& a, const FlowLine& b) { return same(a, b); },
        [&](const FlowLine& l) { return painter.drawnArea(l); }, out);
    compare(
        before.labels_, after.labels_,
        [](const LabelShown& a, const LabelShown& b) {
            return a.framed == b.framed && same(a.label, b.label);
        },
        [&](const LabelShown& l) { return painter.drawnArea(l.label); }, out);
    if (before.outlines_ != after.outlines_) {
        out.insert(out.end(), before.outlines_.begin(), before.outlines_.end());
        out.insert(out.end(), after.outlines_.begin(), after.outlines_.end());
    }
    return out;
}

}  // namespace tarvel
