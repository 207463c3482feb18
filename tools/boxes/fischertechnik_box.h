#pragma once
// The Fischertechnik interface box (model 12). Every command carries its
// output byte, four motors of two lines each (the first line forward, the
// second reverse), and the box answers with its input byte; asked with the
// first or second poll command it adds that analogue input, as 1024 minus
// the reading in two bytes, high byte first. It switches its motors off when
// no command has come for kWatchdogMs, as the real one does, which is what
// the program's keep-alive is for.

#include "simulated_box.h"

namespace tarvel::boxes {

class FischertechnikBox final : public SimulatedBox {
public:
    FischertechnikBox(int model, int subModel, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;
    // It sends nothing unasked; its clock ticks for the watchdog.
    int streamPeriodMs() const override { return kTickMs; }
    void stream(BoxReply& reply) override;
    int valueLimit() const override { return kFullScale; }

    static constexpr int kTickMs = 100;
    static constexpr int kWatchdogMs = 500;
    static constexpr int kFullScale = 1024;

private:
    void takeOutputByte(int byte);

    int quietTicks_ = 0;
};

}  // namespace tarvel::boxes
