#pragma once
// What a sample reads: the inputs (refreshed from the interface, or composed
// from the simulated ones), the outputs, the analogue channels in their
// sensors' units and the motors in signed percent.

#include <cstdint>

#include "engine/run_ports.h"

namespace tarvel {

class InterfaceLayer;

class CaptureSource {
public:
    virtual ~CaptureSource() = default;
    // Refreshes the input byte (a live interface is polled) and gives it; bit
    // i is input i.
    virtual std::uint8_t refreshInputs() = 0;
    virtual std::uint8_t outputByte() const = 0;
    // Channel 0..3 in its sensor's units.
    virtual double analogue(int channel) const = 0;
    // Motor 0..3: -power in reverse, +power forward, 0 off.
    virtual std::int8_t motor(int m) const = 0;
};

// The interface layer's image and the channels' calibrated values.
class InterfaceCaptureSource final : public CaptureSource {
public:
    InterfaceCaptureSource(InterfaceLayer& io, const ChannelValues& channels)
        : io_(io), channels_(channels)
    {
    }
    std::uint8_t refreshInputs() override;
    std::uint8_t outputByte() const override;
    double analogue(int channel) const override { return channels_.value(channel); }
    std::int8_t motor(int m) const override;

private:
    InterfaceLayer& io_;
    const ChannelValues& channels_;
};

}  // namespace tarvel
