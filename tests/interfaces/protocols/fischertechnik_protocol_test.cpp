#include "interfaces/protocols/fischertechnik_protocol.h"

#include <gtest/gtest.h>

#include "boxes/box_link.h"
#include "boxes/box_session.h"
#include "boxes/fischertechnik_box.h"
#include "interfaces/interface_model.h"
#include "support/protocol_harness.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;

// A live Fischertechnik layer over a scripted line.
class FischertechnikWire : public ::testing::Test {
protected:
    ProtocolHarness h{ModelFischertechnik};
    FischertechnikProtocol wire{h.layer};

    void SetUp() override
    {
        h.clock.advance(1000);
        h.goLive();
        ASSERT_TRUE(h.layer.linkUp());
    }
    int failures() const { return h.layer.failureCount(); }
    // The layer sends a motor byte (the box's output byte) and remembers it.
    void sendThroughLayer(int motor, int state, std::uint8_t answer = 0)
    {
        h.link.feed({answer});
        h.layer.setMotor(motor, state);
        h.layer.writeOutputs();
    }
};

TEST_F(FischertechnikWire, OpeningStartsTheExchangeClockAndTheKeepAlive)
{
    EXPECT_EQ(h.link.openProfile, kFischertechnikProfile);
    EXPECT_EQ(h.shell.keepAlives.at(kFischertechnikKeepAliveTimer), 200);
    EXPECT_EQ(h.layer.lastExchange(), 1000);
    EXPECT_TRUE(h.takeWrites().empty());  // the box is not spoken to until needed
}

TEST_F(FischertechnikWire, TheOutputByteTravelsWithEveryCommand)
{
    h.clock.advance(50);
    h.link.feed({0x07});  // the box answers its input byte
    wire.sendMotors(0x21);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC1, 0x21}}));
    EXPECT_EQ(h.layer.lastExchange(), 1050);
    EXPECT_EQ(failures(), 0);

    // Motors A forward and B reverse (the second line alone) through the
    // layer; the output byte of the lamps never travels.
    h.link.feed({0, 0});
    h.layer.setOutput(5, 1);
    h.layer.setMotor(0, kMotorForward);
    h.layer.writeOutputs();
    h.layer.setMotor(1, kMotorReverse);
    h.layer.writeOutputs();
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC1, 0x01}, {0xC1, 0x09}}));

    h.link.feed({0});
    h.layer.allOff();
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC1, 0x00}}));
}

TEST_F(FischertechnikWire, NoAnswerToTheOutputByteGoesToTheHandler)
{
    wire.sendMotors(0x01);
    EXPECT_EQ(failures(), 1);
    EXPECT_EQ(h.shownTexts(), std::vector<std::string>{std::string(kLinkErrorText)});
    // Outside a run the handler connected again: the box is usable at once.
    EXPECT_FALSE(h.layer.runFlags().linkFailed);
    EXPECT_EQ(h.shell.keepAlives.count(kFischertechnikKeepAliveTimer), 1u);
}

TEST_F(FischertechnikWire, APollReadsBothHalvesWithTheLastOutputByte)
{
    sendThroughLayer(0, kMotorForward);
    h.takeWrites();
    h.clock.advance(30);
    h.link.replyTo({0xC5, 0x01}, {0x11, 0x00, 0x00});  // 1024 - 0
    h.link.replyTo({0xC9, 0x01}, {0x82, 0x03, 0xFF});  // 1024 - 1023
    EXPECT_EQ(wire.readInputs(), 0x82);                // the second half's input byte
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC5, 0x01}, {0xC9, 0x01}}));
    EXPECT_EQ(h.layer.lastExchange(), 1030);
    std::array<int, kSensorChannels> raw{5, 6, 7, 8};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1024, 1, 7, 8}));
}

TEST_F(FischertechnikWire, AHalfWithoutAnswerIsNoAnswerAndAFailedWriteIsReported)
{
    EXPECT_EQ(wire.readInputs(), kNoAnswer);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC5, 0x00}}));  // the second is not asked
    h.link.replyTo({0xC5, 0x00}, {0x11, 0x00});                     // a reading cut short
    EXPECT_EQ(wire.readInputs(), kNoAnswer);
    h.link.replyTo({0xC5, 0x00}, {0x11, 0x00, 0x00});
    EXPECT_EQ(wire.readInputs(), kNoAnswer);  // the second half unanswered
    std::array<int, kSensorChannels> raw{};
    EXPECT_FALSE(wire.readAnalogue(raw));  // no whole poll yet
    EXPECT_EQ(failures(), 0);

    h.link.failWrites = true;
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(failures(), 1);
}

