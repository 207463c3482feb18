// The one communication-error handler and the rules around it, over the
// scripted line: what is shown, how often, and what the link does after.

#include <gtest/gtest.h>

#include "engine/chart_builder.h"
#include "engine/program_state.h"
#include "interfaces/interface_model.h"
#include "interfaces/protocols/interface_protocol.h"
#include "support/protocol_harness.h"
#include "support/recording_protocol.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;
using test::RecordingProtocol;

TEST(LinkFailure, OutsideARunOneMessageThenAReconnectThatClearsTheFlag)
{
    ProtocolHarness h(ModelDeltronics);
    h.goLive();
    h.layer.setOutput(0, 1);
    h.layer.writeOutputs();  // no echo
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.last().caption, caption::SerialError);
    EXPECT_EQ(h.shell.runTimerStops, 1);
    // Closed and opened again, and a good reconnect clears the flag.
    EXPECT_EQ(h.link.opened.size(), 2u);
    EXPECT_FALSE(h.layer.runFlags().linkFailed);
    EXPECT_TRUE(h.layer.linkUp());
}

TEST(LinkFailure, AFailingReconnectShowsNoSecondBoxAndLeavesTheFlagSet)
{
    ProtocolHarness h(ModelDeltronics);
    h.goLive();
    h.link.refuseOpen = true;  // the box is unplugged
    h.layer.setOutput(0, 1);
    h.layer.writeOutputs();
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.layer.failureCount(), 1);
    EXPECT_TRUE(h.layer.runFlags().linkFailed);
    EXPECT_FALSE(h.layer.linkUp());

    // Nothing more is tried, and nothing more is shown, until a new connect.
    h.takeWrites();
    const int timeouts = h.link.timeouts;
    h.layer.setOutput(1, 1);
    h.layer.writeOutputs();
    h.layer.pollInputs();
    h.layer.readAnalogue();
    h.layer.allOff();
    EXPECT_TRUE(h.takeWrites().empty());
    EXPECT_EQ(h.link.timeouts, timeouts);
    EXPECT_EQ(h.messages.shown.size(), 1u);

    // A run started on the dead line is a new start: one message more, and
    // the run does not start.
    EXPECT_FALSE(h.layer.startRun());
    EXPECT_EQ(h.messages.shown.size(), 2u);

    // Plugged in again, "&Simular" off and on: the line works again, and a
    // new failure is reported again.
    h.link.refuseOpen = false;
    h.layer.setSimulate(true);
    h.layer.setSimulate(false);
    EXPECT_FALSE(h.layer.runFlags().linkFailed);
    EXPECT_TRUE(h.layer.linkUp());
    h.layer.setOutput(2, 1);
    h.layer.writeOutputs();
    EXPECT_EQ(h.messages.shown.size(), 3u);
}

TEST(LinkFailure, InTestModeItsOwnMessageAndTheBoxesUnchecked)
{
    ProtocolHarness h(ModelDeltronics);
    h.goLive();
    h.layer.flags.testMode = true;
    h.layer.pollInputs();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.last().caption, caption::Error);
    EXPECT_EQ(h.messages.last().text, kTestLinkErrorText);
    EXPECT_FALSE(h.layer.flags.testMode);
    EXPECT_EQ(h.shell.testModeEnds, 1);
    EXPECT_EQ(h.shell.runTimerStops, 0);
}

TEST(LinkFailure, WhileClosingNothingIsShownAndTheFlagStays)
{
    ProtocolHarness h(ModelDeltronics);
    h.goLive();
    h.layer.flags.closing = true;
    h.layer.setOutput(0, 1);
    h.layer.writeOutputs();
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_TRUE(h.layer.runFlags().linkFailed);
    EXPECT_EQ(h.link.opened.size(), 1u);
}

TEST(LinkFailure, DuringARunTheMessageOnceAndTheStopReconnects)
{
    test::FakeByteLink link;
    test::FakeClock clock;
    test::FakeMessages messages;
    test::RecordingShell shell;
    ProgramState state(messages, clock);
    InterfaceLayer& io = state.io;
    io.setByteLink(&link);
    io.setLinkShell(&shell);
    io.settings.mode = 1;
    io.settings.model = ModelDeltronics;
    io.settings.numbering = 1;
    io.applySelection();
    test::ChartBuilder chart(state.doc);
    const int start = chart.start(), on = chart.out("Turn Output 1 on"),
              wait = chart.proc("Delay 10"), stop = chart.stop();
    chart.chain({start, on, wait, stop});
    link.replyTo({0x18}, {0x18, 1, 2, 3, 248, 0, 0});  // the sensors of the connect
    io.setSimulate(false);
    ASSERT_TRUE(messages.empty());
    Interpreter& run = state.interpreter;
    ASSERT_TRUE(run.start());  // R8 and the powers: their replies are not awaited
    ASSERT_EQ(link.opened.size(), 1u);

    // The output goes out and its echo never comes.
    for (int i = 0; i < 5 && run.running(); ++i) {
        clock.advance(state.speed.interval);
        run.timerTick();
    }
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.lastStopReason(), StopReason::LinkFailed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, kLinkErrorText);
    EXPECT_EQ(shell.runTimerStops, 1);
    // Not all-off on a failed line: the stop connects again instead.
    EXPECT_EQ(link.writes.back(), (Bytes{0x30, 0x01}));
    EXPECT_EQ(link.opened.size(), 2u);
    EXPECT_FALSE(io.runFlags().linkFailed);
}

