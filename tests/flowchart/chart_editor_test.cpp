// Editing on the document without a window: placing, inserting, lines drawn
// by two clicks and by hand, carrying, groups, deleting and aligning.

#include "flowchart/chart_editor.h"

#include <gtest/gtest.h>

#include "flowchart/command_text.h"
#include "flowchart/line_router.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

class ChartEditorTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    FlowDocument doc{&messages};
    ChartEditor editor{doc, messages,
                       [](const FlowLabel& l) { return 8 * static_cast<int>(l.text.size()); }};

    int place(EditorTool tool, Point at)
    {
        EXPECT_TRUE(editor.chooseTool(tool, false));
        const int before = doc.symbolCount();
        const PressOutcome o = editor.press(at, false);
        if (doc.symbolCount() == before) return -1;
        EXPECT_EQ(o.kind, PressOutcome::OpenSymbolEditor);
        return o.index;
    }
    int line(EditorTool tool, int from, int to)
    {
        editor.chooseTool(tool, false);
        const int before = doc.lineCount();
        editor.press({doc.symbol(from).x, doc.symbol(from).y}, false);
        editor.press({doc.symbol(to).x, doc.symbol(to).y}, false);
        return doc.lineCount() > before ? doc.lineCount() - 1 : -1;
    }
    std::string lastStatus() const
    {
        return messages.statusTexts.empty() ? "" : messages.statusTexts.back();
    }
    std::string lastBox() const { return messages.empty() ? "" : messages.last().text; }
    // A process walled in on every side by decisions: no path reaches it.
    int walledIn(Point c)
    {
        const int walled = doc.appendSymbol(SymbolKind::Process, c);
        for (const int dx : {-100, 0, 100})
            for (const int dy : {-44, 0, 44})
                if (dx || dy) doc.appendSymbol(SymbolKind::Decision, {c.x + dx, c.y + dy});
        return walled;
    }
    void drag(Point from, Point to, bool copy = false)
    {
        editor.press(from, false);
        editor.startDrag(from, copy, false);
        editor.pointerMoved(to);
        editor.release(to);
    }
    // No segment of any line, connector stubs apart, runs through a symbol.
    void expectTidy()
    {
        for (int j = 0; j < doc.lineCount(); ++j) {
            const FlowLine& l = doc.line(j);
            for (int k = 1; k < l.pointCount(); ++k) {
                const Point a = l.geometry.points[static_cast<std::size_t>(k - 1)];
                const Point b = l.geometry.points[static_cast<std::size_t>(k)];
                if (a.x == kConnectorMarkX || b.x == kConnectorMarkX) continue;
                EXPECT_TRUE(a.x == b.x || a.y == b.y) << "line " << j << " segment " << k;
                EXPECT_FALSE(segmentCrossesSymbol(doc, a, b)) << "line " << j << " segment " << k;
            }
        }
    }
};

TEST_F(ChartEditorTest, ToolsWriteTheirPromptsAndAreRefusedWhileRunningOrMoving)
{
    EXPECT_TRUE(editor.chooseTool(EditorTool::Decision, false));
    EXPECT_EQ(lastStatus(), "Decisión: Haga clic donde debe ir la decisión");
    EXPECT_FALSE(editor.chooseTool(EditorTool::Output, true));
    EXPECT_EQ(editor.tool(), EditorTool::Decision);

    // The 400-line limit is checked before a line tool is taken.
    for (int i = 0; i < 2; ++i) doc.appendSymbol(SymbolKind::Process, {100, 100 + 100 * i});
    while (!doc.linesFull()) doc.appendLine(0, 1, LineKind::Plain, {});
    EXPECT_FALSE(editor.chooseTool(EditorTool::YesLine, false));
    EXPECT_EQ(lastBox(), "Solamente puede tener 400 líneas");
}

TEST_F(ChartEditorTest, PlacingSnapsToTheGridAndKeepsItsDistance)
{
    const int a = place(EditorTool::Process, {330, 180});
    ASSERT_EQ(a, 0);
    EXPECT_EQ(doc.symbol(a).x, 320);
    EXPECT_EQ(doc.symbol(a).y, 168);
    EXPECT_TRUE(doc.isSymbolSelected(a));
    EXPECT_EQ(doc.currentSymbol(), a);
    EXPECT_EQ(editor.tool(), EditorTool::None);
    EXPECT_TRUE(doc.modified());

    // Three columns beside and two rows below are too close.
    EXPECT_EQ(place(EditorTool::Output, {320 + 96, 168}), -1);
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(lastBox(), "No se puede poner un símbolo nuevo demasiado cerca a un símbolo previo");
    EXPECT_EQ(place(EditorTool::Output, {320, 168 + 56}), -1);
    EXPECT_EQ(doc.symbolCount(), 1);
    // Three rows below and four columns beside are not.
    EXPECT_GE(place(EditorTool::Output, {320, 168 + 84}), 0);
    EXPECT_GE(place(EditorTool::Decision, {320 + 128, 168}), 0);
    EXPECT_EQ(doc.symbolCount(), 3);
    // The ghost follows the pointer on the grid.
    editor.chooseTool(EditorTool::Output, false);
    editor.pointerMoved({700, 400});
    ASSERT_TRUE(editor.ghost());
    EXPECT_EQ(*editor.ghost(), (Point{672, 392}));
    EXPECT_EQ(editor.ghostKind(), SymbolKind::Output);
}

