#include "interfaces/protocols/lego_protocol.h"

#include <algorithm>
#include <vector>

#include "platform/clock.h"

namespace tarvel {

namespace {

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

// Each pair of the body: the first byte's top bit is clear while its input
// is on; the pair's upper ten bits are the sensor's reading, reversed.
constexpr int kPairs = 8;
constexpr int kInputOnBelow = 0x80;
// The input bit of each pair, in the order the pairs arrive.
constexpr std::array<int, kPairs> kInputBitOfPair{3, 7, 2, 6, 1, 5, 0, 4};
// The pair of channels 1..4.
constexpr std::array<int, kSensorChannels> kPairOfChannel{7, 5, 3, 1};
constexpr int kReadingShift = 6;
constexpr int kReadingMax = 1023;

}  // namespace

const std::array<std::uint8_t, LegoProtocol::kGreetingLength>& LegoProtocol::greeting()
{
    static const std::array<std::uint8_t, kGreetingLength> bytes = [] {
        static constexpr char kText[] = "p\0###Who goes there, old brick?$$$";
        static_assert(sizeof kText - 1 == kGreetingTextLength);
        std::array<std::uint8_t, kGreetingLength> b{};  // the two zero bytes at the end
        for (std::size_t i = 0; i < kGreetingTextLength; ++i)
            b[i] = static_cast<std::uint8_t>(kText[i]);
        return b;
    }();
    return bytes;
}

// ---- Start-up and upkeep ------------------------------------------------------

bool LegoProtocol::startUp()
{
    context().shell().stopKeepAlive(kLegoKeepAliveTimer);
    haveChannels_ = false;
    if (context().ioSuppressed()) return false;
    for (int attempt = 0; attempt < kGreetingAttempts; ++attempt) {
        drainInput();
        if (!link().write(greeting())) return false;
        if (awaitReply()) {
            context().shell().startKeepAlive(kLegoKeepAliveTimer, kKeepAlivePeriodMs);
            context().markExchange();
            lastFrameMs_ = context().clock().nowMs();
            return true;
        }
    }
    return false;
}

void LegoProtocol::drainInput()
{
    // A box that is already streaming (or a noisy line) never stops sending:
    // after a second the greeting goes out anyway, and the box answers it
    // amid its frames.
    for (int waited = 0; waited < kDrainLimitMs && link().bytesWaiting() > 0;
         waited += kDrainStepMs) {
        link().purge();
        waitMs(kDrainStepMs);
    }
}

bool LegoProtocol::awaitReply()
{
    Clock& clock = context().clock();
    const std::int64_t start = clock.nowMs();
    int marks = 0;
    for (int n = 0; n < lineBytesIn(kReplyLimitMs); ++n) {
        const int b = link().readByte();
        if (b < 0) return false;  // the read waited out its time-outs
        if (b == kReplyMark && ++marks == kReplyMarks) return true;
        if (clock.nowMs() - start >= kReplyLimitMs) return false;
    }
    return false;
}

void LegoProtocol::runTick()
{
    if (context().clock().nowMs() - context().lastExchange() > kRunTickQuietMs)
        context().markExchange();
}

void LegoProtocol::keepAlive(int timerId)
{
    if (timerId != kLegoKeepAliveTimer || context().ioSuppressed()) return;
    if (!link().write({kKeepAlive})) {
        context().shell().stopKeepAlive(kLegoKeepAliveTimer);
        return;
    }
    context().markExchange();
}

// ---- The commands ---------------------------------------------------------------

void LegoProtocol::sendOutputs(int byte)
{
    send({kOutputsOn, byteOf(byte), kOutputsOff, byteOf(~byte)});
}

void LegoProtocol::sendMotors(int byte)
{
    int forward = 0, reverse = 0;
    for (int m = 0; m < kMotorCount; ++m) {
        forward |= ((byte >> (2 * m)) & 1) << m;
        reverse |= ((byte >> (2 * m + 1)) & 1) << m;
    }
    send({kDirectionReverse, byteOf(forward & reverse), kDirectionForward,
          byteOf(kUpperOutputs | (forward ^ reverse))});
}

void LegoProtocol::sendPower(int index, int percent)
{
    if (index < 0 || index >= kMotorCount) return;
    const int level = (std::clamp(percent, 0, 100) / kPowerDivisor) & kPowerLevels;
    send({byteOf(kPower | level), byteOf(1 << index)});
}

void LegoProtocol::allOff()
{
    sendMotors(0);
    sendOutputs(0);
}

// ---- The stream -------------------------------------------------------------------

int LegoProtocol::readInputs()
{
    if (context().ioSuppressed()) return kNoReading;
    bool failed = false;
    const auto body = readFrame(failed);
    if (failed) return kNoReading;  // reported
    const std::int64_t now = context().clock().nowMs();
    if (!body) return now - lastFrameMs_ > kSilentFrameMs ? kNoAnswer : kNoReading;
    lastFrameMs_ = now;
    channels_ = channelsOf(*body);
    haveChannels_ = true;
    return inputByteOf(*body);
}

bool LegoProtocol::readAnalogue(std::array<int, kSensorChannels>& raw)
{
    if (!haveChannels_) return false;
    raw = channels_;
    return true;
}

std::optional<std::array<std::uint8_t, LegoProtocol::kFrameBody>> LegoProtocol::readFrame(
    bool& failed)
{
    int waiting = link().bytesWaiting();
    if (waiting < kFrameLength) return std::nullopt;
    // Catch up: whole frames that the poll came too late for are dropped,
    // counted from what waited when it began.
    while (waiting > 2 * kFrameLength) {
        const auto dropped = static_cast<int>(link().readBlock(kFrameLength).size());
        if (dropped == 0) break;
        waiting -= dropped;
    }
    if (!synchronise()) {
        failed = true;
        return std::nullopt;
    }
    for (int waited = 0; link().bytesWaiting() < kFrameBody && waited < kBodyWaitMs;
         waited += kBodyWaitStepMs)
        waitMs(kBodyWaitStepMs);
    // A body that has not all come by now is not waited for: the box stopped
    // part way, and the next poll looks again.
    if (link().bytesWaiting() < kFrameBody) return std::nullopt;
    const std::vector<std::uint8_t> got = link().readBlock(kFrameBody);
    if (static_cast<int>(got.size()) < kFrameBody) return std::nullopt;
    std::array<std::uint8_t, kFrameBody> body{};
    std::copy(got.begin(), got.end(), body.begin());
    return body;
}

bool LegoProtocol::synchronise()
{
    // Two zero bytes in a row start a frame. A stream without them within
    // half a second is no stream of this box.
    Clock& clock = context().clock();
    const std::int64_t start = clock.nowMs();
    int previous = -1;
    for (int n = 0; n < lineBytesIn(kSyncLimitMs); ++n) {
        const int b = read();
        if (b == 0 && previous == 0) return true;
        if (b < 0 || clock.nowMs() - start >= kSyncLimitMs) break;
        previous = b;
    }
    fail();
    return false;
}

int LegoProtocol::inputByteOf(std::span<const std::uint8_t> body)
{
    int byte = 0;
    for (int p = 0; p < kPairs; ++p)
        if (body[static_cast<std::size_t>(2 * p)] < kInputOnBelow)
            byte |= 1 << kInputBitOfPair[static_cast<std::size_t>(p)];
    return byte;
}

std::array<int, kSensorChannels> LegoProtocol::channelsOf(std::span<const std::uint8_t> body)
{
    std::array<int, kSensorChannels> values{};
    for (int c = 0; c < kSensorChannels; ++c) {
        const auto at = static_cast<std::size_t>(2 * kPairOfChannel[static_cast<std::size_t>(c)]);
        const int word = body[at] * 256 + body[at + 1];
        values[static_cast<std::size_t>(c)] = kReadingMax - (word >> kReadingShift);
    }
    return values;
}

}  // namespace tarvel
