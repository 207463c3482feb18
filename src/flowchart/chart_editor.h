#pragma once
// Editing the chart: the tools, placing and inserting symbols, labels, the
// move/edit press with carrying, group moves and copies and the rubber band,
// drawing lines by two clicks or by hand, deleting and aligning. Pure logic on
// the document in document units; the flowchart window turns mouse input into
// these calls and draws what they leave (ghosts, band, hand-drawn path).
// Every refusal goes to the Messages port; the document is then unchanged.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "flowchart/flow_document.h"

namespace tarvel {

class Messages;

enum class EditorTool : int {
    None = -1,
    StartStop = 0,
    Output = 1,
    Process = 2,
    Decision = 3,
    Label = 4,
    MoveEdit = 5,
    Line = 6,
    YesLine = 7,
    NoLine = 8,
    Run = 9,
};

// The move state: idle, a carried symbol (its index), or one of these.
inline constexpr int kMoveIdle = -1;
inline constexpr int kMoveRubberBand = -10;
inline constexpr int kMoveGroup = -11;
inline constexpr int kMoveGroupCopy = -12;
inline constexpr int kMoveHandLine = -20;

enum class AlignMode { Centre = 170, Left = 171, Right = 172, Top = 173, Bottom = 174 };

// What a press asks the window to do next.
struct PressOutcome {
    enum Kind {
        None,
        OpenSymbolEditor,     // at once: a symbol was placed or inserted
        OpenLabelEditor,      // at once: a label was placed
        DelayedSymbolEditor,  // in 500 ms unless something moves: a symbol was selected
        DelayedLabelEditor,   // in 500 ms: a label was selected
    };
    Kind kind = None;
    int index = -1;
};

class ChartEditor {
public:
    // `labelWidth` measures a label's text at 100 % in document units (the
    // painter's metrics); an empty text counts 4 wide.
    using LabelWidthFn = std::function<int(const FlowLabel&)>;
    ChartEditor(FlowDocument& doc, Messages& messages, LabelWidthFn labelWidth);

    // ---- Tools ----------------------------------------------------------------
    // Refused (false, nothing changes) while a chart runs or something moves.
    // Otherwise ends a line being drawn, clears the selection and the ghost,
    // and writes the tool's prompt to the status line.
    bool chooseTool(EditorTool tool, bool running);
    EditorTool tool() const { return tool_; }
    // The run command takes the tool.
    void setRunTool() { tool_ = EditorTool::Run; }
    int moveState() const { return moveState_; }
    bool moving() const { return moveState_ != kMoveIdle; }
    int lineStep() const { return lineStep_; }

    // ---- Mouse, in document units ------------------------------------------------
    PressOutcome press(Point p, bool running);
    // The right button: switches to move/edit when allowed, then presses.
    PressOutcome rightPress(Point p, bool running);
    // The pointer moved far enough from the press to start a drag (the window
    // decides the 4-pixel threshold); `copy` when Shift is held.
    void startDrag(Point p, bool copy, bool running);
    // The pointer moves (with or without a button).
    void pointerMoved(Point p);
    void release(Point p);

    // The status text for the pointer over a point with the move/edit tool:
    // "Mover/Editar '%s'" with the caption of the symbol there, or the tool's
    // prompt when there is none.
    std::string hoverPrompt(Point p) const;
    // The symbol whose body holds the point, or -1.
    int symbolUnder(Point p) const { return symbolAt(p); }

    // ---- What the window draws -----------------------------------------------------
    // The ghost outline: the snapped position and the kind (tools 0-3 or a carried symbol).
    std::optional<Point> ghost() const;
    SymbolKind ghostKind() const;
    // The rubber band, in document units, while one is drawn.
    std::optional<Rect> rubberBand() const;
    // The offset of a group being moved or copied.
    std::optional<Point> groupOffset() const;
    // The path of a line being drawn by hand (its points so far).
    const std::vector<Point>& handPath() const { return handPath_; }
    // The origin of a line being drawn (step 2 and later), or -1.
    int lineOrigin() const { return lineOrigin_; }

    // ---- Commands ------------------------------------------------------------------
    // Whether delete has something to do.
    bool canDelete() const;
    // Abandons a hand-drawn line, or deletes the selection (asking first when
    // more than one object is selected).
    void deleteCommand();
    void align(AlignMode mode);
    // Abandons a line being drawn (tool change, delete).
    void abandonLine();
    // The document was replaced (New, Open, a drop, any load): a line being
    // drawn and anything being carried or banded are abandoned, for the
    // indices they hold belong to the old chart. The tool stays.
    void documentReplaced();

    // Snapping of placed symbols to the 32 x 28 grid.
    static Point snap(Point p);
    // The area a label's text covers.
    Rect labelBox(const FlowLabel& l) const;

private:
    PressOutcome placeSymbol(Point p);
    PressOutcome placeLabel(Point p);
    PressOutcome moveEditPress(Point p);
    void dropSymbol(int index, Point p);
    void selectInBand();
    void restore(const FlowDocument& before);

    // Column insertion (column_insertion.cpp).
    PressOutcome insertBetween(int upper, int lower, SymbolKind kind, int x);
    int blockEnd(int x, int newY) const;
    std::vector<int> symbolsInBand(Rect& band, int skip) const;
    bool redirectInto(int upper, int lower, int added);
    bool rerouteAttached(const std::vector<int>& moved, Point offset);

    // Group drop (group_drop.cpp).
    void dropGroup(bool copy);
    bool groupLands(Point offset, bool copy, const std::vector<int>& symbols,
                    const std::vector<int>& labels) const;
    void moveGroup(Point offset, const std::vector<int>& symbols, const std::vector<int>& labels);
    void copyGroup(Point offset, const std::vector<int>& symbols, const std::vector<int>& labels);
    bool roomForCopies(const std::vector<int>& symbols, const std::vector<int>& labels) const;
    std::vector<int> copySymbols(Point offset, const std::vector<int>& symbols, bool& subs);
    bool copyLines(Point offset, const std::vector<int>& symbols, const std::vector<int>& copyOf);

    // Line drawing (line_drawing.cpp).
    void linePress(Point p);
    void lineStepOne(int symbol);
    void handStart(Point p);
    void handCorner(Point p);
    void lineEnd(int destination);
    std::optional<LineGeometry> handJoin(int destination, LineKind kind) const;
    LineKind toolLineKind() const;
    std::string prefix() const;
    void setOrigin(int symbol);

    // Lookups in document units.
    int symbolAt(Point p) const;
    int labelAt(Point p) const;
    int lineNear(Point p);
    bool tooClose(Point centre, int ignore) const;
    bool tooClose(Point centre, const std::vector<int>& ignore) const;
    // Whether a line (other than those `attached` says to skip) runs through a symbol body at
    // `centre`.
    bool overLine(Point centre, const std::function<bool(const FlowLine&)>& skip) const;
    // The upper and lower neighbours of a new symbol in its column, or -1.
    std::pair<int, int> columnNeighbours(Point centre) const;
    bool columnBandFree(int x, int upper, int lower) const;
    void releaseTool();

    FlowDocument& doc_;
    Messages& messages_;
    LabelWidthFn labelWidth_;
    EditorTool tool_ = EditorTool::MoveEdit;
    int moveState_ = kMoveIdle;
    int lineStep_ = 0;
    int lineOrigin_ = -1;
    std::vector<Point> handPath_;
    std::optional<Point> ghost_;
    Point pressPoint_{-1, -1};
    Point pointer_{-1, -1};
    int lastLineSearch_ = -1;
};

}  // namespace tarvel