TEST_F(ChartEditorTest, InsertingIntoAColumnShiftsTheBlockAndRedirectsTheLine)
{
    // Decision: the line from above is redirected and no line goes on below it.
    for (const bool decision : {true, false}) {
        SCOPED_TRACE(decision ? "decision" : "process");
        doc.clear(0, 0);
        const int upper = doc.appendSymbol(SymbolKind::Process, {320, 112});
        const int lower = doc.appendSymbol(SymbolKind::Output, {320, 224});
        const int below = doc.appendSymbol(SymbolKind::Process, {320, 336});
        const int aside = doc.appendSymbol(SymbolKind::Process, {640, 224});
        ASSERT_GE(line(EditorTool::Line, upper, lower), 0);
        ASSERT_GE(line(EditorTool::Line, lower, below), 0);
        const int label = doc.appendLabel({300, 250});
        doc.setLabelText(label, "luz");

        const int added = place(decision ? EditorTool::Decision : EditorTool::Process, {330, 140});
        ASSERT_EQ(added, 4);
        EXPECT_EQ(doc.symbol(added).x, 320);
        EXPECT_EQ(doc.symbol(added).y, 112 + 84);
        EXPECT_EQ(doc.symbol(lower).y, 224 + 56);
        EXPECT_EQ(doc.symbol(below).y, 336 + 56);
        EXPECT_EQ(doc.symbol(aside).y, 224);
        EXPECT_EQ(doc.label(label).y, 250 + 56);
        EXPECT_EQ(doc.line(0).origin, upper);
        EXPECT_EQ(doc.line(0).destination, added);
        EXPECT_EQ(doc.line(0).geometry.points[1], (Point{320, 196 - 25}));
        // The line between two moved symbols moved with them.
        EXPECT_EQ(doc.line(1).geometry.points[0], (Point{320, 280 + 25}));
        if (decision) {
            EXPECT_EQ(doc.lineCount(), 2);
        } else {
            ASSERT_EQ(doc.lineCount(), 3);
            EXPECT_EQ(doc.line(2).origin, added);
            EXPECT_EQ(doc.line(2).destination, lower);
            EXPECT_EQ(doc.line(2).kind, LineKind::Plain);
        }
        expectTidy();
    }
}

TEST_F(ChartEditorTest, InsertionRefusals)
{
    const int upper = doc.appendSymbol(SymbolKind::Process, {320, 112});
    const int lower = doc.appendSymbol(SymbolKind::Process, {320, 280});
    ASSERT_GE(line(EditorTool::Line, upper, lower), 0);

    // A start/stop dropped on the line between two symbols.
    EXPECT_EQ(place(EditorTool::StartStop, {320, 196}), -1);
    EXPECT_EQ(lastBox(), "No se puede insertar un Inicie/Alto");

    // Over a line with nothing above and below in the column.
    const int far = doc.appendSymbol(SymbolKind::Process, {640, 392});
    ASSERT_GE(line(EditorTool::Line, lower, far), 0);
    const Point run = doc.line(1).geometry.points[1];
    ASSERT_EQ(run.y, doc.line(1).geometry.points[2].y);  // a run across
    EXPECT_EQ(place(EditorTool::Process, {480, run.y + 4}), -1);
    EXPECT_EQ(lastBox(), "You cannot place a new symbol over a line");
    EXPECT_EQ(doc.symbolCount(), 3);
}

TEST_F(ChartEditorTest, AFullColumnRefusesTheInsertionAndChangesNothing)
{
    for (int y = 112; y <= 1708; y += 84) doc.appendSymbol(SymbolKind::Process, {320, y});
    const int count = doc.symbolCount();
    EXPECT_EQ(place(EditorTool::Process, {320, 140}), -1);
    EXPECT_EQ(messages.last().caption, "Error de inserción");
    EXPECT_EQ(lastBox(), "Está llena la columna");
    ASSERT_EQ(doc.symbolCount(), count);
    for (int i = 0; i < count; ++i) EXPECT_EQ(doc.symbol(i).y, 112 + 84 * i);
}

