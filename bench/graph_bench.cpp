// The graph window's drawing with a full stack of six graphs (two analogue
// with two channels each, inputs, outputs, a motor and a frequency graph) in
// a 600 x 700 window. DrawNewest, the work of one sample during a run, has a
// target of 0.2 ms; a full repaint over a full buffer of 1001 samples, 10 ms.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "bench_app.h"
#include "datalog/graph_stack.h"
#include "datalog/ui/graph_painter.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

constexpr int kWidth = 600, kHeight = 700;

// The full stack over a capture of `samples` samples of moving data.
CaptureRecord fullStack(int samples)
{
    CaptureRecord r;
    ScriptedMessages messages;
    messages.recording = false;
    GraphStack stack(r);
    SensorLimits limits{};
    limits[0] = {true, 0.0, 1023.0};
    const struct {
        int icon;
        StackTarget target;
    } places[] = {
        {0, {StackTarget::Insertion, 0}},  {1, {StackTarget::Pane, 0}},
        {2, {StackTarget::Insertion, 1}},  {3, {StackTarget::Pane, 1}},
        {5, {StackTarget::Insertion, 2}},  {6, {StackTarget::Pane, 2}},
        {14, {StackTarget::Insertion, 3}}, {15, {StackTarget::Pane, 3}},
        {23, {StackTarget::Insertion, 4}}, {28, {StackTarget::Insertion, 5}},
        {29, {StackTarget::Pane, 5}},
    };
    for (const auto& p : places) {
        stack.iconClicked(p.icon);
        stack.place(p.target, limits, messages);
    }
    CaptureBuffer& b = r.buffer;
    for (int j = 0; j < samples; ++j) {
        const auto k = static_cast<std::size_t>(j);
        b.time[k] = 12u * static_cast<std::uint32_t>(j);
        for (int c = 0; c < kSensorChannels; ++c)
            b.analogue[static_cast<std::size_t>(c)][k] = 50 + 45 * std::sin(j / (9.0 + c));
        b.inputs[k] = static_cast<std::uint8_t>((j / 13) * 37);
        b.outputs[k] = static_cast<std::uint8_t>((j / 17) * 91);
        b.motors[0][k] = static_cast<std::int8_t>((j / 40) % 3 * 100 - 100);
    }
    for (int bin = 0; bin < kFrequencyBins; ++bin)
        for (int i = 0; i < kIoCount; ++i)
            r.frequency.counts[static_cast<std::size_t>(bin)][static_cast<std::size_t>(i)] =
                (bin * 3 + i) % 9;
    b.sampleCount = samples;
    r.state.span = 12000;
    return r;
}

GraphLabels labels()
{
    GraphLabels l;
    l.analogue[0] = {GraphLabels::Sensor::Known, "Luz", "%"};
    return l;
}

void BM_DrawNewestFullStack(benchmark::State& state)
{
    bench::ensureApplication();
    // The newest sample waits at index 500, not yet counted.
    CaptureRecord r = fullStack(501);
    r.buffer.sampleCount = 500;
    const GraphLabels l = labels();
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    const GraphPainter painter(r, l);
    for (auto _ : state) {
        const QRect area = painter.drawNewest(p, kWidth, kHeight, false);
        benchmark::DoNotOptimize(area);
    }
}
BENCHMARK(BM_DrawNewestFullStack)->Unit(benchmark::kMicrosecond);

void BM_FullRepaintFullBuffer(benchmark::State& state)
{
    bench::ensureApplication();
    const CaptureRecord r = fullStack(kCaptureCapacity);
    const GraphLabels l = labels();
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&canvas);
        GraphPainter(r, l).paintWindow(p, kWidth, kHeight);
    }
}
BENCHMARK(BM_FullRepaintFullBuffer)->Unit(benchmark::kMillisecond);

}  // namespace
