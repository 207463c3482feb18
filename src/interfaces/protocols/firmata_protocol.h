#pragma once
// An Arduino board running the standard Firmata firmware (model 14), at
// 57 600 baud. Opening the port restarts the board; once booted it reports
// its firmware version by itself, and it answers the version query too.
// After its last restart the program sets the mode of every pin the pin map
// uses and switches on the reports of the digital ports that hold inputs and
// of the analogue channels. From then on the board sends what changes on its
// input ports, and every analogue reading about fifty times a second: those
// readings are the sign that it is alive.
//
// Outputs travel as digital port messages; an output on a PWM pin takes a
// duty cycle of its power instead (an analogue message). Inputs use the
// pull-up: a button to ground reads on when pressed.

#include "interfaces/firmata_pin_map.h"
#include "interfaces/protocols/interface_protocol.h"

namespace tarvel {

class FirmataProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    // Message bytes (the low nibble of the first four carries a port, pin or
    // channel).
    static constexpr std::uint8_t kDigitalMessage = 0x90;
    static constexpr std::uint8_t kAnalogueMessage = 0xE0;
    static constexpr std::uint8_t kReportAnalogue = 0xC0;
    static constexpr std::uint8_t kReportDigital = 0xD0;
    static constexpr std::uint8_t kSetPinMode = 0xF4;
    static constexpr std::uint8_t kVersion = 0xF9;
    static constexpr std::uint8_t kSysexStart = 0xF0;
    static constexpr std::uint8_t kSysexEnd = 0xF7;
    // Pin modes.
    static constexpr std::uint8_t kModeOutput = 1;
    static constexpr std::uint8_t kModeAnalogue = 2;
    static constexpr std::uint8_t kModePwm = 3;
    static constexpr std::uint8_t kModeInputPullUp = 11;

    // The board's boot after the port opens, with time to spare.
    static constexpr int kStartUpLimitMs = 4000;
    // A second version report this close behind the first is the same restart.
    static constexpr int kSettleMs = 100;
    static constexpr int kPollStepMs = 10;
    // Within a run, a second without an analogue reading is a dead board.
    static constexpr int kHeartbeatMs = 1000;
    // Between runs the reports are read away now and then.
    static constexpr int kDrainPeriodMs = 1000;

    // The duty cycle 0..255 of a power level in percent.
    static int duty(int percent);

    // The version query, the board's report within 4 s of opening, then the
    // pin modes and the reports. False when no report came.
    bool startUp() override;
    // What the board sent, and the heartbeat.
    void runTick() override;
    void keepAlive(int timerId) override;

    void sendOutputs(int byte) override;
    // The duty cycles follow the new level (the layer has stored it).
    void sendPower(int index, int percent) override;
    void sendAllPowers(const std::array<int, kIoCount>& percent) override;
    int readInputs() override;
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override;
    void allOff() override;

private:
    const FirmataPinMap& pins() { return context().firmataPins(); }
    // Reads what waits and takes every complete message; a board that
    // restarted meanwhile is set up again.
    void drain();
    void take(std::uint8_t byte);
    void handleMessage();
    void checkHeartbeat();
    // Pin modes and reports, after a restart: every pin starts low.
    void configure();
    // Sends the port and duty messages that make the pins show `byte`.
    void writeLines(int byte);

    // The message being read.
    std::uint8_t command_ = 0;
    std::array<int, 2> data_{};
    int dataCount_ = 0;
    bool inSysex_ = false;

    int versionReports_ = 0;
    bool configured_ = false;
    bool restarted_ = false;
    // What the board reported: its input ports (pull-ups: open reads 1) and
    // its analogue channels (-1 until read).
    std::array<int, kBoardPortCount> portsIn_{};
    std::array<int, kBoardAnalogueChannels> readings_{};
    // What the board was told: its port levels and duty cycles.
    std::array<int, kBoardPortCount> portsOut_{};
    std::array<int, kBoardPinCount> duties_{};
};

}  // namespace tarvel
