#pragma once
// The example charts that ship in data/EJEMPLOS, made with the core library so
// that a new user can open and run something at once.

#include <string>
#include <vector>

#include "flowchart/flow_document.h"

namespace tarvel::examples {

struct ExampleChart {
    std::string fileName;  // e.g. "SEMAFORO.FLO"
    FlowDocument doc;
};

// The sensor the greenhouse chart reads its temperature through: the
// identifier of the temperature sensor of the bundled calibration tables.
inline constexpr int kGreenhouseSensorId = 2;

std::vector<ExampleChart> makeExampleCharts();

}  // namespace tarvel::examples
