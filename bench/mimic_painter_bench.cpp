// A full repaint of a shipped mimic set, labels shown: every object drawn
// into an image of the window, as the window paints it. The target for the
// largest set is under 2 ms.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <string>

#include "bench_app.h"
#include "interfaces/interface_layer.h"
#include "mimics/mimic_channels.h"
#include "mimics/mimic_display.h"
#include "mimics/mimic_library.h"
#include "mimics/ui/mimic_painter.h"
#include "mimics/ui/mimic_pictures.h"
#include "platform/scripted_messages.h"
#include "sensors/sensor_channels.h"

namespace {

using namespace tarvel;

using bench::ensureApplication;

void fullRepaint(benchmark::State& state, const char* set)
{
    ensureApplication();
    FlowDocument doc;
    InterfaceLayer io;
    SensorChannels sensors(doc, io);
    SensorMimicChannels channels(sensors);
    MimicDisplay display(io, channels);
    ScriptedMessages messages;
    MimicLibrary library(display, io.settings, messages);
    QtMimicPictures pictures;
    library.setPictureStore(&pictures);
    library.setDirectory(TARVEL_DATA_DIR "/MIMICS");
    if (!library.loadMimic(set)) {
        state.SkipWithError("the set cannot be read");
        return;
    }
    display.setShowLabels(true);
    // Something lit, as during a run.
    io.setOutput(0, 1);
    io.setMotor(0, kMotorForward);
    MimicPainter painter(display, pictures);
    QImage window(kMimicWidth, kMimicHeight, QImage::Format_ARGB32_Premultiplied);
    const QColor base(Qt::white);
    for (auto _ : state) {
        QPainter p(&window);
        painter.paint(p, base);
        p.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}

void MimicFullRepaintLighthouse(benchmark::State& state)
{
    fullRepaint(state, "FARO");
}
void MimicFullRepaintTrafficLights(benchmark::State& state)
{
    fullRepaint(state, "SEMAFORO");
}
void MimicFullRepaintLevelCrossing(benchmark::State& state)
{
    fullRepaint(state, "PASONIVEL");
}
void MimicFullRepaintGreenhouse(benchmark::State& state)
{
    fullRepaint(state, "VIVERO");
}

BENCHMARK(MimicFullRepaintLighthouse)->Unit(benchmark::kMicrosecond);
BENCHMARK(MimicFullRepaintTrafficLights)->Unit(benchmark::kMicrosecond);
BENCHMARK(MimicFullRepaintLevelCrossing)->Unit(benchmark::kMicrosecond);
BENCHMARK(MimicFullRepaintGreenhouse)->Unit(benchmark::kMicrosecond);

}  // namespace
