#include "interfaces/protocols/deltronics_protocol.h"

#include <algorithm>

namespace tarvel {

namespace {

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

void DeltronicsProtocol::reset()
{
    if (send({kReset})) read();
}

void DeltronicsProtocol::sendOutputs(int byte)
{
    if (send({kOutputs, byteOf(byte)})) ack(kOutputs);
}

void DeltronicsProtocol::sendMotors(int byte)
{
    if (send({kMotors, byteOf(byte)})) ack(kMotors);
}

void DeltronicsProtocol::sendPower(int index, int percent)
{
    if (index < 0 || index >= kIoCount) return;
    const int level = std::clamp(percent, 0, 100) * kPowerSteps / 100;
    if (send({kPower, byteOf(index), byteOf(level)})) read();
}

int DeltronicsProtocol::readInputs()
{
    if (!send({kInputs}) || !ack(kInputs)) return kNoReading;
    const int byte = read();
    if (byte < 0) fail();
    return byte < 0 ? kNoReading : byte;
}

bool DeltronicsProtocol::readAnalogue(std::array<int, kSensorChannels>& raw)
{
    if (!send({kAnalogue, kAllChannels})) return false;
    switch (read()) {
        case kTenBitReply:
            return readTenBitPairs(raw);
        case kEightBitReply:
            return readEightBitBytes(raw);
        default:
            // Any other reply (or none) changes nothing.
            return false;
    }
}

bool DeltronicsProtocol::readTenBitPairs(std::array<int, kSensorChannels>& raw)
{
    // The first byte of a pair carries the two low bits at its top, the
    // second the eight high bits. A box that stops part way leaves the rest.
    bool any = false;
    for (int c = 0; c < kSensorChannels; ++c) {
        const int low = read();
        const int high = low < 0 ? -1 : read();
        if (high < 0) break;
        raw[static_cast<std::size_t>(c)] = high * 4 + (low >> 6);
        any = true;
    }
    return any;
}

bool DeltronicsProtocol::readEightBitBytes(std::array<int, kSensorChannels>& raw)
{
    bool any = false;
    for (int c = 0; c < kSensorChannels; ++c) {
        const int value = read();
        if (value < 0) break;
        raw[static_cast<std::size_t>(c)] = value * 4;
        any = true;
    }
    // The box answered with eight bits a channel: ask for ten from now on.
    if (send(std::span<const std::uint8_t>(kTenBitMode))) read();
    return any;
}

std::array<int, kSensorIdChannels> DeltronicsProtocol::readSensorIds()
{
    std::array<int, kSensorIdChannels> ids;
    ids.fill(kSensorIdUnknown);
    if (!send({kSensorIds})) return ids;
    if (read() != kSensorIds) {
        fail();
        return ids;
    }
    // Four IDs, then two bytes that carry nothing the program uses. Once a
    // byte is missing the rest would only cost more time-outs.
    for (int c = 0; c < kSensorIdChannels; ++c) {
        const int id = read();
        if (id < 0) return ids;
        ids[static_cast<std::size_t>(c)] = id == kNoSensorId ? kSensorIdAbsent : id;
    }
    if (read() >= 0) read();
    return ids;
}

}  // namespace tarvel
