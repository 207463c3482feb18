// The interface layer's live side: the protocol of the chosen family, the
// link it speaks over, the start-up, "&Simular", the keep-alives and the one
// communication-error handler.

#include <set>

#include "interfaces/interface_layer.h"
#include "interfaces/protocols/interface_protocol.h"
#include "interfaces/protocols/protocol_registry.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/scripted_messages.h"

namespace tarvel {

namespace {

// Stand-ins while nothing is wired: a clock that stands still, a sink that
// keeps nothing, a shell without timers.
class StillClock final : public Clock {
public:
    std::int64_t nowMs() const override { return 0; }
    void sleepMs(std::int64_t) override {}
};

LinkShell& noShell()
{
    static LinkShell shell;
    return shell;
}

}  // namespace

class InterfaceLayer::ShellRelay final : public LinkShell {
public:
    explicit ShellRelay(InterfaceLayer& layer) : layer_(layer) {}

    void stopRunTimers() override { target().stopRunTimers(); }
    void resumeRunTimers() override { target().resumeRunTimers(); }
    void testModeEnded() override { target().testModeEnded(); }
    void startKeepAlive(int timerId, int periodMs) override
    {
        running_.insert(timerId);
        target().startKeepAlive(timerId, periodMs);
    }
    void stopKeepAlive(int timerId) override
    {
        running_.erase(timerId);
        target().stopKeepAlive(timerId);
    }
    void stopAll()
    {
        const std::set<int> running = running_;
        for (const int id : running) stopKeepAlive(id);
    }

private:
    LinkShell& target() { return layer_.shell_ ? *layer_.shell_ : noShell(); }

