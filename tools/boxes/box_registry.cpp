#include "box_registry.h"

#include "chip/chip_data.h"
#include "chip_box.h"
#include "contact_controller_box.h"
#include "deltronics_box.h"
#include "firmata_box.h"
#include "fischertechnik_box.h"
#include "interfaces/model_traits.h"
#include "lego_box.h"
#include "mfa_box.h"
#include "sense_control_box.h"

namespace tarvel::boxes {

namespace {

template <typename B>
std::unique_ptr<SimulatedBox> make(int model, int subModel, BoxPrinter print)
{
    return std::make_unique<B>(model, subModel, std::move(print));
}

struct Registration {
    ProtocolFamily family;
    std::unique_ptr<SimulatedBox> (*create)(int, int, BoxPrinter);
};

constexpr Registration kBoxes[] = {
    {ProtocolFamily::Deltronics, make<DeltronicsBox>},
    {ProtocolFamily::Lego, make<LegoBox>},
    {ProtocolFamily::Fischertechnik, make<FischertechnikBox>},
    {ProtocolFamily::SenseControl, make<SenseControlBox>},
    {ProtocolFamily::Mfa, make<MfaBox>},
    {ProtocolFamily::ContactController, make<ContactControllerBox>},
    {ProtocolFamily::Firmata, make<FirmataBox>},
};

}  // namespace

std::unique_ptr<SimulatedBox> makeBox(int model, int subModel, BoxPrinter print,
                                      const ChipEntry* chip)
{
    const ModelTraits traits = modelTraits(model, subModel, chip ? chip->linkKind : 0);
    const int programSize = programImageSize(model, chip ? chip->size : 0);
    if (traits.chipPrograms && traits.protocol == ProtocolFamily::None)
        return std::make_unique<ChipBox>(programSize, std::move(print));
    for (const Registration& r : kBoxes) {
        if (r.family != traits.protocol) continue;
        std::unique_ptr<SimulatedBox> box = r.create(model, subModel, std::move(print));
        if (traits.chipPrograms)
            if (auto* taker = dynamic_cast<ContactControllerBox*>(box.get()))
                taker->takePrograms(programSize);
        return box;
    }
    return nullptr;
}

}  // namespace tarvel::boxes
