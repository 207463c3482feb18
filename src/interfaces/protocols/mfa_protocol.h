#pragma once
// The MFA Serial Computer Module (model 6; COM ports only): one command byte
// and its argument, with no acknowledgement. An extension board, when
// fitted, carries the analogue output (DAC) and the analogue inputs; the
// module says at every connect whether it is there.

#include "interfaces/protocols/interface_protocol.h"

namespace tarvel {

class MfaProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    // The command bytes.
    static constexpr std::uint8_t kProbe = 0x00;
    static constexpr std::uint8_t kInputs = 0x01;
    static constexpr std::uint8_t kOutputs = 0x05;
    static constexpr std::uint8_t kDac = 0x06;
    static constexpr std::uint8_t kAnalogue = 0x3C;
    // The module's two answers to the probe.
    static constexpr std::uint8_t kBoardPresent[4] = {0xAA, 0x02, 0xD2, 0x70};
    static constexpr std::uint8_t kBoardAbsent[4] = {0xAA, 0x02, 0xC0, 0x0F};
    static constexpr int kProbeAttempts = 2;
    // The analogue answer: two bytes the program has no use for, then a
    // pair for each channel.
    static constexpr int kAnalogueLead = 2;
    static constexpr int kAnalogueReplySize = kAnalogueLead + 2 * kSensorChannels;

    // Two attempts at most. A line that stays silent, or never gives either
    // answer, is no module: NoAnswer, and the start-up fails.
    BoardProbe probeBoard() override;
    // S5 and V6: no reply.
    void sendOutputs(int byte) override;
    void sendDac(int value) override;
    // I1: the reply is the input byte.
    int readInputs() override;
    // A60 (with the extension board).
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override;
    // S5 0, and V6 0 where the board is.
    void allOff() override;
};

}  // namespace tarvel
