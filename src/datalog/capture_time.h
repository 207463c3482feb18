#pragma once
// The time arithmetic of data capture: the units of the time dialog, the
// sampling interval of a span, the texts of durations and the vertical grid
// of the graphs.

#include <cstdint>
#include <string>

#include "datalog/capture_data.h"

namespace tarvel {

// Hundredths of a second per unit: "Segundos", "Minutos", "Horas", "Días".
std::uint32_t unitFactor(TimeUnit unit);
// The unit's name as the time dialog lists it (UTF-8).
const char* unitName(TimeUnit unit);

// The time between samples: a thousandth of the span, rounded up.
std::uint32_t intervalOfSpan(std::uint32_t span);

// A duration in hundredths as the axis labels and the values box write it
// (Windows-1252): "12.50 segundos", "45 segundos", "2:30 min.", "2 min.",
// "1:05:09 horas", "1.50 días".
std::string formatDuration(std::uint32_t t);

struct TimeGrid {
    std::uint32_t step = 0;
    int majorEvery = 0;
};
// The grid lines for a span; gridMode 1 coarse, 2 fine. Grid mode 0 has none
// (the caller keeps what it had).
TimeGrid timeGrid(int gridMode, std::uint32_t span);

// The span's labels and the grid of the layout's grid mode.
void relabelTimeAxis(CaptureState& state, GraphLayout& layout);

}  // namespace tarvel
