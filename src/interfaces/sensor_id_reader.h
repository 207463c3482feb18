#pragma once
// The interfaces that identify their sensors report one ID per analogue
// channel. The protocol of such a box implements this port; the sensors ask
// it when they identify what is plugged in.

#include <array>

namespace tarvel {

inline constexpr int kSensorIdChannels = 4;
// A channel the box did not identify.
inline constexpr int kSensorIdUnknown = -1;
// A channel with nothing plugged in.
inline constexpr int kSensorIdAbsent = -2;

class SensorIdReader {
public:
    virtual ~SensorIdReader() = default;
    // The IDs of channels 1..4: 0 or more, kSensorIdAbsent, or
    // kSensorIdUnknown (every channel the read did not reach).
    virtual std::array<int, kSensorIdChannels> readSensorIds() = 0;
};

}  // namespace tarvel
