// Undo and redo: every kind of change, made through the editor or on the
// document as the windows make it, is one step whose undo gives back the saved
// bytes exactly and whose redo gives back the bytes after it; the modified
// flag follows; the history keeps its last 100 steps.

#include "flowchart/edit_history.h"

#include <gtest/gtest.h>

#include <functional>

#include "flowchart/chart_editor.h"
#include "flowchart/command_text.h"
#include "flowchart/flow_file.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

class EditHistoryTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    FlowDocument doc{&messages};
    ChartEditor editor{doc, messages,
                       [](const FlowLabel& l) { return 8 * static_cast<int>(l.text.size()); }};
    EditHistory history;

    // The compact layout keeps the motor names too.
    std::string bytes() const
    {
        InterfaceSettings compact;
        compact.mode = 1;
        compact.model = 7;
        return serializeFlowFile(doc, compact);
    }
    void press(EditorTool tool, Point at)
    {
        editor.chooseTool(tool, false);
        editor.press(at, false);
    }
    // With the move/edit tool: a press on a selected symbol moves the whole selection.
    void drag(Point from, Point to, bool copy = false)
    {
        editor.press(from, false);
        editor.startDrag(from, copy, false);
        editor.pointerMoved(to);
        editor.release(to);
    }
    // A start, a sub call and a sub head joined by lines, a label: recorded, then saved.
    void baseChart()
    {
        const int start = doc.appendSymbol(SymbolKind::StartStop, {320, 112});
        doc.setSymbolText(start, "Start");
        const int call = doc.appendSymbol(SymbolKind::Process, {320, 336});
        doc.setSymbolText(call, formatSubText(2, "luz", 3));
        const int head = doc.appendSymbol(SymbolKind::StartStop, {800, 112});
        doc.setSymbolText(head, formatSubText(2, "luz", std::nullopt));
        press(EditorTool::Line, {320, 112});
        editor.press({320, 336}, false);
        const int label = doc.appendLabel({600, 500});
        doc.setLabelText(label, "nota");
        const int other = doc.appendLabel({600, 600});
        doc.setLabelText(other, "otra nota larga");
        editor.chooseTool(EditorTool::MoveEdit, false);
        doc.clearSelection();
        doc.setModifiedFlag(false);  // as saved
        history.reset(doc);
    }
};

struct Change {
    const char* name;
    std::function<void()> make;
};

TEST_F(EditHistoryTest, EveryKindOfChangeIsOneStepThatUndoesAndRedoesByteForByte)
{
    baseChart();
    const std::vector<Change> changes = {
        {"poner un símbolo",
         [&] {
             press(EditorTool::Output, {800, 700});
         }},
        {"editar un símbolo",
         [&] {
             doc.setSymbolText(3, "Turn Output 1 on");
             doc.setModified();
         }},
        {"insertar un símbolo",
         [&] {
             press(EditorTool::Decision, {320, 224});
         }},
        {"mover un símbolo",
         [&] {
             editor.chooseTool(EditorTool::MoveEdit, false);
             drag({800, 700}, {1000, 800});
         }},
        {"dibujar una línea",
         [&] {
             press(EditorTool::Line, {800, 112});
             editor.press({1000, 784}, false);
         }},
        {"copiar 2 objetos",
         [&] {
             editor.chooseTool(EditorTool::MoveEdit, false);
             doc.selectSymbol(2);
             doc.selectLabel(1);
             drag({800, 112}, {800, 1200}, true);
         }},
        {"mover 2 objetos",
         [&] {
             editor.chooseTool(EditorTool::MoveEdit, false);
             doc.selectSymbol(2);
             doc.selectLabel(1);
             drag({800, 112}, {900, 112});
         }},
        {"alinear etiquetas",
         [&] {
             doc.clearSelection();
             doc.selectLabel(0);
             doc.selectLabel(1);
             editor.align(AlignMode::Right);
         }},
        {"editar una etiqueta", [&] { doc.setLabelText(0, "otra"); }},
        {"renombrar un Sub",
         [&] {
             doc.setSymbolText(2, formatSubText(2, "sol", std::nullopt));
             doc.renameSubroutineCalls(2, "sol");
         }},
        {"borrar 2 objetos",
         [&] {
             doc.clearSelection();
             doc.selectSymbol(0);
             doc.selectLabel(2);
             editor.deleteCommand();
         }},
        {"borrar una línea",
         [&] {
             doc.clearSelection();
             doc.setSelectedLine(0);
             editor.deleteCommand();
         }},
        {"cambiar el nombre de la entrada 3", [&] { doc.inputNames[2] = "Puerta"; }},
        {"cambiar el nombre del motor 2", [&] { doc.motorNames[1] = "Grúa"; }},
        {"cambiar la potencia", [&] { doc.outputLevels[0] = doc.outputLevels[1] = 35; }},
        {"elegir el sensor del canal 2", [&] { doc.sensorAssignment[1] = kSensorNone; }},
        {"cambiar la mímica", [&] { doc.mimicSet = "Casa"; }},
        {"cambiar el sonido 3", [&] { doc.soundFiles[3] = "timbre.wav"; }},
    };
    messages.answerNext(MsgAnswer::Yes);  // the delete of two objects asks first
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        const std::string before = bytes();
        const ChartContent contentBefore = doc.content();
        c.make();
        const std::string after = bytes();
        ASSERT_NE(after, before);
        ASSERT_TRUE(history.record(doc, c.name == std::string("alinear etiquetas") ? c.name : ""));
        EXPECT_EQ(history.undoName(), c.name);
        EXPECT_TRUE(doc.modified());

        ASSERT_TRUE(history.undo(doc));
        EXPECT_EQ(bytes(), before);
        EXPECT_FALSE(doc.differsFrom(contentBefore));
        EXPECT_EQ(history.redoName(), c.name);
        ASSERT_TRUE(history.redo(doc));
        EXPECT_EQ(bytes(), after);
        EXPECT_FALSE(history.canRedo());
    }
    // All the way back is the chart as it was saved.
    while (history.canUndo()) history.undo(doc);
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(history.redoCount(), static_cast<int>(changes.size()));
}

