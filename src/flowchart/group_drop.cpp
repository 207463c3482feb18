// Dropping a selected group of symbols and labels that was dragged: moved,
// its inner lines going with it and the others routed again, or copied
// (with Shift), the copies becoming the selection.

#include <string>

#include "flowchart/captions.h"
#include "flowchart/chart_editor.h"
#include "flowchart/command_text.h"
#include "flowchart/editor_parts.h"
#include "flowchart/line_router.h"
#include "platform/messages.h"

namespace tarvel {

using namespace editing;

void ChartEditor::dropGroup(bool copy)
{
    const auto offset = groupOffset();
    if (!offset || (offset->x == 0 && offset->y == 0)) return;
    const std::vector<int> symbols = doc_.selectedSymbols();
    const std::vector<int> labels = doc_.selectedLabels();
    if (!groupLands(*offset, copy, symbols, labels)) return;
    if (copy)
        copyGroup(*offset, symbols, labels);
    else
        moveGroup(*offset, symbols, labels);
}

// Whether every symbol of the group lands inside the drawing, clear of the
// other symbols and off every line, and every label inside the drawing.
// Moved symbols go with each other and their own lines; copies must keep
// clear of everything.
bool ChartEditor::groupLands(Point o, bool copy, const std::vector<int>& symbols,
                             const std::vector<int>& labels) const
{
    const auto ownLine = [&](const FlowLine& l) {
        return contains(symbols, l.origin) || contains(symbols, l.destination);
    };
    for (const int i : symbols) {
        const FlowSymbol& s = doc_.symbol(i);
        const Point c{s.x + o.x, s.y + o.y};
        if (c.x < 0 || c.y < 0 || c.x > kDrawingWidth || c.y > kDrawingHeight) return false;
        if (copy ? tooClose(c, -1) : tooClose(c, symbols)) {
            messages_.tell(caption::Message,
                           "No se puede posicionar un símbolo demasiado cerca a un símbolo previo");
            return false;
        }
        if (copy ? overLine(c, {}) : overLine(c, ownLine)) {
            messages_.tell(caption::Message, "No se puede posicionar un símbolo sobre una línea");
            return false;
        }
    }
    for (const int i : labels) {
        const FlowLabel& l = doc_.label(i);
        if (l.x + o.x < 0 || l.y + o.y < 0) return false;
    }
    return true;
}

// Lines between moved symbols move with them; the others are routed again.
void ChartEditor::moveGroup(Point o, const std::vector<int>& symbols,
                            const std::vector<int>& labels)
{
    const FlowDocument before = doc_;
    for (const int i : symbols)
        doc_.moveSymbol(i, {doc_.symbol(i).x + o.x, doc_.symbol(i).y + o.y});
    for (const int i : labels) doc_.moveLabel(i, {doc_.label(i).x + o.x, doc_.label(i).y + o.y});
    LineRouter router(doc_);
    for (int j = 0; j < doc_.lineCount(); ++j) {
        const FlowLine& l = doc_.line(j);
        const bool a = contains(symbols, l.origin), b = contains(symbols, l.destination);
        if (!a && !b) continue;
        if (a && b)
            doc_.setLineGeometry(j, shifted(l.geometry, o));
        else if (!router.reroute(j))
            return restore(before);
    }
    doc_.setModified();
}

void ChartEditor::copyGroup(Point o, const std::vector<int>& symbols,
                            const std::vector<int>& labels)
{
    if (!roomForCopies(symbols, labels)) return;
    const FlowDocument before = doc_;
    bool subs = false;
    const std::vector<int> copyOf = copySymbols(o, symbols, subs);
    std::vector<int> newLabels;
    for (const int i : labels) {
        const FlowLabel original = doc_.label(i);
        const int n = doc_.appendLabel({original.x + o.x, original.y + o.y});
        doc_.labelRef(n).size = original.size;
        doc_.setLabelText(n, original.text.view());
        newLabels.push_back(n);
    }
    if (!copyLines(o, symbols, copyOf)) return restore(before);
    // The copies become the selection, ready to be moved on.
    doc_.clearSelection();
    for (const int i : symbols) doc_.selectSymbol(copyOf[static_cast<std::size_t>(i)]);
    for (const int n : newLabels) doc_.selectLabel(n);
    doc_.setModified();
    if (subs && doc_.observer()) doc_.observer()->subroutinesChanged();
}

// Every table's room is checked before anything is copied, so that a refusal
// changes nothing.
bool ChartEditor::roomForCopies(const std::vector<int>& symbols,
                                const std::vector<int>& labels) const
{
    int lines = 0;
    for (int j = 0; j < doc_.lineCount(); ++j)
        if (contains(symbols, doc_.line(j).origin) && contains(symbols, doc_.line(j).destination))
            ++lines;
    if (doc_.symbolCount() + static_cast<int>(symbols.size()) > kMaxSymbols) {
        messages_.tell(caption::Warning, "No se puede tener más que 220 símbolos");
        return false;
    }
    if (doc_.labelCount() + static_cast<int>(labels.size()) > kMaxLabels) {
        messages_.tell(caption::Warning, "Solo se puede tener 100 etiquetas");
        return false;
    }
    if (doc_.lineCount() + lines > kMaxLines) {
        messages_.tell(caption::Warning, "Solamente puede tener 400 líneas");
        return false;
    }
    return true;
}

// Appends a copy of each symbol `o` away and returns, by original index, the
// copy's index (-1 for symbols not copied). `subs` tells whether a
// subroutine head was among them.
std::vector<int> ChartEditor::copySymbols(Point o, const std::vector<int>& symbols, bool& subs)
{
    std::vector<int> copyOf(static_cast<std::size_t>(doc_.symbolCount()), -1);
    for (const int i : symbols) {
        const FlowSymbol original = doc_.symbol(i);
        const int n = doc_.appendSymbol(original.kind, {original.x + o.x, original.y + o.y});
        copyOf[static_cast<std::size_t>(i)] = n;
        if (!doc_.isSubHead(i)) {
            doc_.setSymbolText(n, original.text.view());
            continue;
        }
        // A copied subroutine head takes the lowest number not in use.
        const std::vector<int> used = doc_.subHeads();
        int number = 0;
        for (int k = 1; k <= kMaxSubNumber; ++k)
            if (!contains(used, k)) {
                number = k;
                break;
            }
        doc_.setSymbolText(n, "Sub " + std::to_string(number));
        subs = true;
    }
    return copyOf;
}

// Copies the lines that join two copied symbols. False when a connector could
// not be given a letter of its own.
bool ChartEditor::copyLines(Point o, const std::vector<int>& symbols,
                            const std::vector<int>& copyOf)
{
    LineRouter router(doc_);
    const int existing = doc_.lineCount();
    for (int j = 0; j < existing; ++j) {
        const FlowLine original = doc_.line(j);
        if (!contains(symbols, original.origin) || !contains(symbols, original.destination))
            continue;
        const int from = copyOf[static_cast<std::size_t>(original.origin)];
        const int to = copyOf[static_cast<std::size_t>(original.destination)];
        LineGeometry g = shifted(original.geometry, o);
        if (original.hasConnector()) {
            // A copied connector needs its own letter: route it afresh.
            const auto routed = router.route(from, to, original.kind);
            if (!routed) return false;
            g = *routed;
        }
        doc_.appendLine(from, to, original.kind, g);
    }
    return true;
}

}  // namespace tarvel
