#include "datalog/capture_source.h"

#include <algorithm>

#include "interfaces/interface_layer.h"

namespace tarvel {

std::uint8_t InterfaceCaptureSource::refreshInputs()
{
    if (!io_.flags.simulate) io_.pollInputs();
    unsigned byte = 0;
    const auto& inputs = io_.image().inputs;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        if (inputs[i] == 1) byte |= 1u << i;
    return static_cast<std::uint8_t>(byte);
}

std::uint8_t InterfaceCaptureSource::outputByte() const
{
    return static_cast<std::uint8_t>(io_.image().outputByte());
}

std::int8_t InterfaceCaptureSource::motor(int m) const
{
    const IoImage& image = io_.image();
    const auto line = static_cast<std::size_t>(2 * m);
    const int forward = image.motorLines[line];
    const int reverse = image.motorLines[line + 1];
    const int power = std::clamp(image.outputPower[line], 0, 100);
    if (reverse == 1) return static_cast<std::int8_t>(-power);
    if (forward == 1) return static_cast<std::int8_t>(power);
    return 0;
}

}  // namespace tarvel