TEST_F(EditHistoryTest, TheModifiedFlagFollowsTheSavedState)
{
    baseChart();
    EXPECT_FALSE(history.record(doc));  // nothing changed: no step
    EXPECT_FALSE(history.canUndo());
    doc.moveSymbol(0, {320, 140});
    history.record(doc);
    EXPECT_TRUE(doc.modified());
    history.markSaved();
    doc.setModifiedFlag(false);
    doc.moveSymbol(0, {320, 168});
    history.record(doc);
    EXPECT_TRUE(doc.modified());
    history.undo(doc);
    EXPECT_FALSE(doc.modified());  // back where it was saved
    history.undo(doc);
    EXPECT_TRUE(doc.modified());  // before the save
    history.redo(doc);
    EXPECT_FALSE(doc.modified());
    // A new change drops what could be redone; the saved state is then out of reach.
    history.undo(doc);
    doc.moveSymbol(1, {320, 392});
    history.record(doc);
    EXPECT_FALSE(history.canRedo());
    while (history.undo(doc)) EXPECT_TRUE(doc.modified());
    // A flag set with nothing changed in the chart stays set.
    doc.setModifiedFlag(false);
    history.reset(doc);
    doc.setModified();
    EXPECT_FALSE(history.record(doc));
    EXPECT_TRUE(doc.modified());
}

TEST_F(EditHistoryTest, KeepsTheLastHundredStepsAndJoinsRepeatedChangesOfAField)
{
    baseChart();
    for (int k = 1; k <= 150; ++k) {
        doc.moveLabel(0, {600 + k, 500});
        history.record(doc);
    }
    EXPECT_EQ(history.undoCount(), kHistorySteps);
    int undone = 0;
    while (history.undo(doc)) ++undone;
    EXPECT_EQ(undone, kHistorySteps);
    EXPECT_EQ(doc.label(0).x, 650);  // the oldest 50 steps are gone
    EXPECT_TRUE(doc.modified());     // and with them the saved state

    // Typing a name letter by letter is one step; a save ends it.
    history.reset(doc);
    for (const char* typed : {"P", "Pu", "Pue"}) {
        doc.outputNames[0] = typed;
        history.record(doc);
    }
    EXPECT_EQ(history.undoCount(), 1);
    history.markSaved();
    doc.outputNames[0] = "Puer";
    history.record(doc);
    EXPECT_EQ(history.undoCount(), 2);
    // Another field is another step.
    doc.outputNames[1] = "L";
    history.record(doc);
    EXPECT_EQ(history.undoCount(), 3);
    history.undo(doc);
    history.undo(doc);
    EXPECT_EQ(doc.outputNames[0].view(), "Pue");
    EXPECT_FALSE(doc.modified());
}

TEST_F(EditHistoryTest, UndoTakesBackAChangeNotYetRecordedAndClearsTheSelection)
{
    baseChart();
    doc.selectSymbol(1);
    doc.moveSymbol(1, {320, 420});
    ASSERT_TRUE(history.undo(doc));
    EXPECT_EQ(doc.symbol(1).y, 336);
    EXPECT_TRUE(doc.selectedSymbols().empty());
    EXPECT_EQ(doc.symbol(1).selected, draw::Normal);
    EXPECT_EQ(history.redoName(), "mover un símbolo");
}

}  // namespace
}  // namespace tarvel
