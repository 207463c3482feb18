#include "interfaces/protocols/mfa_protocol.h"

#include <gtest/gtest.h>

#include "boxes/box_link.h"
#include "boxes/box_session.h"
#include "boxes/mfa_box.h"
#include "interfaces/interface_model.h"
#include "support/protocol_harness.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;

const Bytes kPresent{0xAA, 0x02, 0xD2, 0x70};
const Bytes kAbsent{0xAA, 0x02, 0xC0, 0x0F};

TEST(MfaProbe, TheBoardIsFoundMissedOrTheLineIsDead)
{
    // Present at the first attempt.
    ProtocolHarness h(ModelMfa);
    h.link.replyTo({0x00}, kPresent);
    h.goLive();
    EXPECT_EQ(h.layer.image().mfaBoardPresent, 1);
    EXPECT_EQ(h.link.openProfile, kMfaProfile);
    EXPECT_TRUE(h.layer.linkUp());

    // Noise first, then the answer without the board: two attempts.
    ProtocolHarness g(ModelMfa);
    g.link.replyTo({0x00}, {0x12, 0x34, 0x56, 0x78});
    g.link.replyTo({0x00}, kAbsent);
    g.layer.setSimulate(false);
    EXPECT_EQ(g.takeWrites(), (std::vector<Bytes>{{0x00}, {0x00}}));
    EXPECT_EQ(g.layer.image().mfaBoardPresent, 0);
    EXPECT_TRUE(g.messages.shown.empty());
    EXPECT_TRUE(g.layer.linkUp());

    // The answer without the board ends the probe at once.
    ProtocolHarness a(ModelMfa);
    a.link.replyTo({0x00}, kAbsent);
    a.layer.setSimulate(false);
    EXPECT_EQ(a.takeWrites(), (std::vector<Bytes>{{0x00}}));
}

TEST(MfaProbe, ASilentOrMeaninglessLineFailsTheStartUpOnce)
{
    const std::vector<std::vector<Bytes>> lines{
        {},                                        // nothing at all
        {{0x12, 0x34, 0x56, 0x78}, {0xAA, 0x02}},  // noise, then half an answer
    };
    for (const std::vector<Bytes>& replies : lines) {
        ProtocolHarness h(ModelMfa);
        for (const Bytes& r : replies) h.link.replyTo({0x00}, r);
        h.layer.setSimulate(false);
        ASSERT_EQ(h.messages.shown.size(), 1u) << replies.size();
        EXPECT_EQ(h.messages.last().text, kLinkErrorText);
        EXPECT_EQ(h.layer.failureCount(), 1);
        EXPECT_FALSE(h.layer.linkUp());
        EXPECT_EQ(h.layer.image().mfaBoardPresent, 0);
        // A run started now does not start.
        EXPECT_FALSE(h.layer.startRun());
    }

    // A write that fails is a lost attempt: the probe itself reports nothing.
    ProtocolHarness w(ModelMfa);
    MfaProtocol wire(w.layer);
    w.link.replyTo({0x00}, kPresent);
    w.goLive();
    w.link.failWrites = true;
    EXPECT_EQ(wire.probeBoard(), BoardProbe::NoAnswer);
    EXPECT_EQ(w.layer.failureCount(), 0);
}

// The commands, straight to a scripted line.
class MfaWire : public ::testing::Test {
protected:
    ProtocolHarness h{ModelMfa};
    MfaProtocol wire{h.layer};

    void SetUp() override
    {
        h.link.replyTo({0x00}, kPresent);
        h.goLive();
    }
};

TEST_F(MfaWire, CommandsTravelWithoutReplies)
{
    wire.sendOutputs(0x3C);
    wire.sendDac(200);
    wire.sendDac(300);  // limited to a byte
    h.link.feed({0x81});
    EXPECT_EQ(wire.readInputs(), 0x81);
    EXPECT_EQ(wire.readInputs(), kNoAnswer);
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{{0x05, 0x3C}, {0x06, 200}, {0x06, 255}, {0x01}, {0x01}}));
    EXPECT_EQ(h.layer.failureCount(), 0);
}

