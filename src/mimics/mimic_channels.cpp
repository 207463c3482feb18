#include "mimics/mimic_channels.h"

#include <cstdio>

namespace tarvel {

namespace {

std::string formatted(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

}  // namespace

std::string channelValueText(double value, int decimals)
{
    return formatted(decimals == 2 ? "%.2f" : decimals == 1 ? "%.1f" : "%.0f", value);
}

std::string channelValueTextShort(double value, int decimals)
{
    return formatted(decimals == 2 ? "%.1f" : "%.0f", value);
}

}  // namespace tarvel
