#pragma once
// The MFA Serial Computer Module (model 6), with its extension board (the
// analogue output and the four analogue inputs) fitted. It answers the probe
// with the board's signature and the input request with the input byte; the
// other commands get no reply.

#include "simulated_box.h"

namespace tarvel::boxes {

class MfaBox final : public SimulatedBox {
public:
    MfaBox(int model, int subModel, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;
    int valueLimit() const override { return 1023; }

    // A module without the extension board: another answer to the probe,
    // and no DAC and no analogue inputs.
    void removeBoard() { board_ = false; }

private:
    std::size_t answer(BoxReply& reply);
    void answerAnalogue(BoxReply& reply) const;

    bool board_ = true;
};

}  // namespace tarvel::boxes