TEST_F(ChartEditorTest, TheColumnIsFullWhenASymbolOfTheBlockLiesBelow1700)
{
    // A lower symbol at 1680 moves down 84 to 1764: allowed, it lies above 1700.
    const int upper = doc.appendSymbol(SymbolKind::Process, {320, 1596});
    const int lower = doc.appendSymbol(SymbolKind::Process, {320, 1680});
    ASSERT_GE(line(EditorTool::Line, upper, lower), 0);
    const int added = place(EditorTool::Output, {330, 1630});
    ASSERT_GE(added, 0);
    EXPECT_EQ(doc.symbol(added).y, 1680);
    EXPECT_EQ(doc.symbol(lower).y, 1764);
    EXPECT_TRUE(messages.empty());

    // One at 1720 in the block refuses even though nothing would move.
    const int top = doc.appendSymbol(SymbolKind::Process, {896, 1500});
    const int bottom = doc.appendSymbol(SymbolKind::Process, {896, 1720});
    const int down = line(EditorTool::Line, top, bottom);
    ASSERT_GE(down, 0);
    const int count = doc.symbolCount();
    EXPECT_EQ(place(EditorTool::Output, {900, 1600}), -1);
    EXPECT_EQ(messages.last().caption, "Error de inserción");
    EXPECT_EQ(lastBox(), "Está llena la columna");
    EXPECT_EQ(doc.symbolCount(), count);
    EXPECT_EQ(doc.symbol(bottom).y, 1720);
    EXPECT_EQ(doc.line(down).destination, bottom);
}

TEST_F(ChartEditorTest, TheInsertionBandStartsAtTheNewSymbol)
{
    const int upper = doc.appendSymbol(SymbolKind::Process, {320, 112});
    const int lower = doc.appendSymbol(SymbolKind::Process, {320, 224});
    ASSERT_GE(line(EditorTool::Line, upper, lower), 0);
    const int aside = doc.appendLabel({330, 150});  // beside the line, above the new place
    const int below = doc.appendLabel({300, 250});  // beside the lower symbol
    ASSERT_GE(place(EditorTool::Process, {330, 140}), 0);
    EXPECT_EQ(doc.symbol(lower).y, 224 + 56);
    EXPECT_EQ(doc.label(aside).y, 150);
    EXPECT_EQ(doc.label(below).y, 250 + 56);
}

TEST_F(ChartEditorTest, AnEditWhoseLinesRunOutOfLettersIsUndoneWhole)
{
    // A line to the walled-in symbol needs a letter.
    const int walled = walledIn({640, 700});
    const int upper = doc.appendSymbol(SymbolKind::Process, {192, 112});
    const int lower = doc.appendSymbol(SymbolKind::Process, {192, 196});
    ASSERT_GE(line(EditorTool::Line, upper, lower), 0);
    // A line drawn before the wall went up, running to the walled symbol's left side.
    LineGeometry g;
    g.points[0] = rightSide(doc.symbol(lower));
    g.points[1] = {400, 196};
    g.points[2] = {400, 700};
    g.points[3] = leftSide(doc.symbol(walled));
    doc.appendLine(lower, walled, LineKind::Plain, g);
    for (int k = 0; k < kConnectorLetters; ++k) doc.takeConnectorLetter();
    messages.shown.clear();
    const FlowDocument before = doc;
    auto expectUnchanged = [&] {
        ASSERT_EQ(doc.symbolCount(), before.symbolCount());
        ASSERT_EQ(doc.lineCount(), before.lineCount());
        for (int i = 0; i < doc.symbolCount(); ++i) {
            EXPECT_EQ(doc.symbol(i).x, before.symbol(i).x);
            EXPECT_EQ(doc.symbol(i).y, before.symbol(i).y);
        }
        for (int j = 0; j < doc.lineCount(); ++j) {
            EXPECT_EQ(doc.line(j).origin, before.line(j).origin);
            EXPECT_EQ(doc.line(j).destination, before.line(j).destination);
            EXPECT_EQ(doc.line(j).geometry.points, before.line(j).geometry.points);
        }
    };

    // Inserting moves the lower symbol down, so its line to the walled symbol
    // must be routed again: no letter is left.
    EXPECT_EQ(place(EditorTool::Process, {200, 140}), -1);
    EXPECT_EQ(lastBox(), "Ya no hay más letras");
    expectUnchanged();

    // Carrying the lower symbol away, alone or as a group: the same.
    editor.chooseTool(EditorTool::MoveEdit, false);
    drag({192, 196}, {192, 420});
    EXPECT_EQ(lastBox(), "Ya no hay más letras");
    expectUnchanged();
    drag({100, 170}, {300, 230});  // a rubber band round the lower symbol
    ASSERT_EQ(doc.selectedSymbols(), (std::vector<int>{lower}));
    messages.shown.clear();
    drag({192, 196}, {192, 420});
    EXPECT_EQ(lastBox(), "Ya no hay más letras");
    EXPECT_EQ(messages.shown.size(), 1u);
    expectUnchanged();
    EXPECT_FALSE(editor.moving());
}

