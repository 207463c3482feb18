#pragma once
// Which simulated box stands for each protocol family: one line per family
// in box_registry.cpp.

#include <memory>

#include "simulated_box.h"

namespace tarvel::boxes {

// The box of a model and sub-model, or null when its family has none.
std::unique_ptr<SimulatedBox> makeBox(int model, int subModel, BoxPrinter print);

}  // namespace tarvel::boxes
