// libFuzzer target for the calibration-file reader. Besides never crashing,
// whatever it accepts keeps to the limits the sensor displays rely on.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sensors/calibration_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = tarvel::parseCalibration(bytes);
    if (!read) return 0;
    const tarvel::Calibration& c = read.value();
    if (c.values.size() > tarvel::kCalibrationPoints) std::abort();
    if (c.decimals() < 0 || c.decimals() > tarvel::kMaxSensorDecimals) std::abort();
    if (c.id < 0 || c.id > tarvel::kMaxSensorId) std::abort();
    for (const int raw : {0, 512, 1023, 1024}) {
        if (!std::isfinite(c.calibrate(raw))) std::abort();
        const int b = c.toByte(c.calibrate(raw));
        if (b < 0 || b > 255) std::abort();
    }
    return 0;
}