    InterfaceLayer& layer_;
    std::set<int> running_;
};

InterfaceLayer::InterfaceLayer() : relay_(std::make_unique<ShellRelay>(*this)) {}

InterfaceLayer::~InterfaceLayer() = default;

InterfaceProtocol* InterfaceLayer::protocol() const
{
    return override_ ? override_ : own_.get();
}

bool InterfaceLayer::canGoLive() const
{
    const ModelTraits t = traits();
    return settings.mode == 1 && !t.runCompiles && (override_ || hasProtocol(t.protocol));
}

void InterfaceLayer::useFamily(ProtocolFamily family)
{
    if (own_ && ownFamily_ == family) return;
    own_ = makeProtocol(family, *this);
    ownFamily_ = family;
}

void InterfaceLayer::closeLink()
{
    relay_->stopAll();
    link_.close();
    linkUp_ = false;
    silentPolls_ = 0;
}

void InterfaceLayer::endTestMode()
{
    flags.testMode = false;
    relay_->testModeEnded();
}

bool InterfaceLayer::openForDownload()
{
    closeLink();
    return link_.open(settings.port, kDownloadProfile);
}

void InterfaceLayer::openLive(const ModelTraits& t)
{
    if (t.protocol == ProtocolFamily::None) {
        linkUp_ = true;  // nothing to open: sends do nothing and reads give 0
        return;
    }
    if (t.usesPinMap && pinMapRefusal_) {
        // Nothing is opened, let alone driven, on a map that was refused.
        pinMapRefusal_->show(messages());
        flags.linkFailed = true;
        return;
    }
    const int failuresBefore = failures_;
    // A port that does not open is no failure yet: the first exchange tells.
    // In the reconnect after a failure it is the failure: that reconnect
    // has failed, and the link stays down without a second message.
    const bool opened = t.serialProfile && link_.open(settings.port, *t.serialProfile);
    if (!opened && reconnecting_) {
        reconnectFailed_ = true;
        flags.linkFailed = true;
        return;
    }
    const bool started = protocol()->startUp();
    if (started && t.protocol == ProtocolFamily::Mfa) probeBoard();
    const bool reported = failures_ != failuresBefore;
    linkUp_ = link_.isOpen() && started && !reported && !(reconnecting_ && reconnectFailed_);
    // A start-up that failed without a word from the family is reported here, once.
    if (!started && !reported) communicationError();
}

void InterfaceLayer::probeBoard()
{
    switch (protocol()->probeBoard()) {
        case BoardProbe::Present:
            image_.mfaBoardPresent = 1;
            break;
        case BoardProbe::Absent:
            image_.mfaBoardPresent = 0;
            break;
        case BoardProbe::NoAnswer:
            image_.mfaBoardPresent = 0;
            communicationError();
            break;
    }
}

void InterfaceLayer::setSimulate(bool on)
{
    if (on == flags.simulate) return;
    if (on) {
        // The box is left with everything off, not as the chart last set it.
        allOff();
        closeLink();
        flags.simulate = true;
        resetImage();
        forgetSentBytes();
        return;
    }
    if (!canGoLive()) return;
    resetImage();
    forgetSentBytes();
    flags.simulate = false;
    flags.linkFailed = false;  // a new start: a failure is reported again
    connect(false);
    if (flags.running) resetOutputs();
}

bool InterfaceLayer::prepareTestMode()
{
    if (!live() || !flags.linkFailed) return true;
    const TestReconnect rule = traits().testReconnect;
    if (rule == TestReconnect::None) {
        flags.linkFailed = false;  // a new start: a failure is reported again
        return true;
    }
    connect(true);
    return rule == TestReconnect::Reconnect || !flags.linkFailed;
}

void InterfaceLayer::keepAlive(int timerId)
{
    if (!link_.isOpen()) {
        relay_->stopKeepAlive(timerId);
        return;
    }
    if (InterfaceProtocol* wire = protocol()) {
        keepingAlive_ = true;
        wire->keepAlive(timerId);
        keepingAlive_ = false;
    }
}

void InterfaceLayer::serviceRunTick()
{
    if (live() && !flags.linkFailed) protocol()->runTick();
}

// ---- ProtocolContext ----------------------------------------------------------------

Clock& InterfaceLayer::clock()
{
    static StillClock still;
    return clock_ ? *clock_ : still;
}

Messages& InterfaceLayer::messages()
{
    static ScriptedMessages sink = [] {
        ScriptedMessages m;
        m.recording = false;
        return m;
    }();
    return messages_ ? *messages_ : sink;
}

LinkShell& InterfaceLayer::shell()
{
    return *relay_;
}

void InterfaceLayer::markExchange()
{
    link_.lastExchange = clock().nowMs();
    unproven_ = false;
}

bool InterfaceLayer::ioSuppressed() const
{
    return flags.linkFailed && !(reconnecting_ && !reconnectFailed_);
}

void InterfaceLayer::reconnect()
{
    connect(true);
}

std::array<int, kSensorIdChannels> InterfaceLayer::readSensorIds()
{
    std::array<int, kSensorIdChannels> ids;
    ids.fill(kSensorIdUnknown);
    if (!live() || ioSuppressed()) return ids;
    return protocol()->readSensorIds();
}

void InterfaceLayer::communicationError()
{
    if (reconnecting_) {
        // The reconnect of an earlier failure failed too: that one was
        // reported, and the flag stays set.
        reconnectFailed_ = true;
        flags.linkFailed = true;
        return;
    }
    if (flags.linkFailed) return;  // reported once until the next connect
    if (keepingAlive_ && unproven_ && !flags.running && !flags.testMode) {
        // The box of the failure reported last has not answered since the
        // reconnect after it, and a keep-alive finds it silent still: that
        // failure again, not a new one. Reporting it (and reconnecting) here
        // would repeat the message for as long as the box stays silent. The
        // link is let go instead; the next start connects and reports afresh.
        closeLink();
        return;
    }
    flags.linkFailed = true;
    linkUp_ = false;
    ++failures_;
    if (flags.testMode) {
        flags.testMode = false;
        relay_->testModeEnded();
        messages().tell(caption::Error, kTestLinkErrorText);
    } else {
        if (flags.closing) return;
        relay_->stopRunTimers();
        messages().tell(caption::SerialError, kLinkErrorText, MsgIcon::Exclamation);
        // The run ends at its next check and reconnects as it stops.
        if (flags.running) return;
    }
    applySelection();
}

}  // namespace tarvel
