#include "interfaces/protocols/firmata_protocol.h"

#include <gtest/gtest.h>

#include "interfaces/firmata_pin_map.h"
#include "interfaces/interface_model.h"
#include "platform/ini_file.h"
#include "support/protocol_harness.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;

const Bytes kVersionReport{0xF9, 2, 5};

// The pin modes and reports of the default map, in the order they go out.
std::vector<Bytes> defaultSetUp()
{
    return {{0xF4, 2, 1},   {0xF4, 3, 3},   {0xF4, 4, 1},   {0xF4, 5, 3},   {0xF4, 6, 3},
            {0xF4, 7, 1},   {0xF4, 8, 1},   {0xF4, 9, 3},   {0xF4, 10, 11}, {0xF4, 11, 11},
            {0xF4, 12, 11}, {0xF4, 13, 11}, {0xF4, 18, 11}, {0xF4, 19, 11}, {0xF4, 14, 2},
            {0xF4, 15, 2},  {0xF4, 16, 2},  {0xF4, 17, 2},  {0xD1, 1},      {0xD2, 1},
            {0xC0, 1},      {0xC1, 1},      {0xC2, 1},      {0xC3, 1}};
}

Result<FirmataPinMap> mapOf(std::string_view keys)
{
    return parseFirmataPinMap(
        parseIniSection("[FIRMATA]\n" + std::string(keys), kFirmataSection).value());
}

class FirmataWire : public ::testing::Test {
protected:
    ProtocolHarness h{ModelFirmata};

    // "&Simular" cleared against a board that answers the query.
    void connect()
    {
        h.link.replyTo({0xF9}, kVersionReport);
        h.layer.setSimulate(false);
    }
    void connectAndForget()
    {
        connect();
        ASSERT_TRUE(h.layer.linkUp());
        h.takeWrites();
    }
    void switchOutput(int index, int state)
    {
        h.layer.setOutput(index, state);
        h.layer.writeOutputs();
    }
};

TEST_F(FirmataWire, ConnectWaitsForTheVersionThenSetsEveryMappedPin)
{
    // The board restarts as the port opens: the firmware's name and its
    // version come by themselves, and then the answer to the query; one
    // restart, so the pins are set up once.
    h.link.replyTo({0xF9}, {0xF0, 0x79, 2, 5, 'S', 0, 0xF7, 0xF9, 2, 5, 0xF9, 2, 5});
    h.layer.setSimulate(false);
    EXPECT_TRUE(h.layer.linkUp());
    EXPECT_EQ(h.link.openProfile, kFirmataProfile);
    EXPECT_EQ(h.link.openProfile.baud, 57600);
    std::vector<Bytes> expected{{0xF9}};
    for (const Bytes& b : defaultSetUp()) expected.push_back(b);
    // Nothing else: pins 0 and 1 and the unmapped pins are never written.
    EXPECT_EQ(h.takeWrites(), expected);
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(h.shell.keepAlives.count(kFirmataDrainTimer), 1u);

    // The default map: inputs 7 and 8 are absent, motors are output pairs
    // whose reverse drives the second line alone.
    EXPECT_EQ(h.layer.caps().outputMask, 0x1FE00u);
    EXPECT_EQ(h.layer.caps().inputMask, 0x7E00u);
    EXPECT_EQ(h.layer.caps().motorMask, 0x3C00000u);
    EXPECT_EQ(h.layer.caps().valueKeyMask, 0x1E10u);
    EXPECT_FALSE(h.layer.encoding.separateMotorBank);
    EXPECT_EQ(h.layer.encoding.encodingFlag, (std::array<int, 2>{0, 0}));
}

TEST_F(FirmataWire, ASilentBoardGivesTheCommunicationMessageOnce)
{
    h.layer.setSimulate(false);
    EXPECT_FALSE(h.layer.linkUp());
    EXPECT_EQ(h.shownTexts(), (std::vector<std::string>{std::string(kLinkErrorText)}));
    EXPECT_EQ(h.layer.failureCount(), 1);
    // Four seconds for the start-up, and as long for the handler's reconnect.
    EXPECT_GE(h.clock.slept, FirmataProtocol::kStartUpLimitMs);
    EXPECT_LE(h.clock.slept, 2 * FirmataProtocol::kStartUpLimitMs + 500);
    for (const Bytes& w : h.link.writes) EXPECT_EQ(w, (Bytes{0xF9}));
}

