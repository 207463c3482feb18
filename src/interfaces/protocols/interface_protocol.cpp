#include "interfaces/protocols/interface_protocol.h"

#include "platform/byte_link.h"
#include "platform/clock.h"

namespace tarvel {

void InterfaceProtocol::sendAllPowers(const std::array<int, kIoCount>& percent)
{
    for (int i = 0; i < kIoCount && !ctx_.ioSuppressed(); ++i)
        sendPower(i, percent[static_cast<std::size_t>(i)]);
}

std::array<int, kSensorIdChannels> InterfaceProtocol::readSensorIds()
{
    std::array<int, kSensorIdChannels> ids;
    ids.fill(kSensorIdUnknown);
    return ids;
}

bool InterfaceProtocol::send(std::initializer_list<std::uint8_t> bytes)
{
    return send(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

bool InterfaceProtocol::send(std::span<const std::uint8_t> bytes)
{
    if (ctx_.ioSuppressed()) return false;
    if (link().write(bytes)) return true;
    fail();
    return false;
}

int InterfaceProtocol::read()
{
    return ctx_.ioSuppressed() ? -1 : link().readByte();
}

bool InterfaceProtocol::ack(std::uint8_t expected)
{
    if (read() == expected || read() == expected) return true;
    fail();
    return false;
}

void InterfaceProtocol::waitMs(int ms)
{
    ctx_.clock().sleepMs(ms);
}

}  // namespace tarvel