TEST_F(ChartEditorTest, ANewChartAbandonsALineInProgress)
{
    // The origin chosen on the old chart is symbol 2, a process.
    for (const int y : {112, 280, 448}) doc.appendSymbol(SymbolKind::Process, {320, y});
    editor.chooseTool(EditorTool::Line, false);
    editor.press({320, 448}, false);
    ASSERT_EQ(editor.lineStep(), 2);
    ASSERT_EQ(editor.lineOrigin(), 2);

    // The new chart's symbol 2 is a Stop, and it has only three symbols.
    FlowDocument other;
    for (const int y : {112, 280}) other.appendSymbol(SymbolKind::Process, {640, y});
    const int stop = other.appendSymbol(SymbolKind::StartStop, {640, 448});
    other.setSymbolText(stop, "Stop");
    doc = other;
    editor.documentReplaced();
    EXPECT_EQ(editor.lineStep(), 1);
    EXPECT_EQ(editor.lineOrigin(), -1);
    EXPECT_EQ(lastStatus(), "Línea: Haga clic en el origen de la línea");
    editor.press({100, 600}, false);  // empty space: no hand-drawn line from nowhere
    EXPECT_EQ(lastStatus(), "Línea: Debe hacer clic sobre un símbolo");
    EXPECT_EQ(editor.moveState(), kMoveIdle);
    editor.press({640, 448}, false);  // the Stop cannot be an origin
    EXPECT_EQ(lastStatus(), "Línea: No puede tener una línea que comienza en un símbolo 'Alto'");
    EXPECT_EQ(doc.lineCount(), 0);

    // A hand-drawn line in hand is dropped too, and the tool stays.
    editor.press({640, 112}, false);
    editor.press({800, 200}, false);
    ASSERT_EQ(editor.moveState(), kMoveHandLine);
    doc.clear(0, 0);
    editor.documentReplaced();
    EXPECT_EQ(editor.moveState(), kMoveIdle);
    EXPECT_TRUE(editor.handPath().empty());
    EXPECT_EQ(editor.tool(), EditorTool::Line);

    // A caller that forgot to tell: an origin past the symbols is not used.
    doc = other;
    editor.press({640, 280}, false);
    ASSERT_EQ(editor.lineOrigin(), 1);
    doc.clear(0, 0);
    doc.appendSymbol(SymbolKind::Process, {320, 112});
    editor.press({100, 600}, false);
    EXPECT_EQ(editor.moveState(), kMoveIdle);
    EXPECT_EQ(lastStatus(), "Línea: Debe hacer clic sobre un símbolo");
}

