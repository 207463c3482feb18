#include "chip_run.h"

#include <iostream>

#include "chip/chip_session.h"
#include "engine/program_state.h"
#include "platform/scripted_messages.h"

namespace tarvel::tool {

int runChipProgram(ProgramState& state, ScriptedMessages& messages, int ticks,
                   const ChipRunHooks& hooks)
{
    ChipSimulator& chip = state.chip;
    chip.addVariableObserver(hooks.variables);
    chip.setShell(hooks.shell);
    const ChipCompileResult compiled = startChipSimulation(state, messages);
    if (!compiled.program || !chip.running()) {
        std::cout << "0 end " << (messages.empty() ? std::string() : messages.last().text) << '\n';
        return 0;
    }
    if (hooks.begin) hooks.begin();
    for (int k = 1; k <= ticks && chip.running(); ++k) {
        if (hooks.beforeTick) hooks.beforeTick(k);
        chip.timerTick();
    }
    const std::int64_t cs = hooks.nowCentiseconds ? hooks.nowCentiseconds() : 0;
    if (chip.running()) {
        chip.stop();
        std::cout << cs << " end ticks\n";
    } else if (chip.lastStopReason() == ChipStopReason::Error) {
        std::cout << cs << " end " << chip.lastError() << '\n';
    } else {
        std::cout << cs << " end stop\n";
    }
    return 0;
}

}  // namespace tarvel::tool
