#include "sense_control_box.h"

#include <algorithm>

namespace tarvel::boxes {

namespace {

// The box's own command table, written down apart from the program's so
// that a wrong byte on either side shows.
namespace P {
constexpr std::uint8_t kHello = 0xFF;
constexpr std::uint8_t kReady = 'V';
constexpr std::uint8_t kStatus = 0x05;
constexpr std::uint8_t kStarted = 0x04;
constexpr std::uint8_t kMode = 0xD7;
constexpr std::uint8_t kFourChannels = 0xC8;
constexpr std::uint8_t kOutputs = 0xEC;
constexpr std::uint8_t kInputs = 0xED;
constexpr std::uint8_t kAnalogue = 0xEF;
constexpr std::uint8_t kSensorIds = 0xC7;
// The upload: a header naming the end and start addresses, then the bytes
// between them.
constexpr std::uint8_t kHeader[7] = {0x80, 0xDF, 0xFD, 0xE0, 0x00, 0xD0, 0x00};
constexpr std::size_t kSystemSize = 0xE000 - 0xD000;
}  // namespace P

constexpr std::size_t kHeaderSize = sizeof P::kHeader;

}  // namespace

SenseControlBox::SenseControlBox(int /*model*/, int /*subModel*/, BoxPrinter print)
    : SimulatedBox(std::move(print))
{
    // Light, temperature and voltage on channels 1 to 3, nothing on 4.
    image_.ids = {0x0101, 0x0102, 0x0104, kNoSensorId};
}

bool SenseControlBox::command(const std::string& line)
{
    if (line != "reset") return SimulatedBox::command(line);
    state_ = State::WaitsForSystem;
    fourChannels_ = false;
    setOutputByte(0);
    note("reset");
    return true;
}

void SenseControlBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    answerPending(bytes, [&] { return answer(reply); });
}

std::size_t SenseControlBox::answer(BoxReply& reply)
{
    if (state_ == State::WaitsForSystem) return answerWaiting(reply);
    if (state_ == State::Loading) return load(reply);
    auto need = [&](std::size_t n) { return pending_.size() >= n; };
    switch (pending_[0]) {
        case P::kHello:
            reply.ack(P::kReady);
            break;
        case P::kStatus:
            reply.ack(P::kStarted);
            break;
        case P::kMode:
            if (!need(2)) return 0;
            if (pending_[1] != P::kFourChannels) return 1;
            fourChannels_ = true;
            reply.exchangeDone();
            return 2;
        case P::kOutputs:
            if (!need(2)) return 0;
            setOutputByte(pending_[1]);
            reply.exchangeDone();
            return 2;
        case P::kInputs:
            reply.byte(static_cast<std::uint8_t>(inputByte()));
            break;
        case P::kAnalogue:
            answerAnalogue(reply);
            break;
        case P::kSensorIds:
            answerSensorIds(reply);
            break;
        default:
            return 1;  // a byte no command starts with is ignored
    }
    reply.exchangeDone();
    return 1;
}

std::size_t SenseControlBox::answerWaiting(BoxReply& reply)
{
    // Without its system the box only says it is there, and takes the upload.
    switch (pending_[0]) {
        case P::kHello:
        case P::kStatus:
            reply.ack(P::kReady);
            reply.exchangeDone();
            return 1;
        case P::kHeader[0]:
            if (pending_.size() < kHeaderSize) return 0;
            if (!std::equal(P::kHeader, P::kHeader + kHeaderSize, pending_.begin())) return 1;
            state_ = State::Loading;
            loaded_ = 0;
            return kHeaderSize;
        default:
            return 1;
    }
}

std::size_t SenseControlBox::load(BoxReply& reply)
{
    const std::size_t used = std::min(pending_.size(), P::kSystemSize - loaded_);
    loaded_ += used;
    if (loaded_ == P::kSystemSize) {
        state_ = State::Running;
        note("upload " + std::to_string(loaded_));
        reply.exchangeDone();
    }
    return used;
}

void SenseControlBox::answerAnalogue(BoxReply& reply) const
{
    // Each pair: the high eight bits, then the two low bits at the top.
    const int channels = fourChannels_ ? kSensorChannels : 2;
    for (int c = 0; c < channels; ++c) {
        const int v = image_.values[static_cast<std::size_t>(c)];
        reply.byte(static_cast<std::uint8_t>(v >> 2));
        reply.byte(static_cast<std::uint8_t>((v & 3) << 6));
    }
}

void SenseControlBox::answerSensorIds(BoxReply& reply) const
{
    // The four low bytes, then the four high bytes.
    for (const int id : image_.ids) reply.byte(static_cast<std::uint8_t>(id & 0xFF));
    for (const int id : image_.ids) reply.byte(static_cast<std::uint8_t>(id >> 8));
}

}  // namespace tarvel::boxes
