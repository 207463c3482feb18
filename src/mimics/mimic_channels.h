#pragma once
// What the mimic asks of the four analogue channels: the value in the
// sensor's units and its decimals for the value objects, and the sensor's
// limits and the reading of a value for the clicks that step a value by 10.
// The sensors of the channels answer these; a channel without a known sensor
// reads in percent, 0..100.

#include <optional>
#include <string>

#include "engine/run_ports.h"

namespace tarvel {

class SensorChannels;

struct ValueRange {
    double minimum = 0.0;
    double maximum = 100.0;
};

class MimicChannels : public ChannelValues {
public:
    // The decimals the channel is shown with (0..2).
    virtual int decimals(int channel) const = 0;
    // The minimum and maximum of the channel's sensor; nothing without a known sensor.
    virtual std::optional<ValueRange> sensorRange(int channel) const = 0;
    // The raw reading (0..1024) whose value comes nearest to `value`.
    virtual int rawFor(int channel, double value) const = 0;
};

// The channels as the sensors window shows them.
class SensorMimicChannels final : public MimicChannels {
public:
    explicit SensorMimicChannels(const SensorChannels& sensors) : sensors_(sensors) {}
    double value(int channel) const override;
    int decimals(int channel) const override;
    std::optional<ValueRange> sensorRange(int channel) const override;
    int rawFor(int channel, double value) const override;

private:
    const SensorChannels& sensors_;
};

// A value as the first value object shows it: "%.2f", "%.1f" or "%.0f" by
// the channel's decimals (2, 1, anything else).
std::string channelValueText(double value, int decimals);
// As the second shows it: "%.1f" when the decimals are 2, else "%.0f".
std::string channelValueTextShort(double value, int decimals);

}  // namespace tarvel