TEST_F(FirmataWire, OutputsTravelAsPortMessagesAndPowerAsDutyCycles)
{
    connectAndForget();
    switchOutput(0, 1);  // D2
    switchOutput(6, 1);  // D8, the second port
    switchOutput(1, 1);  // D3 takes PWM: full power is a duty of 255
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{{0x90, 0x04, 0x00}, {0x91, 0x01, 0x00}, {0xE3, 0x7F, 0x01}}));

    // A power of 60 % is a duty of 153; an output on a plain pin stays full on.
    h.layer.setPower(1, 60);
    h.layer.setPower(0, 30);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xE3, 0x19, 0x01}}));

    // Motor B reverse: its first line (D4) off, its second (D5, PWM) on at
    // the motor's power; never both lines.
    h.layer.setMotor(1, kMotorReverse);
    EXPECT_EQ(h.layer.image().motorLines[2], 0);
    EXPECT_EQ(h.layer.image().motorLines[3], 1);
    EXPECT_EQ(h.layer.motorState(1), kMotorReverse);
    h.layer.setOutput(2, h.layer.image().motorLines[2]);
    h.layer.setOutput(3, h.layer.image().motorLines[3]);
    h.layer.writeOutputs();
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xE5, 0x7F, 0x01}}));
    h.layer.setMotorPower(1, 50);
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xE5, 0x7F, 0x00}}));

    // Everything off at the stop: the plain pins by their ports, the PWM pins
    // at a duty of 0.
    h.layer.allOff();
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{
                  {0xE3, 0x00, 0x00}, {0xE5, 0x00, 0x00}, {0x90, 0x00, 0x00}, {0x91, 0x00, 0x00}}));
    EXPECT_TRUE(h.messages.empty());
}

TEST_F(FirmataWire, AMotorTurningRoundReleasesOneLineBeforeDrivingTheOther)
{
    connectAndForget();
    auto drive = [&](int motor, int state) {
        h.layer.setMotor(motor, state);
        const auto& lines = h.layer.image().motorLines;
        h.layer.setOutput(2 * motor, lines[static_cast<std::size_t>(2 * motor)]);
        h.layer.setOutput(2 * motor + 1, lines[static_cast<std::size_t>(2 * motor + 1)]);
        h.layer.writeOutputs();
        return h.takeWrites();
    };
    // Motor A: D2 a plain pin, D3 a PWM pin. Forward, then straight to
    // reverse: D2 goes low before D3 is driven, so an H-bridge never sees
    // both inputs high.
    EXPECT_EQ(drive(0, kMotorForward), (std::vector<Bytes>{{0x90, 0x04, 0x00}}));
    EXPECT_EQ(drive(0, kMotorReverse),
              (std::vector<Bytes>{{0x90, 0x00, 0x00}, {0xE3, 0x7F, 0x01}}));
    // And back: D3's duty falls to 0 before D2 rises.
    EXPECT_EQ(drive(0, kMotorForward),
              (std::vector<Bytes>{{0xE3, 0x00, 0x00}, {0x90, 0x04, 0x00}}));

    // Two lines on one port: motor C on D6 (PWM) and D7 (plain), motor D on
    // D8 and D9 on the next port. D7 falls before D6 rises, and a line that
    // stays on stays as it was.
    EXPECT_EQ(drive(3, kMotorForward), (std::vector<Bytes>{{0x91, 0x01, 0x00}}));
    EXPECT_EQ(drive(2, kMotorReverse), (std::vector<Bytes>{{0x90, 0x04, 0x01}}));  // D2 and D7
    EXPECT_EQ(drive(2, kMotorForward),
              (std::vector<Bytes>{{0x90, 0x04, 0x00}, {0xE6, 0x7F, 0x01}}));
    EXPECT_TRUE(h.messages.empty());
}

