#include "interfaces/protocols/lego_protocol.h"

#include <gtest/gtest.h>

#include "boxes/box_link.h"
#include "boxes/box_session.h"
#include "boxes/lego_box.h"
#include "interfaces/interface_model.h"
#include "support/protocol_harness.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;

Bytes greetingBytes()
{
    const auto& g = LegoProtocol::greeting();
    return Bytes(g.begin(), g.end());
}

Bytes text(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

// A frame: two zero bytes, eight pairs of (first, second), and a check byte.
Bytes frame(const std::array<std::pair<int, int>, 8>& pairs)
{
    Bytes f{0, 0};
    for (const auto& [first, second] : pairs) {
        f.push_back(static_cast<std::uint8_t>(first));
        f.push_back(static_cast<std::uint8_t>(second));
    }
    f.push_back(0x5A);
    return f;
}

// Every input off, every reading 0 (the word 0xFFC0 and a status bit).
Bytes quietFrame()
{
    std::array<std::pair<int, int>, 8> p;
    p.fill({0xFF, 0xC1});
    return frame(p);
}

// Only the input of pair `pair` on.
Bytes frameWithPairOn(int pair)
{
    std::array<std::pair<int, int>, 8> p;
    p.fill({0xFF, 0xC1});
    p[static_cast<std::size_t>(pair)] = {0x00, 0x01};
    return frame(p);
}

// A live LEGO layer over a scripted line that has answered the greeting.
class LegoWire : public ::testing::Test {
protected:
    ProtocolHarness h{ModelLego};
    LegoProtocol wire{h.layer};

    void SetUp() override
    {
        h.link.replyTo(greetingBytes(), text("###ok$$$"));
        h.goLive();
        ASSERT_TRUE(h.layer.linkUp());
    }
    int failures() const { return h.layer.failureCount(); }
};

TEST_F(LegoWire, TheGreetingIsThirtySixBytesAndItsAnswerStartsTheKeepAlive)
{
    const Bytes g = greetingBytes();
    ASSERT_EQ(g.size(), 36u);
    EXPECT_EQ(g[0], 'p');
    EXPECT_EQ(g[1], 0);
    EXPECT_EQ(std::string(g.begin() + 2, g.begin() + 34), "###Who goes there, old brick?$$$");
    EXPECT_EQ(g[34], 0);
    EXPECT_EQ(g[35], 0);
    EXPECT_EQ(h.shell.keepAlives.at(kLegoKeepAliveTimer), 2000);
    EXPECT_EQ(h.link.openProfile, kLegoProfile);

    // Three '$' among other bytes are an answer too; the timer is stopped first.
    h.clock.advance(5000);
    h.link.replyTo(g, text("x$y$$"));
    h.shell.keepAlives.clear();
    EXPECT_TRUE(wire.startUp());
    EXPECT_EQ(h.layer.lastExchange(), 5000);
    EXPECT_EQ(h.shell.keepAlives.count(kLegoKeepAliveTimer), 1u);
}

TEST_F(LegoWire, AGreetingLeftUnansweredIsTriedThreeTimesAndFailsWithoutAWord)
{
    h.link.replyTo(greetingBytes(), text("$$"));  // two marks, then nothing
    EXPECT_FALSE(wire.startUp());
    EXPECT_EQ(h.takeWrites(), std::vector<Bytes>(3, greetingBytes()));
    EXPECT_EQ(failures(), 0);
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(h.shell.keepAlives.count(kLegoKeepAliveTimer), 0u);

    // An answer is looked for among what half a second of line carries, no
    // further, whatever the clock says.
    Bytes late(600, 0x41), inTime(400, 0x41);
    for (Bytes* b : {&late, &inTime}) b->insert(b->end(), {'$', '$', '$'});
    h.link.replyTo(greetingBytes(), late);
    EXPECT_FALSE(wire.startUp());
    h.link.script.clear();
    h.link.replyTo(greetingBytes(), inTime);
    EXPECT_TRUE(wire.startUp());

    h.link.failWrites = true;
    EXPECT_FALSE(wire.startUp());
    EXPECT_EQ(failures(), 0);
}

TEST_F(LegoWire, BytesWaitingBeforeAnAttemptArePurgedUntilTheLineIsQuiet)
{
    // Bytes that are waiting are purged, 100 ms apart, until none wait.
    h.link.feed({1, 2, 3});
    h.link.replyTo(greetingBytes(), text("$$$"));
    const auto slept = h.clock.slept;
    const int purges = h.link.purges;
    EXPECT_TRUE(wire.startUp());
    EXPECT_EQ(h.link.purges - purges, 1);
    EXPECT_EQ(h.clock.slept - slept, 100);
}

TEST_F(LegoWire, CommandsTravelByteForByte)
{
    wire.sendOutputs(0xA5);
    wire.sendMotors(0x03);  // motor A with both lines: reverse
    wire.sendMotors(0x04);  // motor B forward
    wire.sendMotors(0x80);  // motor D with its second line alone
    wire.sendPower(2, 60);  // 60 / 14 = 4
    wire.sendPower(0, 100);
    wire.sendPower(3, 13);
    wire.sendPower(kMotorCount, 50);  // no such motor: nothing
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x91, 0xA5, 0x90, 0x5A},
                                                  {0x93, 0x01, 0x94, 0xF0},
                                                  {0x93, 0x00, 0x94, 0xF2},
                                                  {0x93, 0x00, 0x94, 0xF8},
                                                  {0xB4, 0x04},
                                                  {0xB7, 0x01},
                                                  {0xB0, 0x08}}));
    wire.allOff();
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{{0x93, 0x00, 0x94, 0xF0}, {0x91, 0x00, 0x90, 0xFF}}));
    EXPECT_EQ(failures(), 0);  // the box acknowledges nothing

    h.link.failWrites = true;
    wire.sendOutputs(1);
    EXPECT_EQ(failures(), 1);
    EXPECT_EQ(h.messages.last().text, kLinkErrorText);
}

