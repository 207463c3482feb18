#include "contact_controller_box.h"

namespace tarvel::boxes {

namespace {

// The box's own command table, written down apart from the program's so
// that a wrong byte on either side shows.
namespace P {
constexpr std::uint8_t kInputs = 'D';
constexpr std::uint8_t kOutputs = 'F';
constexpr std::uint8_t kMotors = 'G';
constexpr std::uint8_t kSpeed = 'N';
constexpr std::uint8_t kAnalogue = 'O';
constexpr std::uint8_t kAck = 'A';
constexpr int kSpeedSteps = 10;
}  // namespace P

}  // namespace

ContactControllerBox::ContactControllerBox(int /*model*/, int /*subModel*/, BoxPrinter print)
    : SimulatedBox(std::move(print))
{
}

void ContactControllerBox::takePrograms(int programSize)
{
    downloader_ = std::make_unique<ChipDownloader>(programSize,
                                                   [this](const std::string& line) { note(line); });
}

void ContactControllerBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    answerPending(bytes, [&] { return answer(reply); });
}

std::size_t ContactControllerBox::answer(BoxReply& reply)
{
    if (downloader_)
        if (const auto used = downloader_->answer(pending_, reply)) return *used;
    const std::uint8_t command = pending_[0];
    const bool hasArgument =
        command == P::kOutputs || command == P::kMotors || command == P::kSpeed;
    if (hasArgument && pending_.size() < 2) return 0;
    switch (command) {
        case P::kInputs:
            reply.ack(P::kAck);
            reply.byte(static_cast<std::uint8_t>(~inputByte()));
            break;
        case P::kOutputs:
            setOutputByte(pending_[1]);
            reply.ack(P::kAck);
            break;
        case P::kMotors:
            takeMotorByte(pending_[1]);
            reply.ack(P::kAck);
            break;
        case P::kSpeed: {
            const int output = pending_[1] & 0x0F;
            const int tenths = pending_[1] >> 4;
            if (output < kIoCount && tenths <= P::kSpeedSteps) setPower(output, tenths * 10);
            reply.ack(P::kAck);
            break;
        }
        case P::kAnalogue:
            reply.ack(P::kAck);
            for (const int v : image_.values) reply.byte(static_cast<std::uint8_t>(v >> 2));
            break;
        default:
            return 1;  // a byte no command starts with is ignored
    }
    reply.exchangeDone();
    return hasArgument ? 2 : 1;
}

void ContactControllerBox::takeMotorByte(int byte)
{
    // Forward is the first line of the pair, reverse the second alone.
    for (int m = 0; m < kMotorCount; ++m) {
        const bool forward = (byte >> (2 * m)) & 1;
        const bool reverse = (byte >> (2 * m + 1)) & 1;
        setMotor(m, forward && !reverse   ? kMotorForward
                    : reverse && !forward ? kMotorReverse
                                          : kMotorOff);
    }
}

}  // namespace tarvel::boxes
