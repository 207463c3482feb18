#include "interfaces/protocols/sense_control_protocol.h"

#include <gtest/gtest.h>

#include <fstream>

#include "boxes/box_link.h"
#include "boxes/box_session.h"
#include "boxes/sense_control_box.h"
#include "interfaces/interface_model.h"
#include "support/protocol_harness.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using test::Bytes;
using test::ProtocolHarness;
using Wire = SenseControlProtocol;

const Bytes kHeader{0x80, 0xDF, 0xFD, 0xE0, 0x00, 0xD0, 0x00};
const Bytes kMode{0xD7, 0xC8};

// An operating-system image of `size` bytes whose bytes tell their place.
Bytes systemImage(std::size_t size)
{
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return image;
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A live Sense and Control layer over a scripted line, with a sensors
// directory that holds the box's system (its name in another case).
class SenseControlStartUp : public ::testing::Test {
protected:
    test::TempDir dir;
    ProtocolHarness h{ModelSenseControl};

    void SetUp() override
    {
        h.messages.cancelQuestions = true;  // a box that stays silent is given up
        writeFile(dir.path() / "sacos_4", systemImage(5000));
        h.layer.setSensorsDirectory(dir.path().string());
    }
    // A box just switched on: it answers the hello and asks for its system.
    void scriptFreshBox()
    {
        h.link.replyTo({Wire::kHello}, {0x56});
        h.link.replyTo({Wire::kStatus}, {0x56});
        h.link.replyTo({Wire::kStatus}, {0x04});
    }
    void startUp() { h.layer.setSimulate(false); }
};

TEST_F(SenseControlStartUp, AFreshBoxGetsItsSystemInChunksThenTheFourChannelMode)
{
    scriptFreshBox();
    startUp();
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_TRUE(h.layer.linkUp());
    EXPECT_EQ(h.link.openProfile, kSenseControlProfile);

    const std::vector<Bytes> w = h.takeWrites();
    // Hello, status, header, 409 chunks of ten and one of six, status, mode.
    ASSERT_EQ(w.size(), 2u + 1u + 410u + 2u);
    EXPECT_EQ(w[0], (Bytes{0xFF}));
    EXPECT_EQ(w[1], (Bytes{0x05}));
    EXPECT_EQ(w[2], kHeader);
    Bytes sent;
    for (std::size_t i = 3; i < 3 + 410; ++i) {
        EXPECT_EQ(w[i].size(), i < 3 + 409 ? 10u : 6u) << i;
        sent.insert(sent.end(), w[i].begin(), w[i].end());
    }
    // The first 4096 bytes of the file, in order; the rest stays behind.
    const Bytes image = systemImage(5000);
    EXPECT_EQ(sent, Bytes(image.begin(), image.begin() + 4096));
    EXPECT_EQ(w[413], (Bytes{0x05}));
    EXPECT_EQ(w[414], kMode);
    // The line was emptied before the status request.
    EXPECT_GE(h.link.purges, 1);
}

TEST_F(SenseControlStartUp, ARunningBoxIsOnlySwitchedToFourChannels)
{
    h.link.replyTo({Wire::kHello}, {0x56});
    h.link.replyTo({Wire::kStatus}, {0x04});
    startUp();
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xFF}, {0x05}, kMode}));
    EXPECT_TRUE(h.layer.linkUp());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(SenseControlStartUp, ASilentBoxAsksForItsResetUntilThePupilGivesUp)
{
    // Twice OK with no answer, then the box is switched on and answers.
    h.messages.answerNext(MsgAnswer::Ok);
    h.messages.answerNext(MsgAnswer::Ok);
    h.link.replyTo({Wire::kHello}, {});
    h.link.replyTo({Wire::kHello}, {0x13});  // not the hello's answer either
    h.link.replyTo({Wire::kHello}, {0x56});
    h.link.replyTo({Wire::kStatus}, {0x04});
    startUp();
    ASSERT_EQ(h.messages.shown.size(), 2u);
    for (const ShownMessage& m : h.messages.shown) {
        EXPECT_EQ(m.caption, caption::Message);
        EXPECT_EQ(m.text, "Presione RESET o Prende (ON) Sense & Control");
        EXPECT_EQ(m.buttons, MsgButtons::OkCancel);
    }
    EXPECT_TRUE(h.layer.linkUp());
    // The interpreter's timers rest while the question stands.
    EXPECT_EQ(h.shell.runTimerStops, 2);
    EXPECT_EQ(h.shell.runTimerResumes, 2);

    // Cancel: the start-up fails, reported once; the handler's reconnect
    // asks once more and fails quietly.
    ProtocolHarness g(ModelSenseControl);
    g.layer.setSensorsDirectory(dir.path().string());
    g.messages.cancelQuestions = true;
    g.layer.setSimulate(false);
    ASSERT_EQ(g.messages.shown.size(), 3u);
    EXPECT_EQ(g.messages.shown[1].text, kLinkErrorText);
    EXPECT_EQ(g.messages.shown[1].caption, caption::SerialError);
    EXPECT_EQ(g.messages.shown[2].buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(g.layer.runFlags().linkFailed);
    EXPECT_EQ(g.layer.failureCount(), 1);
    EXPECT_EQ(g.shell.runTimerResumes, 2);
}

TEST_F(SenseControlStartUp, EveryBrokenUploadFailsTheStartUpOnce)
{
    struct Case {
        const char* what;
        std::size_t fileSize;  // 0: no file
        bool stuckOutput;
        Bytes afterUpload;
        bool headerSent;
    };
    const std::vector<Case> cases{
        {"no file", 0, false, {0x04}, false},
        {"too large", 6001, false, {0x04}, false},
        {"too short", 4095, false, {0x04}, false},
        {"output never drains", 5000, true, {0x04}, true},
        {"wrong reply after it", 5000, false, {0x07}, true},
        {"no reply after it", 5000, false, {}, true},
    };
    for (const Case& c : cases) {
        test::TempDir sensors;
        if (c.fileSize > 0) writeFile(sensors.path() / "SACOS_4", systemImage(c.fileSize));
        ProtocolHarness g(ModelSenseControl);
        g.layer.setSensorsDirectory(sensors.path().string());
        g.link.stuckOutput = c.stuckOutput;
        g.link.replyTo({Wire::kHello}, {0x56});
        g.link.replyTo({Wire::kStatus}, {0x56});
        g.link.replyTo({Wire::kStatus}, c.afterUpload);
        g.messages.cancelQuestions = true;  // the handler's reconnect finds the box silent
        g.layer.setSimulate(false);
        ASSERT_FALSE(g.messages.shown.empty()) << c.what;
        EXPECT_EQ(g.messages.shown.front().text, kLinkErrorText) << c.what;
        EXPECT_EQ(g.layer.failureCount(), 1) << c.what;
        EXPECT_FALSE(g.layer.linkUp()) << c.what;
        const std::vector<Bytes>& w = g.link.writes;
        EXPECT_EQ(w.size() > 2 && w[2] == kHeader, c.headerSent) << c.what;
        // The largest file that fits is taken.
    }
    test::TempDir sensors;
    writeFile(sensors.path() / "SACOS_4", systemImage(6000));
    EXPECT_EQ(Wire::loadSystemImage(sensors.path().string())->size(), 4096u);
}

// The commands of a running box, straight to a scripted line.
class SenseControlWire : public ::testing::Test {
protected:
    ProtocolHarness h{ModelSenseControl};
    SenseControlProtocol wire{h.layer};

    void SetUp() override
    {
        h.messages.cancelQuestions = true;
        h.link.replyTo({0xFF}, {0x56});
        h.link.replyTo({0x05}, {0x04});
        h.goLive();
    }
    int failures() const { return h.layer.failureCount(); }
};

TEST_F(SenseControlWire, OutputsAndInputsWithoutEchoes)
{
    wire.sendOutputs(0x81);
    h.link.feed({0x5A});
    EXPECT_EQ(wire.readInputs(), 0x5A);
    EXPECT_EQ(wire.readInputs(), kNoAnswer);  // a box that keeps quiet
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xEC, 0x81}, {0xED}, {0xED}}));
    EXPECT_EQ(failures(), 0);

    h.link.failWrites = true;
    EXPECT_EQ(wire.readInputs(), kNoReading);
    EXPECT_EQ(failures(), 1);
}