TEST_F(FischertechnikWire, TheKeepAliveResendsTheLastByteAfter200QuietMilliseconds)
{
    sendThroughLayer(1, kMotorForward);
    h.takeWrites();
    h.clock.advance(200);
    wire.keepAlive(kFischertechnikKeepAliveTimer);
    wire.runTick();
    EXPECT_TRUE(h.takeWrites().empty());
    h.clock.advance(1);
    h.link.feed({0});
    wire.keepAlive(kLegoKeepAliveTimer);  // not its timer
    wire.keepAlive(kFischertechnikKeepAliveTimer);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC1, 0x04}}));
    h.clock.advance(201);
    h.link.feed({0});
    wire.runTick();
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC1, 0x04}}));

    // Nothing while simulating or while the link is down.
    h.clock.advance(500);
    h.layer.flags.simulate = true;
    wire.keepAlive(kFischertechnikKeepAliveTimer);
    h.layer.flags.simulate = false;
    h.layer.flags.linkFailed = true;
    wire.keepAlive(kFischertechnikKeepAliveTimer);
    EXPECT_TRUE(h.takeWrites().empty());
    EXPECT_EQ(failures(), 0);
}

TEST_F(FischertechnikWire, AfterAFailureTheNextOutputByteConnectsAgainFirst)
{
    // Unplugged: the handler's reconnect fails, the flag stays set.
    h.link.refuseOpen = true;
    wire.sendMotors(0x01);
    ASSERT_TRUE(h.layer.runFlags().linkFailed);
    h.takeWrites();
    const std::size_t opens = h.link.opened.size();

    // Still unplugged: the attempt fails quietly and nothing is sent.
    wire.sendMotors(0x01);
    EXPECT_EQ(h.link.opened.size(), opens + 1);
    EXPECT_TRUE(h.takeWrites().empty());
    EXPECT_TRUE(h.layer.runFlags().linkFailed);

    // Within a run nothing is tried: the run ends and connects as it stops.
    h.link.refuseOpen = false;
    h.layer.flags.running = true;
    wire.sendMotors(0x01);
    EXPECT_EQ(h.link.opened.size(), opens + 1);
    h.layer.flags.running = false;

    // Plugged in again: connected, the flag cleared, the byte sent.
    h.link.replyTo({0xC1, 0x01}, {0});
    wire.sendMotors(0x01);
    EXPECT_EQ(h.link.opened.size(), opens + 2);
    EXPECT_FALSE(h.layer.runFlags().linkFailed);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC1, 0x01}}));
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

// The box comes up without a word, so the reconnect as a failed run stops
// cannot tell a silent box: the keep-alive finds out. That is the failure
// reported already, not a new one; once the box has answered, it is.
TEST_F(FischertechnikWire, ASilentBoxIsReportedOnceNotAgainByEachKeepAlive)
{
    // A run's output byte goes unanswered; the run stops and connects again.
    h.layer.flags.running = true;
    h.layer.setMotor(0, kMotorForward);
    h.layer.writeOutputs();
    ASSERT_EQ(failures(), 1);
    h.layer.connect(true);
    h.layer.flags.linkFailed = false;
    h.layer.flags.running = false;
    ASSERT_EQ(h.shell.keepAlives.count(kFischertechnikKeepAliveTimer), 1u);

    // Its keep-alive is not answered either: no second box, and the link is
    // let go with its keep-alive, so nothing more is tried.
    h.takeWrites();
    h.clock.advance(201);
    h.layer.keepAlive(kFischertechnikKeepAliveTimer);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xC1, 0x01}}));
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.shell.keepAlives.count(kFischertechnikKeepAliveTimer), 0u);
    EXPECT_FALSE(h.link.isOpen());
    EXPECT_FALSE(h.layer.linkUp());
    h.clock.advance(201);
    h.layer.keepAlive(kFischertechnikKeepAliveTimer);
    EXPECT_TRUE(h.takeWrites().empty());

    // The next run connects, and its failure is a new one, reported.
    h.layer.flags.running = true;
    ASSERT_TRUE(h.layer.startRun());
    h.layer.setMotor(1, kMotorForward);
    h.layer.writeOutputs();
    EXPECT_EQ(failures(), 2);
    EXPECT_EQ(h.messages.shown.size(), 2u);
    h.layer.connect(true);
    h.layer.flags.linkFailed = false;
    h.layer.flags.running = false;

    // Answered once after that reconnect, the box has come back: when its
    // keep-alive then goes unanswered, that is reported.
    h.clock.advance(201);
    h.link.feed({0});
    h.layer.keepAlive(kFischertechnikKeepAliveTimer);
    EXPECT_EQ(h.messages.shown.size(), 2u);
    h.clock.advance(201);
    h.layer.keepAlive(kFischertechnikKeepAliveTimer);
    EXPECT_EQ(failures(), 3);
    EXPECT_EQ(h.messages.shown.size(), 3u);
}