TEST_F(ChartEditorTest, LineRefusalsAreStatusMessagesAndKeepTheStep)
{
    const int start = doc.appendSymbol(SymbolKind::StartStop, {320, 56});
    doc.setSymbolText(start, "Start");
    const int ask = doc.appendSymbol(SymbolKind::Decision, {320, 168});
    const int act = doc.appendSymbol(SymbolKind::Process, {320, 280});
    const int stop = doc.appendSymbol(SymbolKind::StartStop, {320, 392});
    doc.setSymbolText(stop, "Stop");
    const int head = doc.appendSymbol(SymbolKind::StartStop, {704, 56});
    doc.setSymbolText(head, formatSubText(1, "Luz", std::nullopt));

    editor.chooseTool(EditorTool::Line, false);
    editor.press({10, 10}, false);
    EXPECT_EQ(lastStatus(), "Línea: Debe hacer clic sobre un símbolo");
    editor.press({320, 168}, false);
    EXPECT_EQ(lastStatus(), "Línea: No puede tener una línea que comienza en una decisión");
    editor.press({320, 392}, false);
    EXPECT_EQ(lastStatus(), "Línea: No puede tener una línea que comienza en un símbolo 'Alto'");
    EXPECT_EQ(editor.lineStep(), 1);

    // Into Start or a Sub head: refused, the origin stays chosen.
    editor.press({320, 280}, false);
    EXPECT_EQ(lastStatus(), "Línea: Haga clic donde debe ir la línea");
    EXPECT_EQ(doc.symbol(act).selected, 6);
    editor.press({320, 56}, false);
    EXPECT_EQ(lastStatus(),
              "Línea: Una línea no puede ir en la dirección de un símbolo 'Inicie' o 'Sub'");
    editor.press({704, 56}, false);
    EXPECT_EQ(editor.lineStep(), 2);
    // Into Stop is fine.
    editor.press({320, 392}, false);
    ASSERT_EQ(doc.lineCount(), 1);
    EXPECT_EQ(doc.line(0).destination, stop);
    EXPECT_EQ(lastStatus(), "Línea: Haga clic en el origen de la siguiente línea");
    EXPECT_EQ(doc.symbol(act).selected, 0);
    editor.press({320, 280}, false);
    EXPECT_EQ(lastStatus(), "Línea: Ya hay una línea que comienza en este símbolo");

    EXPECT_EQ(line(EditorTool::YesLine, act, stop), -1);
    EXPECT_EQ(lastStatus(), "Línea SI: No puede tener una línea SI que comienza en este símbolo");
    ASSERT_GE(line(EditorTool::YesLine, ask, act), 0);
    editor.press({320, 168}, false);
    EXPECT_EQ(lastStatus(), "Línea SI: Ya hay una línea SI que comienza en este símbolo");
    EXPECT_EQ(editor.lineStep(), 1);
    ASSERT_GE(line(EditorTool::NoLine, ask, stop), 0);
    EXPECT_EQ(lastStatus(), "Línea NO: Haga clic en el origen de la siguiente línea");
    EXPECT_EQ(doc.lineCount(), 3);
    // Tags sit beside the first run of YES and NO lines.
    EXPECT_GE(doc.line(1).geometry.tag.x, 0);
    EXPECT_GE(doc.line(2).geometry.tag.x, 0);
    EXPECT_TRUE(messages.empty());
    expectTidy();
}

TEST_F(ChartEditorTest, HandDrawnLinesTurnAtEveryCornerAndStopAtFive)
{
    const int from = doc.appendSymbol(SymbolKind::Process, {320, 112});
    const int to = doc.appendSymbol(SymbolKind::Process, {640, 448});
    doc.appendSymbol(SymbolKind::Process, {320, 280});

    editor.chooseTool(EditorTool::Line, false);
    editor.press({320, 112}, false);
    // Straight down from the bottom runs into the symbol below.
    editor.press({330, 400}, false);
    EXPECT_EQ(lastStatus(), "Una línea no puede cruzar un símbolo, intente de nuevo");
    EXPECT_EQ(editor.lineStep(), 2);
    editor.press({330, 200}, false);
    ASSERT_EQ(editor.moveState(), kMoveHandLine);
    EXPECT_EQ(editor.handPath(), (std::vector<Point>{{320, 137}, {320, 200}}));
    EXPECT_EQ(lastStatus(), "Línea: Haga clic en el siguiente vértice de la línea");
    EXPECT_FALSE(editor.chooseTool(EditorTool::Process, false));  // a line is in hand

    editor.press({640, 210}, false);
    EXPECT_EQ(editor.handPath().back(), (Point{640, 200}));
    // Ending on the destination joins the last run to its top.
    editor.press({640, 448}, false);
    ASSERT_EQ(doc.lineCount(), 1);
    EXPECT_EQ(doc.line(0).origin, from);
    EXPECT_EQ(doc.line(0).destination, to);
    EXPECT_EQ(doc.line(0).pointCount(), 4);
    EXPECT_EQ(doc.line(0).geometry.points[3], (Point{640, 448 - 25}));
    EXPECT_EQ(lastStatus(), "Haga clic en el origen de la siguiente línea");
    EXPECT_EQ(editor.moveState(), kMoveIdle);
    expectTidy();

    // Six points is the most: the next corner abandons the line.
    const int other = doc.appendSymbol(SymbolKind::Process, {960, 112});
    editor.press({960, 112}, false);
    editor.press({960, 600}, false);
    for (const Point corner :
         {Point{1100, 600}, Point{1100, 700}, Point{1000, 700}, Point{1000, 800}})
        editor.press(corner, false);
    EXPECT_EQ(editor.handPath().size(), 6u);
    editor.press({900, 800}, false);
    EXPECT_EQ(lastStatus(), "Hay un máximo de 5 esquinas, comienze de nuevo");
    EXPECT_EQ(editor.lineStep(), 1);
    EXPECT_TRUE(editor.handPath().empty());
    EXPECT_EQ(editor.moveState(), kMoveIdle);
    EXPECT_EQ(doc.symbol(other).selected, 0);

    // Delete abandons a path in progress.
    editor.press({960, 112}, false);
    editor.press({960, 600}, false);
    EXPECT_TRUE(editor.canDelete());
    editor.deleteCommand();
    EXPECT_EQ(lastStatus(), "Haga clic en el origen de la línea");
    EXPECT_EQ(doc.lineCount(), 1);
}

