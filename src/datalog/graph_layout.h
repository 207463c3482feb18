#pragma once
// The stack of graphs the graph window shows: up to six panes sharing one
// time axis, and which graph shows each channel. The graph window places and
// removes graphs; a data file carries the whole layout.

#include <array>
#include <cstdint>

#include "flowchart/flow_document.h"

namespace tarvel {

inline constexpr int kGraphSlots = 6;
inline constexpr int kAnalogueGraphs = 2;
inline constexpr int kFrequencyGraphs = 2;
// An empty pane slot's kind, and a channel shown on no graph.
inline constexpr int kNoPane = -2;
inline constexpr int kNoGraph = -1;
// Frequency bars: the inputs side by side, or stacked ("Pilado").
inline constexpr int kStacked = 0;
inline constexpr int kSideBySide = 1;
inline constexpr int kMaxLabelDecimals = 2;

// The kind numbers of the graphs: at most one graph of each number exists.
enum class GraphKind {
    FirstAnalogue = 0,
    LastAnalogue = 1,
    FirstInput = 2,
    LastInput = 5,
    FirstOutput = 6,
    LastOutput = 9,
    FirstMotor = 10,
    LastMotor = 13,
    FirstFrequency = 14,
    LastFrequency = 15,
};
inline constexpr int kind(GraphKind k)
{
    return static_cast<int>(k);
}
inline constexpr bool kindIn(int value, GraphKind first, GraphKind last)
{
    return value >= kind(first) && value <= kind(last);
}

// Time grid densities.
inline constexpr int kGridNone = 0;
inline constexpr int kGridCoarse = 1;
inline constexpr int kGridFine = 2;

struct GraphLayout {
    std::array<int, kGraphSlots> paneWeight{};  // height shares; 0 an empty slot
    std::array<int, kGraphSlots> paneKind{kNoPane, kNoPane, kNoPane, kNoPane, kNoPane, kNoPane};
    std::array<int, kGraphSlots> paneChannels{};
    int totalWeight = 0;
    std::array<int, kSensorChannels> analogueGraph{kNoGraph, kNoGraph, kNoGraph, kNoGraph};
    std::array<int, kIoCount> inputGraph{kNoGraph, kNoGraph, kNoGraph, kNoGraph,
                                         kNoGraph, kNoGraph, kNoGraph, kNoGraph};
    std::array<int, kIoCount> outputGraph{kNoGraph, kNoGraph, kNoGraph, kNoGraph,
                                          kNoGraph, kNoGraph, kNoGraph, kNoGraph};
    std::array<int, kMotorCount> motorGraph{kNoGraph, kNoGraph, kNoGraph, kNoGraph};
    std::array<int, kIoCount> frequencyGraph{kNoGraph, kNoGraph, kNoGraph, kNoGraph,
                                             kNoGraph, kNoGraph, kNoGraph, kNoGraph};
    std::array<double, kSensorChannels> yMin{};
    std::array<double, kSensorChannels> yMax{100.0, 100.0, 100.0, 100.0};
    std::array<int, kAnalogueGraphs> labelDecimals{};
    std::array<int, kAnalogueGraphs> axisChannel{kNoGraph, kNoGraph};
    std::array<int, kAnalogueGraphs> yStep{10, 10};
    int analogueShown = 0;  // analogue channels placed on graphs
    int gridMode = kGridCoarse;
    std::uint32_t gridStep = 1000;  // time between vertical grid lines
    int gridMajorEvery = 3;         // every so many grid lines is darker
    int selectedIcon = -1;          // the toolbox icon waiting to be placed

    // A frequency graph is on screen: edges are counted between samples.
    bool hasFrequencyGraph() const;
    // The spacing of the y-axis ticks of analogue graph g, from the limits
    // of its axis channel; a graph without one keeps its spacing.
    void recomputeYStep(int g);
    // A channel's sensor changed: a channel on a graph takes the sensor's
    // limits (0..100 when the sensor is not known) and its graph's ticks follow.
    void sensorChanged(int channel, bool knownSensor, double minimum, double maximum);
};

// The tick spacing for a range of values on the y axis.
int yStepForRange(double range);

}  // namespace tarvel