// Three polls in a row without an answer are a dead box, not "no change".
TEST(LinkFailure, ThreeSilentPollsCallTheHandler)
{
    ProtocolHarness h(ModelDeltronics);
    RecordingProtocol wire(h.layer);
    h.layer.setProtocol(&wire);
    h.goLive();
    wire.inputByte = kNoAnswer;
    h.layer.pollInputs();
    h.layer.pollInputs();
    wire.inputByte = 0x01;  // an answer starts the count again
    h.layer.pollInputs();
    wire.inputByte = kNoAnswer;
    h.layer.pollInputs();
    h.layer.pollInputs();
    EXPECT_TRUE(h.messages.shown.empty());
    h.layer.pollInputs();
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.layer.image().inputs[0], 1);  // the one answer was taken

    // A failed reading that was already dealt with is not counted as silence.
    ProtocolHarness g(ModelDeltronics);
    RecordingProtocol quiet(g.layer);
    g.layer.setProtocol(&quiet);
    g.goLive();
    quiet.inputByte = kNoReading;
    for (int i = 0; i < 5; ++i) g.layer.pollInputs();
    EXPECT_TRUE(g.messages.shown.empty());
}

TEST(LinkFailure, AFailedStartUpIsShownOnceAndTheRunDoesNotStart)
{
    ProtocolHarness h(ModelDeltronics);
    RecordingProtocol wire(h.layer);
    h.layer.setProtocol(&wire);
    wire.startUpSucceeds = false;
    h.goLive();
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_FALSE(h.layer.linkUp());
    // The handler's reconnect failed too, quietly: start-up twice, one box.
    EXPECT_EQ(wire.count("startUp"), 2u);

    // A run started now tries once more: one message for it, no reconnect
    // inside the run, and the run does not start.
    h.layer.flags.running = true;
    EXPECT_FALSE(h.layer.startRun());
    h.layer.flags.running = false;
    EXPECT_EQ(h.messages.shown.size(), 2u);
    EXPECT_EQ(wire.count("startUp"), 3u);
    EXPECT_EQ(wire.count("reset"), 0u);  // nothing of the run was sent

    // Once the box answers, the next run starts, over the link already up.
    wire.startUpSucceeds = true;
    h.layer.setSimulate(true);
    h.layer.setSimulate(false);
    EXPECT_TRUE(h.layer.startRun());
    EXPECT_EQ(wire.count("startUp"), 4u);
    EXPECT_EQ(h.messages.shown.size(), 2u);
}

TEST(LinkFailure, ThePortOfAModelAndItsProfile)
{
    ProtocolHarness h(ModelDeltronics);
    PortNames names = PortNames::defaults();
    names.setDevice(2, "/dev/ttyUSB7");
    h.layer.setPortNames(names);
    h.layer.settings.port = 2;
    h.goLive();
    ASSERT_EQ(h.link.opened.size(), 1u);
    EXPECT_EQ(h.link.opened[0], "/dev/ttyUSB7");
    EXPECT_EQ(h.link.openProfile, kDeltronicsProfile);

    // The Deltronics boxes are not offered on USB: nothing opens, and the
    // first exchange reports it.
    ProtocolHarness usb(ModelDeltronics);
    usb.layer.settings.port = kUsbPort;
    usb.goLive();
    EXPECT_TRUE(usb.link.opened.empty());
    usb.layer.setOutput(0, 1);
    usb.layer.writeOutputs();
    EXPECT_EQ(usb.messages.shown.size(), 1u);
}

TEST(LinkFailure, SimulationOnAgainSwitchesTheBoxOffAndLetsItGo)
{
    ProtocolHarness h(ModelDeltronics);
    h.goLive();
    h.link.feed({0x08});
    h.layer.setSimulate(true);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x08}}));
    EXPECT_FALSE(h.link.isOpen());
    h.layer.setOutput(0, 1);
    h.layer.writeOutputs();
    EXPECT_TRUE(h.takeWrites().empty());
}

}  // namespace
}  // namespace tarvel
