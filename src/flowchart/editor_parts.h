#pragma once
// What the chart editor's files share: the body a symbol is picked and
// carried by, box tests, the tools' kinds and prompts, and a line's path
// moved whole. The editor is one class whose gestures (column insertion,
// group drop, line drawing) live in files of their own.

#include <algorithm>
#include <vector>

#include "flowchart/chart_editor.h"

namespace tarvel::editing {

// The body used for selecting, moving and the "over a line" tests.
inline constexpr int kBodyX = 60;
inline constexpr int kBodyY = 24;

inline bool overlaps(const Rect& a, const Rect& b)
{
    return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

inline Rect bodyBox(const FlowSymbol& s)
{
    return {s.x - kBodyX, s.y - kBodyY, s.x + kBodyX, s.y + kBodyY};
}

inline bool contains(const std::vector<int>& indices, int i)
{
    return std::find(indices.begin(), indices.end(), i) != indices.end();
}

inline bool isLineTool(EditorTool t)
{
    return t == EditorTool::Line || t == EditorTool::YesLine || t == EditorTool::NoLine;
}

inline bool isSymbolTool(EditorTool t)
{
    return t == EditorTool::StartStop || t == EditorTool::Output || t == EditorTool::Process ||
           t == EditorTool::Decision;
}

// The status line's prompt for a tool; empty for none and for the run tool.
const char* toolPrompt(EditorTool t);

// A line's points and tag moved by `by`; the connector mark stays a mark.
LineGeometry shifted(LineGeometry g, Point by);

}  // namespace tarvel::editing
