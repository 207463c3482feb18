#include "datalog/graph_stack.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/messages.h"

namespace tarvel {

namespace {

// The refusals of one group: a channel offered to a graph of another kind,
// and a new graph when every kind of the group is in use. The frequency
// group's second box has always carried the English caption.
struct GroupTexts {
    const char* wrongPane;
    const char* allKindsUsed;
    std::string_view allKindsCaption;
};

constexpr std::string_view kEnglishCaption = "Message from Tarvel";
const char* const kSixGraphs = "Solamente puede tener 6 gráficas distintas";

constexpr std::array<IconGroupInfo, kIconGroups> kGroups{{
    {IconGroup::Analogue, 0, kSensorChannels, 0, 1, 5},
    {IconGroup::Input, 5, kIoCount, 2, 5, 1},
    {IconGroup::Output, 14, kIoCount, 6, 9, 1},
    {IconGroup::Motor, 23, kMotorCount, 10, 13, 2},
    {IconGroup::Frequency, 28, kIoCount, 14, 15, 4},
}};

const GroupTexts& groupTexts(IconGroup group)
{
    static const std::array<GroupTexts, kIconGroups> texts{{
        {"Solamente se puede agregar un canal analógico a una gráfica analógica",
         "Solamente se puede tener dos gráficas analógicas distintas", caption::Message},
        {"Solamente se puede agregar una entrada a una gráfica de entrada",
         "Solamente se puede tener cuatro gráficas de entrada distintas", caption::Message},
        {"Solamente se puede agregar una salida a una gráfica de salida",
         "Solamente se puede tener cuatro gráficas de salida distintas", caption::Message},
        {"Solamente se puede agregar un motor a una gráfica de motor",
         "Solamente se puede tener cuatro gráficas de motor distintas", caption::Message},
        {"Solamente se puede agregar una entrada de frecuencia a una gráfica de frecuencia",
         "Solamente se puede tener dos gráficas de frecuencia distintas", kEnglishCaption},
    }};
    return texts[static_cast<std::size_t>(group)];
}

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

// The real number a text starts with (after blanks), whatever the locale; 0
// when it starts with none.
double leadingReal(const std::string& text)
{
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    if (p < end && *p == '+') ++p;
    double v = 0.0;
    const auto [rest, error] = std::from_chars(p, end, v);
    (void)rest;
    return error == std::errc() && std::isfinite(v) ? v : 0.0;
}

}  // namespace

const IconGroupInfo& iconGroupInfo(IconGroup group)
{
    return kGroups[static_cast<std::size_t>(group)];
}

bool iconChannel(int icon, IconGroup& group, int& channel)
{
    for (const IconGroupInfo& g : kGroups)
        if (icon >= g.firstIcon && icon < g.firstIcon + g.channels) {
            group = g.group;
            channel = icon - g.firstIcon;
            return true;
        }
    return false;
}

int iconCode(IconGroup group, int channel)
{
    return iconGroupInfo(group).firstIcon + channel;
}

int graphOfIcon(const GraphLayout& layout, int icon)
{
    IconGroup group;
    int c = 0;
    if (!iconChannel(icon, group, c)) return kNoGraph;
    switch (group) {
        case IconGroup::Analogue:
            return layout.analogueGraph[at(c)];
        case IconGroup::Input:
            return layout.inputGraph[at(c)];
        case IconGroup::Output:
            return layout.outputGraph[at(c)];
        case IconGroup::Motor:
            return layout.motorGraph[at(c)];
        case IconGroup::Frequency:
            return layout.frequencyGraph[at(c)];
    }
    return kNoGraph;
}

IconState iconState(const GraphLayout& layout, int icon)
{
    if (graphOfIcon(layout, icon) != kNoGraph) return IconState::Placed;
    return layout.selectedIcon == icon ? IconState::Selected : IconState::Free;
}

StackGeometry stackGeometry(const GraphLayout& layout, int height)
{
    StackGeometry g;
    if (layout.totalWeight <= 0) return g;
    int panes = 0;
    for (int s = 0; s < kGraphSlots; ++s)
        if (layout.paneWeight[at(s)] > 0) ++panes;
    // One separator above each pane and one below the last.
    int plotting = height - kSeparator * (panes + 1);
    if (layout.analogueShown == 0) plotting -= kTimeAxisHeight;
    const std::int64_t a = std::max(plotting, 0);
    std::int64_t weights = 0;
    int top = kSeparator;
    for (int s = 0; s < kGraphSlots; ++s) {
        const int w = layout.paneWeight[at(s)];
        if (w <= 0) continue;
        PaneBox& box = g.panes[at(g.count)];
        box.slot = s;
        box.kind = layout.paneKind[at(s)];
        box.top = top;
        box.height = static_cast<int>(w * a / layout.totalWeight);
        ++g.count;
        weights += w;
        top =
            static_cast<int>(weights * a / layout.totalWeight) + kSeparator * g.count + kSeparator;
    }
    return g;
}

StackTarget targetAt(const GraphLayout& layout, int height, int y)
{
    if (y < kSeparator || layout.totalWeight <= 0) return {StackTarget::Insertion, 0};
    const StackGeometry g = stackGeometry(layout, height);
    for (int k = 0; k < g.count; ++k) {
        const PaneBox& p = g.panes[at(k)];
        const int bottom = p.top + p.height;
        if (y >= p.top && y < bottom) return {StackTarget::Pane, p.slot};
        if (y >= bottom && y < bottom + kSeparator) return {StackTarget::Insertion, k + 1};
    }
    return {};
}

std::uint32_t cursorTime(int xFromOrigin, std::uint32_t span, int width)
{
    const int plot = width - 2 * kPlotLeft;
    if (plot <= 0 || xFromOrigin <= 0) return 0;
    return static_cast<std::uint32_t>(std::uint64_t(std::min(xFromOrigin, plot)) * span /
                                      static_cast<std::uint64_t>(plot));
}

int sampleAtTime(const CaptureBuffer& buffer, std::uint32_t t)
{
    // A cursor past the newest sample by more than this shows no values.
    constexpr std::uint32_t kNewestSlack = 5;
    const int n = std::min(buffer.sampleCount, kCaptureCapacity);
    if (n <= 0 || std::uint64_t{buffer.time[at(n - 1)]} + kNewestSlack < t) return -1;
    for (int j = n - 1; j >= 0; --j)
        if (buffer.time[at(j)] <= t) return j;
    return -1;
}

int frequencyValue(const CaptureRecord& record, int g, int bin)
{
    if (bin < 0 || bin >= kFrequencyBins) return 0;
    const int graphKind = kind(GraphKind::FirstFrequency) + g;
    const bool stacked = record.frequency.frequencyMode == kStacked;
    const auto& counts = record.frequency.counts[at(bin)];
    int value = 0;
    for (int i = 0; i < kIoCount; ++i) {
        if (record.layout.frequencyGraph[at(i)] != graphKind) continue;
        value = stacked ? value + counts[at(i)] : std::max(value, counts[at(i)]);
    }
    return value;
}

bool applyYLimits(GraphLayout& layout, int g, const YLimitTexts& rows, Messages& messages)
{
    if (g < 0 || g >= kAnalogueGraphs) return false;
    std::array<std::array<double, 2>, kSensorChannels> read{};
    for (int c = 0; c < kSensorChannels; ++c) {
        const auto& row = rows[at(c)];
        if (row[0] == "-") continue;
        // As the C library reads a real: what does not start with one is 0.
        for (int k = 0; k < 2; ++k) {
            read[at(c)][at(k)] = leadingReal(row[at(k)]);
        }
        if (read[at(c)][0] == read[at(c)][1]) {
            messages.tell(caption::Message, "Los valores no deben ser iguales",
                          MsgIcon::Information);
            return false;
        }
    }
    for (int c = 0; c < kSensorChannels; ++c) {
        if (rows[at(c)][0] == "-") continue;
        layout.yMin[at(c)] = std::min(read[at(c)][0], read[at(c)][1]);
        layout.yMax[at(c)] = std::max(read[at(c)][0], read[at(c)][1]);
    }
    layout.recomputeYStep(g);
    return true;
}

// ---- GraphStack -----------------------------------------------------------------------

int& GraphStack::channelGraph(IconGroup group, int channel)
{
    GraphLayout& l = r_.layout;
    switch (group) {
        case IconGroup::Analogue:
            return l.analogueGraph[at(channel)];
        case IconGroup::Input:
            return l.inputGraph[at(channel)];
        case IconGroup::Output:
            return l.outputGraph[at(channel)];
        case IconGroup::Motor:
            return l.motorGraph[at(channel)];
        case IconGroup::Frequency:
            break;
    }
    return l.frequencyGraph[at(channel)];
}

int GraphStack::paneSlotOfKind(int graphKind) const
{
    for (int s = 0; s < kGraphSlots; ++s)
        if (r_.layout.paneWeight[at(s)] > 0 && r_.layout.paneKind[at(s)] == graphKind) return s;
    return -1;
}

void GraphStack::iconClicked(int icon)
{
    IconGroup group;
    int channel = 0;
    if (!iconChannel(icon, group, channel)) return;
    r_.layout.selectedIcon = kNoIcon;
    if (channelGraph(group, channel) != kNoGraph)
        remove(icon);
    else
        r_.layout.selectedIcon = icon;
}

int GraphStack::insertGraph(int slot, const IconGroupInfo& info, int channel, Messages& messages)
{
    GraphLayout& l = r_.layout;
    if (l.paneWeight[at(kGraphSlots - 1)] > 0) {
        messages.tell(caption::Message, kSixGraphs, MsgIcon::Information);
        return kNoGraph;
    }
    int graphKind = info.firstKind;
    while (graphKind <= info.lastKind && paneSlotOfKind(graphKind) >= 0) ++graphKind;
    if (graphKind > info.lastKind) {
        const GroupTexts& t = groupTexts(info.group);
        messages.tell(t.allKindsCaption, t.allKindsUsed, MsgIcon::Information);
        return kNoGraph;
    }
    // The panes from the slot on move down one; the last slot is empty.
    for (int s = kGraphSlots - 1; s > slot; --s) {
        l.paneWeight[at(s)] = l.paneWeight[at(s - 1)];
        l.paneKind[at(s)] = l.paneKind[at(s - 1)];
        l.paneChannels[at(s)] = l.paneChannels[at(s - 1)];
    }
    l.paneWeight[at(slot)] = info.weight;
    l.paneKind[at(slot)] = graphKind;
    l.paneChannels[at(slot)] = 0;
    l.totalWeight += info.weight;
    if (info.group == IconGroup::Analogue) l.axisChannel[at(graphKind)] = channel;
    if (info.group == IconGroup::Frequency) r_.state.hasFrequencyGraph = true;
    return graphKind;
}

bool GraphStack::place(const StackTarget& target, const SensorLimits& limits, Messages& messages)
{
    GraphLayout& l = r_.layout;
    IconGroup group;
    int channel = 0;
    if (target.kind == StackTarget::Nothing || !iconChannel(l.selectedIcon, group, channel))
        return false;
    const IconGroupInfo& info = iconGroupInfo(group);
    int slot = target.slot;
    bool created = false;
    if (target.kind == StackTarget::Pane) {
        const int paneKind = l.paneKind[at(slot)];
        if (paneKind < info.firstKind || paneKind > info.lastKind) {
            messages.tell(caption::Message, groupTexts(group).wrongPane, MsgIcon::Information);
            return false;
        }
    } else {
        // Insertions land right after the panes in use, never past them.
        int used = 0;
        while (used < kGraphSlots && l.paneWeight[at(used)] > 0) ++used;
        slot = std::clamp(slot, 0, used);
        if (insertGraph(slot, info, channel, messages) == kNoGraph) return false;
        created = true;
    }
    const int graphKind = l.paneKind[at(slot)];
    channelGraph(group, channel) = graphKind;
    ++l.paneChannels[at(slot)];
    if (group == IconGroup::Analogue) {
        const ChannelLimits& lim = limits[at(channel)];
        l.yMin[at(channel)] = lim.known ? lim.minimum : 0.0;
        l.yMax[at(channel)] = lim.known ? lim.maximum : 100.0;
        if (created) {
            l.axisChannel[at(graphKind)] = channel;
            l.recomputeYStep(graphKind);
        }
        ++l.analogueShown;
    }
    if (group == IconGroup::Frequency)
        recomputeFrequencyMax(graphKind - kind(GraphKind::FirstFrequency));
    l.selectedIcon = kNoIcon;
    return true;
}

void GraphStack::removePane(int slot)
{
    GraphLayout& l = r_.layout;
    l.totalWeight -= l.paneWeight[at(slot)];
    for (int s = slot; s < kGraphSlots - 1; ++s) {
        l.paneWeight[at(s)] = l.paneWeight[at(s + 1)];
        l.paneKind[at(s)] = l.paneKind[at(s + 1)];
        l.paneChannels[at(s)] = l.paneChannels[at(s + 1)];
    }
    l.paneWeight[at(kGraphSlots - 1)] = 0;
    l.paneKind[at(kGraphSlots - 1)] = kNoPane;
    l.paneChannels[at(kGraphSlots - 1)] = 0;
}

void GraphStack::remove(int icon)
{
    GraphLayout& l = r_.layout;
    IconGroup group;
    int channel = 0;
    if (!iconChannel(icon, group, channel)) return;
    int& entry = channelGraph(group, channel);
    const int graphKind = entry;
    if (graphKind == kNoGraph) return;
    entry = kNoGraph;
    const int slot = paneSlotOfKind(graphKind);
    if (slot >= 0) {
        if (l.paneChannels[at(slot)] <= 1)
            removePane(slot);
        else
            --l.paneChannels[at(slot)];
    }
    if (group == IconGroup::Analogue) {
        l.analogueShown = std::max(0, l.analogueShown - 1);
        if (kindIn(graphKind, GraphKind::FirstAnalogue, GraphKind::LastAnalogue) &&
            l.axisChannel[at(graphKind)] == channel) {
            for (int c = 0; c < kSensorChannels; ++c)
                if (l.analogueGraph[at(c)] == graphKind) {
                    l.axisChannel[at(graphKind)] = c;
                    l.recomputeYStep(graphKind);
                    break;
                }
        }
    }
    if (group == IconGroup::Frequency &&
        kindIn(graphKind, GraphKind::FirstFrequency, GraphKind::LastFrequency))
        recomputeFrequencyMax(graphKind - kind(GraphKind::FirstFrequency));
    if (l.selectedIcon == icon) l.selectedIcon = kNoIcon;
}

bool GraphStack::cycleAxisChannel(int g)
{
    GraphLayout& l = r_.layout;
    if (g < 0 || g >= kAnalogueGraphs) return false;
    int c = l.axisChannel[at(g)];
    for (int tries = 0; tries < kSensorChannels; ++tries) {
        c = (c + 1 + kSensorChannels) % kSensorChannels;
        if (l.analogueGraph[at(c)] != g) continue;
        if (c == l.axisChannel[at(g)]) return false;
        l.axisChannel[at(g)] = c;
        l.recomputeYStep(g);
        return true;
    }
    return false;
}

void GraphStack::recomputeFrequencyMax(int g)
{
    if (g < 0 || g >= kFrequencyGraphs) return;
    int top = kFrequencyStep;
    for (int bin = 0; bin < kFrequencyBins; ++bin)
        while (top < frequencyValue(r_, g, bin)) top += kFrequencyStep;
    r_.frequency.frequencyMax[at(g)] = top;
}

}  // namespace tarvel
