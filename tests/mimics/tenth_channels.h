#pragma once
// Analogue channels for mimic tests: a linear sensor reading a tenth of the
// raw value, with decimals and limits the test sets.

#include <algorithm>
#include <array>
#include <cmath>

#include "interfaces/io_image.h"
#include "mimics/mimic_channels.h"

namespace tarvel::test {

class TenthChannels final : public MimicChannels {
public:
    explicit TenthChannels(const IoImage& image) : image_(image) {}
    double value(int c) const override { return image_.analogue[at(c)] / 10.0; }
    int decimals(int c) const override { return decimals_[at(c)]; }
    std::optional<ValueRange> sensorRange(int c) const override { return ranges[at(c)]; }
    int rawFor(int, double v) const override
    {
        // Readings come in steps of `granularity`, as a coarse table gives them.
        const long raw = std::lround(v * 10 / granularity) * granularity;
        return std::clamp(static_cast<int>(raw), 0, 1024);
    }
    int granularity = 1;
    std::array<int, 4> decimals_{};
    std::array<std::optional<ValueRange>, 4> ranges{};

private:
    static std::size_t at(int c) { return static_cast<std::size_t>(c); }
    const IoImage& image_;
};

}  // namespace tarvel::test
