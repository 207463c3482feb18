#include "interfaces/protocols/fischertechnik_protocol.h"

#include "platform/byte_link.h"
#include "platform/clock.h"

namespace tarvel {

namespace {

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

bool FischertechnikProtocol::startUp()
{
    haveChannels_ = false;
    // A port that did not open has nothing to keep alive; the first
    // exchange reports it.
    if (!link().isOpen()) return true;
    context().markExchange();
    context().shell().startKeepAlive(kFischertechnikKeepAliveTimer, kKeepAlivePeriodMs);
    return true;
}

void FischertechnikProtocol::runTick()
{
    resendWhenQuiet();
}

void FischertechnikProtocol::keepAlive(int timerId)
{
    if (timerId != kFischertechnikKeepAliveTimer) return;
    const RunFlags& flags = context().runFlags();
    if (flags.linkFailed || flags.simulate) return;
    resendWhenQuiet();
}

void FischertechnikProtocol::resendWhenQuiet()
{
    if (context().clock().nowMs() - context().lastExchange() > kKeepAlivePeriodMs)
        sendMotors(lastByte());
}

void FischertechnikProtocol::sendMotors(int byte)
{
    if (context().runFlags().linkFailed) {
        if (context().runFlags().running) return;
        // A reconnect that fails leaves the flag set and says nothing more.
        context().reconnect();
        if (context().runFlags().linkFailed) return;
    }
    if (!send({kOutputs, byteOf(byte)})) return;
    if (read() < 0) {
        fail();
        return;
    }
    context().markExchange();
}

int FischertechnikProtocol::readInputs()
{
    if (context().ioSuppressed()) return kNoReading;
    std::array<int, kChannels> readings{};
    int input = 0;
    for (int half = 0; half < kChannels; ++half) {
        const std::uint8_t command = half == 0 ? kPollFirst : kPollSecond;
        switch (pollHalf(command, input, readings[static_cast<std::size_t>(half)])) {
            case Half::Answered:
                break;
            case Half::Silent:
                return kNoAnswer;
            case Half::Failed:
                return kNoReading;  // reported
        }
    }
    channels_ = readings;
    haveChannels_ = true;
    context().markExchange();
    return input;
}

FischertechnikProtocol::Half FischertechnikProtocol::pollHalf(std::uint8_t command, int& input,
                                                              int& reading)
{
    if (!send({command, byteOf(lastByte())})) return Half::Failed;
    input = read();
    if (input < 0) return Half::Silent;
    const int high = read();
    const int low = high < 0 ? -1 : read();
    if (low < 0) return Half::Silent;
    reading = kFullScale - (high * 256 + low);
    return Half::Answered;
}

bool FischertechnikProtocol::readAnalogue(std::array<int, kSensorChannels>& raw)
{
    if (!haveChannels_) return false;
    for (int c = 0; c < kChannels; ++c)
        raw[static_cast<std::size_t>(c)] = channels_[static_cast<std::size_t>(c)];
    return true;
}

}  // namespace tarvel