TEST_F(MfaWire, AnalogueSkipsTwoBytesThenTakesFourPairs)
{
    // 1023, 0, 513, 258; a short answer leaves the channels it did not reach.
    h.link.feed({0x11, 0x22, 0xFF, 0xC0, 0x00, 0x00, 0x80, 0x40, 0x40, 0x80});
    std::array<int, kSensorChannels> raw{};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1023, 0, 513, 258}));
    h.link.feed({0x11, 0x22, 0x01, 0x00, 0x02});
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{4, 0, 513, 258}));
    EXPECT_FALSE(wire.readAnalogue(raw));
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x3C}, {0x3C}, {0x3C}}));
    EXPECT_EQ(h.layer.failureCount(), 0);
}

TEST(MfaLayer, TheBoardDecidesTheDacTheChannelsAndTheAllOff)
{
    ProtocolHarness with(ModelMfa);
    with.link.replyTo({0x00}, kPresent);
    with.goLive();
    with.layer.setDac(77);
    with.layer.setOutput(7, 1);
    with.layer.writeOutputs();
    with.layer.allOff();
    EXPECT_EQ(with.takeWrites(),
              (std::vector<Bytes>{{0x05, 0x80}, {0x06, 77}, {0x05, 0x00}, {0x06, 0x00}}));
    // The run's start probes again and zeroes the DAC.
    with.link.replyTo({0x00}, kPresent);
    EXPECT_TRUE(with.layer.startRun());
    EXPECT_EQ(with.takeWrites(), (std::vector<Bytes>{{0x05, 0x00}, {0x00}, {0x06, 0x00}}));
    with.link.feed({0x00, 0x00, 0x00, 0x80, 0x00});  // input byte, two lead bytes, a pair
    with.layer.pollInputs();
    EXPECT_EQ(with.layer.image().analogue[0], 512);

    ProtocolHarness without(ModelMfa);
    without.link.replyTo({0x00}, kAbsent);
    without.goLive();
    without.layer.setDac(77);
    without.layer.setOutput(0, 1);
    without.layer.writeOutputs();
    without.link.feed({0x04});
    without.layer.pollInputs();  // no analogue request without the board
    without.layer.allOff();
    EXPECT_EQ(without.takeWrites(), (std::vector<Bytes>{{0x05, 0x01}, {0x01}, {0x05, 0x00}}));
    EXPECT_EQ(without.layer.image().inputs[2], 1);  // no inversion: level 0
}

TEST(MfaAgainstBox, OutputsDacInputsAndValuesRoundTrip)
{
    std::vector<std::string> lines;
    boxes::MfaBox box{ModelMfa, 0, [&](const std::string& l) { lines.push_back(l); }};
    boxes::BoxSession session{box, {}};
    boxes::BoxLink link{session};
    ProtocolHarness h{ModelMfa, 0, &link};
    h.goLive();
    InterfaceLayer& io = h.layer;
    ASSERT_EQ(io.image().mfaBoardPresent, 1);
    ASSERT_TRUE(io.startRun());
    io.setOutput(0, 1);
    io.setOutput(5, 1);
    io.setDac(128);
    io.writeOutputs();
    EXPECT_EQ(lines, (std::vector<std::string>{"output 1 on", "output 6 on", "dac 128"}));
    ASSERT_TRUE(box.command("in 8 on"));
    ASSERT_TRUE(box.command("val 4 1021"));
    io.pollInputs();
    EXPECT_EQ(io.image().inputs[7], 1);
    EXPECT_EQ(io.image().analogue[3], 1021);
    io.allOff();
    EXPECT_FALSE(box.image().outputs[0]);
    EXPECT_EQ(box.image().dac, 0);
    EXPECT_EQ(io.failureCount(), 0);

    // Without the board: the module is still used, without DAC and channels.
    boxes::MfaBox bare{ModelMfa, 0, [](const std::string&) {}};
    bare.removeBoard();
    boxes::BoxSession bareSession{bare, {}};
    boxes::BoxLink bareLink{bareSession};
    ProtocolHarness g{ModelMfa, 0, &bareLink};
    g.goLive();
    EXPECT_EQ(g.layer.image().mfaBoardPresent, 0);
    EXPECT_TRUE(g.layer.linkUp());
    EXPECT_TRUE(g.messages.shown.empty());
}

}  // namespace
}  // namespace tarvel
