// The chip simulation in the main window: the Simulate command and its
// button for the interfaces that take programs, the run command of the chip
// boards, the monitors and variables it opens and fills, the speed settings,
// single stepping, compile faults, and a picture of it running with marks.

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolBar>

#include "app/flow_frame.h"
#include "chip/ui/chip_run.h"
#include "engine/chart_builder.h"
#include "engine/ui/speed_dialog.h"
#include "engine/ui/variables_dialog.h"
#include "flowchart/ui/drawn_state.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "support/frame_fixture.h"

namespace tarvel {
namespace {

constexpr int kSimulateChip = 319;
constexpr int kRun = 121;

class ChipWindowTest : public test::FrameFixture {
protected:
    int on = -1, wait = -1, off = -1;

    // The frame on an interface chosen as CONFIGUR.FCF says, with the bundled chip file.
    void startWith(int model, int subModel)
    {
        AppConfiguration config;
        config.sensorsDir = std::string(TARVEL_DATA_DIR) + "/SENSORS";
        InterfaceSettings s;
        s.mode = model == 0 ? 0 : 1;
        s.model = model;
        s.subModel = subModel;
        s.numbering = 1;
        startFrame(config, s);
        messages.shown.clear();
    }
    // Start, output 1 on, a second, output 1 off, a second, and round again.
    void drawBlinker()
    {
        test::ChartBuilder b(state().doc);
        const int s = b.start();
        on = b.out("Turn Output 1 on");
        wait = b.proc("Delay 1");
        off = b.out("Turn Output 1 off");
        const int rest = b.proc("Delay 1");
        b.chain({s, on, wait, off, rest});
        b.join(rest, on);
    }
    ProgramState& state() { return frame->state(); }
    QAction* simulate() { return frame->action(kSimulateChip); }
    // Timer 1235's ticks.
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock.advance(state().speed.interval);
            state().chip.timerTick();
        }
    }
    bool marked(int symbol) { return state().doc.symbol(symbol).selected == draw::Active; }
    QString variableField(char letter)
    {
        auto* field = frame->variablesDialog()->findChild<QLineEdit*>(
            QStringLiteral("id%1").arg(801 + variableIndex(letter)));
        return field ? field->text() : QString("?");
    }
};

TEST_F(ChipWindowTest, SimulateIsOfferedOnlyForInterfacesThatTakePrograms)
{
    startWith(0, 0);
    ASSERT_NE(simulate(), nullptr);
    EXPECT_FALSE(simulate()->isVisible());
    startWith(ModelQuillo, 0);
    EXPECT_TRUE(simulate()->isVisible());
    EXPECT_TRUE(simulate()->isEnabled());
    startWith(ModelTolvaChip, 2);
    EXPECT_TRUE(simulate()->isVisible());
    // On the tool bar beside the run button.
    auto* bar = frame->findChild<QToolBar*>("toolBar");
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> buttons = bar->actions();
    const auto run = buttons.indexOf(frame->action(kRun));
    ASSERT_GE(run, 0);
    EXPECT_EQ(buttons.value(run + 1), simulate());
    EXPECT_FALSE(simulate()->icon().isNull());
}