TEST_F(SenseControlWire, AnalogueInFourPairsHighByteFirst)
{
    // 1023, 0, 513, 258.
    h.link.feed({0xFF, 0xC0, 0x00, 0x00, 0x80, 0x40, 0x40, 0x80});
    std::array<int, kSensorChannels> raw{};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1023, 0, 513, 258}));
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xEF}}));
    // The fourth pair ends the answer: nothing more was waited for.
    EXPECT_EQ(h.link.timeouts, 0);
}

TEST_F(SenseControlWire, TwoPairsBringTheModeCommandAndARepeatButNotForEver)
{
    h.link.replyTo({0xEF}, {0x10, 0x00, 0x20, 0x40});
    h.link.replyTo({0xEF}, {0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00});
    std::array<int, kSensorChannels> raw{};
    EXPECT_TRUE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{4, 8, 12, 16}));
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xEF}, kMode, {0xEF}}));

    // A box that stays in its two-channel mode: four requests, then a
    // failed reading that changes nothing and reports nothing.
    for (int i = 0; i < 6; ++i) h.link.replyTo({0xEF}, {0x10, 0x00, 0x20, 0x40});
    raw = {5, 6, 7, 8};
    EXPECT_FALSE(wire.readAnalogue(raw));
    EXPECT_EQ(raw, (std::array<int, kSensorChannels>{5, 6, 7, 8}));
    EXPECT_EQ(h.takeWrites(),
              (std::vector<Bytes>{{0xEF}, kMode, {0xEF}, kMode, {0xEF}, kMode, {0xEF}}));
    EXPECT_EQ(failures(), 0);
}

