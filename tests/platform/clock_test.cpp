#include <gtest/gtest.h>

#include "support/fake_clock.h"

namespace tarvel {
namespace {

TEST(Clock, CentisecondsCountWholeHundredths)
{
    test::FakeClock clock;
    clock.now = 4;
    EXPECT_EQ(clock.nowCentiseconds(), 0);
    clock.advance(5);
    EXPECT_EQ(clock.nowCentiseconds(), 0);
    clock.advance(1);
    EXPECT_EQ(clock.nowCentiseconds(), 1);
    clock.sleepMs(1000);
    EXPECT_EQ(clock.nowCentiseconds(), 101);
    EXPECT_EQ(clock.slept, 1000);
    clock.sleepMs(-5);  // a negative pause is no pause
    EXPECT_EQ(clock.nowMs(), 1010);
}

}  // namespace
}  // namespace tarvel
