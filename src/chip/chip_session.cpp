#include "chip/chip_session.h"

#include "engine/program_state.h"
#include "sensors/sensor_channel_scale.h"

namespace tarvel {

ChipTarget chosenChipTarget(const InterfaceLayer& io)
{
    return chipTargetFor(io.settings, io.chosenChip());
}

ChipCompileResult compileForChosenChip(ProgramState& state, Messages& messages)
{
    state.io.recomputeOutputPower();
    const SensorChannelScale scale(state.sensors);
    return compileChart(state.doc, chosenChipTarget(state.io), messages, &scale);
}

ChipCompileResult startChipSimulation(ProgramState& state, Messages& messages)
{
    ChipCompileResult result = compileForChosenChip(state, messages);
    if (result.program) state.chip.start(*result.program, chosenChipTarget(state.io));
    return result;
}

}  // namespace tarvel