TEST_F(SenseControlWire, AnyOtherPairCountIsAFailure)
{
    const std::vector<Bytes> answers{
        {}, {0x10, 0x00}, {0x10, 0x00, 0x20, 0x40, 0x30, 0x00}, {0x10, 0x00, 0x20}};
    int expected = 0;
    for (const Bytes& answer : answers) {
        // The handler's reconnect finds the box running.
        h.link.replyTo({0xFF}, {0x56});
        h.link.replyTo({0x05}, {0x04});
        h.link.feed(answer);
        std::array<int, kSensorChannels> raw{1, 2, 3, 4};
        EXPECT_FALSE(wire.readAnalogue(raw)) << answer.size();
        EXPECT_EQ(raw, (std::array<int, kSensorChannels>{1, 2, 3, 4}));
        EXPECT_EQ(failures(), ++expected) << answer.size();
        EXPECT_TRUE(h.layer.linkUp());
    }
}

TEST_F(SenseControlWire, SensorIdsLowBytesThenHighBytesAfterAPause)
{
    h.clock.slept = 0;
    h.link.replyTo({0xC7}, {0x01, 0x22, 0x00, 0x05, 0x01, 0xFF, 0xFE, 0x00});
    EXPECT_EQ(wire.readSensorIds(),
              (std::array<int, kSensorIdChannels>{0x0101, kSensorIdAbsent, kSensorIdUnknown, 5}));
    EXPECT_EQ(h.clock.slept, 100);
    EXPECT_TRUE(h.link.input.empty());

    // An answer cut short gives nothing at all.
    h.link.replyTo({0xC7}, {0x01, 0x02, 0x03, 0x04, 0x01, 0x01, 0x01});
    const std::array<int, kSensorIdChannels> none{kSensorIdUnknown, kSensorIdUnknown,
                                                  kSensorIdUnknown, kSensorIdUnknown};
    EXPECT_EQ(wire.readSensorIds(), none);
    EXPECT_EQ(failures(), 0);
}

