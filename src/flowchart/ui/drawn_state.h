#pragma once
// What the flowchart window shows of the chart and the editor, captured
// before and after a press, a release, a tool choice or a pointer move so
// that only the areas that changed are repainted. The document reports its
// own edits, but not every change of a draw state or a selection, and the
// editor's outlines (ghost, rubber band, group on the move, hand-drawn path)
// are the window's own.

#include <vector>

#include "flowchart/chart_editor.h"
#include "flowchart/flow_document.h"

namespace tarvel {

class FlowPainter;

class DrawnState {
public:
    // `chart`: the symbols, lines and labels with their draw states and
    // selection too (a press, a release, a tool choice); without it only the
    // editor's outlines (a pointer move, which changes nothing else).
    DrawnState(const FlowDocument& doc, const ChartEditor& editor, bool chart);

    // The areas, in document units, drawn differently in `after` than in
    // `before` (both captured with or both without the chart).
    static std::vector<Rect> changes(const DrawnState& before, const DrawnState& after,
                                     const FlowPainter& painter);

private:
    struct LabelShown {
        FlowLabel label;
        bool framed;  // selected, with its frame shown
    };

    std::vector<FlowSymbol> symbols_;
    std::vector<FlowLine> lines_;
    std::vector<LabelShown> labels_;
    // Ghost, band, group outlines and hand-drawn segments: where each lies.
    std::vector<Rect> outlines_;
};

}  // namespace tarvel
