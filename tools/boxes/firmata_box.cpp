#include "firmata_box.h"

#include <string>

namespace tarvel::boxes {

namespace {

// The board's own message table, written down apart from the program's so
// that a wrong byte on either side shows.
namespace F {
constexpr std::uint8_t kDigital = 0x90;
constexpr std::uint8_t kAnalogue = 0xE0;
constexpr std::uint8_t kReportAnalogue = 0xC0;
constexpr std::uint8_t kReportDigital = 0xD0;
constexpr std::uint8_t kSetMode = 0xF4;
constexpr std::uint8_t kVersion = 0xF9;
constexpr std::uint8_t kSysexStart = 0xF0;
constexpr std::uint8_t kSysexEnd = 0xF7;
constexpr std::uint8_t kSystemReset = 0xFF;
constexpr std::uint8_t kFirmwareName = 0x79;
constexpr int kMajor = 2;
constexpr int kMinor = 5;
constexpr int kInput = 0;
constexpr int kOutput = 1;
constexpr int kAnalogueMode = 2;
constexpr int kPwm = 3;
constexpr int kPullUp = 11;
constexpr int kNone = -1;  // pins 0 and 1: the serial line
}  // namespace F

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

std::string modeName(int mode)
{
    switch (mode) {
        case F::kInput:
            return "input";
        case F::kOutput:
            return "output";
        case F::kAnalogueMode:
            return "analog";
        case F::kPwm:
            return "pwm";
        case F::kPullUp:
            return "pullup";
        default:
            return "mode" + std::to_string(mode);
    }
}

int dataLength(std::uint8_t command)
{
    switch (command & 0xF0) {
        case F::kDigital:
        case F::kAnalogue:
            return 2;
        case F::kReportAnalogue:
        case F::kReportDigital:
            return 1;
        default:
            break;
    }
    return command == F::kSetMode || command == F::kVersion ? 2 : 0;
}

}  // namespace

FirmataBox::FirmataBox(int /*model*/, int /*subModel*/, BoxPrinter print)
    : SimulatedBox(std::move(print))
{
    resetPins();
}

void FirmataBox::resetPins()
{
    for (int pin = 0; pin < kBoardPinCount; ++pin)
        modes_[at(pin)] = pin < kBoardFirstFreePin        ? F::kNone
                          : pin >= kBoardFirstAnaloguePin ? F::kAnalogueMode
                                                          : F::kOutput;
    driven_.fill(false);
    portReports_.fill(false);
    portsSent_.fill(-1);
    channelReports_.fill(false);
    command_ = 0;
    dataCount_ = 0;
    inSysex_ = false;
    for (int i = 0; i < kIoCount; ++i) {
        setOutput(i, false);
        setPower(i, 0);
    }
}

void FirmataBox::lineOpened()
{
    note("boot");
    resetPins();
    bootLeft_ = kBootPeriods;
}

void FirmataBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    // The boot loader takes what comes while the board restarts.
    if (booting()) return;
    for (const std::uint8_t b : bytes) takeByte(b, reply);
}

void FirmataBox::takeByte(std::uint8_t byte, BoxReply& reply)
{
    if (inSysex_) {
        if (byte == F::kSysexEnd) {
            inSysex_ = false;
            reply.exchangeDone();
        }
        return;
    }
    if (byte & 0x80) {
        command_ = byte;
        dataCount_ = 0;
        if (byte == F::kSysexStart) {
            inSysex_ = true;
            command_ = 0;
        } else if (byte == F::kSystemReset) {
            resetPins();
            reply.exchangeDone();
        }
        if (dataLength(byte) == 0) command_ = 0;
        return;
    }
    if (command_ == 0) return;
    data_[at(dataCount_++)] = byte;
    if (dataCount_ < dataLength(command_)) return;
    dataCount_ = 0;
    handle(reply);
    reply.exchangeDone();
}

void FirmataBox::handle(BoxReply& reply)
{
    const int low = command_ & 0x0F;
    const int value = data_[0] | data_[1] << 7;
    switch (command_ & 0xF0) {
        case F::kDigital:
            writePort(low, value);
            return;
        case F::kAnalogue:
            writeDuty(low, value);
            return;
        case F::kReportDigital:
            if (low < kBoardPortCount) {
                portReports_[at(low)] = data_[0] != 0;
                portsSent_[at(low)] = -1;  // the port is sent at once
                if (portReports_[at(low)]) report(reply, low);
            }
            return;
        case F::kReportAnalogue:
            if (low < kBoardAnalogueChannels) channelReports_[at(low)] = data_[0] != 0;
            return;
        default:
            break;
    }
    if (command_ == F::kSetMode)
        setMode(data_[0], data_[1]);
    else if (command_ == F::kVersion)
        answerVersion(reply, true);
}

