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

// The shipped sounds as the doorbell chart names them: in the sounds folder
// beside the examples folder, written as on the program's home platform.
inline constexpr const char* kBeepSound = "..\\SONIDOS\\PITIDO.WAV";
inline constexpr const char* kBellSound = "..\\SONIDOS\\CAMPANA.WAV";
inline constexpr const char* kHornSound = "..\\SONIDOS\\BOCINA.WAV";

std::vector<ExampleChart> makeExampleCharts();

}  // namespace tarvel::examples
