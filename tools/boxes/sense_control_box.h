#pragma once
// The Sense and Control box (model 2). Switched on it waits for its operating
// system: it answers the hello and the status request with 'V' and takes the
// upload (a header, then the image), after which it runs and answers 0x04 to
// the status request. Running, it answers analogue requests with two
// channels until the mode command 0xD7 0xC8 asks for four. Standard input's
// `reset` is the box's reset button: the system is gone and the outputs off.

#include "simulated_box.h"

namespace tarvel::boxes {

class SenseControlBox final : public SimulatedBox {
public:
    SenseControlBox(int model, int subModel, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;
    bool command(const std::string& line) override;

    // The sensor ID that marks a channel without a sensor (high byte 0xFF).
    static constexpr int kNoSensorId = 0xFF00;

private:
    enum class State { WaitsForSystem, Loading, Running };

    // Answers the command at the front of what waits; the bytes it took, or
    // 0 while its argument bytes have not all arrived.
    std::size_t answer(BoxReply& reply);
    std::size_t answerWaiting(BoxReply& reply);
    std::size_t load(BoxReply& reply);
    void answerAnalogue(BoxReply& reply) const;
    void answerSensorIds(BoxReply& reply) const;

    State state_ = State::WaitsForSystem;
    bool fourChannels_ = false;
    std::size_t loaded_ = 0;
};

}  // namespace tarvel::boxes
