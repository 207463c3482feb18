// Undo, redo and breakpoints in the main window: the commands and their
// status texts, edits from the windows around the chart, the modified flag
// and the caption through saves, refusals while running, the side file of
// breakpoints, and a run held at one. With TARVEL_SCREENSHOT_DIR set, the
// "&Editar" menu and a chart held at a breakpoint are written there as PNGs.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <filesystem>

#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "engine/chart_builder.h"
#include "engine/ui/sounds_dialog.h"
#include "engine/ui/speed_dialog.h"
#include "flowchart/flow_file.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/interface_config.h"
#include "support/frame_fixture.h"

namespace tarvel {
namespace {

constexpr int kUndo = 331, kRedo = 332, kBreakpoint = 333;

void keep(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

class FrameHistoryTest : public test::FrameFixture {
protected:
    void SetUp() override { startFrame(localConfig("")); }
    QAction* undo() { return frame->action(kUndo); }
    QAction* redo() { return frame->action(kRedo); }
    // The edit is recorded once the event that made it is over.
    void settle() { QApplication::processEvents(); }
    // Start, output 1 on, output 2 on, a delay looping back to the first output.
    std::string saveLoop(const std::string& name)
    {
        FlowDocument chart;
        test::ChartBuilder b(chart);
        const int s = b.start(), on = b.out("Turn Output 1 on"), two = b.out("Turn Output 2 on"),
                  wait = b.proc("Delay 1");
        b.chain({s, on, two, wait, on});
        const std::string p = path(name);
        EXPECT_TRUE(saveFlowFile(chart, p, InterfaceSettings{}, test::ignoredMessages()));
        return p;
    }
    void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
};

TEST_F(FrameHistoryTest, UndoAndRedoSitAtTheTopOfEditarWithTheirKeysAndButtons)
{
    QMenu* edit = frame->menuBar()->findChild<QMenu*>("editMenu");
    ASSERT_NE(edit, nullptr);
    ASSERT_GE(edit->actions().size(), 3);
    EXPECT_EQ(edit->actions()[0], undo());
    EXPECT_EQ(edit->actions()[1], redo());
    EXPECT_EQ(undo()->text(), QString::fromUtf8("&Deshacer"));
    EXPECT_EQ(redo()->text(), QString::fromUtf8("&Rehacer"));
    EXPECT_EQ(undo()->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(redo()->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    EXPECT_EQ(frame->action(kBreakpoint)->shortcut(), QKeySequence("F9"));
    auto* bar = frame->findChild<QToolBar*>("toolBar");
    EXPECT_TRUE(bar->actions().contains(undo()));
    EXPECT_TRUE(bar->actions().contains(redo()));
    EXPECT_FALSE(undo()->isEnabled());
    EXPECT_FALSE(redo()->isEnabled());

    edit->popup(frame->mapToGlobal(QPoint(40, 40)));
    settle();
    keep(edit->grab().toImage(), "edit-menu.png");
    edit->hide();
}

TEST_F(FrameHistoryTest, EditsFromTheChartAndItsWindowsUndoWithTheModifiedFlagAndCaption)
{
    files.answers.push_back(saveLoop("luces.FLO"));
    frame->openCommand();
    ASSERT_EQ(doc().symbolCount(), 4);
    const QString savedCaption = frame->windowTitle();

    ChartEditor& editor = frame->flowWindow()->editor();
    frame->flowWindow()->chooseTool(EditorTool::Output);
    editor.press({800, 700}, false);
    settle();
    ASSERT_EQ(doc().symbolCount(), 5);
    EXPECT_TRUE(undo()->isEnabled());
    EXPECT_EQ(undo()->statusTip(), QString::fromUtf8("Deshacer: poner un símbolo"));

    // A sound slot typed in reaches the chart at the next run, save or undo:
    // an undo takes it back first.
    frame->extras()->soundsCommand();
    auto* slot = frame->extras()->soundsDialog()->findChild<QLineEdit*>("id323");
    ASSERT_NE(slot, nullptr);
    type(slot, "bip");
    settle();
    EXPECT_TRUE(doc().soundFiles[3].empty());
    frame->undoCommand();
    EXPECT_TRUE(doc().soundFiles[3].empty());
    EXPECT_TRUE(slot->text().isEmpty());  // the window shows the chart as it now is
    EXPECT_EQ(messages.statusTexts.back(), "Deshecho: cambiar el sonido 3");
    EXPECT_EQ(undo()->statusTip(), QString::fromUtf8("Deshacer: poner un símbolo"));
    frame->undoCommand();
    EXPECT_EQ(doc().symbolCount(), 4);
    EXPECT_FALSE(doc().modified());
    EXPECT_FALSE(undo()->isEnabled());
    EXPECT_EQ(frame->windowTitle(), savedCaption);
    frame->redoCommand();
    EXPECT_EQ(doc().symbolCount(), 5);
    EXPECT_TRUE(doc().modified());
    EXPECT_EQ(redo()->statusTip(), QString::fromUtf8("Rehacer: cambiar el sonido 3"));

    // Saving keeps the steps; undoing past the save marks the chart modified again.
    ASSERT_TRUE(frame->saveCommand());
    EXPECT_FALSE(doc().modified());
    EXPECT_TRUE(undo()->isEnabled());
    frame->undoCommand();
    EXPECT_TRUE(doc().modified());
    frame->redoCommand();
    EXPECT_FALSE(doc().modified());

    // A new chart starts with no steps.
    frame->newCommand();
    EXPECT_FALSE(undo()->isEnabled());
    EXPECT_FALSE(redo()->isEnabled());
}

TEST_F(FrameHistoryTest, RefusedWhileAChartRuns)
{
    files.answers.push_back(saveLoop("luces.FLO"));
    frame->openCommand();
    doc().moveSymbol(1, {doc().symbol(1).x + 64, doc().symbol(1).y});
    doc().setModified();
    settle();
    ASSERT_TRUE(undo()->isEnabled());
    frame->runCommand();
    ASSERT_TRUE(frame->state().interpreter.running());
    EXPECT_FALSE(undo()->isEnabled());
    const int x = doc().symbol(1).x;
    frame->undoCommand();
    EXPECT_EQ(doc().symbol(1).x, x);
    frame->runCommand();
    EXPECT_TRUE(undo()->isEnabled());
}

TEST_F(FrameHistoryTest, BreakpointsFromTheMenusTheSideFileAndARunHeldAtOne)
{
    const std::string chart = saveLoop("luces.FLO");
    files.answers.push_back(chart);
    frame->openCommand();
    // From the symbol's menu; the chart is as saved, so the side file follows at once.
    std::unique_ptr<QMenu> menu(frame->flowWindow()->symbolMenu(2));
    ASSERT_EQ(menu->actions().size(), 1);
    QAction* item = menu->actions().first();
    EXPECT_EQ(item->text(), QString::fromUtf8("Punto de parada"));
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(doc().symbol(2).breakpoint);
    EXPECT_FALSE(doc().modified());
    EXPECT_TRUE(std::filesystem::exists(chart + ".bp"));
    // F9 on the selected symbol.
    doc().selectSymbol(3);
    frame->updateCommands();
    frame->action(kBreakpoint)->trigger();
    EXPECT_EQ(doc().breakpoints(), (std::vector<int>{2, 3}));
    frame->action(kBreakpoint)->trigger();
    doc().clearSelection();

    // Opened again: the breakpoints come back from the side file.
    frame->newCommand();
    files.answers.push_back(chart);
    frame->openCommand();
    EXPECT_EQ(doc().breakpoints(), (std::vector<int>{2}));

    frame->resize(900, 600);
    frame->show();
    frame->speedDialog()->show();
    frame->runCommand();
    for (int i = 0; i < 5; ++i) {
        clock.advance(20);
        frame->timerTick();
    }
    Interpreter& run = frame->state().interpreter;
    ASSERT_TRUE(run.running());
    EXPECT_EQ(run.taskSymbol(0), 2);
    EXPECT_EQ(doc().symbol(2).selected, draw::Active);
    EXPECT_TRUE(frame->state().speed.singleStep);
    EXPECT_EQ(messages.statusTexts.back(),
              "Punto de parada: la tarea 1 se detuvo en el símbolo 2 'Activar salida 2'");
    EXPECT_EQ(frame->state().io.image().outputs[1], 0);
    auto* step = frame->speedDialog()->findChild<QWidget*>("id101");
    ASSERT_NE(step, nullptr);
    EXPECT_TRUE(step->property("checked").toBool());
    keep(frame->grab().toImage(), "held-at-breakpoint.png");

    // The space bar goes on from there.
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(frame->flowWindow(), &space);
    EXPECT_EQ(frame->state().io.image().outputs[1], 1);
    frame->runCommand();
}

}  // namespace
}  // namespace tarvel