TEST_F(ChartEditorTest, ConnectorLettersAreTakenWhenRoutingMustGiveUpAndFreedWithTheLine)
{
    const int walled = walledIn({640, 700});
    const int a = doc.appendSymbol(SymbolKind::Process, {200, 100});
    const int b = doc.appendSymbol(SymbolKind::Process, {200, 300});

    const int first = line(EditorTool::Line, a, walled);
    ASSERT_GE(first, 0);
    EXPECT_EQ(doc.line(first).connectorLetter(), 'A');
    EXPECT_EQ(doc.line(first).geometry.points[0], rightSide(doc.symbol(a)));
    EXPECT_EQ(doc.line(first).geometry.points[4], leftSide(doc.symbol(walled)));
    const int second = line(EditorTool::Line, b, walled);
    EXPECT_EQ(doc.line(second).connectorLetter(), 'B');

    editor.chooseTool(EditorTool::MoveEdit, false);
    doc.setSelectedLine(first);
    editor.deleteCommand();
    EXPECT_FALSE(doc.connectorLetterInUse('A'));
    EXPECT_EQ(doc.line(0).connectorLetter(), 'B');

    // With every letter taken the line is refused.
    for (int k = 0; k < 25; ++k) doc.takeConnectorLetter();
    const int lines = doc.lineCount();
    EXPECT_EQ(line(EditorTool::Line, a, walled), -1);
    EXPECT_EQ(lastBox(), "Ya no hay más letras");
    EXPECT_EQ(doc.lineCount(), lines);
}

TEST_F(ChartEditorTest, MoveEditPressSelectsAndStepsThroughOverlappingLines)
{
    const int a = doc.appendSymbol(SymbolKind::Decision, {320, 112});
    const int b = doc.appendSymbol(SymbolKind::Process, {320, 280});
    ASSERT_GE(line(EditorTool::YesLine, a, b), 0);
    ASSERT_GE(line(EditorTool::Line, b, a), 0);  // a loop back over the same ground
    const int label = doc.appendLabel({600, 600});
    doc.setLabelText(label, "hola");

    editor.chooseTool(EditorTool::MoveEdit, false);
    EXPECT_EQ(editor.press({330, 120}, false).kind, PressOutcome::DelayedSymbolEditor);
    EXPECT_TRUE(doc.isSymbolSelected(a));
    // Pressing it again keeps the selection and opens nothing.
    EXPECT_EQ(editor.press({330, 120}, false).kind, PressOutcome::None);
    EXPECT_EQ(editor.press({610, 605}, false).kind, PressOutcome::DelayedLabelEditor);
    EXPECT_TRUE(doc.isLabelSelected(label));
    EXPECT_TRUE(doc.selectedSymbols().empty());

    // Both lines cover the spot: repeated presses alternate between them.
    const Point both{320, 200};
    editor.press(both, false);
    const int firstHit = doc.selectedLine();
    editor.press(both, false);
    const int secondHit = doc.selectedLine();
    editor.press(both, false);
    EXPECT_NE(firstHit, secondHit);
    EXPECT_EQ(doc.selectedLine(), firstHit);

    editor.press({1200, 1800}, false);
    EXPECT_EQ(doc.selectedLine(), -1);
    EXPECT_EQ(editor.hoverPrompt({1200, 1800}),
              "Mover/Editar: Haga clic en el objeto que desea mover o editar");
    doc.setSymbolText(b, "Delay 10");
    EXPECT_EQ(editor.hoverPrompt({320, 280}).rfind("Mover/Editar '", 0), 0u);
    EXPECT_NE(editor.hoverPrompt({320, 280}), "Mover/Editar ''");
}