TEST(SenseControlLayer, AllOffRunStartAndTheReconnectOfTestMode)
{
    ProtocolHarness h(ModelSenseControl);
    h.messages.cancelQuestions = true;
    h.link.replyTo({0xFF}, {0x56});
    h.link.replyTo({0x05}, {0x04});
    h.goLive();
    h.layer.allOff();
    EXPECT_TRUE(h.layer.startRun());
    EXPECT_EQ(h.takeWrites(), (std::vector<Bytes>{{0xEC, 0x00}, {0xEC, 0x00}}));
    EXPECT_EQ(h.link.opened.size(), 1u);

    // A line that failed and stays down: test mode does not start.
    EXPECT_TRUE(h.layer.prepareTestMode());
    h.link.refuseOpen = true;
    h.layer.pollInputs();  // no answer ...
    h.layer.pollInputs();
    h.layer.pollInputs();  // ... three times: the handler, whose reconnect fails
    ASSERT_EQ(h.messages.shown.size(), 1u);
    ASSERT_TRUE(h.layer.runFlags().linkFailed);
    EXPECT_FALSE(h.layer.prepareTestMode());
    EXPECT_EQ(h.messages.shown.size(), 1u);

    // The box is back: checking "Probar" connects again first.
    h.link.refuseOpen = false;
    h.link.replyTo({0xFF}, {0x56});
    h.link.replyTo({0x05}, {0x04});
    EXPECT_TRUE(h.layer.prepareTestMode());
    EXPECT_FALSE(h.layer.runFlags().linkFailed);
    EXPECT_TRUE(h.layer.linkUp());
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

// The program and the simulated box agree, from the upload on.
TEST(SenseControlAgainstBox, UploadOutputsInputsValuesIdsAndAResetBox)
{
    test::TempDir dir;
    writeFile(dir.path() / "SACOS_4", systemImage(4096));
    std::vector<std::string> lines;
    boxes::SenseControlBox box{ModelSenseControl, 0,
                               [&](const std::string& l) { lines.push_back(l); }};
    boxes::BoxSession session{box, {}};
    boxes::BoxLink link{session};
    ProtocolHarness h{ModelSenseControl, 0, &link};
    h.messages.cancelQuestions = true;
    h.layer.setSensorsDirectory(dir.path().string());
    h.goLive();
    ASSERT_TRUE(h.layer.linkUp());
    EXPECT_EQ(lines, (std::vector<std::string>{"upload 4096"}));

    InterfaceLayer& io = h.layer;
    ASSERT_TRUE(io.startRun());
    io.setOutput(0, 1);
    io.setOutput(7, 1);
    io.writeOutputs();
    EXPECT_TRUE(box.image().outputs[0]);
    EXPECT_TRUE(box.image().outputs[7]);
    ASSERT_TRUE(box.command("in 2 on"));
    ASSERT_TRUE(box.command("val 3 777"));
    io.pollInputs();
    EXPECT_EQ(io.image().inputs[1], 1);
    EXPECT_EQ(io.image().analogue[2], 777);
    EXPECT_EQ(io.readSensorIds(),
              (std::array<int, kSensorIdChannels>{0x0101, 0x0102, 0x0104, kSensorIdAbsent}));

    // The box's reset button: it forgets its system and keeps quiet. Three
    // silent polls are a dead box; the handler's reconnect uploads again.
    ASSERT_TRUE(box.command("reset"));
    EXPECT_FALSE(box.image().outputs[0]);
    for (int i = 0; i < kSilentPollLimit; ++i) io.pollInputs();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.last().text, kLinkErrorText);
    EXPECT_EQ(lines.back(), "upload 4096");
    EXPECT_TRUE(io.linkUp());
    EXPECT_FALSE(io.runFlags().linkFailed);
    ASSERT_TRUE(box.command("val 4 1000"));
    io.readAnalogue();
    EXPECT_EQ(io.image().analogue[3], 1000);

    io.setOutput(2, 1);
    io.writeOutputs();
    EXPECT_TRUE(box.image().outputs[2]);
    io.allOff();
    EXPECT_FALSE(box.image().outputs[2]);
}

}  // namespace
}  // namespace tarvel