TEST_F(LegoWire, KeepAliveByteOnTimer700AndOnlyTheClockInARun)
{
    h.clock.advance(2000);
    wire.keepAlive(kLegoKeepAliveTimer);
    wire.keepAlive(kFischertechnikKeepAliveTimer);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x02}}));
    EXPECT_EQ(h.layer.lastExchange(), 2000);

    // Within a run the last exchange moves on after 2.1 s of quiet; nothing is sent.
    h.clock.advance(2100);
    wire.runTick();
    EXPECT_EQ(h.layer.lastExchange(), 2000);
    h.clock.advance(1);
    wire.runTick();
    EXPECT_EQ(h.layer.lastExchange(), 4101);
    EXPECT_TRUE(h.takeWrites().empty());

    // A keep-alive that cannot be written stops its timer, and says nothing.
    h.link.failWrites = true;
    wire.keepAlive(kLegoKeepAliveTimer);
    EXPECT_EQ(h.shell.keepAlives.count(kLegoKeepAliveTimer), 0u);
    EXPECT_EQ(failures(), 0);
}

TEST_F(LegoWire, AFrameGivesTheInputByteAndTheFourChannels)
{
    // Pair k on gives input bit 3, 7, 2, 6, 1, 5, 0, 4.
    const int bits[8] = {3, 7, 2, 6, 1, 5, 0, 4};
    for (int pair = 0; pair < 8; ++pair) {
        h.link.feed(frameWithPairOn(pair));
        EXPECT_EQ(wire.readInputs(), 1 << bits[pair]) << pair;
    }
    // Channel 1 from pair 8, 2 from pair 6, 3 from pair 4, 4 from pair 2:
    // 1023 minus the upper ten bits of the pair.
    h.link.feed(frame({{{0xFF, 0xC1},
                        {0xFF, 0xC1},  // channel 4: 1023 - 1023 = 0
                        {0xFF, 0xC1},
                        {0x80, 0x41},  // channel 3: 1023 - 513 = 510
                        {0xFF, 0xC1},
                        {0x7F, 0xC1},  // channel 2: 1023 - 511 = 512, its input on
                        {0xFF, 0xC1},
                        {0x00, 0x3F}}}));  // channel 1: 1023 - 0, its input on
    EXPECT_EQ(wire.readInputs(), 0x30);
    std::array<int, kSensorChannels> raw{};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1023, 512, 510, 0}));
    EXPECT_TRUE(h.link.input.empty());
    EXPECT_TRUE(h.takeWrites().empty());  // the stream is read, never asked for
}

TEST_F(LegoWire, LateFramesAreDroppedWholeAndTheStreamIsFollowedFromItsZeros)
{
    // Three frames wait: the first is dropped, the second read, the third waits.
    h.link.feed(frameWithPairOn(0));
    h.link.feed(frameWithPairOn(1));
    h.link.feed(frameWithPairOn(2));
    EXPECT_EQ(wire.readInputs(), 1 << 7);
    EXPECT_EQ(h.link.input.size(), 19u);

    // Joined half way through a frame: its tail is skipped up to two zeros.
    h.link.input.clear();
    const Bytes f = frameWithPairOn(6);
    h.link.feed(Bytes(f.begin() + 12, f.end()));
    h.link.feed(f);
    EXPECT_EQ(wire.readInputs(), 1 << 0);
    EXPECT_EQ(failures(), 0);
}

