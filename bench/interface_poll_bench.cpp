// One full poll cycle of a run against a box that answers at once (the
// simulated box in process), for each family the program drives over a
// line: the outputs and motors sent with their answers, the inputs read and
// the analogue channels read. What the program itself spends per exchange,
// apart from the line's speed. The Arduino board is not here: it sends its
// readings by itself on its own timer, so it has no poll cycle.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "boxes/box_link.h"
#include "boxes/box_registry.h"
#include "boxes/box_session.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "interfaces/protocols/sense_control_protocol.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

// A sensors folder holding the system image one family sends at start-up.
std::string sensorsFolder()
{
    const auto dir = std::filesystem::temp_directory_path() / "tarvel-poll-bench";
    std::filesystem::create_directories(dir);
    std::ofstream image(dir / SenseControlProtocol::kSystemFile, std::ios::binary);
    for (int i = 0; i < 4096; ++i) image.put(static_cast<char>(i % 251));
    return dir.string();
}

void PollCycle(benchmark::State& state)
{
    const int model = static_cast<int>(state.range(0));
    const int subModel = static_cast<int>(state.range(1));
    auto box = boxes::makeBox(model, subModel, [](const std::string&) {});
    if (!box) {
        state.SkipWithError("no box for this family");
        return;
    }
    boxes::BoxSession session(*box, {});
    boxes::BoxLink link(session);
    ScriptedMessages messages;
    messages.recording = false;
    InterfaceLayer io;
    io.setByteLink(&link);
    io.setMessages(&messages);
    io.setSensorsDirectory(sensorsFolder());
    io.settings.mode = 1;
    io.settings.model = model;
    io.settings.subModel = subModel;
    io.applySelection();
    io.setSimulate(false);
    io.pollInputs();  // start-up exchanges are not part of a cycle
    int k = 0;
    for (auto _ : state) {
        // An output and a motor change every pass, so both travel.
        io.setOutput(0, k & 1);
        io.setMotor(1, k & 1 ? kMotorForward : kMotorOff);
        io.writeOutputs();
        io.pollInputs();
        ++k;
    }
    if (io.failureCount() != 0) state.SkipWithError("the box failed");
    benchmark::DoNotOptimize(io.image().analogue);
}
BENCHMARK(PollCycle)
    ->ArgNames({"model", "sub"})
    ->Args({ModelDeltronics, kDeltronicsSerialPlus})
    ->Args({ModelSenseControl, 0})
    ->Args({ModelMfa, 0})
    ->Args({ModelContactController, kContactControllerPlus})
    ->Args({ModelContactController, kContactControllerBasic})
    ->Args({ModelLego, 0})
    ->Args({ModelFischertechnik, 0});

}  // namespace
