#include "box_session.h"

namespace tarvel::boxes {

BoxSession::BoxSession(SimulatedBox& box, BoxFaults faults) : box_(box), faults_(faults) {}

std::vector<std::uint8_t> BoxSession::receive(std::span<const std::uint8_t> bytes)
{
    BoxReply reply;
    box_.receive(bytes, reply);
    // The exchange that reaches the limit is still answered.
    const bool stopped = faults_.stopAfter >= 0 && exchanges_ >= faults_.stopAfter;
    exchanges_ += reply.exchanges;
    if (stopped) return {};
    return misbehave(reply);
}

std::vector<std::uint8_t> BoxSession::stream()
{
    BoxReply reply;
    box_.stream(reply);
    if (faults_.stopAfter >= 0 && exchanges_ >= faults_.stopAfter) return {};
    return misbehave(reply);
}

std::vector<std::uint8_t> BoxSession::misbehave(const BoxReply& reply)
{
    if (faults_.silent) return {};
    std::vector<std::uint8_t> out = reply.bytes;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (faults_.garbage) {
            // Any byte but the right one.
            const auto offset = static_cast<std::uint8_t>(1 + random_() % 255);
            out[i] = static_cast<std::uint8_t>(out[i] + offset);
        } else if (faults_.wrongAck && reply.acks[i]) {
            out[i] = static_cast<std::uint8_t>(~out[i]);
        }
    }
    return out;
}

}  // namespace tarvel::boxes
