#include "engine/speed_settings.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(SpeedSettings, SliderMapsToIntervalAndMultiplicityBothWays)
{
    SpeedSettings s;
    EXPECT_EQ(s.sliderPosition(), 800);
    const std::array<std::array<int, 3>, 6> cases{
        {{0, 820, 1}, {400, 420, 1}, {800, 20, 1}, {801, 20, 1}, {802, 20, 2}, {1000, 20, 101}}};
    for (const auto& [p, interval, multiplicity] : cases) {
        s.applySlider(p);
        EXPECT_EQ(s.interval, interval) << p;
        EXPECT_EQ(s.multiplicity, multiplicity) << p;
        if (p != 801) {
            EXPECT_EQ(s.sliderPosition(), p) << p;
        }
    }
}

TEST(SpeedSettings, HoldingAndReleasingEveryTask)
{
    SpeedSettings s;
    s.holdAll();
    EXPECT_EQ(s.heldCount, kMaxTasks);
    EXPECT_TRUE(s.holdFlags[19]);
    s.releaseAll();
    EXPECT_EQ(s.heldCount, 0);
    EXPECT_FALSE(s.holdFlags[0]);
}

}  // namespace
}  // namespace tarvel
