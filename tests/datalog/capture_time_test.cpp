// Durations as the axis labels write them, the time grids and the unit factors.

#include "datalog/capture_time.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(FormatDuration, SecondsWithHundredthsBelowTwoMinutes)
{
    EXPECT_EQ(formatDuration(1250), "12.50 segundos");
    EXPECT_EQ(formatDuration(5), "0.05 segundos");
    EXPECT_EQ(formatDuration(11999), "119.99 segundos");
    // From two minutes on the hundredths are dropped.
    EXPECT_EQ(formatDuration(12050), "2 min.");
}

TEST(FormatDuration, WholeSecondsMinutesHoursAndDays)
{
    EXPECT_EQ(formatDuration(0), "0 segundos");
    EXPECT_EQ(formatDuration(6000), "60 segundos");
    EXPECT_EQ(formatDuration(11900), "119 segundos");
    EXPECT_EQ(formatDuration(12000), "2 min.");
    EXPECT_EQ(formatDuration(15000), "2:30 min.");
    EXPECT_EQ(formatDuration(359900), "59:59 min.");
    EXPECT_EQ(formatDuration(360000), "1 horas");
    EXPECT_EQ(formatDuration(390000), "1:05 horas");
    EXPECT_EQ(formatDuration(390900), "1:05:09 horas");
    EXPECT_EQ(formatDuration(8639900), "23:59:59 horas");
    // Days as a real number, not the whole quotient.
    EXPECT_EQ(formatDuration(8640000),
              "1.00 d\xED"
              "as");
    EXPECT_EQ(formatDuration(12960000),
              "1.50 d\xED"
              "as");
    EXPECT_EQ(formatDuration(4294967295u),
              "497.10 d\xED"
              "as");
}

TEST(TimeGrid, CoarseAndFineRowsByTheirLimits)
{
    struct Row {
        int mode;
        std::uint32_t span, step;
        int major;
    };
    const Row rows[] = {
        {kGridCoarse, 1, 100, 5},           {kGridCoarse, 1000, 100, 5},
        {kGridCoarse, 1001, 500, 2},        {kGridCoarse, 12000, 1000, 3},
        {kGridCoarse, 24000, 3000, 2},      {kGridCoarse, 60000, 6000, 5},
        {kGridCoarse, 180000, 30000, 2},    {kGridCoarse, 360000, 60000, 3},
        {kGridCoarse, 1800000, 180000, 2},  {kGridCoarse, 8640000, 720000, 6},
        {kGridCoarse, 8640001, 8640000, 7}, {kGridFine, 1000, 50, 10},
        {kGridFine, 6000, 100, 5},          {kGridFine, 12000, 500, 6},
        {kGridFine, 60000, 1000, 6},        {kGridFine, 180000, 6000, 5},
        {kGridFine, 360000, 30000, 3},      {kGridFine, 1800000, 90000, 4},
        {kGridFine, 8640000, 360000, 6},    {kGridFine, 4000000000u, 4320000, 2},
    };
    for (const Row& r : rows) {
        const TimeGrid g = timeGrid(r.mode, r.span);
        EXPECT_EQ(g.step, r.step) << r.mode << " " << r.span;
        EXPECT_EQ(g.majorEvery, r.major) << r.mode << " " << r.span;
    }

    // Without a grid the layout keeps the values it had.
    CaptureState state;
    GraphLayout layout;
    layout.gridMode = kGridNone;
    layout.gridStep = 777;
    state.span = 360000;
    relabelTimeAxis(state, layout);
    EXPECT_EQ(layout.gridStep, 777u);
    EXPECT_EQ(state.endLabel, "1 horas");
    EXPECT_EQ(state.middleLabel, "30 min.");
}

TEST(CaptureUnits, FactorsAndIntervals)
{
    EXPECT_EQ(unitFactor(TimeUnit::Seconds), 100u);
    EXPECT_EQ(unitFactor(TimeUnit::Minutes), 6000u);
    EXPECT_EQ(unitFactor(TimeUnit::Hours), 360000u);
    EXPECT_EQ(unitFactor(TimeUnit::Days), 8640000u);
    // A thousandth of the span, rounded up.
    EXPECT_EQ(intervalOfSpan(12000), 12u);
    EXPECT_EQ(intervalOfSpan(100), 1u);
    EXPECT_EQ(intervalOfSpan(1401), 2u);
    EXPECT_EQ(intervalOfSpan(1), 1u);
    EXPECT_EQ(intervalOfSpan(4294967295u), 4294968u);
}

}  // namespace
}  // namespace tarvel
