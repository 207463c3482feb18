// libFuzzer target for the chip data file reader. Besides never crashing,
// every entry it keeps has its eight fields within their limits, keeps its
// place among the entries, and yields masks and a compile target without
// going out of bounds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chip/chip_compiler.h"
#include "chip/chip_data.h"
#include "interfaces/interface_caps.h"
#include "interfaces/interface_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = parseChipData(bytes);
    if (!read) std::abort();  // no text is refused whole
    const ChipData& chips = read.value();

    int lastPosition = -1;
    for (const ChipEntry& e : chips.entries()) {
        if (e.position <= lastPosition) std::abort();
        lastPosition = e.position;
        if (chips.lookup(e.position) != &e) std::abort();
        for (const std::string* field : {&e.inputs, &e.outputs, &e.motors, &e.analogue})
            if (field->size() > kChipFieldMax) std::abort();
        if (e.size != 128 && e.size != 256) std::abort();

        InterfaceSettings settings;
        settings.mode = 1;
        settings.model = ModelTolvaChip;
        settings.subModel = e.position;
        (void)computeCaps(settings, &e);
        const ChipTarget target = chipTargetFor(settings, &e);
        if (target.imageSize != 128 && target.imageSize != 256) std::abort();
        for (int i = -1; i <= 8; ++i)
            (void)(e.hasInput(i) + e.hasOutput(i) + e.hasMotor(i) + e.hasChannel(i));
    }
    if (chips.boardNames().size() > 3) std::abort();
    (void)chips.singleChipNames();
    return 0;
}
