#include "datalog/capture_time.h"

#include <array>
#include <cstdio>

#include "platform/number_text.h"

namespace tarvel {

namespace {

constexpr std::uint32_t kSecond = 100;
constexpr std::uint32_t kMinuteSeconds = 60;
constexpr std::uint32_t kHourSeconds = 3600;
constexpr std::uint32_t kDaySeconds = 86400;
// Below two minutes a duration is written in seconds.
constexpr std::uint32_t kSecondsTextBelow = 120;

struct GridRow {
    std::uint32_t upTo;  // 0: any larger span
    std::uint32_t step;
    int majorEvery;
};

constexpr std::array<GridRow, 10> kCoarseGrid{{{1000, 100, 5},
                                               {6000, 500, 2},
                                               {12000, 1000, 3},
                                               {30000, 3000, 2},
                                               {60000, 6000, 5},
                                               {180000, 30000, 2},
                                               {360000, 60000, 3},
                                               {1800000, 180000, 2},
                                               {8640000, 720000, 6},
                                               {0, 8640000, 7}}};
constexpr std::array<GridRow, 9> kFineGrid{{{1000, 50, 10},
                                            {6000, 100, 5},
                                            {12000, 500, 6},
                                            {60000, 1000, 6},
                                            {180000, 6000, 5},
                                            {360000, 30000, 3},
                                            {1800000, 90000, 4},
                                            {8640000, 360000, 6},
                                            {0, 4320000, 2}}};

template <std::size_t N>
TimeGrid lookUp(const std::array<GridRow, N>& rows, std::uint32_t span)
{
    for (const GridRow& r : rows)
        if (r.upTo == 0 || span <= r.upTo) return {r.step, r.majorEvery};
    return {};
}

std::string printed(const char* format, unsigned long a, unsigned long b = 0, unsigned long c = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

}  // namespace

std::uint32_t unitFactor(TimeUnit unit)
{
    switch (unit) {
        case TimeUnit::Seconds:
            return kSecond;
        case TimeUnit::Minutes:
            return kSecond * kMinuteSeconds;
        case TimeUnit::Hours:
            return kSecond * kHourSeconds;
        case TimeUnit::Days:
            return kSecond * kDaySeconds;
    }
    return kSecond;
}

const char* unitName(TimeUnit unit)
{
    switch (unit) {
        case TimeUnit::Seconds:
            return "Segundos";
        case TimeUnit::Minutes:
            return "Minutos";
        case TimeUnit::Hours:
            return "Horas";
        case TimeUnit::Days:
            return "Días";
    }
    return "";
}

std::uint32_t intervalOfSpan(std::uint32_t span)
{
    return static_cast<std::uint32_t>((std::uint64_t{span} + kSamplesPerSpan - 1) /
                                      kSamplesPerSpan);
}

std::string formatDuration(std::uint32_t t)
{
    const unsigned long s = t / kSecond;
    const unsigned long hundredths = t % kSecond;
    if (hundredths != 0 && t < kSecondsTextBelow * kSecond)
        return printed("%lu.%02lu segundos", s, hundredths);
    if (s < kSecondsTextBelow) return printed("%lu segundos", s);
    if (s < kHourSeconds) {
        const unsigned long m = s / kMinuteSeconds, r = s % kMinuteSeconds;
        return r != 0 ? printed("%lu:%02lu min.", m, r) : printed("%lu min.", m);
    }
    if (s < kDaySeconds) {
        const unsigned long h = s / kHourSeconds;
        const unsigned long m = (s % kHourSeconds) / kMinuteSeconds, r = s % kMinuteSeconds;
        if (m == 0 && r == 0) return printed("%lu horas", h);
        if (r == 0) return printed("%lu:%02lu horas", h, m);
        return printed("%lu:%02lu:%02lu horas", h, m, r);
    }
    // Days as a real number: a day and a half reads "1.50 días".
    return fixedNumber(static_cast<double>(s) / kDaySeconds, 2) +
           " d\xED"
           "as";
}

TimeGrid timeGrid(int gridMode, std::uint32_t span)
{
    if (gridMode == kGridCoarse) return lookUp(kCoarseGrid, span);
    if (gridMode == kGridFine) return lookUp(kFineGrid, span);
    return {};
}

void relabelTimeAxis(CaptureState& state, GraphLayout& layout)
{
    state.endLabel = formatDuration(state.span);
    state.middleLabel = formatDuration(state.span / 2);
    const TimeGrid grid = timeGrid(layout.gridMode, state.span);
    if (grid.step == 0) return;
    layout.gridStep = grid.step;
    layout.gridMajorEvery = grid.majorEvery;
}

}  // namespace tarvel
