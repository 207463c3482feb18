#pragma once
// The LEGO DACTA Control Lab box (model 11). It keeps quiet until it is
// greeted, answers with three '$' and from then on streams a frame every
// kFramePeriodMs: two zero bytes, eight pairs of bytes, one for each input,
// and a check byte. It takes outputs on and off, a direction per output (the
// motors A-D are outputs 1-4 with their direction) and a power level per
// output.
//
// Inputs 5-8 and channels 1-4 are the same four sensor ports read two ways:
// a reading of 512 or more is the input on. So `val 1 700` also switches
// input 5 on, and `in 5 on` raises a low channel 1 to 1023 (both print).

#include <vector>

#include "simulated_box.h"

namespace tarvel::boxes {

class LegoBox final : public SimulatedBox {
public:
    LegoBox(int model, int subModel, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;
    int streamPeriodMs() const override { return kFramePeriodMs; }
    void stream(BoxReply& reply) override;
    bool command(const std::string& line) override;

    // The pace of the stream: about what the line carries at 9600 baud.
    static constexpr int kFramePeriodMs = 20;
    static constexpr std::size_t kFrameLength = 19;
    // The reading from which an input port counts as on.
    static constexpr int kInputOnReading = 512;

    bool greeted() const { return greeted_; }
    // The frame the box sends now.
    std::vector<std::uint8_t> frame() const;

private:
    // Answers the command at the front of what waits; the bytes it took, or
    // 0 while the rest of the command has not arrived.
    std::size_t answer(BoxReply& reply);
    std::size_t answerGreeting(BoxReply& reply);
    void switchOutputs(int mask, bool on);
    void setDirections(int mask, bool reverse);
    void takePower(int level, int mask);
    // Motors A-D follow their outputs and directions.
    void showMotors();
    // Inputs 5-8 follow channels 1-4, or the other way round.
    void inputsFollowChannels();
    void channelsFollowInputs();

    bool greeted_ = false;
    std::array<bool, kIoCount> reverse_{};
};

}  // namespace tarvel::boxes
