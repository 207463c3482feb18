#include "interfaces/protocols/protocol_registry.h"

#include "interfaces/protocols/contact_controller_protocol.h"
#include "interfaces/protocols/deltronics_protocol.h"
#include "interfaces/protocols/firmata_protocol.h"
#include "interfaces/protocols/fischertechnik_protocol.h"
#include "interfaces/protocols/interface_protocol.h"
#include "interfaces/protocols/lego_protocol.h"
#include "interfaces/protocols/mfa_protocol.h"
#include "interfaces/protocols/sense_control_protocol.h"

namespace tarvel {

namespace {

// The codes an old configuration file may hold without a box behind them:
// sends do nothing and reads give 0.
class InertProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;
    int readInputs() override { return 0; }
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override
    {
        raw.fill(0);
        return true;
    }
};

template <typename P>
std::unique_ptr<InterfaceProtocol> make(ProtocolContext& context)
{
    return std::make_unique<P>(context);
}

struct Registration {
    ProtocolFamily family;
    std::unique_ptr<InterfaceProtocol> (*create)(ProtocolContext&);
};

constexpr Registration kFamilies[] = {
    {ProtocolFamily::None, make<InertProtocol>},
    {ProtocolFamily::Deltronics, make<DeltronicsProtocol>},
    {ProtocolFamily::Lego, make<LegoProtocol>},
    {ProtocolFamily::Fischertechnik, make<FischertechnikProtocol>},
    {ProtocolFamily::SenseControl, make<SenseControlProtocol>},
    {ProtocolFamily::Mfa, make<MfaProtocol>},
    {ProtocolFamily::ContactController, make<ContactControllerProtocol>},
    {ProtocolFamily::Firmata, make<FirmataProtocol>},
};

}  // namespace

std::unique_ptr<InterfaceProtocol> makeProtocol(ProtocolFamily family, ProtocolContext& context)
{
    for (const Registration& r : kFamilies)
        if (r.family == family) return r.create(context);
    return nullptr;
}

bool hasProtocol(ProtocolFamily family)
{
    for (const Registration& r : kFamilies)
        if (r.family == family) return true;
    return false;
}

}  // namespace tarvel
