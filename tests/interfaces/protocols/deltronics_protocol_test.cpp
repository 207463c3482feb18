#include "interfaces/protocols/deltronics_protocol.h"

#include <gtest/gtest.h>

#include "boxes/box_link.h"
#include "boxes/box_session.h"
#include "boxes/deltronics_box.h"
#include "interfaces/interface_model.h"
#include "interfaces/manual_control.h"
#include "support/protocol_harness.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;

// The family's commands spoken straight to a scripted line.
class DeltronicsWire : public ::testing::Test {
protected:
    ProtocolHarness h{ModelDeltronics, kDeltronicsSerialPlus};
    DeltronicsProtocol wire{h.layer};

    void SetUp() override { h.goLive(); }
    int failures() const { return h.layer.failureCount(); }
};

TEST_F(DeltronicsWire, CommandsTravelByteForByteWithTheirEchoes)
{
    h.link.feed({0x08, 0x30, 0x32, 0x34});
    wire.reset();
    wire.sendOutputs(0xA5);
    wire.sendMotors(0x09);
    wire.sendPower(3, 60);  // 60 x 31 / 100 = 18
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{{0x08}, {0x30, 0xA5}, {0x32, 0x09}, {0x34, 3, 18}}));
    EXPECT_TRUE(h.link.input.empty());
    EXPECT_EQ(failures(), 0);

    // Full and no power, out-of-range percentages clamped, and no command
    // for an output the box does not have.
    wire.sendPower(0, 100);
    wire.sendPower(7, 0);
    wire.sendPower(1, 250);
    wire.sendPower(kIoCount, 50);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x34, 0, 31}, {0x34, 7, 0}, {0x34, 1, 31}}));
    // The replies of R8 and P52 are read and ignored: a silent box is no failure there.
    EXPECT_EQ(failures(), 0);
}

TEST_F(DeltronicsWire, AnAcknowledgementMayFollowOneStrayByteButNotTwo)
{
    h.link.feed({0x99, 0x30});
    wire.sendOutputs(1);
    EXPECT_EQ(failures(), 0);

    h.link.feed({0x99, 0x98, 0x30});
    wire.sendOutputs(2);
    EXPECT_EQ(failures(), 1);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.last().caption, caption::SerialError);
    EXPECT_EQ(h.messages.last().text, kLinkErrorText);
    EXPECT_EQ(h.messages.last().icon, MsgIcon::Exclamation);
}

TEST_F(DeltronicsWire, InputByteFollowsItsEchoAndAMissingOneIsAFailure)
{
    h.link.feed({0x36, 0xC3});
    EXPECT_EQ(wire.readInputs(), 0xC3);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x36}}));
    EXPECT_EQ(failures(), 0);

    h.link.feed({0x36});  // the echo, then nothing
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(failures(), 1);
}

TEST_F(DeltronicsWire, NoEchoToTheInputRequestIsAFailureWithoutReadingOn)
{
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(failures(), 1);
    // Two reads for the echo, none for the input byte.
    EXPECT_EQ(h.link.timeouts, 2);
}

TEST_F(DeltronicsWire, AnalogueInTenBitPairs)
{
    // Channel values 1023, 0, 513, 258: the low bits at the top of the first byte.
    h.link.feed({0x2B, 0xC0, 0xFF, 0x00, 0x00, 0x40, 0x80, 0x80, 0x40});
    std::array<int, kSensorChannels> raw{};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1023, 0, 513, 258}));
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x2A, 0x0F}}));
}

TEST_F(DeltronicsWire, AnalogueInEightBitsIsScaledAndSwitchesTheBoxToTen)
{
    h.link.feed({0x2A, 0xFF, 0x01, 0x80, 0x00, 0x0C});
    std::array<int, kSensorChannels> raw{};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1020, 4, 512, 0}));
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x2A, 0x0F}, {0x0C, 0x01}}));
    EXPECT_TRUE(h.link.input.empty());
}

TEST_F(DeltronicsWire, AnyOtherAnalogueReplyChangesNothing)
{
    std::array<int, kSensorChannels> raw{5, 6, 7, 8};
    h.link.feed({0x41, 0x12, 0x34});
    EXPECT_FALSE(wire.readAnalogue(raw));
    EXPECT_FALSE(wire.readAnalogue(raw));  // and no reply at all
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{5, 6, 7, 8}));
    EXPECT_EQ(failures(), 0);

    // A box that stops part way through its pairs leaves the rest as they were.
    h.link.input.clear();
    h.link.feed({0x2B, 0x00, 0x10, 0x40});
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{64, 6, 7, 8}));
}