void FirmataBox::setMode(int pin, int mode)
{
    if (pin >= kBoardPinCount || modes_[at(pin)] == F::kNone) {
        note("pin " + std::to_string(pin) + " refused " + modeName(mode));
        return;
    }
    modes_[at(pin)] = mode;
    note("pin " + std::to_string(pin) + " " + modeName(mode));
    // A pin's level starts low in its new mode; a channel reports from now on.
    driven_[at(pin)] = false;
    if (const int out = outputOf(pin); out >= 0) {
        setOutput(out, false);
        setPower(out, 0);
    }
    if (pin >= kBoardFirstAnaloguePin)
        channelReports_[at(pin - kBoardFirstAnaloguePin)] = mode == F::kAnalogueMode;
}

void FirmataBox::writePort(int port, int value)
{
    for (int bit = 0; bit < 8; ++bit) {
        const int pin = port * 8 + bit;
        if (pin >= kBoardPinCount || modes_[at(pin)] != F::kOutput) continue;
        const bool on = (value >> bit) & 1;
        if (const int out = outputOf(pin); out >= 0) {
            setOutput(out, on);
        } else if (driven_[at(pin)] != on) {
            note("pin " + std::to_string(pin) + (on ? " on" : " off"));
        }
        driven_[at(pin)] = on;
    }
}

void FirmataBox::writeDuty(int pin, int value)
{
    if (pin >= kBoardPinCount || modes_[at(pin)] != F::kPwm) return;
    const int duty = value > 255 ? 255 : value;
    const int out = outputOf(pin);
    if (out < 0) {
        if (driven_[at(pin)] != (duty > 0))
            note("pin " + std::to_string(pin) + (duty ? " on" : " off"));
    } else {
        setOutput(out, duty > 0);
        if (duty > 0) setPower(out, percentOfLevel(duty, 255));
    }
    driven_[at(pin)] = duty > 0;
}

bool FirmataBox::level(int pin) const
{
    const int in = inputOf(pin);
    const bool pressed = in >= 0 && image_.inputs[at(in)];
    if (pressed) return false;
    return modes_[at(pin)] == F::kPullUp || (modes_[at(pin)] == F::kOutput && driven_[at(pin)]);
}

int FirmataBox::portValue(int port) const
{
    int value = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const int pin = port * 8 + bit;
        if (pin >= kBoardPinCount) break;
        const int mode = modes_[at(pin)];
        // The port reports the pins that are inputs.
        if ((mode == F::kInput || mode == F::kPullUp) && level(pin)) value |= 1 << bit;
    }
    return value;
}

void FirmataBox::report(BoxReply& reply, int port)
{
    const int value = portValue(port);
    if (value == portsSent_[at(port)]) return;
    portsSent_[at(port)] = value;
    reply.byte(static_cast<std::uint8_t>(F::kDigital | port));
    reply.byte(static_cast<std::uint8_t>(value & 0x7F));
    reply.byte(static_cast<std::uint8_t>(value >> 7));
}

void FirmataBox::answerVersion(BoxReply& reply, bool asAcks)
{
    // The version is what the program waits for: told to misbehave, the
    // board garbles it as an acknowledgement.
    const std::uint8_t version[] = {F::kVersion, F::kMajor, F::kMinor};
    for (const std::uint8_t b : version) asAcks ? reply.ack(b) : reply.byte(b);
    reply.byte(F::kSysexStart);
    reply.byte(F::kFirmwareName);
    reply.byte(F::kMajor);
    reply.byte(F::kMinor);
    for (const char c : std::string("Firmata")) {
        reply.byte(static_cast<std::uint8_t>(c & 0x7F));
        reply.byte(0);
    }
    reply.byte(F::kSysexEnd);
}

void FirmataBox::stream(BoxReply& reply)
{
    if (bootLeft_ > 0) {
        if (--bootLeft_ == 0) answerVersion(reply, true);
        return;
    }
    for (int port = 0; port < kBoardPortCount; ++port)
        if (portReports_[at(port)]) report(reply, port);
    for (int channel = 0; channel < kBoardAnalogueChannels; ++channel) {
        if (!channelReports_[at(channel)]) continue;
        int raw = 0;
        for (int k = 0; k < kSensorChannels; ++k)
            if (map_.channels[at(k)] == channel) raw = image_.values[at(k)];
        reply.byte(static_cast<std::uint8_t>(F::kAnalogue | channel));
        reply.byte(static_cast<std::uint8_t>(raw & 0x7F));
        reply.byte(static_cast<std::uint8_t>(raw >> 7));
    }
}

int FirmataBox::outputOf(int pin) const
{
    for (int i = 0; i < kIoCount; ++i)
        if (map_.outputs[at(i)] == pin) return i;
    return -1;
}

int FirmataBox::inputOf(int pin) const
{
    for (int i = 0; i < kIoCount; ++i)
        if (map_.inputs[at(i)] == pin) return i;
    return -1;
}

}  // namespace tarvel::boxes
