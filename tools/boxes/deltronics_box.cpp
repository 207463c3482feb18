#include "deltronics_box.h"

#include "interfaces/interface_model.h"

namespace tarvel::boxes {

namespace {

// The box's own command table, written down apart from the program's so
// that a wrong byte on either side shows.
namespace P {
constexpr std::uint8_t kReset = 0x08;
constexpr std::uint8_t kOutputs = 0x30;
constexpr std::uint8_t kMotors = 0x32;
constexpr std::uint8_t kPower = 0x34;
constexpr std::uint8_t kInputs = 0x36;
constexpr std::uint8_t kAnalogue = 0x2A;
constexpr std::uint8_t kAllChannels = 0x0F;
constexpr std::uint8_t kEightBitReply = '*';
constexpr std::uint8_t kTenBitReply = '+';
constexpr std::uint8_t kTenBitMode[2] = {0x0C, 0x01};
constexpr std::uint8_t kSensorIds = 0x18;
constexpr int kPowerSteps = 31;
}  // namespace P
constexpr std::uint8_t kTenBitModeFirst = P::kTenBitMode[0];

}  // namespace

DeltronicsBox::DeltronicsBox(int /*model*/, int subModel, BoxPrinter print)
    : SimulatedBox(std::move(print)), subModel_(subModel)
{
    // Light, temperature and sound on channels 1 to 3, nothing on 4.
    image_.ids = {1, 2, 3, kNoSensorId};
}

void DeltronicsBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    answerPending(bytes, [&] { return answer(reply); });
}

std::size_t DeltronicsBox::answer(BoxReply& reply)
{
    const std::uint8_t command = pending_[0];
    auto need = [&](std::size_t n) { return pending_.size() >= n; };
    switch (command) {
        case P::kReset:
            setOutputByte(0);
            if (subModel_ == kDeltronicsSerialPlus) takeMotorByte(0);
            note("reset");
            reply.byte(P::kReset);
            break;
        case P::kOutputs:
            if (!need(2)) return 0;
            setOutputByte(pending_[1]);
            reply.ack(P::kOutputs);
            reply.exchangeDone();
            return 2;
        case P::kMotors:
            if (subModel_ != kDeltronicsSerialPlus) return 1;  // not this box's command
            if (!need(2)) return 0;
            takeMotorByte(pending_[1]);
            reply.ack(P::kMotors);
            reply.exchangeDone();
            return 2;
        case P::kPower:
            if (!need(3)) return 0;
            if (pending_[1] < kIoCount && pending_[2] <= P::kPowerSteps)
                setPower(pending_[1], percentOfLevel(pending_[2], P::kPowerSteps));
            reply.byte(P::kPower);
            reply.exchangeDone();
            return 3;
        case P::kInputs:
            reply.ack(P::kInputs);
            reply.byte(static_cast<std::uint8_t>(inputByte()));
            break;
        case P::kAnalogue:
            if (!need(2)) return 0;
            if (pending_[1] != P::kAllChannels) return 1;
            answerAnalogue(reply);
            reply.exchangeDone();
            return 2;
        case kTenBitModeFirst:
            if (!need(2)) return 0;
            if (pending_[1] != P::kTenBitMode[1]) return 1;
            tenBit_ = true;
            reply.byte(kTenBitModeFirst);
            reply.exchangeDone();
            return 2;
        case P::kSensorIds:
            answerSensorIds(reply);
            break;
        default:
            return 1;  // a byte no command starts with is ignored
    }
    reply.exchangeDone();
    return 1;
}

void DeltronicsBox::answerAnalogue(BoxReply& reply)
{
    if (subModel_ == kDeltronicsDigitalAdaptor) return;
    if (!tenBit_) {
        reply.byte(P::kEightBitReply);
        for (const int v : image_.values) reply.byte(static_cast<std::uint8_t>(v >> 2));
        return;
    }
    // Each pair: the two low bits at the top of the first byte, then the high eight.
    reply.byte(P::kTenBitReply);
    for (const int v : image_.values) {
        reply.byte(static_cast<std::uint8_t>((v & 3) << 6));
        reply.byte(static_cast<std::uint8_t>(v >> 2));
    }
}

void DeltronicsBox::answerSensorIds(BoxReply& reply)
{
    if (subModel_ == kDeltronicsDigitalAdaptor) return;
    reply.ack(P::kSensorIds);
    for (const int id : image_.ids) reply.byte(static_cast<std::uint8_t>(id));
    reply.byte(0);
    reply.byte(0);
}

void DeltronicsBox::takeMotorByte(int byte)
{
    // Forward is the first line of the pair alone; reverse both lines.
    for (int m = 0; m < kMotorCount; ++m) {
        const bool forward = (byte >> (2 * m)) & 1;
        const bool reverse = (byte >> (2 * m + 1)) & 1;
        setMotor(m, forward && !reverse  ? kMotorForward
                    : forward && reverse ? kMotorReverse
                                         : kMotorOff);
    }
}

}  // namespace tarvel::boxes
