#pragma once
// Channel values before any sensor is calibrated: a channel in percent reads
// raw x 100 / 1024, a channel without sensor reads 0.

#include <array>

#include "engine/run_ports.h"
#include "interfaces/io_image.h"

namespace tarvel {

class PercentChannels final : public ChannelValues {
public:
    PercentChannels(const IoImage& image, const std::array<int, 4>& assignment)
        : image_(image), assignment_(assignment)
    {
    }
    double value(int channel) const override
    {
        if (channel < 0 || channel > 3) return 0.0;
        const auto c = static_cast<std::size_t>(channel);
        if (assignment_[c] == -2) return 0.0;
        return image_.analogue[c] * 100.0 / 1024.0;
    }

private:
    const IoImage& image_;
    const std::array<int, 4>& assignment_;
};

}  // namespace tarvel
