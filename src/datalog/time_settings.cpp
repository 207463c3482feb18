#include "datalog/time_settings.h"

#include <limits>

#include "datalog/capture_time.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr std::uint64_t kMaxTime = std::numeric_limits<std::uint32_t>::max();
// Shown while the dialog opens with no end time: ten minutes, greyed.
constexpr const char* kForeverEndText = "10";

Refusal endBeforeFirst()
{
    return {std::string(caption::Message),
            "La duración total debe ser más que o igual al primer registro de duración",
            MsgIcon::None};
}

// Times are 32-bit counts of hundredths: a little more than 497 days.
Refusal beyondRange()
{
    return {std::string(caption::Message), "La duración no puede pasar de 497 días", MsgIcon::None};
}

std::string countText(std::uint32_t value, TimeUnit unit)
{
    return std::to_string(value / unitFactor(unit));
}

}  // namespace

std::uint64_t leadingCount(std::string_view text)
{
    std::size_t p = 0;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    std::uint64_t v = 0;
    for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p)
        if (v <= kMaxTime) v = v * 10 + static_cast<std::uint64_t>(text[p] - '0');
    return v;
}

TimeDialogFields timeDialogFields(const CaptureSettings& settings)
{
    TimeDialogFields f;
    f.firstUnit = settings.firstSpanUnit;
    f.firstText = countText(settings.firstSpan, settings.firstSpanUnit);
    f.endless = settings.endTime == 0;
    if (f.endless) {
        f.endUnit = TimeUnit::Minutes;
        f.endText = kForeverEndText;
    } else {
        f.endUnit = settings.endTimeUnit;
        f.endText = countText(settings.endTime, settings.endTimeUnit);
    }
    return f;
}

Status acceptTimeDialog(const TimeDialogFields& entered, CaptureSettings& settings)
{
    settings.firstSpanUnit = entered.firstUnit;
    const std::uint64_t first = leadingCount(entered.firstText) * unitFactor(entered.firstUnit);
    if (first > kMaxTime) return beyondRange();
    if (first == 0) settings.firstSpanUnit = TimeUnit::Seconds;
    std::uint64_t end = 0;
    if (!entered.endless) {
        settings.endTimeUnit = entered.endUnit;
        end = leadingCount(entered.endText) * unitFactor(entered.endUnit);
        if (end > kMaxTime) return beyondRange();
    }
    return setCaptureTimes(first, end, settings);
}

Status setCaptureTimes(std::uint64_t firstSpan, std::uint64_t endTime, CaptureSettings& settings)
{
    if (firstSpan > kMaxTime || endTime > kMaxTime) return beyondRange();
    if (firstSpan == 0) firstSpan = kFallbackFirstSpan;
    if (endTime != 0 && endTime < firstSpan) return endBeforeFirst();
    settings.firstSpan = static_cast<std::uint32_t>(firstSpan);
    settings.endTime = static_cast<std::uint32_t>(endTime);
    return done();
}

}  // namespace tarvel
