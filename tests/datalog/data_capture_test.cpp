// Sampling during a run: the schedule and its catch-up, the halving rule, the
// end time, the fitting of the time axis and the rising-edge counts.

#include "datalog/data_capture.h"

#include <gtest/gtest.h>

#include "datalog/capture_source.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

class FakeSource final : public CaptureSource {
public:
    std::uint8_t refreshInputs() override
    {
        ++reads;
        return inputs;
    }
    std::uint8_t outputByte() const override { return outputs; }
    double analogue(int c) const override { return values[static_cast<std::size_t>(c)]; }
    std::int8_t motor(int m) const override { return motors[static_cast<std::size_t>(m)]; }

    std::uint8_t inputs = 0, outputs = 0;
    std::array<double, kSensorChannels> values{};
    std::array<std::int8_t, kMotorCount> motors{};
    int reads = 0;
};

class RecordingGraph final : public CaptureObserver {
public:
    void repaintGraph() override { ++repaints; }
    void drawNewest(bool frequencyOnly) override { ++(frequencyOnly ? newestBins : newest); }
    void repaintFrequencyPanes(int g) override { ++frequencyPanes[static_cast<std::size_t>(g)]; }
    void hideToolbox() override { ++hidden; }
    void valuesModeEnded() override { ++valuesEnded; }
    int repaints = 0, newest = 0, newestBins = 0, hidden = 0, valuesEnded = 0;
    std::array<int, kFrequencyGraphs> frequencyPanes{};
};

class DataCaptureTest : public ::testing::Test {
protected:
    test::FakeClock clock;
    FakeSource source;
    DataCapture capture{clock, source};
    RecordingGraph graph;

    void SetUp() override { capture.setObserver(&graph); }

    // One interpreter tick `ms` later: the sampling step runs once.
    void tick(int ms = 20)
    {
        clock.advance(ms);
        capture.samplingStep();
    }
    // Ticks until the clock reads `cs` hundredths after the start.
    void runUntil(std::uint32_t cs, int ms = 20)
    {
        while (clock.nowCentiseconds() - capture.state().startTime < cs) tick(ms);
    }
    const CaptureBuffer& b() const { return capture.buffer(); }
    void showFrequencyGraph(std::initializer_list<int> inputs, int kindNumber = 14)
    {
        GraphLayout& g = capture.data.layout;
        g.paneKind[0] = kindNumber;
        g.paneWeight[0] = 4;
        for (const int i : inputs) g.frequencyGraph[static_cast<std::size_t>(i)] = kindNumber;
    }
};

TEST_F(DataCaptureTest, StartResetsTheCaptureToTheFirstSpan)
{
    clock.now = 5000;  // 500 hundredths
    capture.data.buffer.sampleCount = 40;
    capture.data.frequency.counts[3][2] = 7;
    capture.data.frequency.frequencyMax = {30, 40};
    capture.setValuesMode(true);
    capture.start();
    const CaptureState& s = capture.state();
    EXPECT_EQ(b().sampleCount, 0);
    EXPECT_EQ(capture.data.frequency.counts[3][2], 0);
    EXPECT_EQ(capture.data.frequency.frequencyMax, (std::array<int, 2>{10, 10}));
    EXPECT_TRUE(s.unsaved);
    EXPECT_TRUE(s.loggingActive);
    EXPECT_EQ(s.span, 12000u);
    EXPECT_EQ(s.interval, 12u);
    EXPECT_EQ(s.startTime, 500u);
    EXPECT_EQ(s.nextSampleTime, 512u);
    EXPECT_EQ(s.binCount, 10);
    EXPECT_FALSE(s.hasFrequencyGraph);
    // The labels take their computed forms once a capture starts.
    EXPECT_EQ(s.endLabel, "2 min.");
    EXPECT_EQ(s.middleLabel, "60 segundos");
    EXPECT_FALSE(capture.valuesMode());
    EXPECT_EQ(graph.valuesEnded, 1);
    EXPECT_EQ(graph.repaints, 1);
    EXPECT_EQ(graph.hidden, 1);

    // A first span of a second samples every hundredth.
    capture.settings.firstSpan = 100;
    capture.start();
    EXPECT_EQ(capture.state().interval, 1u);
}