TEST_F(DeltronicsWire, SensorIdsWithTheNoSensorMark)
{
    h.link.feed({0x18, 1, 2, 248, 17, 0, 0});
    EXPECT_EQ(wire.readSensorIds(),
              (std::array<int, kSensorIdChannels>{1, 2, kSensorIdAbsent, 17}));
    EXPECT_TRUE(h.link.input.empty());
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x18}}));

    // A box that stops after two IDs: the others stay unknown.
    h.link.feed({0x18, 3, 4});
    EXPECT_EQ(wire.readSensorIds(),
              (std::array<int, kSensorIdChannels>{3, 4, kSensorIdUnknown, kSensorIdUnknown}));
    EXPECT_EQ(failures(), 0);

    // No 0x18 first is a failure.
    h.link.feed({0x19, 1, 2, 3, 4, 0, 0});
    EXPECT_EQ(wire.readSensorIds(),
              (std::array<int, kSensorIdChannels>{kSensorIdUnknown, kSensorIdUnknown,
                                                  kSensorIdUnknown, kSensorIdUnknown}));
    EXPECT_EQ(failures(), 1);
}

TEST_F(DeltronicsWire, AFailedWriteGoesToTheHandlerAndNothingIsRead)
{
    h.link.failWrites = true;
    const int timeouts = h.link.timeouts;
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(failures(), 1);
    EXPECT_EQ(h.link.timeouts, timeouts);
}

// The layer's operations for each sub-model, against a scripted box.
TEST(DeltronicsLayer, SubModelsDifferInMotorByteAnalogueAndIds)
{
    ProtocolHarness plus(ModelDeltronics, kDeltronicsSerialPlus);
    plus.goLive();
    plus.link.feed({0x30, 0x32});
    plus.layer.setMotor(0, kMotorReverse);
    plus.layer.setOutput(2, 1);
    plus.layer.writeOutputs();
    ASSERT_EQ(plus.link.writes.size(), 2u);
    EXPECT_EQ(plus.link.writes[0][0], 0x30);
    EXPECT_EQ(plus.link.writes[1], (Bytes{0x32, 0x03}));  // both lines of motor A: reverse

    ProtocolHarness serial(ModelDeltronics, kDeltronicsSerial);
    serial.goLive();
    serial.link.feed({0x30});
    serial.layer.setOutput(0, 1);
    serial.layer.writeOutputs();
    EXPECT_EQ(serial.takeWrites(), (std::vector<Bytes>{{0x30, 0x01}}));  // no motor byte

    // The digital adaptor: no analogue request, no sensor IDs asked for.
    ProtocolHarness adaptor(ModelDeltronics, kDeltronicsDigitalAdaptor);
    adaptor.goLive();
    adaptor.link.feed({0x36, 0x05});
    adaptor.layer.pollInputs();
    EXPECT_EQ(adaptor.takeWrites(), (std::vector<Bytes>{{0x36}}));
    EXPECT_EQ(adaptor.layer.image().inputs[0], 1);
    EXPECT_EQ(adaptor.layer.image().inputs[2], 1);
}

TEST(DeltronicsLayer, AllOffIsAResetAndAStartedRunResetsAndSendsThePowers)
{
    ProtocolHarness h(ModelDeltronics, kDeltronicsSerial);
    h.goLive();
    h.link.feed({0x08});
    h.layer.allOff();
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x08}}));

    std::array<int, kIoCount> sliders{100, 90, 80, 70, 60, 50, 40, 0};
    h.layer.setSliderLevels(&sliders);
    EXPECT_TRUE(h.layer.startRun());
    const std::vector<Bytes> w = h.takeWrites();
    ASSERT_EQ(w.size(), 1u + kIoCount);
    EXPECT_EQ(w[0], (Bytes{0x08}));
    EXPECT_EQ(w[5], (Bytes{0x34, 4, 18}));
    EXPECT_EQ(w[8], (Bytes{0x34, 7, 0}));
    // The port stayed open: the run did not connect again.
    EXPECT_EQ(h.link.opened.size(), 1u);
}

TEST(DeltronicsLayer, SlidersSendThePowerOnALiveLineOnly)
{
    ProtocolHarness h(ModelDeltronics, kDeltronicsSerialPlus);
    std::array<int, kIoCount> levels{};
    levels.fill(100);
    ManualControl control(h.layer, levels, [] { return false; });
    control.setOutputLevel(2, 50);
    control.setMotorLevel(1, 30);
    EXPECT_TRUE(h.link.writes.empty());  // simulating

    h.goLive();
    control.setOutputLevel(5, 50);
    control.setMotorLevel(1, 30);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0x34, 5, 15}, {0x34, 2, 9}}));
    EXPECT_EQ(h.layer.failureCount(), 0);  // P52's reply is not awaited
}

