#include "interfaces/protocols/firmata_protocol.h"

#include <algorithm>

#include "platform/byte_link.h"
#include "platform/clock.h"

namespace tarvel {

namespace {

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

std::uint8_t low7(int value)
{
    return static_cast<std::uint8_t>(value & 0x7F);
}

std::uint8_t high7(int value)
{
    return static_cast<std::uint8_t>((value >> 7) & 0x7F);
}

// The data bytes that follow a message's first byte (those the board sends,
// and those it is sent, so a stray echo is passed over whole).
int dataLength(std::uint8_t command)
{
    switch (command & 0xF0) {
        case FirmataProtocol::kDigitalMessage:
        case FirmataProtocol::kAnalogueMessage:
            return 2;
        case FirmataProtocol::kReportAnalogue:
        case FirmataProtocol::kReportDigital:
            return 1;
        default:
            break;
    }
    if (command == FirmataProtocol::kVersion || command == FirmataProtocol::kSetPinMode) return 2;
    return 0;
}

}  // namespace

int FirmataProtocol::duty(int percent)
{
    return std::clamp(percent, 0, 100) * 255 / 100;
}

bool FirmataProtocol::startUp()
{
    command_ = 0;
    dataCount_ = 0;
    inSysex_ = false;
    versionReports_ = 0;
    configured_ = false;
    restarted_ = false;
    portsIn_.fill(0xFF);
    readings_.fill(-1);
    Clock& clock = context().clock();
    const std::int64_t opened = clock.nowMs();
    // A board that restarts as the port opens misses the query, and reports
    // by itself once it has booted; one that does not restart answers it.
    if (!send({kVersion})) return false;
    // The steps are counted too, so a clock that stands still ends the wait.
    for (int step = 0;; ++step) {
        drain();
        if (context().ioSuppressed()) return false;
        if (versionReports_ > 0) break;
        if (clock.nowMs() - opened >= kStartUpLimitMs || step * kPollStepMs >= kStartUpLimitMs)
            return false;
        waitMs(kPollStepMs);
    }
    // Both the answer and the board's own report may come: one restart.
    const std::int64_t settled = clock.nowMs() + kSettleMs;
    for (int step = 0; step * kPollStepMs < kSettleMs && clock.nowMs() < settled; ++step) {
        waitMs(kPollStepMs);
        drain();
        if (context().ioSuppressed()) return false;
    }
    configure();
    if (context().ioSuppressed()) return false;
    context().shell().startKeepAlive(kFirmataDrainTimer, kDrainPeriodMs);
    return true;
}

void FirmataProtocol::configure()
{
    configured_ = false;
    restarted_ = false;
    const FirmataPinMap& map = pins();
    for (const int pin : map.outputs)
        if (pin != kNoPin && !send({kSetPinMode, static_cast<std::uint8_t>(pin),
                                    FirmataPinMap::pwmCapable(pin) ? kModePwm : kModeOutput}))
            return;
    for (const int pin : map.inputs)
        if (pin != kNoPin && !send({kSetPinMode, static_cast<std::uint8_t>(pin), kModeInputPullUp}))
            return;
    for (const int channel : map.channels)
        if (channel != kNoPin &&
            !send({kSetPinMode, static_cast<std::uint8_t>(FirmataPinMap::pinOfChannel(channel)),
                   kModeAnalogue}))
            return;
    for (int port = 0; port < kBoardPortCount; ++port) {
        const bool holdsInput = std::any_of(map.inputs.begin(), map.inputs.end(), [port](int pin) {
            return pin != kNoPin && pin / 8 == port;
        });
        if (holdsInput && !send({static_cast<std::uint8_t>(kReportDigital | port), 1})) return;
    }
    for (const int channel : map.channels)
        if (channel != kNoPin && !send({static_cast<std::uint8_t>(kReportAnalogue | channel), 1}))
            return;
    portsOut_.fill(0);
    duties_.fill(0);
    configured_ = true;
    // The heartbeat counts from here; the outputs the program holds come back.
    context().markExchange();
    writeLines(context().ioImage().outputByte());
}

void FirmataProtocol::drain()
{
    if (context().ioSuppressed() || !link().isOpen()) return;
    // What waits now, not what keeps coming while it is read.
    const int waiting = link().bytesWaiting();
    if (waiting > 0)
        for (const std::uint8_t b : link().readBlock(waiting)) take(b);
    if (configured_ && restarted_ && !context().ioSuppressed()) configure();
}

void FirmataProtocol::take(std::uint8_t byte)
{
    if (inSysex_) {
        // Sysex replies (the firmware's name, ...) are not used.
        if (byte == kSysexEnd) inSysex_ = false;
        return;
    }
    if (byte & 0x80) {
        command_ = byte;
        dataCount_ = 0;
        if (byte == kSysexStart) {
            inSysex_ = true;
            command_ = 0;
        } else if (dataLength(byte) == 0) {
            command_ = 0;
        }
        return;
    }
    if (command_ == 0) return;  // a data byte without its message
    data_[at(dataCount_++)] = byte;
    if (dataCount_ < dataLength(command_)) return;
    handleMessage();
    dataCount_ = 0;  // a running status: more data may follow for the same message
}

void FirmataProtocol::handleMessage()
{
    const int value = data_[0] | data_[1] << 7;
    const int low = command_ & 0x0F;
    switch (command_ & 0xF0) {
        case kDigitalMessage:
            if (low < kBoardPortCount) portsIn_[at(low)] = value & 0xFF;
            return;
        case kAnalogueMessage:
            if (low < kBoardAnalogueChannels) readings_[at(low)] = std::min(value, 1023);
            context().markExchange();
            return;
        default:
            break;
    }
    if (command_ == kVersion) {
        ++versionReports_;
        // Its pins have forgotten their modes: they are set again.
        restarted_ = true;
    }
}

void FirmataProtocol::checkHeartbeat()
{
    const FirmataPinMap& map = pins();
    const bool anyChannel =
        std::any_of(map.channels.begin(), map.channels.end(), [](int c) { return c != kNoPin; });
    if (!configured_ || !anyChannel || context().ioSuppressed()) return;
    if (context().clock().nowMs() - context().lastExchange() > kHeartbeatMs) fail();
}

void FirmataProtocol::runTick()
{
    drain();
    checkHeartbeat();
}

void FirmataProtocol::keepAlive(int timerId)
{
    if (timerId == kFirmataDrainTimer) drain();
}

void FirmataProtocol::writeLines(int byte)
{
    if (!configured_) return;
    const FirmataPinMap& map = pins();
    const IoImage& image = context().ioImage();
    std::array<int, kBoardPortCount> ports{};
    std::array<bool, kBoardPortCount> used{};
    for (int i = 0; i < kIoCount; ++i) {
        const int pin = map.outputs[at(i)];
        if (pin == kNoPin || FirmataPinMap::pwmCapable(pin)) continue;
        used[at(pin / 8)] = true;
        if ((byte >> i) & 1) ports[at(pin / 8)] |= 1 << (pin % 8);
    }
    // The lines that go off are sent first, then those that come on or
    // change: a motor turning round (its first line off, its second on) never
    // has both lines driven, not even between two messages.
    for (const bool releasing : {true, false}) {
        for (int i = 0; i < kIoCount; ++i) {
            const int pin = map.outputs[at(i)];
            if (pin == kNoPin || !FirmataPinMap::pwmCapable(pin)) continue;
            const int d = (byte >> i) & 1 ? duty(image.outputPower[at(i)]) : 0;
            if (d == duties_[at(pin)] || (releasing && d != 0)) continue;
            if (!send({static_cast<std::uint8_t>(kAnalogueMessage | pin), low7(d), high7(d)}))
                return;
            duties_[at(pin)] = d;
        }
        for (int port = 0; port < kBoardPortCount; ++port) {
            if (!used[at(port)]) continue;
            const int value = releasing ? ports[at(port)] & portsOut_[at(port)] : ports[at(port)];
            if (value == portsOut_[at(port)]) continue;
            if (!send(
                    {static_cast<std::uint8_t>(kDigitalMessage | port), low7(value), high7(value)}))
                return;
            portsOut_[at(port)] = value;
        }
    }
}

void FirmataProtocol::sendOutputs(int byte)
{
    writeLines(byte);
}

void FirmataProtocol::sendPower(int /*index*/, int /*percent*/)
{
    writeLines(context().ioImage().outputByte());
}

void FirmataProtocol::sendAllPowers(const std::array<int, kIoCount>& /*percent*/)
{
    writeLines(context().ioImage().outputByte());
}

int FirmataProtocol::readInputs()
{
    drain();
    if (context().runFlags().testMode) checkHeartbeat();
    if (context().ioSuppressed() || !configured_) return kNoReading;
    const FirmataPinMap& map = pins();
    int byte = 0;
    for (int i = 0; i < kIoCount; ++i) {
        const int pin = map.inputs[at(i)];
        if (pin == kNoPin) continue;
        // The pull-up holds an open input high; pressed pulls it to ground.
        const bool high = (portsIn_[at(pin / 8)] >> (pin % 8)) & 1;
        if (!high) byte |= 1 << i;
    }
    return byte;
}

bool FirmataProtocol::readAnalogue(std::array<int, kSensorChannels>& raw)
{
    drain();
    bool any = false;
    const FirmataPinMap& map = pins();
    for (int k = 0; k < kSensorChannels; ++k) {
        const int channel = map.channels[at(k)];
        if (channel == kNoPin || readings_[at(channel)] < 0) continue;
        raw[at(k)] = readings_[at(channel)];
        any = true;
    }
    return any;
}

void FirmataProtocol::allOff()
{
    writeLines(0);
}

}  // namespace tarvel
