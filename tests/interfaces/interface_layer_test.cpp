#include "interfaces/interface_layer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "interfaces/interface_model.h"
#include "interfaces/model_traits.h"
#include "support/recording_protocol.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using test::RecordingProtocol;

class RecordingObserver final : public IoObserver {
public:
    void showInput(int i, int s) override
    {
        events.push_back("in " + std::to_string(i) + "=" + std::to_string(s));
    }
    void showOutput(int i, int s) override
    {
        events.push_back("out " + std::to_string(i) + "=" + std::to_string(s));
    }
    void showMotor(int m, int s) override
    {
        events.push_back("motor " + std::to_string(m) + "=" + std::to_string(s));
    }
    void showValue(int c, int v) override
    {
        events.push_back("value " + std::to_string(c) + "=" + std::to_string(v));
    }
    void showDac(int v) override { events.push_back("dac " + std::to_string(v)); }
    std::vector<std::string> events;
};

class RecordingEvents final : public InterfaceEvents {
public:
    void setReducedMonitorLayout(bool mfa) override { mfaLayout = mfa; }
    void reloadSensors(const std::string& dir) override { sensorDir = dir; }
    void setAutomaticSensors(bool on) override { automatic = on; }
    void identifySensors() override { ++identified; }
    void relabelMonitors() override { ++relabelled; }
    void invalidateGraph() override { ++graphs; }
    bool mfaLayout = false;
    std::string sensorDir;
    bool automatic = false;
    int identified = 0, relabelled = 0, graphs = 0;
};

class LayerTest : public ::testing::Test {
protected:
    InterfaceLayer layer;
    RecordingProtocol wire{layer};
    RecordingObserver display;
    RecordingEvents events;

    void SetUp() override
    {
        layer.setProtocol(&wire);
        layer.addObserver(&display);
        layer.setEvents(&events);
        layer.setSensorsDirectory("/sensores");
    }
    void choose(int model, int subModel = 0, int mode = 1)
    {
        layer.settings.mode = mode;
        layer.settings.model = model;
        layer.settings.subModel = subModel;
        layer.applySelection();
    }
    void goLive() { layer.flags.simulate = false; }
};

TEST_F(LayerTest, ConnectSetsTheMotorEncodingPerModel)
{
    choose(ModelDeltronics, 0);
    EXPECT_EQ(layer.encoding, MotorEncoding{});
    EXPECT_EQ(events.sensorDir, "/sensores/DSI");

    choose(ModelDeltronics, kDeltronicsSerialPlus);
    EXPECT_TRUE(layer.encoding.separateMotorBank);
    EXPECT_FALSE(layer.encoding.outputsMirrorMotors);

    choose(ModelContactController, kContactControllerBasic);
    EXPECT_TRUE(layer.encoding.separateMotorBank);
    EXPECT_FALSE(layer.encoding.outputsMirrorMotors);
    EXPECT_EQ(layer.encoding.encodingFlag, (std::array<int, 2>{0, 0}));

    choose(ModelLego);
    EXPECT_TRUE(layer.encoding.motorsDriveOutputs);
    EXPECT_FALSE(layer.encoding.outputsMirrorMotors);
    EXPECT_EQ(layer.encoding.encodingFlag, (std::array<int, 2>{1, 1}));

    choose(ModelFischertechnik);
    EXPECT_TRUE(layer.encoding.motorsDriveOutputs);
    EXPECT_EQ(layer.encoding.encodingFlag, (std::array<int, 2>{0, 0}));

    for (const auto& [option, flags] :
         std::vector<std::pair<int, std::array<int, 2>>>{{0, {1, 1}}, {1, {1, 0}}, {2, {0, 0}}}) {
        layer.settings.motorOption = option;
        choose(ModelMfa);
        EXPECT_EQ(layer.encoding.encodingFlag, flags) << option;
        EXPECT_TRUE(events.mfaLayout);
    }

    // No interface: a motor bank, nothing mirrored, subModel forced to 0.
    choose(ModelDeltronics, 3, 0);
    EXPECT_EQ(layer.settings.subModel, 0);
    EXPECT_TRUE(layer.encoding.separateMotorBank);
    EXPECT_FALSE(layer.encoding.outputsMirrorMotors);
    EXPECT_FALSE(events.mfaLayout);
}

TEST_F(LayerTest, SelectionAsksForSensorsLabelsAndTheGraph)
{
    choose(ModelSenseControl);
    EXPECT_EQ(events.sensorDir, "/sensores/SAC");
    EXPECT_TRUE(events.automatic);
    EXPECT_EQ(events.identified, 1);
    EXPECT_EQ(events.relabelled, 1);
    EXPECT_EQ(events.graphs, 1);
    choose(ModelDeltronics, kDeltronicsJunior);
    EXPECT_TRUE(events.automatic);
    choose(ModelDeltronics, 0);
    EXPECT_FALSE(events.automatic);
    EXPECT_EQ(layer.caps().motorSpeed, 1);
}

