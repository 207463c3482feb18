#pragma once
// The Deltronics / Commotion serial box (model 1). It echoes the command
// byte where the program awaits an acknowledgement; it starts answering
// analogue requests with eight bits a channel ('*') until told 0x0C 0x01,
// then with ten ('+'). The Serie + (sub-model 2) has a motor byte of its
// own; the digital adaptor (sub-model 3) has no analogue inputs and reports
// no sensors.

#include "simulated_box.h"

namespace tarvel::boxes {

class DeltronicsBox final : public SimulatedBox {
public:
    DeltronicsBox(int model, int subModel, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;

    // A channel without a sensor reports this ID.
    static constexpr int kNoSensorId = 248;
    // The IDs travel as one byte each.
    int idLimit() const override { return 255; }

private:
    // Answers the command at the front of what waits; the bytes it took, or
    // 0 while its argument bytes have not all arrived.
    std::size_t answer(BoxReply& reply);
    void answerAnalogue(BoxReply& reply);
    void answerSensorIds(BoxReply& reply);
    void takeMotorByte(int byte);

    int subModel_;
    bool tenBit_ = false;
};

}  // namespace tarvel::boxes
