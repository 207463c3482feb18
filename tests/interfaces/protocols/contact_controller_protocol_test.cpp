#include "interfaces/protocols/contact_controller_protocol.h"

#include <gtest/gtest.h>

#include "boxes/box_link.h"
#include "boxes/box_session.h"
#include "boxes/contact_controller_box.h"
#include "interfaces/interface_model.h"
#include "support/protocol_harness.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;
using Wire = ContactControllerProtocol;

// The commands, straight to a scripted line, over a COM port or over USB.
class ContactControllerWire : public ::testing::Test {
protected:
    ProtocolHarness h{ModelContactController, kContactControllerPlus};
    ContactControllerProtocol wire{h.layer};

    void SetUp() override { h.goLive(); }
    int failures() const { return h.layer.failureCount(); }
};

TEST_F(ContactControllerWire, LettersWithTheirAcknowledgements)
{
    h.link.feed({'A', 'A', 'A', 0x5A});
    wire.sendOutputs(0x0F);
    wire.sendMotors(0x21);
    EXPECT_EQ(wire.readInputs(), 0x5A);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{'F', 0x0F}, {'G', 0x21}, {'D'}}));
    EXPECT_EQ(failures(), 0);
    EXPECT_EQ(h.link.openProfile, kContactControllerProfile);

    // The acknowledgement and then silence: no reading, not yet a failure.
    h.link.feed({'A'});
    EXPECT_EQ(wire.readInputs(), kNoAnswer);
    EXPECT_EQ(failures(), 0);
    // No acknowledgement at all is one.
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(failures(), 1);
}

TEST_F(ContactControllerWire, SpeedBytesCarryTenthsAndTheOutput)
{
    EXPECT_EQ(Wire::speedByte(3, 75), 0x73);
    EXPECT_EQ(Wire::speedByte(0, 100), 0xA0);
    EXPECT_EQ(Wire::speedByte(7, 9), 0x07);
    EXPECT_EQ(Wire::speedByte(5, 250), 0xA5);

    // One speed: the acknowledgement is read twice at most and its absence
    // passes; the box gets its pause after each.
    h.clock.slept = 0;
    h.link.feed({'x', 'A'});
    wire.sendPower(3, 75);
    wire.sendPower(4, 30);
    wire.sendPower(kIoCount, 30);  // no such output: nothing sent
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{'N', 0x73}, {'N', 0x34}}));
    EXPECT_EQ(h.clock.slept, 2 * Wire::kSpeedSettleMs);
    EXPECT_EQ(failures(), 0);

    // Over a COM port a speed that cannot be written is let pass too.
    h.link.failWrites = true;
    wire.sendPower(1, 50);
    EXPECT_EQ(failures(), 0);
}

TEST_F(ContactControllerWire, AllSpeedsStopAtAMissingAcknowledgementOrAFailedWrite)
{
    const std::array<int, kIoCount> levels{100, 90, 80, 70, 60, 50, 40, 0};
    for (int i = 0; i < kIoCount; ++i) h.link.replyTo({'N', Wire::speedByte(i, levels[i])}, {'A'});
    wire.sendAllPowers(levels);
    std::vector<Bytes> w = h.takeWrites();
    ASSERT_EQ(w.size(), 8u);
    EXPECT_EQ(w[0], (Bytes{'N', 0xA0}));
    EXPECT_EQ(w[7], (Bytes{'N', 0x07}));

    // The third goes unanswered: the rest are not sent, and nothing is reported.
    h.link.script.clear();
    h.link.replyTo({'N', 0xA0}, {'A'});
    h.link.replyTo({'N', 0x91}, {'A'});
    wire.sendAllPowers(levels);
    EXPECT_EQ(h.takeWrites().size(), 3u);
    EXPECT_EQ(failures(), 0);

    // A failed write is reported, over a COM port too.
    h.link.failWrites = true;
    wire.sendAllPowers(levels);
    EXPECT_EQ(failures(), 1);
    // And on a line whose failure stands nothing is tried.
    h.link.failWrites = false;
    h.takeWrites();
    h.layer.flags.linkFailed = true;
    wire.sendAllPowers(levels);
    EXPECT_TRUE(h.takeWrites().empty());
}

TEST_F(ContactControllerWire, AnalogueIsTheAcknowledgementAndFourBytes)
{
    h.link.feed({'A', 0xFF, 0x00, 0x80, 0x01});
    std::array<int, kSensorChannels> raw{};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1020, 0, 512, 4}));
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{'O'}}));
    EXPECT_EQ(failures(), 0);

    // Another first byte, or an answer cut short, is a failure.
    h.link.feed({'B', 1, 2, 3, 4});
    raw = {9, 9, 9, 9};
    EXPECT_FALSE(wire.readAnalogue(raw));
    EXPECT_EQ(failures(), 1);
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{9, 9, 9, 9}));
}

TEST(ContactControllerUsb, OverUsbEveryFailedWriteIsReported)
{
    for (const bool usb : {false, true}) {
        ProtocolHarness h(ModelQuillo);
        h.layer.settings.port = usb ? kUsbPort : 0;
        h.goLive();
        ASSERT_EQ(h.layer.overUsb(), usb);
        EXPECT_EQ(h.link.openProfile.stopBits, 2);
        ContactControllerProtocol wire(h.layer);
        h.link.failWrites = true;
        std::array<int, kSensorChannels> raw{};
        EXPECT_FALSE(wire.readAnalogue(raw));
        EXPECT_EQ(h.layer.failureCount(), usb ? 1 : 0) << usb;
        ProtocolHarness g(ModelQuillo);
        g.layer.settings.port = usb ? kUsbPort : 0;
        g.goLive();
        ContactControllerProtocol speed(g.layer);
        g.link.failWrites = true;
        speed.sendPower(2, 40);
        EXPECT_EQ(g.layer.failureCount(), usb ? 1 : 0) << usb;
    }
}