TEST_F(LayerTest, SimulationNeverTouchesTheWire)
{
    choose(ModelContactController, 0);
    layer.setOutput(2, 1);
    layer.setMotor(1, kMotorForward);
    layer.writeOutputs();
    layer.pollInputs();
    layer.readAnalogue();
    layer.setPower(0, 40);
    layer.resetOutputs();
    EXPECT_TRUE(layer.startRun());
    layer.allOff();
    EXPECT_EQ(wire.count("out"), 0u);
    EXPECT_EQ(wire.count("startUp"), 0u);
    EXPECT_EQ(wire.count("power"), 0u);
    // The output byte is still remembered as sent.
    EXPECT_EQ(layer.image().sentOutputByte, 0b100);
    EXPECT_EQ(layer.image().outputPower[0], 40);
}

TEST_F(LayerTest, OnlyChangedBytesTravelAndAreRememberedAsSent)
{
    choose(ModelContactController, 0);
    goLive();
    wire.log.clear();
    layer.setOutput(0, 1);
    layer.writeOutputs();
    layer.writeOutputs();
    EXPECT_EQ(wire.count("out "), 1u);
    EXPECT_EQ(layer.image().sentOutputByte, 1);
    layer.setMotor(0, kMotorReverse);  // flags 0: only the reverse line
    layer.writeOutputs();
    EXPECT_EQ(wire.log.back(), "motor 2");
    EXPECT_EQ(layer.image().sentMotorByte, 2);
    layer.writeOutputs();
    EXPECT_EQ(wire.count("motor "), 1u);

    // A failed link stops the motor byte of these boxes.
    layer.flags.linkFailed = true;
    layer.setMotor(0, kMotorOff);
    layer.writeOutputs();
    EXPECT_EQ(wire.count("motor "), 1u);
    EXPECT_EQ(layer.image().sentMotorByte, 2);
}

TEST_F(LayerTest, PerModelBytesOfWriteOutputs)
{
    // The Fischertechnik box takes only the motor byte, even before the output byte.
    choose(ModelFischertechnik);
    goLive();
    wire.log.clear();
    layer.setMotor(1, kMotorForward);
    layer.setOutput(7, 1);
    layer.writeOutputs();
    EXPECT_EQ(wire.log, (std::vector<std::string>{"motor 4"}));
    EXPECT_EQ(layer.image().sentOutputByte, 0x80);

    // The MFA sends its DAC only with the extension board present.
    wire.boardPresent = true;
    choose(ModelMfa);
    wire.log.clear();
    layer.setDac(300);
    EXPECT_EQ(layer.image().dacValue, 255);
    layer.writeOutputs();
    EXPECT_EQ(wire.log.back(), "dac 255");
    EXPECT_EQ(layer.image().sentDacValue, 255);
    layer.writeOutputs();
    EXPECT_EQ(wire.count("dac"), 1u);
}

TEST_F(LayerTest, InputsAreInvertedForHighAndEachChangeIsShown)
{
    choose(ModelContactController, 0);
    layer.settings.highLow = 1;
    goLive();
    wire.inputByte = 0b11111010;  // inputs 1 and 3 pulled low
    layer.pollInputs();
    EXPECT_EQ(layer.image().lastInputByte, 0b00000101);
    EXPECT_EQ(layer.image().inputs[0], 1);
    EXPECT_EQ(layer.image().inputs[2], 1);
    EXPECT_EQ(layer.image().inputs[1], 0);
    EXPECT_EQ(display.events, (std::vector<std::string>{"in 2=1", "in 0=1"}));

    display.events.clear();
    layer.pollInputs();  // no change, nothing shown
    EXPECT_TRUE(display.events.empty());

    layer.settings.highLow = 2;
    wire.inputByte = 0b00000100;
    layer.pollInputs();
    EXPECT_EQ(layer.image().inputs[0], 0);
    EXPECT_EQ(layer.image().inputs[2], 1);
    EXPECT_EQ(display.events, (std::vector<std::string>{"in 0=0"}));

    // A failed read leaves everything as it was.
    wire.inputByte = -1;
    display.events.clear();
    layer.pollInputs();
    EXPECT_TRUE(display.events.empty());
}

TEST_F(LayerTest, AnalogueValuesAreShownWhenTheyChangeOnChannelsWithSensors)
{
    std::array<int, 4> assignment{-1, -2, -1, -1};
    layer.setChannelAssignment(&assignment);
    choose(ModelContactController, 0);
    goLive();
    wire.analogue = {100, 200, 300, 2000};
    layer.readAnalogue();
    EXPECT_EQ(layer.image().analogue[3], 1024);
    EXPECT_EQ(display.events,
              (std::vector<std::string>{"value 0=100", "value 2=300", "value 3=1024"}));
    display.events.clear();
    layer.readAnalogue();
    EXPECT_TRUE(display.events.empty());

    // Every channel without a sensor: nothing is read at all.
    assignment = {-2, -2, -2, -2};
    wire.analogue = {5, 5, 5, 5};
    layer.readAnalogue();
    EXPECT_EQ(layer.image().analogue[0], 100);
}

