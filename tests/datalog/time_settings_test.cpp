// The rules of the time dialog: what it shows when it opens and what
// "Aceptar" keeps or refuses.

#include "datalog/time_settings.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TimeDialogFields entered(const char* first, TimeUnit firstUnit, const char* end, TimeUnit endUnit,
                         bool endless = false)
{
    TimeDialogFields f;
    f.firstText = first;
    f.firstUnit = firstUnit;
    f.endText = end;
    f.endUnit = endUnit;
    f.endless = endless;
    return f;
}

TEST(TimeDialog, OpensWithTheTimesInTheirUnits)
{
    CaptureSettings s;
    TimeDialogFields f = timeDialogFields(s);
    EXPECT_EQ(f.firstText, "2");
    EXPECT_EQ(f.firstUnit, TimeUnit::Minutes);
    // No end time: ten minutes, greyed behind "Continuar para siempre".
    EXPECT_TRUE(f.endless);
    EXPECT_EQ(f.endText, "10");
    EXPECT_EQ(f.endUnit, TimeUnit::Minutes);

    s.firstSpan = 9000;  // a minute and a half shown in minutes: the whole part
    s.endTime = 3 * 8640000;
    s.endTimeUnit = TimeUnit::Days;
    f = timeDialogFields(s);
    EXPECT_EQ(f.firstText, "1");
    EXPECT_FALSE(f.endless);
    EXPECT_EQ(f.endText, "3");
    EXPECT_EQ(f.endUnit, TimeUnit::Days);
}

TEST(TimeDialog, AcceptStoresTheTimesOrRefusesAnEndBeforeTheFirstSpan)
{
    CaptureSettings s;
    ASSERT_TRUE(acceptTimeDialog(entered("30", TimeUnit::Seconds, "5", TimeUnit::Minutes), s));
    EXPECT_EQ(s.firstSpan, 3000u);
    EXPECT_EQ(s.endTime, 30000u);
    EXPECT_EQ(s.firstSpanUnit, TimeUnit::Seconds);
    EXPECT_EQ(s.endTimeUnit, TimeUnit::Minutes);

    // An end of 1 minute under a first span of 2: refused, the units kept.
    const Status refused =
        acceptTimeDialog(entered("2", TimeUnit::Minutes, "1", TimeUnit::Minutes), s);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.refusal().caption, "Mensaje de Tarvel");
    EXPECT_EQ(refused.refusal().text,
              "La duración total debe ser más que o igual al primer registro de duración");
    EXPECT_TRUE(acceptTimeDialog(entered("2", TimeUnit::Minutes, "2", TimeUnit::Minutes), s));
    ASSERT_FALSE(acceptTimeDialog(entered("2", TimeUnit::Minutes, "60", TimeUnit::Seconds), s));
    EXPECT_EQ(s.firstSpanUnit, TimeUnit::Minutes);
    EXPECT_EQ(s.endTimeUnit, TimeUnit::Seconds);
    EXPECT_EQ(s.firstSpan, 12000u);
    EXPECT_EQ(s.endTime, 12000u);

    // Checked, the end time is not read: continue for ever.
    ASSERT_TRUE(acceptTimeDialog(entered("3", TimeUnit::Hours, "1", TimeUnit::Seconds, true), s));
    EXPECT_EQ(s.endTime, 0u);
    EXPECT_EQ(s.firstSpan, 1080000u);
    EXPECT_EQ(s.endTimeUnit, TimeUnit::Seconds);
}

TEST(TimeDialog, AFirstSpanOfNothingIsAMinuteInSeconds)
{
    CaptureSettings s;
    for (const char* text : {"0", "", "abc", "  0x5"}) {
        ASSERT_TRUE(
            acceptTimeDialog(entered(text, TimeUnit::Hours, "", TimeUnit::Minutes, true), s))
            << text;
        EXPECT_EQ(s.firstSpan, 6000u);
        EXPECT_EQ(s.firstSpanUnit, TimeUnit::Seconds);
    }
    // Reopened: 60 seconds.
    const TimeDialogFields f = timeDialogFields(s);
    EXPECT_EQ(f.firstText, "60");
    EXPECT_EQ(f.firstUnit, TimeUnit::Seconds);
    // Digits up to the first other character count.
    ASSERT_TRUE(
        acceptTimeDialog(entered("12abc", TimeUnit::Seconds, "", TimeUnit::Minutes, true), s));
    EXPECT_EQ(s.firstSpan, 1200u);
}

TEST(TimeDialog, TimesBeyondTheCountOfHundredthsAreRefused)
{
    CaptureSettings s;
    s.firstSpan = 4500;
    // 497 days fit, 498 do not; a huge number does not wrap round.
    ASSERT_TRUE(acceptTimeDialog(entered("497", TimeUnit::Days, "", TimeUnit::Minutes, true), s));
    EXPECT_EQ(s.firstSpan, 497u * 8640000u);
    for (const char* text : {"498", "99999999999999999999999"}) {
        const Status r =
            acceptTimeDialog(entered(text, TimeUnit::Days, "", TimeUnit::Days, true), s);
        ASSERT_FALSE(r) << text;
        EXPECT_EQ(r.refusal().caption, "Mensaje de Tarvel");
        EXPECT_EQ(s.firstSpan, 497u * 8640000u);
    }
    EXPECT_FALSE(acceptTimeDialog(entered("1", TimeUnit::Days, "715828", TimeUnit::Minutes), s));
    EXPECT_EQ(s.endTime, 0u);
    EXPECT_TRUE(acceptTimeDialog(entered("1", TimeUnit::Days, "715827", TimeUnit::Minutes), s));
    EXPECT_EQ(s.endTime, 715827u * 6000u);

    // The command line's times in hundredths follow the same rules.
    EXPECT_FALSE(setCaptureTimes(4294967296ull, 0, s));
    EXPECT_FALSE(setCaptureTimes(500, 499, s));
    ASSERT_TRUE(setCaptureTimes(0, 6000, s));
    EXPECT_EQ(s.firstSpan, 6000u);
    EXPECT_EQ(s.endTime, 6000u);
}

}  // namespace
}  // namespace tarvel