TEST(ContactControllerLayer, ConnectRunStartAndAllOffPerModel)
{
    std::array<int, kIoCount> sliders{50, 50, 70, 70, 100, 100, 100, 100};

    // Quillo sends all eight speeds once its port is open; the Contact
    // Controller does not.
    ProtocolHarness quillo(ModelQuillo);
    quillo.layer.setSliderLevels(&sliders);
    quillo.layer.setSimulate(false);
    std::vector<Bytes> w = quillo.takeWrites();
    ASSERT_EQ(w.size(), 1u);  // the first speed goes unanswered: the rest wait
    EXPECT_EQ(w[0], (Bytes{'N', 0x50}));
    EXPECT_EQ(quillo.layer.failureCount(), 0);
    const MotorEncoding& e = quillo.layer.encoding;
    EXPECT_TRUE(e.separateMotorBank);
    EXPECT_FALSE(e.outputsMirrorMotors);
    EXPECT_EQ(e.encodingFlag, (std::array<int, 2>{0, 0}));

    ProtocolHarness cc(ModelContactController, kContactControllerBasic);
    cc.layer.setSliderLevels(&sliders);
    cc.layer.setSimulate(false);
    EXPECT_TRUE(cc.takeWrites().empty());
    EXPECT_EQ(cc.layer.encoding, quillo.layer.encoding);

    // A run: outputs off, motors off, every speed.
    cc.link.feed(Bytes(2 + kIoCount, 'A'));
    EXPECT_TRUE(cc.layer.startRun());
    w = cc.takeWrites();
    ASSERT_EQ(w.size(), 2u + kIoCount);
    EXPECT_EQ(w[0], (Bytes{'F', 0}));
    EXPECT_EQ(w[1], (Bytes{'G', 0}));
    EXPECT_EQ(w[4], (Bytes{'N', 0x72}));  // output 3 takes motor B's slider
    EXPECT_EQ(w[9], (Bytes{'N', 0xA7}));

    // All off: outputs and motors; the chip that talks this protocol has
    // no motor byte.
    cc.link.feed({'A', 'A'});
    cc.layer.allOff();
    EXPECT_EQ(cc.takeWrites(), (std::vector<Bytes>{{'F', 0}, {'G', 0}}));
    ContactControllerProtocol wire(cc.layer);
    cc.layer.settings.model = ModelTolvaChip;
    cc.link.feed({'A'});
    wire.allOff();
    EXPECT_EQ(cc.takeWrites(), (std::vector<Bytes>{{'F', 0}}));
    EXPECT_EQ(cc.layer.failureCount(), 0);
}

TEST(ContactControllerLayer, TheMotorByteWaitsOnAFailedLineDuringARun)
{
    ProtocolHarness h(ModelContactController, kContactControllerPlus);
    h.goLive();
    ContactControllerProtocol wire(h.layer);
    h.layer.flags.linkFailed = true;
    h.layer.flags.running = true;
    wire.sendMotors(0x01);
    EXPECT_TRUE(h.takeWrites().empty());
}

// The program and the simulated box agree, for each box of the family.
class ContactControllerAgainstBox : public ::testing::TestWithParam<std::pair<int, int>> {
protected:
    std::vector<std::string> lines;
    boxes::ContactControllerBox box{GetParam().first, GetParam().second,
                                    [this](const std::string& l) { lines.push_back(l); }};
    boxes::BoxSession session{box, {}};
    boxes::BoxLink link{session};
    ProtocolHarness h{GetParam().first, GetParam().second, &link};
};

TEST_P(ContactControllerAgainstBox, OutputsMotorsSpeedsInputsAndValuesRoundTrip)
{
    InterfaceLayer& io = h.layer;
    io.settings.highLow = 1;  // as the interface dialog forces it
    h.goLive();
    ASSERT_TRUE(io.startRun());
    EXPECT_EQ(box.image().power[0], 100);
    io.setOutput(0, 1);
    io.setMotor(1, kMotorReverse);
    io.writeOutputs();
    io.setPower(2, 40);
    io.setPower(3, 40);
    EXPECT_TRUE(box.image().outputs[0]);
    EXPECT_EQ(box.image().motors[1], kMotorReverse);
    EXPECT_EQ(box.image().power[2], 40);
    EXPECT_EQ(box.image().power[3], 40);
    io.setMotor(1, kMotorForward);
    io.writeOutputs();
    EXPECT_EQ(box.image().motors[1], kMotorForward);

    ASSERT_TRUE(box.command("in 2 on"));
    ASSERT_TRUE(box.command("val 1 700"));
    io.pollInputs();
    EXPECT_EQ(io.image().inputs[1], 1);
    EXPECT_EQ(io.image().inputs[0], 0);
    EXPECT_EQ(io.image().analogue[0], 700);

    io.allOff();
    EXPECT_FALSE(box.image().outputs[0]);
    EXPECT_EQ(box.image().motors[1], kMotorOff);
    EXPECT_EQ(io.failureCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryBox, ContactControllerAgainstBox,
    ::testing::Values(std::pair{ModelContactController, kContactControllerPlus},
                      std::pair{ModelContactController, kContactControllerBasic},
                      std::pair{ModelQuillo, 0}));

}  // namespace
}  // namespace tarvel
