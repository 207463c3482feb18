// One full poll cycle of a run against a box that answers at once (the
// simulated box in process): the outputs and motors sent with their echoes,
// the input byte read, the four analogue channels read in ten bits. What the
// program itself spends per exchange, apart from the line's 9600 baud.

#include <benchmark/benchmark.h>

#include "boxes/box_link.h"
#include "boxes/box_session.h"
#include "boxes/deltronics_box.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

void DeltronicsPollCycle(benchmark::State& state)
{
    boxes::DeltronicsBox box(ModelDeltronics, kDeltronicsSerialPlus, [](const std::string&) {});
    boxes::BoxSession session(box, {});
    boxes::BoxLink link(session);
    ScriptedMessages messages;
    InterfaceLayer io;
    io.setByteLink(&link);
    io.setMessages(&messages);
    io.settings.mode = 1;
    io.settings.model = ModelDeltronics;
    io.settings.subModel = kDeltronicsSerialPlus;
    io.applySelection();
    io.setSimulate(false);
    io.pollInputs();  // the first analogue reply is in eight bits; ten from then on
    int k = 0;
    for (auto _ : state) {
        // An output and a motor change every pass, so both bytes travel.
        io.setOutput(0, k & 1);
        io.setMotor(1, k & 1 ? kMotorForward : kMotorOff);
        io.writeOutputs();
        io.pollInputs();
        ++k;
    }
    if (io.failureCount() != 0) state.SkipWithError("the box failed");
    benchmark::DoNotOptimize(io.image().analogue);
}
BENCHMARK(DeltronicsPollCycle);

}  // namespace
