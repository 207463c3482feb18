#pragma once
// Which simulated box stands for each protocol family: one line per family
// in box_registry.cpp.

#include <memory>

#include "simulated_box.h"

namespace tarvel {
struct ChipEntry;
}

namespace tarvel::boxes {

// The box of a model and sub-model, or null when its family has none. For the
// chip system `chip` is the entry the sub-model chooses: its link decides the
// family and its size the downloader's memory. Boxes of interfaces that take
// compiled programs also act as their downloader.
std::unique_ptr<SimulatedBox> makeBox(int model, int subModel, BoxPrinter print,
                                      const ChipEntry* chip = nullptr);

}  // namespace tarvel::boxes
