#include "fischertechnik_box.h"

namespace tarvel::boxes {

namespace {

// The box's own command table, written down apart from the program's so
// that a wrong byte on either side shows.
namespace P {
constexpr std::uint8_t kOutputs = 0xC1;
constexpr std::uint8_t kWithFirst = 0xC5;
constexpr std::uint8_t kWithSecond = 0xC9;
}  // namespace P

}  // namespace

FischertechnikBox::FischertechnikBox(int /*model*/, int /*subModel*/, BoxPrinter print)
    : SimulatedBox(std::move(print))
{
}

void FischertechnikBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    answerPending(bytes, [&]() -> std::size_t {
        const std::uint8_t command = pending_[0];
        // A byte no command starts with is ignored.
        if (command != P::kOutputs && command != P::kWithFirst && command != P::kWithSecond)
            return 1;
        if (pending_.size() < 2) return 0;
        quietTicks_ = 0;
        takeOutputByte(pending_[1]);
        reply.byte(static_cast<std::uint8_t>(inputByte()));
        if (command != P::kOutputs) {
            const int word = kFullScale - image_.values[command == P::kWithFirst ? 0 : 1];
            reply.byte(static_cast<std::uint8_t>(word >> 8));
            reply.byte(static_cast<std::uint8_t>(word & 0xFF));
        }
        reply.exchangeDone();
        return 2;
    });
}

void FischertechnikBox::takeOutputByte(int byte)
{
    for (int m = 0; m < kMotorCount; ++m) {
        const bool forward = (byte >> (2 * m)) & 1;
        const bool reverse = (byte >> (2 * m + 1)) & 1;
        setMotor(m, forward && !reverse   ? kMotorForward
                    : reverse && !forward ? kMotorReverse
                                          : kMotorOff);
    }
}

void FischertechnikBox::stream(BoxReply& /*reply*/)
{
    if (++quietTicks_ * kTickMs < kWatchdogMs) return;
    bool anyOn = false;
    for (const int state : image_.motors) anyOn |= state != kMotorOff;
    if (!anyOn) return;
    note("watchdog");
    takeOutputByte(0);
}

}  // namespace tarvel::boxes
