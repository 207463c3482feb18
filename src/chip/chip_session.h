#pragma once
// Compiling the chart for the chosen interface and running the program in the
// chip simulator: what the Simulate command, the run command of the chip
// boards and `tarvel run --chip` share.

#include "chip/chip_compiler.h"

namespace tarvel {

class InterfaceLayer;
class Messages;
class ProgramState;

// The shape of program the chosen interface takes (dialect, size, link).
ChipTarget chosenChipTarget(const InterfaceLayer& io);

// Compiles the chart as the chosen interface takes it, numbers compared with
// a channel read through the channel's sensor. The output powers are
// recomputed first, as for a run. A fault has been shown through `messages`.
ChipCompileResult compileForChosenChip(ProgramState& state, Messages& messages);

// Compiles and, when that succeeds, starts the simulation. The compile's
// result is returned (its fault names the symbol to reveal).
ChipCompileResult startChipSimulation(ProgramState& state, Messages& messages);

}  // namespace tarvel
