// The flowchart window repaints only what a press, a release, a tool choice,
// a ghost step or a hand-drawn segment changed, and what it leaves on the
// screen is what a full paint would show.

#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <functional>
#include <memory>

#include "engine/program_state.h"
#include "example_charts.h"
#include "flowchart/ui/flow_window.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

// Adds up the area of the paint events a widget receives.
class PaintedArea final : public QObject {
public:
    long long pixels = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += static_cast<long long>(r.width()) * r.height();
        }
        return QObject::eventFilter(watched, event);
    }
};

class RepaintTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    ProgramState program{messages, clock};
    std::unique_ptr<TFlowWindow> window;
    PaintedArea painted;
    long long whole = 0;

    void SetUp() override
    {
        // The barrier: a decision, outputs and lines, in one column.
        program.doc = examples::makeExampleCharts().at(2).doc;
        program.doc.setMessages(&messages);
        window = std::make_unique<TFlowWindow>(program, messages);
        window->show();
        QApplication::processEvents();
        window->installEventFilter(&painted);
        whole = static_cast<long long>(window->width()) * window->height();
    }

    void send(QEvent::Type type, Point at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF pos(at.x * window->zoom() / 10.0, at.y * window->zoom() / 10.0);
        QMouseEvent e(type, pos, window->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &e);
    }
    void press(Point at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void release(Point at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void move(Point at, Qt::MouseButtons buttons = Qt::NoButton)
    {
        send(QEvent::MouseMove, at, Qt::NoButton, buttons);
    }

    // The area repainted by what `act` does, once its repaint has run.
    long long repainted(const std::function<void()>& act)
    {
        QApplication::processEvents();
        painted.pixels = 0;
        act();
        QApplication::processEvents();
        return painted.pixels;
    }

    // What the window shows now, against a full paint of the same state.
    void expectTheFullPicture(const char* step)
    {
        const auto* shown = dynamic_cast<const QImage*>(window->backingStore()->paintDevice());
        ASSERT_NE(shown, nullptr);
        const QImage full = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown->convertToFormat(QImage::Format_RGB32).copy(window->rect()) == full)
            << step;
    }
};

TEST_F(RepaintTest, EditingRepaintsOnlyWhatChanged)
{
    const FlowSymbol ask = program.doc.symbol(1);  // the decision below the start
    const long long small = whole / 50;

    // A tool choice, then the ghost following the pointer a grid step at a time.
    EXPECT_LT(repainted([&] { window->chooseTool(EditorTool::Process); }), small);
    EXPECT_LT(repainted([&] { move({800, 600}); }), small);
    EXPECT_GT(painted.pixels, 0);
    EXPECT_LT(repainted([&] { move({832, 600}); }), small);
    expectTheFullPicture("ghost step");
    EXPECT_EQ(repainted([&] { move({835, 602}); }), 0);  // the same grid point
    // Placing the process there.
    EXPECT_LT(repainted([&] {
                  press({835, 602});
                  release({835, 602});
              }),
              small);
    ASSERT_EQ(program.doc.symbolCount(), 10);
    const FlowSymbol placed = program.doc.symbol(9);
    expectTheFullPicture("placed");

    // Selecting a symbol marks it in red: a press and a release.
    window->chooseTool(EditorTool::MoveEdit);
    EXPECT_LT(repainted([&] { press({ask.x, ask.y}); }), small);
    EXPECT_GT(painted.pixels, 0);
    EXPECT_LT(repainted([&] { release({ask.x, ask.y}); }), small);
    expectTheFullPicture("selection");

    // A rubber band drawn and let go.
    EXPECT_LT(repainted([&] {
                  press({700, 700});
                  move({760, 760}, Qt::LeftButton);
                  move({790, 780}, Qt::LeftButton);
              }),
              small);
    expectTheFullPicture("rubber band");
    EXPECT_LT(repainted([&] { release({790, 780}); }), small);
    expectTheFullPicture("rubber band let go");

    // A line drawn by hand from the new process: its origin marked, then a
    // segment at a time.
    window->chooseTool(EditorTool::Line);
    const auto clickAt = [&](Point at) {
        press(at);
        release(at);
    };
    EXPECT_LT(repainted([&] { clickAt({placed.x, placed.y}); }), small);
    EXPECT_EQ(window->editor().lineStep(), 2);
    EXPECT_LT(repainted([&] { clickAt({placed.x + 10, placed.y + 150}); }), small);
    EXPECT_EQ(window->editor().handPath().size(), 2u);
    EXPECT_LT(repainted([&] { clickAt({placed.x + 150, placed.y + 160}); }), small);
    EXPECT_EQ(window->editor().handPath().size(), 3u);
    expectTheFullPicture("hand-drawn segments");
}

// The running marks repaint all a symbol or line draws, a connector's
// circles and letters included.
TEST_F(RepaintTest, RunningMarksRepaintWholeObjects)
{
    LineGeometry g;
    g.points = {Point{800, 300}, {824, 300}, {kConnectorMarkX, 'A'}, {676, 500}, {700, 500},
                {-1, -1},        {-1, -1}};
    const int line = program.doc.appendLine(0, 1, LineKind::Plain, g);
    window->invalidate({0, 0, kDrawingWidth, kDrawingHeight});
    QApplication::processEvents();
    EXPECT_LT(repainted([&] { window->markLine(line, Mark::ActiveLine); }), whole / 50);
    expectTheFullPicture("followed line");
    EXPECT_LT(repainted([&] { window->markSymbol(1, Mark::Active); }), whole / 50);
    expectTheFullPicture("running symbol");
}

}  // namespace
}  // namespace tarvel