TEST(FischertechnikLayer, ThreeSilentPollsInTestModeEndItWithItsMessageAndConnectingRevivesIt)
{
    ProtocolHarness h(ModelFischertechnik);
    h.goLive();
    h.link.refuseOpen = true;  // the handler's reconnect will find the box gone
    h.layer.flags.testMode = true;
    for (int i = 0; i < 3; ++i) h.layer.pollInputs();
    EXPECT_EQ(h.shell.testModeEnds, 1);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.last().caption, caption::Error);
    EXPECT_EQ(h.messages.last().text, kTestLinkErrorText);
    EXPECT_TRUE(h.layer.runFlags().linkFailed);

    // Checking "Probar" again connects first; with the box back it polls again.
    h.link.refuseOpen = false;
    h.layer.connect(true);
    EXPECT_FALSE(h.layer.runFlags().linkFailed);
    EXPECT_TRUE(h.layer.linkUp());
    EXPECT_EQ(h.shell.keepAlives.count(kFischertechnikKeepAliveTimer), 1u);
    h.link.replyTo({0xC5, 0x00}, {0x00, 0x00, 0x00});
    h.link.replyTo({0xC9, 0x00}, {0x04, 0x02, 0x00});
    h.layer.flags.testMode = true;
    h.layer.pollInputs();
    EXPECT_EQ(h.layer.image().inputs[2], 1);
    EXPECT_EQ(h.layer.image().analogue[0], 1024);
    EXPECT_EQ(h.layer.image().analogue[1], 512);
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

TEST(FischertechnikLayer, ARunOnlyConnectsAndAPortThatWillNotOpenFailsAtTheFirstExchange)
{
    ProtocolHarness h(ModelFischertechnik);
    h.goLive();
    EXPECT_TRUE(h.layer.startRun());
    EXPECT_TRUE(h.takeWrites().empty());
    EXPECT_EQ(h.link.opened.size(), 1u);

    ProtocolHarness gone(ModelFischertechnik);
    gone.link.refuseOpen = true;
    gone.layer.setSimulate(false);
    EXPECT_TRUE(gone.messages.shown.empty());
    EXPECT_EQ(gone.shell.keepAlives.count(kFischertechnikKeepAliveTimer), 0u);
    gone.layer.flags.running = true;
    gone.layer.setMotor(0, kMotorForward);
    gone.layer.writeOutputs();
    EXPECT_EQ(gone.shownTexts(), std::vector<std::string>{std::string(kLinkErrorText)});
}

TEST(FischertechnikAgainstBox, MotorsInputsAndBothValuesRoundTripAndTheBoxWatchesTheLine)
{
    std::vector<std::string> lines;
    boxes::FischertechnikBox box(ModelFischertechnik, 0,
                                 [&](const std::string& l) { lines.push_back(l); });
    boxes::BoxSession session(box, {});
    boxes::BoxLink link(session);
    ProtocolHarness h(ModelFischertechnik, 0, &link);
    h.goLive();
    InterfaceLayer& io = h.layer;
    ASSERT_TRUE(io.startRun());
    io.setMotor(0, kMotorForward);
    io.setMotor(3, kMotorReverse);
    io.writeOutputs();
    EXPECT_EQ(box.image().motors[0], kMotorForward);
    EXPECT_EQ(box.image().motors[3], kMotorReverse);

    ASSERT_TRUE(box.command("in 8 on"));
    ASSERT_TRUE(box.command("val 1 1024"));  // this box reads up to 1024
    ASSERT_TRUE(box.command("val 2 300"));
    io.pollInputs();
    EXPECT_EQ(io.image().inputs[7], 1);
    EXPECT_EQ(io.image().analogue[0], 1024);
    EXPECT_EQ(io.image().analogue[1], 300);
    EXPECT_EQ(io.failureCount(), 0);

    // Half a second without a command: the box switches its motors off.
    for (int tick = 0; tick < 4; ++tick) session.stream();
    EXPECT_EQ(box.image().motors[0], kMotorForward);
    session.stream();
    EXPECT_EQ(box.image().motors[0], kMotorOff);
    EXPECT_EQ(lines.back(), "motor D off");
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "watchdog") != lines.end());

    io.setMotor(1, kMotorForward);
    io.writeOutputs();
    io.allOff();
    EXPECT_EQ(box.image().motors[1], kMotorOff);
    EXPECT_FALSE(box.command("val 1 1025"));
}

}  // namespace
}  // namespace tarvel
