#include "mfa_box.h"

namespace tarvel::boxes {

namespace {

// The box's own command table, written down apart from the program's so
// that a wrong byte on either side shows.
namespace P {
constexpr std::uint8_t kProbe = 0x00;
constexpr std::uint8_t kInputs = 0x01;
constexpr std::uint8_t kOutputs = 0x05;
constexpr std::uint8_t kDac = 0x06;
constexpr std::uint8_t kAnalogue = 0x3C;
constexpr std::uint8_t kWithBoard[4] = {0xAA, 0x02, 0xD2, 0x70};
constexpr std::uint8_t kWithoutBoard[4] = {0xAA, 0x02, 0xC0, 0x0F};
}  // namespace P

}  // namespace

MfaBox::MfaBox(int /*model*/, int /*subModel*/, BoxPrinter print) : SimulatedBox(std::move(print))
{
}

void MfaBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    answerPending(bytes, [&] { return answer(reply); });
}

std::size_t MfaBox::answer(BoxReply& reply)
{
    switch (pending_[0]) {
        case P::kProbe:
            // The signature stands where another box would acknowledge.
            for (const std::uint8_t b : board_ ? P::kWithBoard : P::kWithoutBoard) reply.ack(b);
            break;
        case P::kInputs:
            reply.byte(static_cast<std::uint8_t>(inputByte()));
            break;
        case P::kOutputs:
            if (pending_.size() < 2) return 0;
            setOutputByte(pending_[1]);
            reply.exchangeDone();
            return 2;
        case P::kDac:
            if (pending_.size() < 2) return 0;
            if (board_) setDac(pending_[1]);
            reply.exchangeDone();
            return 2;
        case P::kAnalogue:
            answerAnalogue(reply);
            break;
        default:
            return 1;  // a byte no command starts with is ignored
    }
    reply.exchangeDone();
    return 1;
}

void MfaBox::answerAnalogue(BoxReply& reply) const
{
    if (!board_) return;
    // Two bytes of its own, then each channel: the high eight bits, then
    // the two low bits at the top.
    reply.byte(0);
    reply.byte(0);
    for (const int v : image_.values) {
        reply.byte(static_cast<std::uint8_t>(v >> 2));
        reply.byte(static_cast<std::uint8_t>((v & 3) << 6));
    }
}

}  // namespace tarvel::boxes