TEST_F(ChartEditorTest, CarryingASymbolReroutesItsLinesOrRefuses)
{
    const int a = doc.appendSymbol(SymbolKind::Process, {320, 112});
    const int b = doc.appendSymbol(SymbolKind::Process, {320, 280});
    const int c = doc.appendSymbol(SymbolKind::Process, {640, 112});
    const int d = doc.appendSymbol(SymbolKind::Process, {640, 392});
    ASSERT_GE(line(EditorTool::Line, a, b), 0);
    ASSERT_GE(line(EditorTool::Line, c, d), 0);
    editor.chooseTool(EditorTool::MoveEdit, false);

    // Too close to another symbol, then onto a line that is not its own.
    drag({320, 280}, {620, 420});
    EXPECT_EQ(lastBox(), "No se puede posicionar un símbolo demasiado cerca a un símbolo previo");
    EXPECT_EQ(doc.symbol(b).x, 320);
    drag({320, 280}, {650, 250});
    EXPECT_EQ(lastBox(), "No se puede posicionar un símbolo sobre una línea");
    EXPECT_EQ(doc.symbol(b).y, 280);
    EXPECT_FALSE(editor.moving());

    editor.press({320, 280}, false);
    editor.startDrag({320, 280}, false, false);
    EXPECT_EQ(editor.moveState(), b);
    EXPECT_EQ(doc.line(0).selected, 1);  // its line becomes a guide
    editor.pointerMoved({170, 500});
    EXPECT_EQ(*editor.ghost(), (Point{160, 476}));
    editor.release({170, 500});
    EXPECT_EQ(doc.symbol(b).x, 160);
    EXPECT_EQ(doc.symbol(b).y, 476);
    EXPECT_EQ(doc.line(0).selected, 0);
    EXPECT_EQ(doc.line(0).geometry.points[0], bottomSide(doc.symbol(a)));
    EXPECT_EQ(doc.line(0).geometry.points[doc.line(0).pointCount() - 1], topSide(doc.symbol(b)));
    EXPECT_TRUE(doc.selectedSymbols().empty());
    EXPECT_EQ(editor.tool(), EditorTool::MoveEdit);
    EXPECT_TRUE(doc.modified());
    expectTidy();
}

TEST_F(ChartEditorTest, RubberBandGroupMoveAndGroupCopyOfASubHead)
{
    const int head = doc.appendSymbol(SymbolKind::StartStop, {320, 112});
    doc.setSymbolText(head, formatSubText(1, "Luz", std::nullopt));
    const int act = doc.appendSymbol(SymbolKind::Output, {320, 224});
    const int other = doc.appendSymbol(SymbolKind::StartStop, {960, 112});
    doc.setSymbolText(other, formatSubText(2, "", std::nullopt));
    ASSERT_GE(line(EditorTool::Line, head, act), 0);
    const int label = doc.appendLabel({400, 160});
    doc.setLabelText(label, "sub");

    editor.chooseTool(EditorTool::MoveEdit, false);
    drag({200, 60}, {500, 300});
    EXPECT_EQ(doc.selectedSymbols(), (std::vector<int>{head, act}));
    EXPECT_EQ(doc.selectedLabels(), (std::vector<int>{label}));

    // Copy to the right with Shift: the copied head takes the lowest free number.
    editor.press({320, 112}, false);
    editor.startDrag({320, 112}, true, false);
    EXPECT_EQ(editor.moveState(), kMoveGroupCopy);
    editor.pointerMoved({320 + 318, 112});
    EXPECT_EQ(*editor.groupOffset(), (Point{320, 0}));
    editor.release({320 + 318, 112});
    ASSERT_EQ(doc.symbolCount(), 5);
    EXPECT_EQ(doc.symbol(3).text.view(), "Sub 3");
    EXPECT_EQ(doc.symbol(3).x, 640);
    EXPECT_EQ(doc.symbol(4).text.view(), doc.symbol(act).text.view());
    ASSERT_EQ(doc.lineCount(), 2);
    EXPECT_EQ(doc.line(1).origin, 3);
    EXPECT_EQ(doc.line(1).destination, 4);
    EXPECT_EQ(doc.line(1).geometry.points[0].x, doc.line(0).geometry.points[0].x + 320);
    EXPECT_EQ(doc.labelCount(), 2);
    EXPECT_EQ(doc.label(1).x, 720);

    // Moving the copies down keeps their line; a move onto a symbol is refused.
    EXPECT_EQ(doc.selectedSymbols(), (std::vector<int>{3, 4}));
    drag({640, 112}, {640, 400});
    EXPECT_EQ(doc.symbol(3).y, 392);
    EXPECT_EQ(doc.line(1).geometry.points[0], bottomSide(doc.symbol(3)));
    drag({640, 392}, {960, 140});
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");
    EXPECT_EQ(lastBox(), "No se puede posicionar un símbolo demasiado cerca a un símbolo previo");
    EXPECT_EQ(doc.symbol(3).x, 640);
    expectTidy();
}

