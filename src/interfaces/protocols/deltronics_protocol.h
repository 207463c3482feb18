#pragma once
// The Deltronics / Commotion serial family (model 1, every sub-model; COM
// ports only): one command byte, its argument bytes, and an echo of the
// command byte as acknowledgement where one is awaited.

#include "interfaces/protocols/interface_protocol.h"

namespace tarvel {

class DeltronicsProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    // The command bytes.
    static constexpr std::uint8_t kReset = 0x08;
    static constexpr std::uint8_t kOutputs = 0x30;
    static constexpr std::uint8_t kMotors = 0x32;
    static constexpr std::uint8_t kPower = 0x34;
    static constexpr std::uint8_t kInputs = 0x36;
    static constexpr std::uint8_t kAnalogue = 0x2A;
    static constexpr std::uint8_t kAllChannels = 0x0F;
    static constexpr std::uint8_t kTenBitReply = 0x2B;    // '+': four pairs
    static constexpr std::uint8_t kEightBitReply = 0x2A;  // '*': four bytes
    static constexpr std::uint8_t kTenBitMode[2] = {0x0C, 0x01};
    static constexpr std::uint8_t kSensorIds = 0x18;
    // A channel without a sensor reports this ID.
    static constexpr int kNoSensorId = 248;
    // Power levels travel as 0..31.
    static constexpr int kPowerSteps = 31;

    // R8: the reply is read and ignored.
    void reset() override;
    // O48 and M50 (the Serie + with its motor bank): byte, then the echo.
    void sendOutputs(int byte) override;
    void sendMotors(int byte) override;
    // P52: output index 0..7 and the level 0..31; the reply is ignored.
    void sendPower(int index, int percent) override;
    // I54: the echo, then the input byte.
    int readInputs() override;
    // A42 in either of its reply forms.
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override;
    // D24.
    std::array<int, kSensorIdChannels> readSensorIds() override;
    // R8 switches everything off.
    void allOff() override { reset(); }

private:
    bool readTenBitPairs(std::array<int, kSensorChannels>& raw);
    bool readEightBitBytes(std::array<int, kSensorChannels>& raw);
};

}  // namespace tarvel
