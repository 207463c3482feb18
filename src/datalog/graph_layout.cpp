#include "datalog/graph_layout.h"

#include <algorithm>

namespace tarvel {

bool GraphLayout::hasFrequencyGraph() const
{
    return std::any_of(paneKind.begin(), paneKind.end(),
                       [](int k) { return k >= kind(GraphKind::FirstFrequency); });
}

int yStepForRange(double range)
{
    // From the widest range down: the first bound the range passes.
    static constexpr struct {
        double above;
        int step;
    } kSteps[] = {{6500, 1000}, {1300, 500}, {650, 100}, {260, 50},
                  {130, 20},    {65, 10},    {26, 5},    {13, 2}};
    for (const auto& s : kSteps)
        if (range > s.above) return s.step;
    return 1;
}

void GraphLayout::recomputeYStep(int g)
{
    if (g < 0 || g >= kAnalogueGraphs) return;
    const int c = axisChannel[static_cast<std::size_t>(g)];
    if (c < 0 || c >= kSensorChannels) return;
    const auto k = static_cast<std::size_t>(c);
    yStep[static_cast<std::size_t>(g)] = yStepForRange(yMax[k] - yMin[k]);
}

void GraphLayout::sensorChanged(int channel, bool knownSensor, double minimum, double maximum)
{
    if (channel < 0 || channel >= kSensorChannels) return;
    const auto c = static_cast<std::size_t>(channel);
    const int g = analogueGraph[c];
    if (g < kind(GraphKind::FirstAnalogue) || g > kind(GraphKind::LastAnalogue)) return;
    if (!knownSensor) {
        yMin[c] = 0.0;
        yMax[c] = 100.0;
        // Whichever channel labels the axis, the percent scale's ticks.
        yStep[static_cast<std::size_t>(g)] = 10;
        return;
    }
    yMin[c] = minimum;
    yMax[c] = maximum;
    recomputeYStep(g);
}

}  // namespace tarvel