TEST_F(ChartEditorTest, DeletingAsksForSeveralObjectsAndRenumbersLines)
{
    const int a = doc.appendSymbol(SymbolKind::Process, {320, 112});
    const int b = doc.appendSymbol(SymbolKind::Process, {320, 224});
    const int c = doc.appendSymbol(SymbolKind::Process, {320, 336});
    line(EditorTool::Line, a, b);
    line(EditorTool::Line, b, c);
    line(EditorTool::Line, c, a);
    editor.chooseTool(EditorTool::MoveEdit, false);
    editor.press({320, 112}, false);
    ASSERT_TRUE(editor.canDelete());
    editor.deleteCommand();
    EXPECT_TRUE(messages.empty());  // one object: no question
    ASSERT_EQ(doc.symbolCount(), 2);
    ASSERT_EQ(doc.lineCount(), 1);
    EXPECT_EQ(doc.line(0).origin, 0);
    EXPECT_EQ(doc.line(0).destination, 1);

    drag({200, 150}, {500, 400});
    messages.answerNext(MsgAnswer::No);
    editor.deleteCommand();
    EXPECT_EQ(lastBox(), "¿Está seguro de que quiere borrar estos objetos?");
    EXPECT_EQ(doc.symbolCount(), 2);
    messages.answerNext(MsgAnswer::Yes);
    editor.deleteCommand();
    EXPECT_EQ(doc.symbolCount(), 0);
    EXPECT_EQ(doc.lineCount(), 0);
    EXPECT_FALSE(editor.canDelete());
}

TEST_F(ChartEditorTest, LabelsAreReusedWhenEmptyAndAlignedByTheirMeasuredWidth)
{
    editor.chooseTool(EditorTool::Label, false);
    const PressOutcome first = editor.press({100, 114}, false);
    EXPECT_EQ(first.kind, PressOutcome::OpenLabelEditor);
    EXPECT_EQ(doc.label(first.index).y, 100);
    // Left empty and still selected: the next click reuses it.
    const PressOutcome again = editor.press({300, 414}, false);
    EXPECT_EQ(again.index, first.index);
    EXPECT_EQ(doc.labelCount(), 1);
    EXPECT_EQ(doc.label(0).x, 300);
    doc.setLabelText(0, "abcd");  // 32 wide
    doc.labelRef(0).size = 3;     // 28 high
    editor.press({100, 114}, false);
    doc.setLabelText(1, "ab");  // 16 wide, 14 high
    doc.selectLabel(0);

    editor.align(AlignMode::Left);
    EXPECT_EQ(doc.label(0).x, 100);
    EXPECT_EQ(doc.label(1).x, 100);
    editor.align(AlignMode::Right);
    EXPECT_EQ(doc.label(0).x, 100);
    EXPECT_EQ(doc.label(1).x, 116);
    editor.align(AlignMode::Centre);
    EXPECT_EQ(doc.label(0).x, 100);
    EXPECT_EQ(doc.label(1).x, 108);
    editor.align(AlignMode::Bottom);
    EXPECT_EQ(doc.label(0).y, 400);
    EXPECT_EQ(doc.label(1).y, 414);
    editor.align(AlignMode::Top);
    EXPECT_EQ(doc.label(1).y, 400);

    // The label limit, even where the empty last label could be reused.
    while (!doc.labelsFull()) doc.appendLabel({10, 10});
    doc.clearSelection();
    editor.press({500, 500}, false);
    EXPECT_EQ(lastBox(), "Solo se puede tener 100 etiquetas");
    messages.shown.clear();
    doc.selectLabel(kMaxLabels - 1);
    editor.press({500, 500}, false);
    EXPECT_EQ(lastBox(), "Solo se puede tener 100 etiquetas");
    EXPECT_EQ(doc.label(kMaxLabels - 1).x, 10);
}

TEST_F(ChartEditorTest, TheRightButtonSwitchesToMoveEditAndActsAtOnce)
{
    const int a = doc.appendSymbol(SymbolKind::Process, {320, 112});
    editor.chooseTool(EditorTool::Output, false);
    const PressOutcome o = editor.rightPress({320, 112}, false);
    EXPECT_EQ(editor.tool(), EditorTool::MoveEdit);
    EXPECT_EQ(lastStatus(), "Mover/Editar: Haga clic en el objeto para mover o editar");
    EXPECT_EQ(o.kind, PressOutcome::DelayedSymbolEditor);
    EXPECT_TRUE(doc.isSymbolSelected(a));
    EXPECT_EQ(doc.symbolCount(), 1);
    // Nothing while a chart runs.
    editor.chooseTool(EditorTool::Output, false);
    EXPECT_EQ(editor.rightPress({320, 112}, true).kind, PressOutcome::None);
    EXPECT_EQ(editor.tool(), EditorTool::Output);
    EXPECT_EQ(editor.press({640, 640}, true).kind, PressOutcome::None);
    EXPECT_EQ(doc.symbolCount(), 1);
}

}  // namespace
}  // namespace tarvel