TEST_F(LegoWire, TooFewBytesIsNoReadingUntilTheBoxHasBeenQuietASecond)
{
    const Bytes f = quietFrame();
    h.link.feed(Bytes(f.begin(), f.begin() + 18));
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(h.link.input.size(), 18u);  // nothing taken

    // A frame whose body stops part way is waited for 200 ms, then left.
    h.link.input.clear();
    h.link.feed({7, 7, 7, 7, 7, 7, 7, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const auto slept = h.clock.slept;
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(h.clock.slept - slept, 200);
    EXPECT_EQ(failures(), 0);

    h.clock.advance(1001);
    EXPECT_EQ(wire.readInputs(), kNoAnswer);
    h.link.feed(quietFrame());
    EXPECT_EQ(wire.readInputs(), 0);
    EXPECT_EQ(wire.readInputs(), kNoReading);  // the frame was fresh
}

TEST_F(LegoWire, AStreamWithoutItsZerosGoesToTheHandler)
{
    h.link.feed(Bytes(40, 0x33));
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(failures(), 1);
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.last().caption, caption::SerialError);
}

TEST(LegoLayer, ABoxThatStopsStreamingIsReportedAfterThreeQuietPolls)
{
    ProtocolHarness h(ModelLego);
    h.link.replyTo(greetingBytes(), text("$$$"));
    h.goLive();
    h.layer.flags.running = true;
    h.link.feed(quietFrame());
    h.layer.pollInputs();
    h.clock.advance(900);
    h.layer.pollInputs();  // within the second: no reading, not yet silence
    h.clock.advance(200);
    h.layer.pollInputs();
    h.layer.pollInputs();
    EXPECT_EQ(h.layer.failureCount(), 0);
    h.layer.pollInputs();
    EXPECT_EQ(h.layer.failureCount(), 1);
    EXPECT_EQ(h.shownTexts(), std::vector<std::string>{std::string(kLinkErrorText)});
}

TEST(LegoLayer, AFailedGreetingIsReportedOnceAndTheRunDoesNotStart)
{
    ProtocolHarness h(ModelLego);
    h.layer.setSimulate(false);
    EXPECT_EQ(h.shownTexts(), std::vector<std::string>{std::string(kLinkErrorText)});
    EXPECT_FALSE(h.layer.linkUp());
    EXPECT_FALSE(h.layer.startRun());
    EXPECT_EQ(h.messages.shown.size(), 2u);  // a new start, reported again, once
}

TEST(LegoLayer, OutputsMotorsPowersAndPollsThroughTheLayer)
{
    ProtocolHarness h(ModelLego);
    h.link.replyTo(greetingBytes(), text("$$$"));
    h.goLive();
    InterfaceLayer& io = h.layer;
    std::array<int, kIoCount> sliders{100, 0, 70, 0, 42, 0, 14, 0};
    io.setSliderLevels(&sliders);
    ASSERT_TRUE(io.startRun());
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{{0xB7, 0x01}, {0xB5, 0x02}, {0xB3, 0x04}, {0xB1, 0x08}}));
    EXPECT_EQ(h.link.opened.size(), 1u);  // the link that is up stands

    // Motor B forward drives output 2: the directions, then the outputs.
    io.setMotor(1, kMotorForward);
    io.setOutput(1, 1);
    io.writeOutputs();
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{{0x93, 0x00, 0x94, 0xF2}, {0x91, 0x02, 0x90, 0xFD}}));
    io.setMotorPower(1, 50);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xB3, 0x02}}));

    h.link.feed(frame({{{0x00, 0x01},
                        {0xFF, 0xC1},
                        {0xFF, 0xC1},
                        {0xFF, 0xC1},
                        {0xFF, 0xC1},
                        {0xFF, 0xC1},
                        {0xFF, 0xC1},
                        {0x40, 0x01}}}));
    io.pollInputs();
    EXPECT_EQ(io.image().inputs[3], 1);  // pair 1: input 4
    EXPECT_EQ(io.image().inputs[4], 1);  // pair 8: input 5, and channel 1
    EXPECT_EQ(io.image().analogue[0], 767);
    EXPECT_EQ(io.image().analogue[3], 0);
    // A value read between polls keeps the last frame's readings.
    io.readAnalogue();
    EXPECT_EQ(io.image().analogue[0], 767);
    EXPECT_TRUE(h.takeWrites().empty());
}

