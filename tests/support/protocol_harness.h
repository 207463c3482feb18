#pragma once
// A live interface layer for protocol tests: the chosen model over a scripted
// FakeByteLink (or any other byte link), a fake clock and a recording message
// sink. goLive() clears "&Simular" as the window does; the bytes written
// before the test's own exchanges are forgotten.

#include <map>
#include <string>

#include "interfaces/interface_layer.h"
#include "support/fake_byte_link.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel::test {

// The timers the window would run, and what the handler did to them.
class RecordingShell final : public LinkShell {
public:
    void stopRunTimers() override { ++runTimerStops; }
    void resumeRunTimers() override { ++runTimerResumes; }
    void testModeEnded() override { ++testModeEnds; }
    void startKeepAlive(int timerId, int periodMs) override { keepAlives[timerId] = periodMs; }
    void stopKeepAlive(int timerId) override { keepAlives.erase(timerId); }

    int runTimerStops = 0, runTimerResumes = 0, testModeEnds = 0;
    std::map<int, int> keepAlives;  // timer -> period, while running
};

struct ProtocolHarness {
    FakeByteLink link;
    FakeClock clock;
    FakeMessages messages;
    RecordingShell shell;
    InterfaceLayer layer;

    explicit ProtocolHarness(int model, int subModel = 0, ByteLink* byteLink = nullptr)
    {
        layer.setByteLink(byteLink ? byteLink : &link);
        layer.setClock(&clock);
        layer.setMessages(&messages);
        layer.setLinkShell(&shell);
        layer.setSensorsDirectory("/sensores");
        layer.settings.mode = 1;
        layer.settings.model = model;
        layer.settings.subModel = subModel;
        layer.applySelection();
    }
    // "&Simular" cleared: the port opened and the family's start-up run.
    void goLive()
    {
        layer.setSimulate(false);
        link.writes.clear();
    }
    // The bytes written since the last call, one vector a write.
    std::vector<Bytes> takeWrites()
    {
        std::vector<Bytes> w;
        w.swap(link.writes);
        return w;
    }
    // The texts of the boxes shown.
    std::vector<std::string> shownTexts() const
    {
        std::vector<std::string> t;
        for (const ShownMessage& m : messages.shown) t.push_back(m.text);
        return t;
    }
};

}  // namespace tarvel::test
