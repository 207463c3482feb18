// Painting the fullest chart the tables hold: 220 symbols with two-line
// captions, 400 lines of 7 points, 100 labels, into an image of the whole
// drawing area. A full repaint must stay well inside a frame.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "appearance/colour_set.h"
#include "bench_app.h"
#include "flowchart/flow_document.h"
#include "flowchart/ui/chart_picture.h"
#include "flowchart/ui/flow_painter.h"
#include "fullest_chart.h"

namespace {

using namespace tarvel;

struct Fixture {
    FlowDocument doc;
    ColourSet colours;
    Fixture()
    {
        bench::ensureApplication();
        examples::fillFullestChart(doc);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void paintInto(benchmark::State& state, int zoom, const QRect& dirty)
{
    Fixture& f = fixture();
    QImage image(kDrawingWidth * zoom / 10, kDrawingHeight * zoom / 10, QImage::Format_RGB32);
    PaintOptions o;
    o.zoomX = o.zoomY = zoom;
    const FlowPainter painter(f.doc, f.colours);
    for (auto _ : state) {
        QPainter p(&image);
        if (!dirty.isEmpty()) p.setClipRect(dirty);
        painter.paint(p, o, dirty);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintFullestChart100(benchmark::State& state)
{
    paintInto(state, 10, QRect());
}
BENCHMARK(BM_PaintFullestChart100)->Unit(benchmark::kMillisecond);

void BM_PaintFullestChart50(benchmark::State& state)
{
    paintInto(state, 5, QRect());
}
BENCHMARK(BM_PaintFullestChart50)->Unit(benchmark::kMillisecond);

// What a running mark costs: one symbol's area repainted.
void BM_PaintOneSymbolArea(benchmark::State& state)
{
    paintInto(state, 10, QRect(500, 600, 130, 60));
}
BENCHMARK(BM_PaintOneSymbolArea)->Unit(benchmark::kMicrosecond);

void BM_PaintChartPicture(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(renderChartPicture(f.doc, f.colours, false));
}
BENCHMARK(BM_PaintChartPicture)->Unit(benchmark::kMillisecond);

}  // namespace