// The program and the simulated box agree.
class LegoAgainstBox : public ::testing::Test {
protected:
    std::vector<std::string> lines;
    boxes::LegoBox box{ModelLego, 0, [this](const std::string& l) { lines.push_back(l); }};
    boxes::BoxSession session{box, {}};
    boxes::BoxLink link{session};
    ProtocolHarness h{ModelLego, 0, &link};
};

TEST_F(LegoAgainstBox, OutputsMotorsPowerInputsAndValuesRoundTrip)
{
    h.goLive();
    ASSERT_TRUE(box.greeted());
    EXPECT_EQ(lines, std::vector<std::string>{"handshake"});
    InterfaceLayer& io = h.layer;
    ASSERT_TRUE(io.startRun());
    io.setMotor(0, kMotorReverse);
    io.setOutput(0, 1);
    io.setOutput(5, 1);
    io.writeOutputs();
    io.setMotorPower(0, 60);
    EXPECT_EQ(box.image().motors[0], kMotorReverse);
    EXPECT_TRUE(box.image().outputs[5]);
    EXPECT_EQ(box.image().motorPower[0], 57);  // 4 of 7 levels

    ASSERT_TRUE(box.command("in 2 on"));
    ASSERT_TRUE(box.command("val 3 800"));  // input 7 comes on with it
    io.pollInputs();
    EXPECT_EQ(io.image().inputs[1], 1);
    EXPECT_EQ(io.image().inputs[6], 1);
    EXPECT_EQ(io.image().analogue[2], 800);
    EXPECT_EQ(io.failureCount(), 0);

    io.allOff();
    EXPECT_EQ(box.image().motors[0], kMotorOff);
    EXPECT_FALSE(box.image().outputs[5]);

    // Greeted again while it streams (the purge gives up after a second),
    // the box answers amid its frames.
    const auto slept = h.clock.slept;
    LegoProtocol again(io);
    EXPECT_TRUE(again.startUp());
    EXPECT_EQ(h.clock.slept - slept, 1000);
}

TEST(LegoBoxAlone, GreetedInPiecesItStreamsFramesWithoutZerosInside)
{
    std::vector<std::string> lines;
    boxes::LegoBox box(ModelLego, 0, [&](const std::string& l) { lines.push_back(l); });
    boxes::BoxSession session(box, {});
    EXPECT_TRUE(session.receive(Bytes{0x91, 0xFF}).empty());  // not greeted: ignored
    EXPECT_TRUE(session.stream().empty());
    const Bytes g = greetingBytes();
    EXPECT_TRUE(session.receive(Bytes(g.begin(), g.begin() + 20)).empty());
    EXPECT_EQ(session.receive(Bytes(g.begin() + 20, g.end())), text("###Caja lista$$$"));
    EXPECT_FALSE(box.image().outputs[0]);

    // Whatever the readings, only the frame's start has two zeros in a row.
    for (const char* setting : {"val 1 1023", "val 2 0", "in 1 on", "in 3 on", "val 4 512"}) {
        ASSERT_TRUE(box.command(setting));
        const Bytes f = session.stream();
        ASSERT_EQ(f.size(), boxes::LegoBox::kFrameLength);
        EXPECT_EQ(f[0], 0);
        EXPECT_EQ(f[1], 0);
        EXPECT_NE(f.back(), 0);
        for (std::size_t i = 2; i + 1 < f.size(); ++i) EXPECT_FALSE(f[i] == 0 && f[i + 1] == 0);
    }
    // Inputs 5-8 and channels 1-4 are one port each.
    ASSERT_TRUE(box.command("in 6 on"));
    EXPECT_EQ(box.image().values[1], 1023);
    ASSERT_TRUE(box.command("val 1 100"));
    EXPECT_FALSE(box.image().inputs[4]);
    EXPECT_EQ(lines.back(), "in 5 off");
    EXPECT_FALSE(box.command("val 1 1024"));
}

TEST(LegoBoxAlone, AWrongAnswerFailsTheGreetingAndAStoppedBoxStopsStreaming)
{
    boxes::LegoBox box(ModelLego, 0, [](const std::string&) {});
    boxes::BoxSession wrong(box, {.wrongAck = true});
    boxes::BoxLink link(wrong);
    ProtocolHarness h(ModelLego, 0, &link);
    h.layer.setSimulate(false);
    EXPECT_FALSE(h.layer.linkUp());
    EXPECT_EQ(h.messages.shown.size(), 1u);

    boxes::LegoBox other(ModelLego, 0, [](const std::string&) {});
    boxes::BoxSession stopping(other, {.stopAfter = 1});
    EXPECT_FALSE(stopping.receive(greetingBytes()).empty());
    EXPECT_TRUE(stopping.stream().empty());
}

}  // namespace
}  // namespace tarvel