TEST_F(FirmataWire, InputsAndValuesComeFromTheReports)
{
    connectAndForget();
    h.layer.flags.running = true;
    // The ports report with the pull-ups high; D10 (port 1, bit 2) and A5
    // (port 2, bit 3) pulled to ground by their buttons; then two channels.
    h.link.feed({0x91, 0x7B, 0x01, 0x92, 0x77, 0x01, 0xE0, 0x7F, 0x07, 0xE2, 0x00, 0x04});
    h.layer.pollInputs();
    EXPECT_EQ(h.layer.image().inputs, (std::array<int, 8>{1, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(h.layer.image().analogue, (std::array<int, 4>{1023, 0, 512, 0}));

    // A message split across two reads is put together; the release reads off.
    h.link.feed({0x91, 0x7F});
    h.layer.pollInputs();
    h.link.feed({0x01});
    h.layer.pollInputs();
    EXPECT_EQ(h.layer.image().inputs[0], 0);
    EXPECT_TRUE(h.takeWrites().empty());  // reading asks nothing of the board
}

TEST_F(FirmataWire, TheAnalogueReportsAreTheHeartbeatOfARun)
{
    connectAndForget();
    ASSERT_TRUE(h.layer.startRun());
    h.layer.flags.running = true;
    h.takeWrites();
    h.clock.advance(900);
    h.link.feed({0xE1, 0x10, 0x02});
    h.layer.serviceRunTick();
    h.clock.advance(FirmataProtocol::kHeartbeatMs);
    h.layer.serviceRunTick();
    EXPECT_EQ(h.layer.failureCount(), 0);
    h.clock.advance(1);
    h.layer.serviceRunTick();
    h.layer.serviceRunTick();
    EXPECT_EQ(h.layer.failureCount(), 1);
    EXPECT_EQ(h.shownTexts(), (std::vector<std::string>{std::string(kLinkErrorText)}));
    EXPECT_TRUE(h.layer.flags.linkFailed);
}

TEST_F(FirmataWire, ABoardThatRestartsIsSetUpAgainWithTheOutputsItHad)
{
    connectAndForget();
    switchOutput(0, 1);
    h.takeWrites();
    h.link.feed(kVersionReport);
    h.layer.pollInputs();
    std::vector<Bytes> expected = defaultSetUp();
    expected.push_back({0x90, 0x04, 0x00});
    EXPECT_EQ(h.takeWrites(), expected);
}

TEST(FirmataPinMapTest, KeysMoveLinesAndEveryBadMapIsRefusedWithItsReason)
{
    EXPECT_EQ(mapOf("").value(), FirmataPinMap::defaults());
    // Moved and emptied lines; a channel named by its pin's name.
    const Result<FirmataPinMap> moved = mapOf("OUT1=A4\nIN5=\nin6=\nVAL2=A5\nVAL1=\n");
    ASSERT_TRUE(moved) << moved.refusal().text;
    EXPECT_EQ(moved->outputs[0], 18);
    EXPECT_EQ(moved->inputs[4], kNoPin);
    EXPECT_EQ(moved->channels[0], kNoPin);
    EXPECT_EQ(moved->channels[1], 5);
    InterfaceCaps caps;
    applyPinMapCaps(caps, moved.value(), 1);
    EXPECT_EQ(caps.inputMask, 0x1E00u);
    EXPECT_EQ(caps.valueKeyMask, 0x1C10u);
    applyPinMapCaps(caps, mapOf("OUT4=\n").value(), 1);
    EXPECT_EQ(caps.motorMask, 0x3400000u);  // motor B lost its second line

    const std::vector<std::pair<std::string, std::string>> refused{
        {"OUT1=13\n", "el pin 13 se usa dos veces, en OUT1 y en IN4."},
        {"IN6=A0\n", "el pin 14 (A0) se usa dos veces, en IN6 y en VAL1."},
        {"IN1=1\n", "IN1=1: los pines 0 y 1 llevan la línea serie"},
        {"OUT2=20\n", "OUT2=20: la placa no tiene ese pin"},
        {"OUT2=A6\n", "OUT2=A6: la placa no tiene ese pin"},
        {"OUT2=dos\n", "OUT2=dos: la placa no tiene ese pin"},
        {"VAL3=6\n", "VAL3=6: la placa no tiene ese canal analógico"},
        {"OUT9=2\n", "la clave OUT9 no es ninguna"},
    };
    for (const auto& [keys, reason] : refused) {
        const Result<FirmataPinMap> r = mapOf(keys);
        ASSERT_FALSE(r) << keys;
        EXPECT_EQ(r.refusal().caption, caption::Error);
        EXPECT_NE(r.refusal().text.find(reason), std::string::npos) << r.refusal().text;
    }
}

TEST_F(FirmataWire, ARefusedMapDrivesNothing)
{
    const Result<FirmataPinMap> bad = mapOf("IN1=0\n");
    h.layer.setFirmataPinMap(bad);
    h.layer.setSimulate(false);
    EXPECT_TRUE(h.link.opened.empty());
    EXPECT_TRUE(h.link.writes.empty());
    EXPECT_EQ(h.shownTexts(), (std::vector<std::string>{bad.refusal().text}));
    EXPECT_FALSE(h.layer.startRun());
    EXPECT_TRUE(h.link.opened.empty());
    EXPECT_EQ(h.messages.shown.size(), 2u);  // once for each attempt
}

}  // namespace
}  // namespace tarvel
