#pragma once
// The LEGO DACTA Control Lab (model 11; COM ports only). The box answers a
// greeting text and from then on streams 19-byte frames of its inputs and
// sensors without being asked; the program only writes commands (outputs on
// and off, directions, power) and keeps the box awake with a byte every two
// seconds. Inputs and values both come from the latest frame.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "interfaces/protocols/interface_protocol.h"
#include "platform/byte_link.h"

namespace tarvel {

class LegoProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    // The command bytes.
    static constexpr std::uint8_t kOutputsOff = 0x90;
    static constexpr std::uint8_t kOutputsOn = 0x91;
    static constexpr std::uint8_t kDirectionReverse = 0x93;
    static constexpr std::uint8_t kDirectionForward = 0x94;
    // The four upper outputs have no motor: their direction is always set forward.
    static constexpr std::uint8_t kUpperOutputs = 0xF0;
    static constexpr std::uint8_t kPower = 0xB0;
    static constexpr int kPowerDivisor = 14;  // percent / 14 gives the level 0..7
    static constexpr int kPowerLevels = 7;
    static constexpr std::uint8_t kKeepAlive = 0x02;

    // The greeting: 34 bytes of text ("\0" is one zero byte) and two zero
    // bytes; the box's reply carries three '$'.
    static constexpr std::size_t kGreetingTextLength = 34;
    static constexpr std::size_t kGreetingLength = 36;
    static const std::array<std::uint8_t, kGreetingLength>& greeting();
    static constexpr std::uint8_t kReplyMark = '$';
    static constexpr int kReplyMarks = 3;
    static constexpr int kGreetingAttempts = 3;

    // The stream: a frame is two zero bytes and 17 bytes of readings.
    static constexpr int kFrameLength = 19;
    static constexpr int kFrameBody = 17;

    // The timings, in milliseconds.
    static constexpr int kKeepAlivePeriodMs = 2000;
    static constexpr int kRunTickQuietMs = 2100;
    static constexpr int kDrainStepMs = 100;
    static constexpr int kDrainLimitMs = 1000;
    static constexpr int kReplyLimitMs = 500;
    static constexpr int kSyncLimitMs = 500;
    static constexpr int kBodyWaitMs = 200;
    static constexpr int kBodyWaitStepMs = 5;
    // A box that has sent no frame for this long is taken for silent.
    static constexpr int kSilentFrameMs = 1000;

    // Stops the keep-alive, greets the box (up to three attempts) and starts
    // the keep-alive again when it answers. A box that does not answer, or a
    // failed write, fails the start-up without a word (the layer reports it).
    bool startUp() override;
    // Within a run the last exchange is only brought forward; the box hears
    // its keep-alive from timer 700.
    void runTick() override;
    // Timer 700: the keep-alive byte. A write that fails stops the timer.
    void keepAlive(int timerId) override;

    // L145: on the outputs in the byte, off the others.
    void sendOutputs(int byte) override;
    // L147: reverse for the motors with both lines on, forward for those
    // with one line on (the upper four outputs always forward).
    void sendMotors(int byte) override;
    // P176: the power of motor `index` (0..3).
    void sendPower(int index, int percent) override;
    // The latest frame of the stream: its input byte, kNoReading when no
    // whole frame waits, or kNoAnswer once the box has been quiet a second.
    int readInputs() override;
    // The channels of the latest frame (the poll read them).
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override;
    // L147 0 then L145 0.
    void allOff() override;

    // What a frame body carries.
    static int inputByteOf(std::span<const std::uint8_t> body);
    static std::array<int, kSensorChannels> channelsOf(std::span<const std::uint8_t> body);

private:
    bool greet();
    // Purges while bytes wait, for at most kDrainLimitMs.
    void drainInput();
    bool awaitReply();
    // The body of the newest whole frame, or nothing; `failed` when the
    // stream could not be followed (the handler has been called).
    std::optional<std::array<std::uint8_t, kFrameBody>> readFrame(bool& failed);
    bool synchronise();
    // What the line can carry in `ms` (ten bits a byte), and a frame more:
    // a bound on the bytes a wait reads that holds whatever the clock does.
    static int lineBytesIn(int ms) { return kLinkBaud / 10 * ms / 1000 + kFrameLength; }

    std::int64_t lastFrameMs_ = 0;
    bool haveChannels_ = false;
    std::array<int, kSensorChannels> channels_{};
};

}  // namespace tarvel
