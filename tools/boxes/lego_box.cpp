#include "lego_box.h"

#include <algorithm>
#include <sstream>
#include <string_view>

namespace tarvel::boxes {

namespace {

// The box's own command table, written down apart from the program's so
// that a wrong byte on either side shows.
namespace P {
constexpr std::uint8_t kKeepAlive = 0x02;
constexpr std::uint8_t kOff = 0x90;
constexpr std::uint8_t kOn = 0x91;
constexpr std::uint8_t kLeft = 0x93;   // reverse
constexpr std::uint8_t kRight = 0x94;  // forward
constexpr std::uint8_t kPowerMask = 0xF8;
constexpr std::uint8_t kPower = 0xB0;
constexpr int kPowerLevels = 7;
constexpr std::string_view kGreeting{"p\0###Who goes there, old brick?$$$", 34};
constexpr std::string_view kAnswer{"###Caja lista$$$"};
}  // namespace P

// The frame: the input port of each pair, in the order the pairs are sent;
// ports 1-4 are plain inputs, 5-8 also the channels 1-4.
constexpr std::array<int, 8> kInputOfPair{3, 7, 2, 6, 1, 5, 0, 4};
constexpr int kFirstSensorInput = 4;  // input 5, channel 1
constexpr int kReadingMax = 1023;
// The low six bits of each pair carry the port's status; never all clear,
// so two zero bytes never meet inside a frame.
constexpr int kStatusBits = 0x01;

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

}  // namespace

LegoBox::LegoBox(int /*model*/, int /*subModel*/, BoxPrinter print) : SimulatedBox(std::move(print))
{
}

void LegoBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    answerPending(bytes, [&] { return answer(reply); });
}

std::size_t LegoBox::answer(BoxReply& reply)
{
    const std::uint8_t command = pending_[0];
    if (command == static_cast<std::uint8_t>(P::kGreeting[0])) return answerGreeting(reply);
    // Until it is greeted the box takes no command.
    if (!greeted_) return 1;
    if (command == P::kKeepAlive) {
        reply.exchangeDone();
        return 1;
    }
    const bool twoBytes = command == P::kOn || command == P::kOff || command == P::kLeft ||
                          command == P::kRight || (command & P::kPowerMask) == P::kPower;
    if (!twoBytes) return 1;  // a byte no command starts with is ignored
    if (pending_.size() < 2) return 0;
    const int argument = pending_[1];
    if (command == P::kOn || command == P::kOff)
        switchOutputs(argument, command == P::kOn);
    else if (command == P::kLeft || command == P::kRight)
        setDirections(argument, command == P::kLeft);
    else
        takePower(command & P::kPowerLevels, argument);
    reply.exchangeDone();
    return 2;
}

std::size_t LegoBox::answerGreeting(BoxReply& reply)
{
    const std::size_t n = std::min(pending_.size(), P::kGreeting.size());
    if (!std::equal(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n),
                    P::kGreeting.begin()))
        return 1;
    if (n < P::kGreeting.size()) return 0;
    note("handshake");
    greeted_ = true;
    for (const char c : P::kAnswer) {
        if (c == '$')
            reply.ack(static_cast<std::uint8_t>(c));
        else
            reply.byte(static_cast<std::uint8_t>(c));
    }
    reply.exchangeDone();
    return P::kGreeting.size();
}

void LegoBox::switchOutputs(int mask, bool on)
{
    for (int i = 0; i < kIoCount; ++i)
        if ((mask >> i) & 1) setOutput(i, on);
    showMotors();
}

void LegoBox::setDirections(int mask, bool reverse)
{
    for (int i = 0; i < kIoCount; ++i)
        if ((mask >> i) & 1) reverse_[at(i)] = reverse;
    showMotors();
}

void LegoBox::takePower(int level, int mask)
{
    const int percent = percentOfLevel(level, P::kPowerLevels);
    for (int i = 0; i < kIoCount; ++i) {
        if (!((mask >> i) & 1)) continue;
        if (i < kMotorCount)
            setMotorPower(i, percent);
        else
            setPower(i, percent);
    }
}

void LegoBox::showMotors()
{
    for (int m = 0; m < kMotorCount; ++m)
        setMotor(m, !image_.outputs[at(m)] ? kMotorOff
                    : reverse_[at(m)]      ? kMotorReverse
                                           : kMotorForward);
}

bool LegoBox::command(const std::string& line)
{
    if (!SimulatedBox::command(line)) return false;
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "val")
        inputsFollowChannels();
    else if (word == "in")
        channelsFollowInputs();
    return true;
}

void LegoBox::inputsFollowChannels()
{
    for (int c = 0; c < kSensorChannels; ++c)
        setInput(kFirstSensorInput + c, image_.values[at(c)] >= kInputOnReading);
}

void LegoBox::channelsFollowInputs()
{
    for (int c = 0; c < kSensorChannels; ++c) {
        const bool on = image_.inputs[at(kFirstSensorInput + c)];
        if (on != (image_.values[at(c)] >= kInputOnReading)) setValue(c, on ? kReadingMax : 0);
    }
}

void LegoBox::stream(BoxReply& reply)
{
    if (!greeted_) return;
    for (const std::uint8_t b : frame()) reply.byte(b);
}

std::vector<std::uint8_t> LegoBox::frame() const
{
    std::vector<std::uint8_t> f{0, 0};
    for (const int input : kInputOfPair) {
        const bool sensor = input >= kFirstSensorInput;
        const int reading = sensor ? image_.values[at(input - kFirstSensorInput)]
                            : image_.inputs[at(input)] ? kReadingMax
                                                       : 0;
        // The port sends its reading reversed, in the upper ten bits.
        const int word = (kReadingMax - reading) << 6 | kStatusBits;
        f.push_back(static_cast<std::uint8_t>(word >> 8));
        f.push_back(static_cast<std::uint8_t>(word & 0xFF));
    }
    int sum = 0;
    for (std::size_t i = 2; i < f.size(); ++i) sum += f[i];
    f.push_back(static_cast<std::uint8_t>(sum % 255 + 1));  // a check byte, never zero
    return f;
}

}  // namespace tarvel::boxes
