#include "interfaces/protocols/contact_controller_protocol.h"

#include <algorithm>

#include "interfaces/model_traits.h"
#include "platform/byte_link.h"

namespace tarvel {

namespace {

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

std::uint8_t ContactControllerProtocol::speedByte(int output, int percent)
{
    return byteOf((std::clamp(percent, 0, 100) / 10) << 4 | (output & 0x0F));
}

bool ContactControllerProtocol::sendLenient(std::initializer_list<std::uint8_t> bytes)
{
    if (context().ioSuppressed()) return false;
    if (link().write(bytes)) return true;
    if (context().overUsb()) fail();
    return false;
}

bool ContactControllerProtocol::speedAcknowledged()
{
    const bool acknowledged = read() == kAck || read() == kAck;
    waitMs(kSpeedSettleMs);
    return acknowledged;
}

int ContactControllerProtocol::readInputs()
{
    if (!send({kInputs}) || !ack(kAck)) return kNoReading;
    const int byte = read();
    return byte < 0 ? kNoAnswer : byte;
}

void ContactControllerProtocol::sendOutputs(int byte)
{
    if (send({kOutputs, byteOf(byte)})) ack(kAck);
}

void ContactControllerProtocol::sendMotors(int byte)
{
    const RunFlags& flags = context().runFlags();
    if (flags.linkFailed && flags.running) return;
    if (send({kMotors, byteOf(byte)})) ack(kAck);
}

void ContactControllerProtocol::sendPower(int index, int percent)
{
    if (index < 0 || index >= kIoCount) return;
    if (sendLenient({kSpeed, speedByte(index, percent)})) speedAcknowledged();
}

void ContactControllerProtocol::sendAllPowers(const std::array<int, kIoCount>& percent)
{
    if (context().runFlags().linkFailed) return;
    for (int i = 0; i < kIoCount; ++i) {
        if (!send({kSpeed, speedByte(i, percent[static_cast<std::size_t>(i)])})) return;
        if (!speedAcknowledged()) return;
    }
}

bool ContactControllerProtocol::readAnalogue(std::array<int, kSensorChannels>& raw)
{
    if (!sendLenient({kAnalogue})) return false;
    if (read() != kAck) {
        fail();
        return false;
    }
    std::array<int, kSensorChannels> got{};
    for (int& value : got) {
        const int byte = read();
        if (byte < 0) {
            fail();
            return false;
        }
        value = byte * 4;
    }
    raw = got;
    return true;
}

void ContactControllerProtocol::allOff()
{
    sendOutputs(0);
    if (modelTraits(context().interfaceSettings()).sendsMotorByte) sendMotors(0);
}

}  // namespace tarvel
