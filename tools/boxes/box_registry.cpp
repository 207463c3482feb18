#include "box_registry.h"

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

std::unique_ptr<SimulatedBox> makeBox(int model, int subModel, BoxPrinter print)
{
    const ProtocolFamily family = modelTraits(model, subModel).protocol;
    for (const Registration& r : kBoxes)
        if (r.family == family) return r.create(model, subModel, std::move(print));
    return nullptr;
}

}  // namespace tarvel::boxes
