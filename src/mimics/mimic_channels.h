#pragma once
// What the mimic asks of the four analogue channels: the value in the
// sensor's units and its decimals for the value objects, and the sensor's
// limits and the reading of a value for the clicks that step a value by 10.
// The sensor table answers these; a channel without a known sensor reads in
// percent, 0..100.

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "engine/run_ports.h"
#include "flowchart/flow_document.h"
#include "interfaces/io_image.h"

namespace tarvel {

struct ValueRange {
    double minimum = 0.0;
    double maximum = 100.0;
};

// Raw readings run 0..kFullScale; percent is raw x 100 / 1024.
inline constexpr int kFullScale = 1024;

class MimicChannels : public ChannelValues {
public:
    // The decimals the channel is shown with (0..2).
    virtual int decimals(int channel) const = 0;
    // The minimum and maximum of the channel's sensor; nothing without a known sensor.
    virtual std::optional<ValueRange> sensorRange(int channel) const = 0;
    // The raw reading (0..1024) whose value comes nearest to `value`.
    virtual int rawFor(int channel, double value) const = 0;
};

// Every channel in percent, a channel marked "no sensor" reading 0.
class PercentMimicChannels final : public MimicChannels {
public:
    PercentMimicChannels(const IoImage& image, const std::array<int, kSensorChannels>& assignment)
        : image_(image), assignment_(assignment)
    {
    }
    double value(int channel) const override
    {
        if (channel < 0 || channel >= kSensorChannels) return 0.0;
        const auto c = static_cast<std::size_t>(channel);
        if (assignment_[c] == kSensorNone) return 0.0;
        return image_.analogue[c] * 100.0 / kFullScale;
    }
    int decimals(int) const override { return 0; }
    std::optional<ValueRange> sensorRange(int) const override { return std::nullopt; }
    int rawFor(int, double value) const override
    {
        return std::clamp(static_cast<int>(std::lround(value * kFullScale / 100.0)), 0, kFullScale);
    }

private:
    const IoImage& image_;
    const std::array<int, kSensorChannels>& assignment_;
};

// A value as the first value object shows it: "%.2f", "%.1f" or "%.0f" by
// the channel's decimals (2, 1, anything else).
std::string channelValueText(double value, int decimals);
// As the second shows it: "%.1f" when the decimals are 2, else "%.0f".
std::string channelValueTextShort(double value, int decimals);

}  // namespace tarvel
