// The graph stack: placing channels from the toolbox (joining, inserting,
// every refusal and what a refusal leaves), removing them, the vertical
// layout and hit testing of mixed stacks, and the values cursor's lookup.

#include "datalog/graph_stack.h"

#include <gtest/gtest.h>

#include "support/fake_messages.h"

namespace tarvel {
namespace {

constexpr int kAnalogue1 = 0, kAnalogue2 = 1, kInput1 = 5, kInput2 = 6, kOutput1 = 14, kMotorA = 23,
              kFrequency1 = 28, kFrequency2 = 29, kFrequency3 = 30;

class GraphStackTest : public ::testing::Test {
protected:
    CaptureRecord record;
    GraphStack stack{record};
    test::FakeMessages messages;
    SensorLimits limits{};
    GraphLayout& layout() { return record.layout; }

    // Picks the icon and clicks on the target; true when placed.
    bool put(int icon, StackTarget target)
    {
        stack.iconClicked(icon);
        return stack.place(target, limits, messages);
    }
    bool insertAt(int icon, int slot) { return put(icon, {StackTarget::Insertion, slot}); }
    bool join(int icon, int slot) { return put(icon, {StackTarget::Pane, slot}); }
    std::vector<int> kinds()
    {
        std::vector<int> k;
        for (int s = 0; s < kGraphSlots; ++s)
            if (layout().paneWeight[static_cast<std::size_t>(s)] > 0)
                k.push_back(layout().paneKind[static_cast<std::size_t>(s)]);
        return k;
    }
};

TEST_F(GraphStackTest, TheFirstGraphGoesToSlotZeroAndChannelsJoinGraphsOfTheirKind)
{
    limits[2] = {true, 0.0, 1023.0};
    // With no graph a click anywhere inserts at the top.
    const StackTarget anywhere = targetAt(layout(), 400, 250);
    EXPECT_EQ(anywhere.kind, StackTarget::Insertion);
    EXPECT_EQ(anywhere.slot, 0);
    ASSERT_TRUE(put(2, anywhere));
    EXPECT_EQ(kinds(), std::vector<int>{0});
    EXPECT_EQ(layout().paneWeight[0], 5);
    EXPECT_EQ(layout().totalWeight, 5);
    EXPECT_EQ(layout().analogueGraph[2], 0);
    EXPECT_EQ(layout().axisChannel[0], 2);
    EXPECT_EQ(layout().yMax[2], 1023.0);
    EXPECT_EQ(layout().yStep[0], 100);
    EXPECT_EQ(layout().analogueShown, 1);
    EXPECT_EQ(iconState(layout(), 2), IconState::Placed);
    EXPECT_EQ(layout().selectedIcon, kNoIcon);

    // A second analogue channel joins; its unknown sensor reads 0..100 and
    // the axis stays with the first channel.
    ASSERT_TRUE(join(kAnalogue1, 0));
    EXPECT_EQ(layout().paneChannels[0], 2);
    EXPECT_EQ(layout().yMin[0], 0.0);
    EXPECT_EQ(layout().yMax[0], 100.0);
    EXPECT_EQ(layout().axisChannel[0], 2);
    EXPECT_EQ(layout().analogueShown, 2);

    // A new input graph below it, then an output graph between the two.
    ASSERT_TRUE(insertAt(kInput1, 1));
    ASSERT_TRUE(insertAt(kOutput1, 1));
    EXPECT_EQ(kinds(), (std::vector<int>{0, 6, 2}));
    EXPECT_EQ(layout().totalWeight, 7);
    EXPECT_EQ(layout().inputGraph[0], 2);
    EXPECT_EQ(layout().outputGraph[0], 6);
    EXPECT_TRUE(messages.empty());

    // The axis cycles to the other analogue channel of the graph and back.
    EXPECT_TRUE(stack.cycleAxisChannel(0));
    EXPECT_EQ(layout().axisChannel[0], 0);
    EXPECT_EQ(layout().yStep[0], 10);
    EXPECT_TRUE(stack.cycleAxisChannel(0));
    EXPECT_EQ(layout().axisChannel[0], 2);
}

TEST_F(GraphStackTest, ARefusedPlacementChangesNothingAndKeepsTheIconPicked)
{
    ASSERT_TRUE(insertAt(kAnalogue1, 0));
    const GraphLayout before = layout();

    stack.iconClicked(kInput1);
    EXPECT_EQ(iconState(layout(), kInput1), IconState::Selected);
    EXPECT_FALSE(stack.place({StackTarget::Pane, 0}, limits, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");
    EXPECT_EQ(messages.last().text,
              "Solamente se puede agregar una entrada a una gráfica de entrada");
    EXPECT_EQ(layout().selectedIcon, kInput1);
    EXPECT_EQ(layout().paneKind, before.paneKind);
    EXPECT_EQ(layout().inputGraph, before.inputGraph);
    EXPECT_EQ(layout().totalWeight, before.totalWeight);

    // Every group names its own kind when offered to a graph of another.
    const struct {
        int icon;
        const char* text;
    } wrong[] = {
        {kAnalogue2, "Solamente se puede agregar un canal analógico a una gráfica analógica"},
        {kOutput1, "Solamente se puede agregar una salida a una gráfica de salida"},
        {kMotorA, "Solamente se puede agregar un motor a una gráfica de motor"},
        {kFrequency1,
         "Solamente se puede agregar una entrada de frecuencia a una gráfica de frecuencia"},
    };
    ASSERT_TRUE(insertAt(kInput2, 1));  // the input graph in slot 1
    for (const auto& w : wrong) {
        const int slot = w.icon == kAnalogue2 ? 1 : 0;
        EXPECT_FALSE(join(w.icon, slot)) << w.text;
        EXPECT_EQ(messages.last().text, w.text);
        EXPECT_EQ(layout().selectedIcon, w.icon);
    }
    // Picking another icon drops the one picked before.
    stack.iconClicked(kMotorA);
    EXPECT_EQ(iconState(layout(), kFrequency1), IconState::Free);
}

TEST_F(GraphStackTest, TheLimitsOfSixGraphsAndOfEachKind)
{
    // Two analogue graphs, then a third is refused.
    ASSERT_TRUE(insertAt(kAnalogue1, 0));
    ASSERT_TRUE(insertAt(kAnalogue2, 1));
    EXPECT_FALSE(insertAt(2, 2));
    EXPECT_EQ(messages.last().text, "Solamente se puede tener dos gráficas analógicas distintas");
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");

    // Two frequency graphs; the third is refused under the English caption.
    ASSERT_TRUE(insertAt(kFrequency1, 2));
    ASSERT_TRUE(insertAt(kFrequency2, 3));
    EXPECT_TRUE(record.state.hasFrequencyGraph);
    EXPECT_FALSE(insertAt(kFrequency3, 4));
    EXPECT_EQ(messages.last().caption, "Message from Tarvel");
    EXPECT_EQ(messages.last().text,
              "Solamente se puede tener dos gráficas de frecuencia distintas");

    // A fifth and sixth graph fit; a seventh is refused though its kind is free.
    ASSERT_TRUE(insertAt(kInput1, 4));
    ASSERT_TRUE(insertAt(kMotorA, 5));
    EXPECT_EQ(kinds(), (std::vector<int>{0, 1, 14, 15, 2, 10}));
    EXPECT_EQ(layout().totalWeight, 5 + 5 + 4 + 4 + 1 + 2);
    const GraphLayout before = layout();
    EXPECT_FALSE(insertAt(kOutput1, 0));
    EXPECT_EQ(messages.last().text, "Solamente puede tener 6 gráficas distintas");
    EXPECT_EQ(layout().paneKind, before.paneKind);
    EXPECT_EQ(layout().selectedIcon, kOutput1);

    // Four graphs of one kind at most.
    record = CaptureRecord{};
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(insertAt(kInput1 + i, i));
    EXPECT_EQ(kinds(), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_FALSE(insertAt(kInput1 + 4, 4));
    EXPECT_EQ(messages.last().text,
              "Solamente se puede tener cuatro gráficas de entrada distintas");
}

TEST_F(GraphStackTest, RemovingChannelsMovesTheGraphsBelowUpAndFreesTheirKinds)
{
    ASSERT_TRUE(insertAt(kAnalogue1, 0));
    ASSERT_TRUE(join(kAnalogue2, 0));
    ASSERT_TRUE(insertAt(kInput1, 1));
    ASSERT_TRUE(insertAt(kMotorA, 2));

    // The axis channel goes: the other channel of the graph takes the axis.
    limits[1] = {true, 0.0, 5.0};
    stack.iconClicked(kAnalogue1);
    EXPECT_EQ(layout().analogueGraph[0], kNoGraph);
    EXPECT_EQ(layout().paneChannels[0], 1);
    EXPECT_EQ(layout().axisChannel[0], 1);
    EXPECT_EQ(layout().analogueShown, 1);
    EXPECT_EQ(iconState(layout(), kAnalogue1), IconState::Free);

    // The only channel of the middle graph: the motor graph moves up.
    stack.iconClicked(kInput1);
    EXPECT_EQ(kinds(), (std::vector<int>{0, 10}));
    EXPECT_EQ(layout().paneKind[2], kNoPane);
    EXPECT_EQ(layout().paneWeight[2], 0);
    EXPECT_EQ(layout().totalWeight, 7);
    EXPECT_EQ(layout().selectedIcon, kNoIcon);
    // Its kind is free again for the next input graph.
    ASSERT_TRUE(insertAt(kInput2, 2));
    EXPECT_EQ(layout().inputGraph[1], 2);
}

TEST_F(GraphStackTest, FrequencyMaximaFollowTheCountsOfTheGraphsInputs)
{
    record.frequency.counts[3][0] = 14;
    record.frequency.counts[3][1] = 9;
    ASSERT_TRUE(insertAt(kFrequency1, 0));
    EXPECT_EQ(record.frequency.frequencyMax[0], 20);
    ASSERT_TRUE(join(kFrequency2, 0));
    EXPECT_EQ(record.frequency.frequencyMax[0], 20);  // side by side: the larger
    record.frequency.frequencyMode = kStacked;
    stack.recomputeFrequencyMax(0);
    EXPECT_EQ(record.frequency.frequencyMax[0], 30);  // stacked: 23
    stack.iconClicked(kFrequency1);
    EXPECT_EQ(record.frequency.frequencyMax[0], 10);
}

TEST(GraphGeometry, MixedStacksShareTheHeightByWeight)
{
    GraphLayout l;
    // Analogue 5, input 1, motor 2, frequency 4 in a 400-pixel window.
    const int kinds[] = {0, 2, 10, 14}, weights[] = {5, 1, 2, 4};
    for (int s = 0; s < 4; ++s) {
        l.paneKind[static_cast<std::size_t>(s)] = kinds[s];
        l.paneWeight[static_cast<std::size_t>(s)] = weights[s];
    }
    l.totalWeight = 12;
    l.analogueShown = 1;
    // Five separators of 6: 370 pixels for plotting.
    StackGeometry g = stackGeometry(l, 400);
    ASSERT_EQ(g.count, 4);
    EXPECT_EQ(g.panes[0].top, 6);
    EXPECT_EQ(g.panes[0].height, 5 * 370 / 12);
    EXPECT_EQ(g.panes[1].top, 5 * 370 / 12 + 12);
    EXPECT_EQ(g.panes[1].height, 370 / 12);
    EXPECT_EQ(g.panes[2].top, 6 * 370 / 12 + 18);
    EXPECT_EQ(g.panes[3].top, 8 * 370 / 12 + 24);
    EXPECT_EQ(g.panes[3].kind, 14);
    EXPECT_LE(g.panes[3].top + g.panes[3].height + 6, 400);

    // Without an analogue channel the window's own time axis takes 20 more.
    l.analogueShown = 0;
    g = stackGeometry(l, 400);
    EXPECT_EQ(g.panes[0].height, 5 * 350 / 12);
    EXPECT_EQ(g.panes[3].top, 8 * 350 / 12 + 24);
    EXPECT_EQ(g.panes[3].height, 4 * 350 / 12);

    // Hit testing: the top strip and each gap insert, a pane is a pane.
    l.analogueShown = 1;
    g = stackGeometry(l, 400);
    const auto at = [&](int y) { return targetAt(l, 400, y); };
    EXPECT_EQ(at(3).kind, StackTarget::Insertion);
    EXPECT_EQ(at(3).slot, 0);
    EXPECT_EQ(at(g.panes[0].top + 10).kind, StackTarget::Pane);
    EXPECT_EQ(at(g.panes[0].top + 10).slot, 0);
    const int gap1 = g.panes[0].top + g.panes[0].height + 2;
    EXPECT_EQ(at(gap1).kind, StackTarget::Insertion);
    EXPECT_EQ(at(gap1).slot, 1);
    EXPECT_EQ(at(g.panes[2].top + 1).slot, 2);
    const int below = g.panes[3].top + g.panes[3].height + 3;
    EXPECT_EQ(at(below).kind, StackTarget::Insertion);
    EXPECT_EQ(at(below).slot, 4);
    EXPECT_EQ(at(399).kind, StackTarget::Nothing);

    EXPECT_EQ(xOfTime(0, 12000, 400), 35);
    EXPECT_EQ(xOfTime(12000, 12000, 400), 365);
    EXPECT_EQ(xOfTime(6000, 12000, 400), 200);
}

TEST(GraphGeometry, YStepOfTheAxisRange)
{
    EXPECT_EQ(yStepForRange(1023.0), 100);
    EXPECT_EQ(yStepForRange(5.0), 1);
    EXPECT_EQ(yStepForRange(100.0), 10);
    EXPECT_EQ(yStepForRange(130.0), 10);
    EXPECT_EQ(yStepForRange(131.0), 20);
    EXPECT_EQ(yStepForRange(7000.0), 1000);
}

TEST(ValuesCursor, TheSampleShownIsTheLastAtOrBeforeTheCursorTime)
{
    CaptureBuffer b;
    for (int j = 0; j < 5; ++j) b.time[static_cast<std::size_t>(j)] = 12u * j;  // 0..48
    b.sampleCount = 5;
    EXPECT_EQ(sampleAtTime(b, 0), 0);
    EXPECT_EQ(sampleAtTime(b, 23), 1);
    EXPECT_EQ(sampleAtTime(b, 24), 2);
    EXPECT_EQ(sampleAtTime(b, 53), 4);   // within 5 hundredths of the newest
    EXPECT_EQ(sampleAtTime(b, 54), -1);  // beyond it: no values, "?"
    b.sampleCount = 0;
    EXPECT_EQ(sampleAtTime(b, 0), -1);

    // The cursor's time over a 400-pixel window: 330 pixels for the span.
    EXPECT_EQ(cursorTime(0, 12000, 400), 0u);
    EXPECT_EQ(cursorTime(165, 12000, 400), 6000u);
    EXPECT_EQ(cursorTime(330, 12000, 400), 12000u);
    EXPECT_EQ(cursorTime(900, 12000, 400), 12000u);
}

}  // namespace
}  // namespace tarvel
