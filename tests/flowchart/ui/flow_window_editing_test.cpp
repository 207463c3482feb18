// The flowchart window driven by real mouse events, offscreen: placing
// symbols, drawing lines, carrying a symbol, the rubber band and deleting.

#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>

#include "app/flow_frame.h"
#include "flowchart/line_router.h"
#include "flowchart/ui/flow_window.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"

namespace tarvel {
namespace {

class EditingTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    TFlowFrame frame{FrameServices{messages, clock, files, ports}};
    TFlowWindow* window = frame.flowWindow();
    FlowDocument& doc = frame.state().doc;

    void SetUp() override
    {
        frame.resize(1000, 800);
        frame.show();
    }
    void send(QEvent::Type type, Point at, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const QPointF pos(at.x * window->zoom() / 10.0, at.y * window->zoom() / 10.0);
        QMouseEvent e(type, pos, window->mapToGlobal(pos), button, buttons, mods);
        QApplication::sendEvent(window, &e);
    }
    void click(Point at, Qt::MouseButton button = Qt::LeftButton)
    {
        send(QEvent::MouseButtonPress, at, button, button);
        send(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    void drag(Point from, Point to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, mods);
        const Point mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
        send(QEvent::MouseMove, mid, Qt::NoButton, Qt::LeftButton, mods);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, mods);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, mods);
    }
    int place(int toolId, Point at)
    {
        frame.action(toolId)->trigger();
        const int before = doc.symbolCount();
        click(at);
        return doc.symbolCount() > before ? doc.symbolCount() - 1 : -1;
    }
    void keep(const char* name)
    {
        const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
        if (!dir.isEmpty()) frame.grab().save(QString::fromUtf8(dir) + "/" + name);
    }
};

TEST_F(EditingTest, PlacingSymbolsAndDrawingYesAndNoLines)
{
    const int start = place(306, {320, 84});
    ASSERT_GE(start, 0);
    EXPECT_EQ(doc.symbol(start).x, 320);
    EXPECT_EQ(doc.symbol(start).y, 84);
    EXPECT_EQ(window->editor().tool(), EditorTool::None);  // placing releases the tool
    const int ask = place(305, {320, 196});
    const int yes = place(304, {320, 308});
    const int no = place(302, {576, 308});
    ASSERT_EQ(doc.symbolCount(), 4);
    EXPECT_EQ(doc.symbol(no).x, 576);

    frame.action(307)->trigger();
    click({320, 84});
    click({320, 196});
    frame.action(308)->trigger();
    click({320, 196});
    click({320, 308});
    frame.action(309)->trigger();
    click({320, 196});
    click({576, 308});
    ASSERT_EQ(doc.lineCount(), 3);
    EXPECT_EQ(doc.line(1).kind, LineKind::Yes);
    EXPECT_EQ(doc.line(1).origin, ask);
    EXPECT_EQ(doc.line(1).destination, yes);
    EXPECT_EQ(doc.line(2).kind, LineKind::No);
    EXPECT_EQ(doc.line(2).destination, no);
    EXPECT_TRUE(doc.modified());

    // A second YES line from the decision is refused in the status line.
    frame.action(308)->trigger();
    click({320, 196});
    EXPECT_EQ(messages.statusTexts.back(),
              "Línea SI: Ya hay una línea SI que comienza en este símbolo");
    EXPECT_EQ(doc.lineCount(), 3);
    keep("editing-lines.png");
}

TEST_F(EditingTest, CarryingASymbolReroutesItsLines)
{
    const int a = place(306, {320, 84});
    const int b = place(304, {320, 252});
    frame.action(307)->trigger();
    click({320, 84});
    click({320, 252});
    ASSERT_EQ(doc.lineCount(), 1);
    frame.action(303)->trigger();
    click({320, 252});  // select it
    drag({320, 252}, {576, 420});
    EXPECT_EQ(doc.symbol(b).x, 576);
    EXPECT_EQ(doc.symbol(b).y, 420);
    const FlowLine& l = doc.line(0);
    const Point end = l.geometry.points[static_cast<std::size_t>(l.pointCount() - 1)];
    EXPECT_EQ(doc.symbol(a).x, l.geometry.points[0].x);
    // The line now ends on the moved symbol's edge.
    EXPECT_LE(std::abs(end.x - 576) + std::abs(end.y - 420), 61 + 25);
    keep("editing-carried.png");
}

TEST_F(EditingTest, RubberBandSelectsAndDeleteAsksFirst)
{
    place(304, {320, 84});
    place(302, {320, 196});
    place(305, {640, 196});
    frame.action(303)->trigger();
    drag({200, 40}, {450, 260});  // around the first two
    EXPECT_EQ(doc.selectedSymbols().size(), 2u);
    EXPECT_TRUE(frame.action(312)->isEnabled());
    messages.answerNext(MsgAnswer::Yes);
    frame.action(312)->trigger();
    EXPECT_EQ(messages.last().text, "¿Está seguro de que quiere borrar estos objetos?");
    EXPECT_EQ(doc.symbolCount(), 1);
    EXPECT_EQ(doc.symbol(0).kind, SymbolKind::Decision);
}

TEST_F(EditingTest, TheRightButtonSwitchesToMoveEdit)
{
    const int a = place(304, {320, 84});
    frame.action(302)->trigger();  // the process tool
    click({320, 84}, Qt::RightButton);
    EXPECT_EQ(window->editor().tool(), EditorTool::MoveEdit);
    EXPECT_TRUE(frame.action(303)->isChecked());
    EXPECT_EQ(doc.selectedSymbols(), std::vector<int>{a});
}

