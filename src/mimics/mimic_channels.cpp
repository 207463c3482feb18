#include "mimics/mimic_channels.h"

#include <cmath>
#include <cstdio>

#include "sensors/calibration_file.h"
#include "sensors/sensor_channels.h"

namespace tarvel {

namespace {

std::string formatted(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

bool validChannel(int channel)
{
    return channel >= 0 && channel < kSensorChannels;
}

// Readings run 0..1024 (the top of the scale on some interfaces).
constexpr int kHighestRaw = kCalibrationPoints;

}  // namespace

std::string channelValueText(double value, int decimals)
{
    return formatted(decimals == 2 ? "%.2f" : decimals == 1 ? "%.1f" : "%.0f", value);
}

std::string channelValueTextShort(double value, int decimals)
{
    return formatted(decimals == 2 ? "%.1f" : "%.0f", value);
}

double SensorMimicChannels::value(int channel) const
{
    return sensors_.value(channel);
}

int SensorMimicChannels::decimals(int channel) const
{
    return validChannel(channel) ? sensors_.channel(channel).decimals() : 0;
}

std::optional<ValueRange> SensorMimicChannels::sensorRange(int channel) const
{
    if (!validChannel(channel)) return std::nullopt;
    const ChannelSensor& c = sensors_.channel(channel);
    if (c.sensor < 0) return std::nullopt;
    return ValueRange{c.calibration.minimum, c.calibration.maximum};
}

int SensorMimicChannels::rawFor(int channel, double value) const
{
    if (!validChannel(channel)) return 0;
    const ChannelSensor& c = sensors_.channel(channel);
    // A table need not rise steadily: the nearest of all its readings, the
    // lowest of equals.
    int best = 0;
    double bestDistance = std::fabs(c.calibrated(0) - value);
    for (int raw = 1; raw <= kHighestRaw; ++raw) {
        const double d = std::fabs(c.calibrated(raw) - value);
        if (d < bestDistance) {
            best = raw;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace tarvel
