#pragma once
// The arithmetic of the graph stack and the toolbox's rules: where each pane
// lies in a window of a given height, what a click there targets, placing a
// channel picked in the toolbox (joining a graph of its kind or inserting a
// new graph), removing one, and the values cursor's sample lookup. Nothing
// here draws; the graph window and the printouts share it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datalog/capture_data.h"

namespace tarvel {

class Messages;

// The toolbox's 32 channel icons: codes 0-3 analogue, 5-12 inputs, 14-21
// outputs, 23-26 motors, 28-35 frequency inputs.
enum class IconGroup { Analogue, Input, Output, Motor, Frequency };
inline constexpr int kIconGroups = 5;
inline constexpr int kToolboxIcons = 32;
inline constexpr int kNoIcon = -1;

struct IconGroupInfo {
    IconGroup group;
    int firstIcon;  // icon code of channel 0
    int channels;
    int firstKind;  // graph kinds that take the group's channels
    int lastKind;
    int weight;  // height share of a new graph
};
const IconGroupInfo& iconGroupInfo(IconGroup group);
// The icon's group and channel; false for a code that is no icon.
bool iconChannel(int icon, IconGroup& group, int& channel);
int iconCode(IconGroup group, int channel);
// The graph kind showing the icon's channel, or kNoGraph.
int graphOfIcon(const GraphLayout& layout, int icon);

// An icon's face: free, picked and waiting to be placed, or on a graph.
enum class IconState { Free = 0, Selected = 1, Placed = 2 };
IconState iconState(const GraphLayout& layout, int icon);

// ---- Geometry ---------------------------------------------------------------------
// The strip above and between the panes.
inline constexpr int kSeparator = 6;
// The height the window's own time axis takes while no analogue graph shows it.
inline constexpr int kTimeAxisHeight = 20;
// Time runs from x kPlotLeft to width - kPlotLeft.
inline constexpr int kPlotLeft = 35;

struct PaneBox {
    int slot = 0;
    int kind = kNoPane;
    int top = 0;
    int height = 0;
};
struct StackGeometry {
    std::array<PaneBox, kGraphSlots> panes{};
    int count = 0;
};
// The panes of the stack in a drawing `height` pixels high.
StackGeometry stackGeometry(const GraphLayout& layout, int height);

// The x of a time on a plot `width` pixels wide.
inline int xOfTime(std::uint32_t t, std::uint32_t span, int width)
{
    const std::uint64_t s = span == 0 ? 1 : span;
    const std::int64_t w = width - 2 * kPlotLeft;
    return static_cast<int>(static_cast<std::int64_t>(t) * w / static_cast<std::int64_t>(s) +
                            kPlotLeft);
}

// What a click at height y targets: a pane, the gap where a new graph would
// go, or nothing.
struct StackTarget {
    enum Kind { Nothing, Pane, Insertion } kind = Nothing;
    int slot = 0;
};
StackTarget targetAt(const GraphLayout& layout, int height, int y);

// ---- The values cursor --------------------------------------------------------------
// The time under the cursor at x' pixels from the time origin.
std::uint32_t cursorTime(int xFromOrigin, std::uint32_t span, int width);
// The sample shown for a time: the last one taken at or before it, while the
// newest lies no more than 5 hundredths before it; else -1.
int sampleAtTime(const CaptureBuffer& buffer, std::uint32_t t);

// The bar height that frequency graph g (kind 14 + g) needs in a bin: the
// largest count over its inputs (side by side) or their sum (stacked).
int frequencyValue(const CaptureRecord& record, int g, int bin);

// The y-limit dialog's "Aceptar" for analogue graph g: each row is a
// channel's minimum and maximum text, "-" for a channel not on the graph. Equal
// limits are refused (nothing changes); limits entered the wrong way round are
// swapped. True when stored.
using YLimitTexts = std::array<std::array<std::string, 2>, kSensorChannels>;
bool applyYLimits(GraphLayout& layout, int g, const YLimitTexts& rows, Messages& messages);

// ---- Placing and removing -------------------------------------------------------------
// The limits of an analogue channel's sensor; an unknown sensor reads 0..100.
struct ChannelLimits {
    bool known = false;
    double minimum = 0.0;
    double maximum = 100.0;
};
using SensorLimits = std::array<ChannelLimits, kSensorChannels>;

// The rules of the toolbox and the clicks in the graph window, over the
// capture's layout and frequency maxima.
class GraphStack {
public:
    explicit GraphStack(CaptureRecord& record) : r_(record) {}

    // A toolbox icon was clicked: a channel on a graph comes off it, any other
    // is picked to be placed (the one picked before is dropped).
    void iconClicked(int icon);
    // A left click with the picked icon on the target. A refusal is shown,
    // changes nothing and keeps the icon picked. True when placed.
    bool place(const StackTarget& target, const SensorLimits& limits, Messages& messages);
    // Takes a channel off its graph; a graph left empty goes and the ones
    // below move up.
    void remove(int icon);
    // A click on the y axis of analogue graph g: the next channel of the
    // graph labels the axis. True when it changed.
    bool cycleAxisChannel(int g);
    // The top of frequency graph g's axis, from every bin's bars.
    void recomputeFrequencyMax(int g);

private:
    // The graph kind of a new graph for the group, after its checks; kNoGraph
    // when refused.
    int insertGraph(int slot, const IconGroupInfo& info, int channel, Messages& messages);
    void removePane(int slot);
    int paneSlotOfKind(int graphKind) const;
    int& channelGraph(IconGroup group, int channel);

    CaptureRecord& r_;
};

}  // namespace tarvel
