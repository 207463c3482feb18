#pragma once
// The Contact Controller types: the Contact Controller (model 7), Quillo
// (model 13) and the Tolva Chip that talks this protocol live; over a COM
// port, or over USB for Quillo. A command letter and its argument, answered
// with 'A'. Over USB a failed write is always a failure; over a COM port the
// speed and analogue requests pass over one.

#include "interfaces/protocols/interface_protocol.h"

namespace tarvel {

class ContactControllerProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    // The command letters and the acknowledgement.
    static constexpr std::uint8_t kInputs = 'D';
    static constexpr std::uint8_t kOutputs = 'F';
    static constexpr std::uint8_t kMotors = 'G';
    static constexpr std::uint8_t kSpeed = 'N';
    static constexpr std::uint8_t kAnalogue = 'O';
    static constexpr std::uint8_t kAck = 'A';
    // A speed byte: the output in the low nibble, tenths of full power in
    // the high one; the box wants a moment after each.
    static constexpr int kSpeedSettleMs = 2;

    // The speed byte of an output 0..7 at a percentage.
    static std::uint8_t speedByte(int output, int percent);

    // I68: the acknowledgement, then the input byte.
    int readInputs() override;
    // F70 and G71 (the motor byte is held back on a failed line during a run).
    void sendOutputs(int byte) override;
    void sendMotors(int byte) override;
    // N78 for one output: a missing acknowledgement is let pass.
    void sendPower(int index, int percent) override;
    // N78 for outputs 0 to 7 in turn, until a write fails (reported) or an
    // acknowledgement is missing (not reported); nothing on a failed line.
    void sendAllPowers(const std::array<int, kIoCount>& percent) override;
    // A79: 'A', then a byte for each channel; anything else is a failure.
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override;
    // F70 0, then G71 0 where the box has a motor byte.
    void allOff() override;

private:
    // A write whose failure counts only over USB.
    bool sendLenient(std::initializer_list<std::uint8_t> bytes);
    // The speed's acknowledgement, read twice at most, and the pause after.
    bool speedAcknowledged();
};

}  // namespace tarvel
