#pragma once
// An Arduino board with the standard Firmata firmware (model 14), wired as
// the default pin map says. It starts running (as a board already powered);
// when the program opens its port it restarts: for a moment it hears nothing
// (its boot loader), then it reports its version and the firmware's name by
// itself. It keeps the mode of every pin, drives the pins in OUTPUT and PWM
// mode, reads its inputs with or without the pull-up, and sends the ports
// and channels whose reports are on: a port when it changes, every channel
// on every stream period.
//
// Besides the common lines it prints "boot" at a restart, "pin P MODE" for
// every mode set, and "pin P on|off" for a pin outside the map that is
// driven; a button to ground is `in N on`.

#include <array>
#include <vector>

#include "interfaces/firmata_pin_map.h"
#include "simulated_box.h"

namespace tarvel::boxes {

class FirmataBox final : public SimulatedBox {
public:
    FirmataBox(int model, int subModel, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;
    int streamPeriodMs() const override { return kReportPeriodMs; }
    void stream(BoxReply& reply) override;
    void lineOpened() override;

    // About the firmware's sampling interval.
    static constexpr int kReportPeriodMs = 20;
    // Stream periods the board takes to boot after a restart.
    static constexpr int kBootPeriods = 25;

    bool booting() const { return bootLeft_ > 0; }
    int pinMode(int pin) const { return modes_[static_cast<std::size_t>(pin)]; }

private:
    // The mode a pin has before the program sets one (the firmware's reset).
    void resetPins();
    void takeByte(std::uint8_t byte, BoxReply& reply);
    void handle(BoxReply& reply);
    void setMode(int pin, int mode);
    void writePort(int port, int value);
    void writeDuty(int pin, int value);
    // The level a pin reads (the pull-up holds an open input high).
    bool level(int pin) const;
    int portValue(int port) const;
    void report(BoxReply& reply, int port);
    void answerVersion(BoxReply& reply, bool asAcks);
    // The output or input a pin carries in the map, or -1.
    int outputOf(int pin) const;
    int inputOf(int pin) const;

    FirmataPinMap map_ = FirmataPinMap::defaults();
    int bootLeft_ = 0;
    std::array<int, kBoardPinCount> modes_{};
    std::array<bool, kBoardPinCount> driven_{};
    std::array<bool, kBoardPortCount> portReports_{};
    std::array<int, kBoardPortCount> portsSent_{};
    std::array<bool, kBoardAnalogueChannels> channelReports_{};
    std::uint8_t command_ = 0;
    std::array<int, 2> data_{};
    int dataCount_ = 0;
    bool inSysex_ = false;
};

}  // namespace tarvel::boxes