TEST_F(ChipWindowTest, TheRunCommandOfAChipBoardRunsTheCompiledChart)
{
    startWith(ModelTolvaChip, 0);
    drawBlinker();
    frame->show();
    frame->runCommand();
    ASSERT_TRUE(state().chip.running());
    EXPECT_FALSE(state().interpreter.running());
    EXPECT_EQ(frame->action(kRun)->data().toInt(), 124);
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel 2' Ejecutando"));
    EXPECT_TRUE(simulate()->isChecked());
    EXPECT_TRUE(frame->chipRun()->timer().isActive());
    EXPECT_EQ(frame->chipRun()->timer().interval(), 20);
    // The reduced monitor opens, and the variables window shows x and y only.
    EXPECT_TRUE(frame->monitors()->reduced()->isVisible());
    EXPECT_EQ(variableField('a'), QString("-"));
    EXPECT_EQ(variableField('x'), QString("0"));
    EXPECT_EQ(variableField('y'), QString("0"));

    ticks(1);
    EXPECT_EQ(state().io.image().outputs[0], 1);
    EXPECT_TRUE(marked(on));
    ticks(2);
    EXPECT_TRUE(marked(wait));
    EXPECT_FALSE(marked(on));
    // The chart cannot be edited meanwhile.
    EXPECT_FALSE(frame->flowWindow()->chooseTool(EditorTool::Output));

    frame->runCommand();  // stops
    EXPECT_FALSE(state().chip.running());
    EXPECT_FALSE(frame->chipRun()->timer().isActive());
    EXPECT_EQ(frame->action(kRun)->data().toInt(), 123);
    EXPECT_FALSE(simulate()->isChecked());
    EXPECT_FALSE(marked(wait));
    EXPECT_EQ(state().io.image().outputs[0], 0);
    EXPECT_EQ(variableField('a'), QString("0"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ChipWindowTest, TheThirdBoardInterpretsAndSimulatesOnCommand)
{
    startWith(ModelTolvaChip, 2);
    drawBlinker();
    frame->runCommand();
    EXPECT_TRUE(state().interpreter.running());
    EXPECT_FALSE(state().chip.running());
    EXPECT_FALSE(simulate()->isEnabled());  // not during a run
    frame->runCommand();
    ASSERT_TRUE(simulate()->isEnabled());
    simulate()->trigger();
    EXPECT_TRUE(state().chip.running());
    simulate()->trigger();
    EXPECT_FALSE(state().chip.running());
}

TEST_F(ChipWindowTest, EscapeStopsAndTheSpaceBarStepsTheSimulation)
{
    startWith(ModelTolvaChip, 0);
    drawBlinker();
    state().speed.singleStep = true;
    simulate()->trigger();
    ASSERT_TRUE(state().chip.running());
    ticks(3);  // the first symbol, then held
    EXPECT_TRUE(marked(on));
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QCoreApplication::sendEvent(frame->flowWindow(), &space);
    EXPECT_TRUE(marked(wait));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(frame->flowWindow(), &escape);
    EXPECT_FALSE(state().chip.running());
}

TEST_F(ChipWindowTest, TheSpeedWindowRetimesTheSimulation)
{
    startWith(ModelTolvaChip, 0);
    drawBlinker();
    simulate()->trigger();
    ASSERT_TRUE(state().chip.running());
    state().speed.applySlider(400);
    emit frame->speedDialog()->intervalChanged();
    EXPECT_EQ(frame->chipRun()->timer().interval(), 420);
    // Marks switched off and on again redraw the running symbol.
    ticks(1);
    state().doc.symbolRef(on).selected = draw::Normal;
    emit frame->speedDialog()->marksChanged();
    EXPECT_TRUE(marked(on));
    frame->runCommand();
}

TEST_F(ChipWindowTest, ACompileFaultSelectsItsSymbolAndRunsNothing)
{
    startWith(ModelTolvaChip, 0);
    test::ChartBuilder b(state().doc);
    const int s = b.start();
    const int lonely = b.out("Turn Output 1 on");
    b.join(s, lonely);
    frame->runCommand();
    EXPECT_FALSE(state().chip.running());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Compilar");
    EXPECT_EQ(messages.last().text, "Hay una línea que falta de este símbolo");
    EXPECT_EQ(state().doc.selectedSymbols(), std::vector<int>{lonely});
    EXPECT_FALSE(frame->chipRun()->timer().isActive());
    EXPECT_EQ(frame->action(kRun)->data().toInt(), 123);
}

TEST_F(ChipWindowTest, StackOverflowStopsTheWindowsRun)
{
    startWith(ModelTolvaChip, 0);
    test::ChartBuilder b(state().doc);
    // Sub n calls sub n + 1 up to sub 8: eight calls open at once.
    b.chain({b.start(), b.proc("Sub 1"), b.stop()});
    for (int n = 1; n <= 8; ++n) {
        const int head = b.head("Sub " + std::to_string(n));
        const int body = b.proc(n < 8 ? "Sub " + std::to_string(n + 1) : "Delay 1");
        b.chain({head, body, b.stop()});
    }
    frame->runCommand();
    ASSERT_TRUE(state().chip.running());
    ticks(20);
    EXPECT_FALSE(state().chip.running());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().caption, "Interprete error");
    EXPECT_EQ(messages.last().text, "Pila de sub-procedimiento está lleno");
    EXPECT_EQ(frame->action(kRun)->data().toInt(), 123);
    EXPECT_FALSE(frame->chipRun()->timer().isActive());
}

TEST_F(ChipWindowTest, PictureOfAChipSimulationWithMarks)
{
    startWith(ModelTolvaChip, 0);
    frame->resize(1000, 760);
    ASSERT_TRUE(frame->loadChart(std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/SEMAFORO.FLO", false));
    frame->show();
    const QImage idle = frame->grab().toImage();
    frame->runCommand();
    ASSERT_TRUE(state().chip.running());
    ticks(4);
    const QImage running = frame->grab().toImage();
    EXPECT_NE(running, idle);
    int marks = 0;
    for (int i = 0; i < state().doc.symbolCount(); ++i) marks += marked(i) ? 1 : 0;
    EXPECT_EQ(marks, 2);  // one symbol for each of the two starts
    const QByteArray shots = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        running.save(QString::fromUtf8(shots) + "/chip-simulation-running.png");
        frame->monitors()->reduced()->grab().save(QString::fromUtf8(shots) +
                                                  "/chip-simulation-monitor.png");
    }
    frame->runCommand();
}

}  // namespace
}  // namespace tarvel
