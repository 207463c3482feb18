// What the flowchart window repaints as the pointer moves one grid step with
// a symbol tool over the fullest chart: the ghost outline leaves one place and
// appears at the next. Each step is the move event and the repaint it causes;
// the counter "pixels" is the area painted per step.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>

#include "bench_app.h"
#include "engine/program_state.h"
#include "flowchart/ui/flow_window.h"
#include "fullest_chart.h"
#include "platform/qt/qt_clock.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

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

void moveTo(TFlowWindow& window, QPointF pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, window.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    QCoreApplication::sendPostedEvents();
}

void BM_GhostStep(benchmark::State& state)
{
    bench::ensureApplication();
    ScriptedMessages messages;
    messages.recording = false;
    QtClock clock;
    ProgramState program(messages, clock);
    examples::fillFullestChart(program.doc);
    TFlowWindow window(program, messages);
    window.show();
    QCoreApplication::processEvents();
    window.chooseTool(EditorTool::Process);
    moveTo(window, {600, 500});
    PaintedArea area;
    window.installEventFilter(&area);
    bool right = false;
    for (auto _ : state) {
        right = !right;
        moveTo(window, {right ? 632.0 : 600.0, 500.0});
    }
    state.counters["pixels"] =
        benchmark::Counter(static_cast<double>(area.pixels), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GhostStep)->Unit(benchmark::kMicrosecond);

}  // namespace
