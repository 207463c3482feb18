#pragma once
// The rules of the time dialog ("Ajustar parámetros de tiempo"): the first
// span of a capture and the time after which logging stops, each a number of
// seconds, minutes, hours or days.

#include <cstdint>
#include <string>
#include <string_view>

#include "datalog/capture_data.h"
#include "platform/result.h"

namespace tarvel {

// A first span of nothing becomes a minute.
inline constexpr std::uint32_t kFallbackFirstSpan = 6000;

// What the dialog shows when it opens.
struct TimeDialogFields {
    std::string firstText;  // the first span in its unit
    TimeUnit firstUnit = TimeUnit::Minutes;
    bool endless = true;  // "Continuar para siempre"
    std::string endText;  // the end time in its unit
    TimeUnit endUnit = TimeUnit::Minutes;
};

TimeDialogFields timeDialogFields(const CaptureSettings& settings);

// "Aceptar": the unit choices are kept at once; the times only when the end
// time is not below the first span and neither passes the 32-bit count of
// hundredths. A refusal keeps the dialog open with its message.
Status acceptTimeDialog(const TimeDialogFields& entered, CaptureSettings& settings);

// The same rules for times given in hundredths (the command-line tool): a
// first span of 0 is a minute, an end time of 0 continues for ever.
Status setCaptureTimes(std::uint64_t firstSpan, std::uint64_t endTime, CaptureSettings& settings);

// The number at the start of a text, digits only; past the 32-bit range it
// stays above it.
std::uint64_t leadingCount(std::string_view text);

}  // namespace tarvel