TEST_F(EditingTest, EditingIsRefusedWhileAChartRuns)
{
    const int s = place(306, {320, 84});
    const int o = place(304, {320, 196});
    frame.action(307)->trigger();
    click({320, 84});
    click({320, 196});
    doc.setSymbolText(s, "Start");
    doc.setSymbolText(o, "Turn Output 1 on");
    frame.action(307)->trigger();
    click({320, 196});
    click({320, 196});  // a line back into itself keeps the chart running
    frame.runCommand();
    ASSERT_TRUE(frame.state().interpreter.running());
    EXPECT_FALSE(window->chooseTool(EditorTool::Output));
    const int before = doc.symbolCount();
    click({640, 400});
    EXPECT_EQ(doc.symbolCount(), before);
    frame.runCommand();
}

TEST_F(EditingTest, LabelsFromTheMenuAndAutoScroll)
{
    int opened = -1;
    QObject::connect(window, &TFlowWindow::labelEditorRequested,
                     [&](int label) { opened = label; });
    frame.action(301)->trigger();
    click({100, 114});
    EXPECT_EQ(opened, 0);
    doc.setLabelText(0, "uno");
    frame.action(301)->trigger();
    click({160, 214});
    doc.setLabelText(1, "dos dos");
    doc.selectLabel(0);
    frame.action(171)->trigger();
    EXPECT_EQ(doc.label(0).x, 100);
    EXPECT_EQ(doc.label(1).x, 100);
    frame.action(173)->trigger();
    EXPECT_EQ(doc.label(1).y, 100);

    QAction* scroll = frame.action(316);
    ASSERT_TRUE(scroll->isCheckable());
    EXPECT_EQ(scroll->isChecked(), window->autoScroll());
    scroll->trigger();
    EXPECT_EQ(scroll->isChecked(), window->autoScroll());
}

// Auto-scroll runs while the pointer is in the band along the view's edges
// and stops when it leaves the band, inward or out of the window.
TEST_F(EditingTest, AutoScrollStopsWhenThePointerLeavesTheWindow)
{
    ASSERT_TRUE(window->autoScroll());
    send(QEvent::MouseMove, {300, 300}, Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(window->autoScrolling());
    send(QEvent::MouseMove, {4, 300}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(window->autoScrolling());
    send(QEvent::MouseMove, {300, 300}, Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(window->autoScrolling());

    // Out through the band: the window hears only that the pointer left.
    send(QEvent::MouseMove, {4, 300}, Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(window->autoScrolling());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window, &leave);
    EXPECT_FALSE(window->autoScrolling());

    // With a button held the moves go on outside the view: out of the band too.
    frame.action(303)->trigger();
    send(QEvent::MouseButtonPress, {400, 400}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {4, 400}, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(window->autoScrolling());
    send(QEvent::MouseMove, {-30, 400}, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(window->autoScrolling());
    send(QEvent::MouseButtonRelease, {-30, 400}, Qt::LeftButton, Qt::NoButton);
}

TEST_F(EditingTest, AChartDrawnByMouseHasTidyRoutes)
{
    // A loop with a decision, a line back up, an insertion and a carried symbol.
    place(306, {320, 56});
    place(304, {320, 168});
    place(305, {320, 280});
    place(302, {320, 392});
    place(306, {320, 504});
    place(302, {640, 392});
    doc.setSymbolText(0, "Start");
    doc.setSymbolText(4, "Stop");
    auto join = [&](int tool, Point from, Point to) {
        frame.action(tool)->trigger();
        click(from);
        click(to);
    };
    join(307, {320, 56}, {320, 168});
    join(307, {320, 168}, {320, 280});
    join(308, {320, 280}, {320, 392});
    join(309, {320, 280}, {640, 392});
    join(307, {320, 392}, {320, 504});
    join(307, {640, 392}, {320, 168});  // back up to the output
    ASSERT_EQ(doc.lineCount(), 6);
    // A process dropped on the first line goes in between and pushes the rest down.
    place(302, {320, 112});
    EXPECT_EQ(doc.symbolCount(), 7);
    EXPECT_EQ(doc.symbol(6).y, 56 + 84);
    EXPECT_EQ(doc.lineCount(), 7);
    // The side symbol is carried further right.
    frame.action(303)->trigger();
    const Point side{doc.symbol(5).x, doc.symbol(5).y};
    click(side);
    drag(side, {side.x + 160, side.y + 20});
    EXPECT_EQ(doc.symbol(5).x, 800);

    int connectors = 0;
    for (int j = 0; j < doc.lineCount(); ++j) {
        const FlowLine& l = doc.line(j);
        if (l.hasConnector()) {
            ++connectors;
            continue;
        }
        for (int k = 1; k < l.pointCount(); ++k) {
            const Point a = l.geometry.points[static_cast<std::size_t>(k - 1)];
            const Point b = l.geometry.points[static_cast<std::size_t>(k)];
            EXPECT_TRUE(a.x == b.x || a.y == b.y) << "line " << j;
            EXPECT_FALSE(segmentCrossesSymbol(doc, a, b)) << "line " << j << " segment " << k;
        }
    }
    EXPECT_EQ(connectors, 0);
    EXPECT_TRUE(messages.shown.empty());
    keep("editing-chart.png");
}

}  // namespace
}  // namespace tarvel