TEST_F(LayerTest, MotorStatesUnderBothEncodingFlags)
{
    choose(ModelDeltronics, 0);  // flags 1: reverse is both lines on
    layer.setMotor(0, kMotorReverse);
    EXPECT_EQ(layer.image().motorLines[0], 1);
    EXPECT_EQ(layer.image().motorLines[1], 1);
    EXPECT_EQ(layer.motorState(0), kMotorReverse);
    layer.setMotor(3, kMotorForward);
    EXPECT_EQ(layer.image().motorByte(), 0b01000011);
    EXPECT_EQ(layer.motorState(3), kMotorForward);

    layer.settings.motorOption = 1;  // MFA: A, B with flag 1; C, D with flag 0
    choose(ModelMfa);
    for (int line = 0; line < 8; ++line) layer.setMotorLine(line, 0);
    layer.setMotor(0, kMotorReverse);
    layer.setMotor(2, kMotorReverse);
    EXPECT_EQ(layer.image().motorByte(), 0b00100011);
    EXPECT_EQ(layer.motorState(0), kMotorReverse);
    EXPECT_EQ(layer.motorState(2), kMotorReverse);
    // Both lines on under flag 0 is no known state.
    layer.setMotorLine(4, 1);
    EXPECT_EQ(layer.motorState(2), kMotorOff);
    EXPECT_EQ(display.events.back(), "motor 2=1");
}

TEST_F(LayerTest, OutputPowerFollowsTheMonitorOfTheInterface)
{
    std::array<int, 8> sliders{10, 20, 30, 40, 50, 60, 70, 80};
    layer.setSliderLevels(&sliders);
    choose(ModelDeltronics, 0);  // own slider per output
    layer.recomputeOutputPower();
    EXPECT_EQ(layer.image().outputPower, sliders);

    choose(ModelContactController, kContactControllerPlus);  // large motor monitor
    layer.recomputeOutputPower();
    EXPECT_EQ(layer.image().outputPower, (std::array<int, 8>{10, 10, 30, 30, 50, 50, 70, 70}));

    choose(ModelContactController, kContactControllerBasic);  // small motor monitor
    layer.recomputeOutputPower();
    EXPECT_EQ(layer.image().outputPower, (std::array<int, 8>{10, 10, 30, 30, 100, 100, 100, 100}));
}

TEST_F(LayerTest, StartRunPreparesTheBoxPerModel)
{
    std::array<int, 8> sliders{10, 20, 30, 40, 50, 60, 70, 80};
    layer.setSliderLevels(&sliders);
    choose(ModelDeltronics, kDeltronicsSerialPlus);
    goLive();
    wire.log.clear();
    EXPECT_TRUE(layer.startRun());
    EXPECT_EQ(wire.log, (std::vector<std::string>{"startUp", "reset", "power 0=10", "power 2=30",
                                                  "power 4=50", "power 6=70"}));

    choose(ModelQuillo);
    wire.log.clear();
    EXPECT_TRUE(layer.startRun());
    EXPECT_EQ(wire.count("out 0"), 1u);
    EXPECT_EQ(wire.count("motor 0"), 1u);
    EXPECT_EQ(wire.count("power"), 16u);  // on connecting, and for the run

    // A box whose start-up fails: the run does not start.
    wire.startUpSucceeds = false;
    EXPECT_FALSE(layer.startRun());
}

TEST_F(LayerTest, ObserversCanLeave)
{
    layer.removeObserver(&display);
    layer.setOutput(1, 1);
    EXPECT_TRUE(display.events.empty());
    EXPECT_EQ(layer.image().outputs[1], 1);
}

TEST(InterfaceLayerChip, TheChosenEntryComesFromTheSensorsDirectory)
{
    test::TempDir dir;
    std::ofstream(dir.path() / "tolvachip.dat", std::ios::binary)
        << "1;Standard board;\r\n1,11111111,11111111,1111,1111,1,0,256,\r\n"
           "2;Chip;\r\n2,11110000,11110000,1100,1100,1,0,128,\r\n";
    InterfaceLayer layer;
    layer.setSensorsDirectory(dir.path().string());
    layer.settings.mode = 1;
    layer.settings.model = ModelTolvaChip;
    layer.settings.subModel = 1;
    layer.applySelection();
    ASSERT_NE(layer.chosenChip(), nullptr);
    EXPECT_EQ(layer.chipLinkKind(), 2);
    EXPECT_TRUE(layer.isContactControllerType());
    EXPECT_EQ(layer.caps().outputMask, 0x1E00u);
    EXPECT_EQ(layer.sensorDirectory(), dir.path().string() + "/CC");
    // The chip variant mirrors outputs into its motor lines.
    EXPECT_TRUE(layer.encoding.outputsMirrorMotors);
    EXPECT_EQ(layer.encoding.encodingFlag, (std::array<int, 2>{0, 0}));

    layer.settings.subModel = 0;
    layer.applySelection();
    EXPECT_EQ(layer.sensorDirectory(), dir.path().string() + "/OTHERS");
    EXPECT_FALSE(layer.isContactControllerType());
}

}  // namespace
}  // namespace tarvel
