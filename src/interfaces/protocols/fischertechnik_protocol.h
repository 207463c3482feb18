#pragma once
// The Fischertechnik interface (model 12; COM ports only). Its one output
// byte is the program's motor byte: every exchange carries it, and the box
// answers with its input byte (and, when asked, one of its two analogue
// inputs). The box switches its outputs off when it hears nothing for a
// while, so the last byte is sent again after 200 ms of quiet.

#include "interfaces/protocols/interface_protocol.h"

namespace tarvel {

class FischertechnikProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    // The command bytes, each followed by the output byte.
    static constexpr std::uint8_t kOutputs = 0xC1;
    static constexpr std::uint8_t kPollFirst = 0xC5;   // with analogue input 1
    static constexpr std::uint8_t kPollSecond = 0xC9;  // with analogue input 2
    // Readings are this minus the box's word (so 1024 for a word of 0).
    static constexpr int kFullScale = 1024;
    static constexpr int kChannels = 2;
    static constexpr int kKeepAlivePeriodMs = 200;

    // The port is open: the exchange clock starts and timer 701 with it.
    bool startUp() override;
    // Within a run, the last byte again after 200 ms without an exchange.
    void runTick() override;
    // Timer 701: the same, unless simulating or the link has failed.
    void keepAlive(int timerId) override;

    // X193. After a failure the box is connected again first (not within a
    // run: that run ends, and connects again as it stops).
    void sendMotors(int byte) override;
    // X197: both halves of the poll; the input byte of the second, or
    // kNoAnswer when the box did not answer one of them.
    int readInputs() override;
    // The two channels the last poll read; channels 3 and 4 are left alone.
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override;
    // X193 with 0.
    void allOff() override { sendMotors(0); }

private:
    // One half of the poll: the input byte and the reading.
    enum class Half { Answered, Silent, Failed };
    Half pollHalf(std::uint8_t command, int& input, int& reading);
    // The byte the box last heard (what the layer last sent).
    int lastByte() { return context().ioImage().sentMotorByte & 0xFF; }
    void resendWhenQuiet();

    bool haveChannels_ = false;
    std::array<int, kChannels> channels_{};
};

}  // namespace tarvel