TEST_F(DataCaptureTest, SamplesFallDueEveryIntervalAndRecordTheInterface)
{
    capture.start();
    source.outputs = 0x05;
    source.values = {12.5, 0.0, -3.0, 100.0};
    source.motors = {100, -40, 0, 7};
    for (int i = 0; i < 5; ++i) tick();  // 10 hundredths: nothing due yet
    EXPECT_EQ(b().sampleCount, 0);
    tick();
    ASSERT_EQ(b().sampleCount, 1);
    EXPECT_EQ(b().time[0], 12u);
    EXPECT_EQ(b().outputs[0], 0x05);
    EXPECT_EQ(b().analogue[0][0], 12.5);
    EXPECT_EQ(b().analogue[2][0], -3.0);
    EXPECT_EQ(b().motors[0][0], 100);
    EXPECT_EQ(b().motors[1][0], -40);
    EXPECT_EQ(b().motors[3][0], 7);
    runUntil(120);
    ASSERT_EQ(b().sampleCount, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(b().time[static_cast<std::size_t>(i)], 12u * (i + 1));
    // The first sample is not drawn alone: a segment needs two.
    EXPECT_EQ(graph.newest, 9);
}

TEST_F(DataCaptureTest, SamplesMissedInASlowTickAreCaughtUpOnePerTick)
{
    capture.start();
    clock.advance(1000);  // 100 hundredths pass in one tick
    capture.samplingStep();
    for (int i = 0; i < 8; ++i) tick();  // 102 .. 116
    ASSERT_EQ(b().sampleCount, 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(b().time[static_cast<std::size_t>(i)], 100u + 2u * i);
    EXPECT_EQ(capture.state().nextSampleTime, 120u);
    tick();  // 118: caught up, nothing due
    EXPECT_EQ(b().sampleCount, 9);
    tick();  // 120
    EXPECT_EQ(b().sampleCount, 10);
}

TEST_F(DataCaptureTest, TheSampleAtTheEndOfTheAxisHalvesTheBuffer)
{
    capture.start();
    runUntil(11998);
    ASSERT_EQ(b().sampleCount, 999);
    const int repaints = graph.repaints;
    tick();  // 12000: index 999 reaches the span
    const CaptureState& s = capture.state();
    // The odd index is dropped: 499 kept after sample 0, then counted.
    ASSERT_EQ(b().sampleCount, 500);
    EXPECT_EQ(b().time[0], 12u);
    EXPECT_EQ(b().time[1], 36u);
    EXPECT_EQ(b().time[499], 11988u);
    EXPECT_EQ(s.span, 24000u);
    EXPECT_EQ(s.interval, 24u);
    EXPECT_EQ(s.nextSampleTime, 12024u);
    EXPECT_EQ(s.endLabel, "4 min.");
    EXPECT_EQ(s.middleLabel, "2 min.");
    EXPECT_EQ(capture.data.layout.gridStep, 3000u);
    EXPECT_EQ(graph.repaints, repaints + 1);
    tick();  // 12002: the next sample is due at 12024
    EXPECT_EQ(b().sampleCount, 500);
    runUntil(12024);
    EXPECT_EQ(b().sampleCount, 501);
    EXPECT_EQ(b().time[500], 12024u);
}

TEST_F(DataCaptureTest, AnEvenIndexAtTheEndOfTheAxisSurvivesTheHalving)
{
    capture.settings.firstSpan = 1401;  // interval 2: index 700 falls at 1402
    capture.start();
    runUntil(1402);
    ASSERT_EQ(b().sampleCount, 351);
    EXPECT_EQ(b().time[350], 1402u);
    EXPECT_EQ(capture.state().span, 2802u);
    EXPECT_EQ(capture.state().interval, 3u);
    EXPECT_EQ(capture.state().nextSampleTime, 1405u);
}

TEST_F(DataCaptureTest, AFullBufferIsHalvedBeforeTheEndOfTheAxis)
{
    capture.settings.firstSpan = 4000000;
    capture.start();
    CaptureBuffer& buffer = capture.data.buffer;
    for (int i = 0; i < kCompressIndex; ++i) {
        buffer.time[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i + 1);
        buffer.inputs[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    buffer.sampleCount = kCompressIndex;
    auto& counts = capture.data.frequency.counts;
    for (int bin = 0; bin < kFrequencyBins; ++bin) counts[static_cast<std::size_t>(bin)][1] = bin;
    clock.advance(20000);  // 2000 hundredths, far from the span
    source.inputs = 0x01;
    capture.takeSample();
    // Index 1000 is even: it stays, as sample 500.
    ASSERT_EQ(buffer.sampleCount, 501);
    EXPECT_EQ(buffer.time[1], 3u);
    EXPECT_EQ(buffer.inputs[1], 2);
    EXPECT_EQ(buffer.time[499], 999u);
    EXPECT_EQ(buffer.time[500], 2000u);
    EXPECT_EQ(buffer.inputs[500], 0x01);
    EXPECT_EQ(capture.state().span, 8000000u);
    // The bins pair up into the first five; the rest start again.
    for (int bin = 0; bin < 5; ++bin)
        EXPECT_EQ(counts[static_cast<std::size_t>(bin)][1], 4 * bin + 1);
    for (int bin = 5; bin < kFrequencyBins; ++bin)
        EXPECT_EQ(counts[static_cast<std::size_t>(bin)][1], 0);
}

TEST_F(DataCaptureTest, LoggingStopsAtTheEndTimeWhileTheAxisDoublesOnTheWay)
{
    capture.settings.endTime = 30000;  // five minutes
    capture.start();
    runUntil(24000);
    EXPECT_EQ(capture.state().span, 48000u);
    runUntil(29992);
    const int count = b().sampleCount;
    EXPECT_TRUE(capture.state().loggingActive);
    runUntil(30000);  // the first sample at or after the end time
    EXPECT_FALSE(capture.state().loggingActive);
    EXPECT_EQ(b().sampleCount, count);
    runUntil(31000);
    EXPECT_EQ(b().sampleCount, count);
    EXPECT_EQ(capture.state().endLabel, "8 min.");
    // With an end time the axis is not fitted.
    capture.fitTimeAxis();
    EXPECT_EQ(capture.state().span, 48000u);
    EXPECT_EQ(capture.state().binCount, 10);

    // The settings take effect at the next start, not during a capture.
    capture.settings.endTime = 0;
    capture.start();
    capture.settings.endTime = 100;
    runUntil(200);
    EXPECT_TRUE(capture.state().loggingActive);
}

TEST_F(DataCaptureTest, FittingShrinksTheAxisToTheTenthsThatHoldTheLastSample)
{
    capture.start();
    runUntil(3500);  // a run stopped at 35 seconds
    const int repaints = graph.repaints;
    capture.fitTimeAxis();
    EXPECT_EQ(capture.state().span, 3600u);
    EXPECT_EQ(capture.state().binCount, 3);
    EXPECT_EQ(capture.state().endLabel, "36 segundos");
    EXPECT_EQ(capture.state().middleLabel, "18 segundos");
    EXPECT_EQ(graph.repaints, repaints + 1);

    // A last sample in the last tenth: no tenth fits, all stays.
    capture.start();
    runUntil(11000);
    capture.fitTimeAxis();
    EXPECT_EQ(capture.state().span, 12000u);
    EXPECT_EQ(capture.state().binCount, 10);
}

TEST_F(DataCaptureTest, FittingWithoutASampleLeavesTheSpan)
{
    capture.settings.logOnRun = false;
    capture.start();
    runUntil(500);
    capture.fitTimeAxis();
    EXPECT_EQ(b().sampleCount, 0);
    EXPECT_EQ(capture.state().span, 12000u);
    EXPECT_EQ(capture.state().binCount, 10);
}

TEST_F(DataCaptureTest, WithLoggingOffARunClearsTheCaptureAndTakesNoSample)
{
    capture.start();
    runUntil(240);
    ASSERT_EQ(b().sampleCount, 20);
    capture.markSaved();
    capture.settings.logOnRun = false;
    capture.start();
    runUntil(240);
    EXPECT_EQ(b().sampleCount, 0);
    EXPECT_FALSE(capture.state().loggingActive);
    EXPECT_TRUE(capture.state().unsaved);
    EXPECT_FALSE(capture.holdsUnsavedData());
    EXPECT_EQ(source.reads, 20);
}

TEST_F(DataCaptureTest, AFrequencyGraphCountsEveryRiseTheTicksSee)
{
    showFrequencyGraph({0});
    capture.start();
    EXPECT_TRUE(capture.state().hasFrequencyGraph);
    runUntil(12);  // the first sample
    // 0 -> 1 -> 0 -> 1 between two samples, each change seen by a tick.
    for (const std::uint8_t in : {1, 0, 1}) {
        source.inputs = in;
        tick();
    }
    EXPECT_EQ(capture.data.frequency.counts[0][0], 2);
    EXPECT_EQ(graph.newestBins, 2);
    // Falls do not count.
    source.inputs = 0;
    tick();
    runUntil(24);
    EXPECT_EQ(capture.data.frequency.counts[0][0], 2);
}

TEST_F(DataCaptureTest, WithoutAFrequencyGraphOnlyRisesAtSampleTimesCount)
{
    capture.start();
    runUntil(12);
    for (const std::uint8_t in : {1, 0, 1}) {
        source.inputs = in;
        tick();
    }
    runUntil(24);
    EXPECT_EQ(capture.data.frequency.counts[0][0], 1);
    EXPECT_EQ(source.reads, 2);
}

TEST_F(DataCaptureTest, EdgesCountInTheBinOfTheirTimeAndPastTheSpanInTheLast)
{
    capture.start();
    EXPECT_EQ(capture.binOf(0), 0);
    EXPECT_EQ(capture.binOf(1199), 0);
    EXPECT_EQ(capture.binOf(1200), 1);
    EXPECT_EQ(capture.binOf(11999), 9);
    EXPECT_EQ(capture.binOf(12000), 9);
    EXPECT_EQ(capture.binOf(4000000000u), 9);

    // The sample that reaches the span counts its rise in the last bin,
    // which the halving then folds into bin 4.
    runUntil(11998);
    source.inputs = 0x80;
    tick();
    EXPECT_EQ(capture.data.frequency.counts[4][7], 1);
}

TEST_F(DataCaptureTest, TheFrequencyAxisGrowsByTensAsTheBarsRise)
{
    showFrequencyGraph({0, 1});
    capture.start();
    runUntil(12);
    for (int i = 0; i < 11; ++i) {
        source.inputs = 0;
        tick();
        source.inputs = 1;
        tick();
    }
    // Side by side: the tallest bar, 11, passes 10 once.
    EXPECT_EQ(capture.data.frequency.counts[0][0], 11);
    EXPECT_EQ(capture.data.frequency.frequencyMax[0], 20);
    EXPECT_EQ(capture.data.frequency.frequencyMax[1], 10);
    EXPECT_EQ(graph.frequencyPanes[0], 1);

    // Stacked: the sum of the graph's inputs.
    capture.data.frequency.frequencyMode = kStacked;
    capture.data.frequency.counts[0] = {12, 9, 50, 0, 0, 0, 0, 0};
    EXPECT_EQ(capture.frequencyValue(0, 0), 21);
    capture.growFrequencyMax(0);
    EXPECT_EQ(capture.data.frequency.frequencyMax[0], 30);
    // One step at a time while sampling ...
    capture.data.frequency.counts[0] = {40, 9, 0, 0, 0, 0, 0, 0};
    capture.growFrequencyMax(0);
    EXPECT_EQ(capture.data.frequency.frequencyMax[0], 40);
    // ... and all the way when the buffer is halved.
    capture.compressBuffer();
    EXPECT_EQ(capture.data.frequency.frequencyMax[0], 50);
}

TEST_F(DataCaptureTest, ClearingAsksAndKeepsTheLayout)
{
    capture.data.layout.paneKind[0] = 2;
    capture.settings.firstSpan = 6000;
    capture.start();
    runUntil(600);
    test::FakeMessages messages;
    messages.answerNext(MsgAnswer::Cancel);
    EXPECT_FALSE(capture.askAndClear(messages));
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(messages.last().text, "¿Está seguro que quiere borrar su data?");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(b().sampleCount, 100);

    capture.settings.firstSpan = 30000;
    EXPECT_TRUE(capture.askAndClear(messages));
    EXPECT_EQ(b().sampleCount, 0);
    EXPECT_EQ(capture.state().span, 30000u);
    EXPECT_EQ(capture.state().endLabel, "5 min.");
    EXPECT_EQ(capture.data.layout.paneKind[0], 2);
}

}  // namespace
}  // namespace tarvel
