#pragma once
// The chip compiler reads a number compared with a channel through the
// channel's calibration table, as ToByte does.

#include <optional>

#include "chip/chip_compiler.h"
#include "sensors/sensor_channels.h"

namespace tarvel {

class SensorChannelScale final : public ChannelScale {
public:
    explicit SensorChannelScale(const SensorChannels& sensors) : sensors_(sensors) {}

    std::optional<int> tableByte(int channel, double value) const override
    {
        if (channel < 0 || channel >= kSensorChannels) return std::nullopt;
        const ChannelSensor& ch = sensors_.channel(channel);
        if (ch.sensor < 0 || !ch.calibration.hasTable) return std::nullopt;
        return sensors_.toByte(channel, value);
    }

private:
    const SensorChannels& sensors_;
};

}  // namespace tarvel
