// libFuzzer target for the SID reader. Besides never crashing, whatever it
// accepts keeps within the buffer, the bins and the sensor table.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "datalog/sid_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const SensorTable table = [] {
        SensorTable t;
        SensorEntry e;
        e.calibration.id = 2;
        e.calibration.hasTable = true;
        t.add(e);
        return t;
    }();
    const auto read = parseSid(bytes, CaptureRecord{}, table);
    if (!read) return 0;
    const CaptureRecord& r = read->record;
    if (r.buffer.sampleCount < 0 || r.buffer.sampleCount > kCaptureCapacity) std::abort();
    if (r.state.binCount < 1 || r.state.binCount > kFrequencyBins) std::abort();
    if (r.state.span == 0 || r.state.interval == 0) std::abort();
    if (read->analogueFields < 0 || read->analogueFields > kSensorChannels) std::abort();
    if (table.size() + static_cast<int>(read->temporaries.size()) > kSensorTableCapacity)
        std::abort();
    for (int c = 0; c < read->analogueFields; ++c) {
        const SidSensorChoice& s = read->sensors[static_cast<std::size_t>(c)];
        if (s.kind == SidSensorChoice::TableEntry && (s.index < 0 || s.index >= table.size()))
            std::abort();
        if (s.kind == SidSensorChoice::Temporary &&
            (s.index < 0 || s.index >= static_cast<int>(read->temporaries.size())))
            std::abort();
    }
    return 0;
}