// The program and the simulated box agree, command for command.
class DeltronicsAgainstBox : public ::testing::TestWithParam<int> {
protected:
    std::vector<std::string> lines;
    boxes::DeltronicsBox box{ModelDeltronics, GetParam(),
                             [this](const std::string& l) { lines.push_back(l); }};
    boxes::BoxSession session{box, {}};
    boxes::BoxLink link{session};
    ProtocolHarness h{ModelDeltronics, GetParam(), &link};
};

TEST_P(DeltronicsAgainstBox, OutputsPowerInputsValuesAndIdsRoundTrip)
{
    const int sub = GetParam();
    h.goLive();
    InterfaceLayer& io = h.layer;
    ASSERT_TRUE(io.startRun());
    io.setPower(1, 60);
    io.setOutput(1, 1);
    io.setOutput(6, 1);
    io.writeOutputs();
    EXPECT_TRUE(box.image().outputs[1]);
    EXPECT_TRUE(box.image().outputs[6]);
    EXPECT_EQ(box.image().power[1], 58);  // 18 of 31 steps

    ASSERT_TRUE(box.command("in 4 on"));
    ASSERT_TRUE(box.command("val 2 515"));
    io.pollInputs();
    io.pollInputs();  // the first reading was in eight bits; from now on ten
    EXPECT_EQ(io.image().inputs[3], 1);
    EXPECT_EQ(io.failureCount(), 0);
    if (sub == kDeltronicsDigitalAdaptor) {
        EXPECT_EQ(io.image().analogue[1], 0);
        EXPECT_EQ(io.readSensorIds()[0], kSensorIdUnknown);
    } else {
        EXPECT_EQ(io.image().analogue[1], 515);
        EXPECT_EQ(io.readSensorIds(),
                  (std::array<int, kSensorIdChannels>{1, 2, 3, kSensorIdAbsent}));
        EXPECT_EQ(io.failureCount(), 0);
    }

    io.allOff();
    EXPECT_FALSE(box.image().outputs[1]);
    EXPECT_FALSE(box.image().outputs[6]);
    EXPECT_EQ(lines.back(), "reset");
}

INSTANTIATE_TEST_SUITE_P(EverySubModel, DeltronicsAgainstBox,
                         ::testing::Values(kDeltronicsSerial, kDeltronicsJunior,
                                           kDeltronicsSerialPlus, kDeltronicsDigitalAdaptor));

TEST(DeltronicsBoxAlone, PrintsEachChangeAndMisbehavesOnRequest)
{
    std::vector<std::string> lines;
    boxes::DeltronicsBox box(ModelDeltronics, kDeltronicsSerialPlus,
                             [&](const std::string& l) { lines.push_back(l); });
    const std::vector<std::uint8_t> motors{0x32, 0x07, 0x30};  // the output command split
    boxes::BoxSession plain(box, {});
    EXPECT_EQ(plain.receive(motors), (std::vector<std::uint8_t>{0x32}));
    EXPECT_EQ(plain.receive(std::vector<std::uint8_t>{0x04}), (std::vector<std::uint8_t>{0x30}));
    EXPECT_EQ(lines, (std::vector<std::string>{"motor A rev", "motor B fd", "output 3 on"}));
    EXPECT_FALSE(box.command("in 9 on"));
    EXPECT_FALSE(box.command("val 1 1024"));
    EXPECT_FALSE(box.command("out 1 on"));
    // A sensor ID travels as one byte: one that does not fit is refused
    // rather than sent cut to its low byte.
    EXPECT_FALSE(box.command("id 1 300"));
    EXPECT_EQ(box.image().ids[0], 1);
    EXPECT_TRUE(box.command("id 1 255"));
    EXPECT_EQ(box.image().ids[0], 255);

    boxes::BoxSession wrong(box, {.wrongAck = true});
    EXPECT_EQ(wrong.receive(std::vector<std::uint8_t>{0x36}),
              (std::vector<std::uint8_t>{0xC9, 0x00}));  // the echo altered, the data not
    boxes::BoxSession stopping(box, {.stopAfter = 1});
    EXPECT_FALSE(stopping.receive(std::vector<std::uint8_t>{0x30, 0}).empty());
    EXPECT_TRUE(stopping.receive(std::vector<std::uint8_t>{0x30, 0}).empty());
    boxes::BoxSession silent(box, {.silent = true});
    EXPECT_TRUE(silent.receive(std::vector<std::uint8_t>{0x36}).empty());
}

}  // namespace
}  // namespace tarvel
