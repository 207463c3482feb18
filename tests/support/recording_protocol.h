#pragma once
// A protocol for tests of the interface layer: it records what the layer
// asks to send, one text a command, and answers reads from fields the test
// sets. Every family speaks through it when the layer is given it.

#include <array>
#include <string>
#include <vector>

#include "interfaces/protocols/interface_protocol.h"

namespace tarvel::test {

class RecordingProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    bool startUp() override
    {
        log.push_back("startUp");
        return startUpSucceeds;
    }
    BoardProbe probeBoard() override
    {
        log.push_back("probe");
        return boardPresent ? BoardProbe::Present : BoardProbe::Absent;
    }
    void runTick() override { log.push_back("tick"); }
    void keepAlive(int timerId) override { log.push_back("keepAlive " + std::to_string(timerId)); }
    void reset() override { log.push_back("reset"); }
    void sendOutputs(int b) override { log.push_back("out " + std::to_string(b)); }
    void sendMotors(int b) override { log.push_back("motor " + std::to_string(b)); }
    void sendDac(int v) override { log.push_back("dac " + std::to_string(v)); }
    void sendPower(int i, int p) override
    {
        log.push_back("power " + std::to_string(i) + "=" + std::to_string(p));
    }
    int readInputs() override { return inputByte; }
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override
    {
        if (!readsAnalogue) return false;
        raw = analogue;
        return true;
    }
    std::array<int, kSensorIdChannels> readSensorIds() override
    {
        log.push_back("ids");
        return ids;
    }
    void allOff() override { log.push_back("allOff"); }

    // The handler, as a family calls it.
    void failNow() { fail(); }

    std::size_t count(const std::string& prefix) const
    {
        std::size_t n = 0;
        for (const auto& l : log) n += l.rfind(prefix, 0) == 0;
        return n;
    }

    std::vector<std::string> log;
    bool startUpSucceeds = true;
    bool boardPresent = false;
    int inputByte = 0;
    bool readsAnalogue = true;
    std::array<int, kSensorChannels> analogue{};
    std::array<int, kSensorIdChannels> ids{kSensorIdUnknown, kSensorIdUnknown, kSensorIdUnknown,
                                           kSensorIdUnknown};
};

}  // namespace tarvel::test
