#include "interfaces/manual_control.h"

#include <gtest/gtest.h>
#include <algorithm>

#include "engine/chart_builder.h"
#include "engine/program_state.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_model.h"
#include "interfaces/monitor_layout.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/read_chart.h"
#include "support/recording_protocol.h"

namespace tarvel {
namespace {

std::size_t idx(int i)
{
    return static_cast<std::size_t>(i);
}

using WireLog = test::RecordingProtocol;

class Lamps final : public IoObserver {
public:
    void showInput(int i, int s) override { inputs[static_cast<std::size_t>(i)] = s; }
    void showOutput(int i, int s) override { outputs[static_cast<std::size_t>(i)] = s; }
    void showMotor(int m, int s) override { motors[static_cast<std::size_t>(m)] = s; }
    void showValue(int c, int raw) override { values[static_cast<std::size_t>(c)] = raw; }
    void showPower(int o, int p) override { power[static_cast<std::size_t>(o)] = p; }
    std::array<int, 8> inputs{}, outputs{}, power{};
    std::array<int, 4> motors{}, values{};
};

class ManualControlTest : public ::testing::Test {
protected:
    InterfaceLayer io;
    std::array<int, 8> levels{100, 100, 100, 100, 100, 100, 100, 100};
    bool running = false;
    ManualControl control{io, levels, [this] { return running; }};
    Lamps lamps;
    WireLog wire{io};

    void SetUp() override { io.addObserver(&lamps); }
    void choose(int model, int subModel = 0, int numbering = 1, int mode = 1)
    {
        io.settings.model = model;
        io.settings.subModel = subModel;
        io.settings.numbering = numbering;
        io.settings.mode = mode;
        io.applySelection();
    }
    void goLive()
    {
        io.setProtocol(&wire);
        io.flags.simulate = false;
    }
    int line(int i) const { return io.image().motorLines[static_cast<std::size_t>(i)]; }
    int out(int i) const { return io.image().outputs[static_cast<std::size_t>(i)]; }
};

TEST(MonitorLayout, LabelsForBothNumberingsWithDashesForAbsentItems)
{
    InterfaceSettings s;
    auto labels = [&](MonitorItem kind, int count) {
        const InterfaceCaps caps = computeCaps(s, nullptr);
        std::string all;
        for (int i = 0; i < count; ++i) all += itemLabel(kind, i, s, caps);
        return all;
    };
    s.numbering = 1;
    EXPECT_EQ(labels(MonitorItem::Input, 8), "12345678");
    EXPECT_EQ(labels(MonitorItem::Output, 8), "12345678");
    EXPECT_EQ(labels(MonitorItem::Motor, 4), "ABCD");
    s.numbering = 2;
    EXPECT_EQ(labels(MonitorItem::Output, 8), "01234567");
    // The Contact Controller counts from 1 and has four of each, two motors.
    s = InterfaceSettings{};
    s.mode = 1;
    s.model = ModelContactController;
    s.subModel = kContactControllerBasic;
    EXPECT_EQ(labels(MonitorItem::Output, 8), "1234----");
    EXPECT_EQ(labels(MonitorItem::Input, 8), "1234----");
    EXPECT_EQ(labels(MonitorItem::Motor, 4), "AB--");
    // The Junior lacks outputs 6 and 8 and motors A and B.
    s.model = ModelDeltronics;
    s.subModel = kDeltronicsJunior;
    EXPECT_EQ(labels(MonitorItem::Output, 8), "12345-7-");
    EXPECT_EQ(labels(MonitorItem::Motor, 4), "--CD");
}

TEST_F(ManualControlTest, WhichLargeMonitorFitsAndTheMfaRowsRunBackwards)
{
    choose(ModelNone, 0, 1, 0);  // no interface: a motor bank
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::Motors);
    choose(ModelDeltronics);
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::Outputs);
    choose(ModelDeltronics, kDeltronicsSerialPlus);
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::Motors);
    choose(ModelContactController, kContactControllerBasic);
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::SmallMotors);
    choose(ModelContactController, kContactControllerPlus);
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::Motors);
    choose(ModelLego);
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::Motors);
    // The chip system: the first board has every motor's slider, the others
    // and the single chips motors A and B only.
    choose(ModelTolvaChip, 0);
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::Motors);
    for (const int sub : {1, 2, 3, 4}) {
        choose(ModelTolvaChip, sub);
        EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::SmallMotors) << sub;
    }

    choose(ModelMfa, 0, 2);
    EXPECT_EQ(largeMonitorFor(io.settings, io.encoding), LargeMonitor::Outputs);
    EXPECT_EQ(itemOfRow(MonitorItem::Output, 0, ModelMfa), 7);
    EXPECT_EQ(itemOfRow(MonitorItem::Input, 7, ModelMfaAlt), 0);
    EXPECT_EQ(itemOfRow(MonitorItem::Motor, 0, ModelMfa), 0);
    EXPECT_EQ(itemOfRow(MonitorItem::Output, 0, ModelDeltronics), 0);
    // The bottom lamp of the MFA is output 8.
    ASSERT_TRUE(control.clickOutput(itemOfRow(MonitorItem::Output, 0, io.settings.model)));
    EXPECT_EQ(io.image().outputs, (std::array<int, 8>{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(lamps.outputs[7], 1);
}

// What a motor monitor shows is what drives the box and what a chart keeps: a
// slider shown sets its motor's power and comes back from the file, and a
// motor without a slider runs at full power.
TEST_F(ManualControlTest, EverySliderShownDrivesItsMotorAndIsSaved)
{
    io.setSliderLevels(&levels);
    struct Selection {
        int mode, model, subModel;
    };
    const Selection selections[] = {
        {0, ModelNone, 0},
        {1, ModelDeltronics, kDeltronicsSerialPlus},
        {1, ModelContactController, kContactControllerPlus},
        {1, ModelContactController, kContactControllerBasic},
        {1, ModelTolvaChip, 0},
        {1, ModelTolvaChip, 1},
        {1, ModelTolvaChip, 2},
        {1, ModelTolvaChip, 5},
        {1, ModelLego, 0},
        {1, ModelFischertechnik, 0},
        {1, ModelQuillo, 0},
    };
    for (const Selection& s : selections) {
        SCOPED_TRACE(::testing::Message() << "model " << s.model << " sub " << s.subModel);
        choose(s.model, s.subModel, 1, s.mode);
        ASSERT_TRUE(io.encoding.separateMotorBank);
        const int shown = motorsShown(largeMonitorFor(io.settings, io.encoding));
        levels.fill(100);
        for (int m = 0; m < shown; ++m) ASSERT_TRUE(control.setMotorLevel(m, 10 * (m + 1)));

        io.recomputeOutputPower();
        std::array<int, 8> expected{};
        for (int i = 0; i < 8; ++i) expected[idx(i)] = i / 2 < shown ? 10 * (i / 2 + 1) : 100;
        EXPECT_EQ(io.image().outputPower, expected);

        FlowDocument chart;
        chart.outputLevels = levels;
        FlowDocument back;
        FlowFileInfo info;
        FlowLoadContext context;
        context.current = io.settings;
        ASSERT_EQ(test::readChart(serializeFlowFile(chart, io.settings), back, info, context), "");
        // The stored layout keeps four motor levels for subModel 0 only; Deltronics
        // Serie + files hold motors A and B (its C and D sliders act, but start
        // again at 100 when the chart is opened).
        const int kept = s.subModel == 0 ? shown : std::min(shown, 2);
        for (int m = 0; m < kept; ++m) EXPECT_EQ(back.outputLevels[idx(2 * m)], 10 * (m + 1));
    }
}

TEST_F(ManualControlTest, OutputClicksMirrorIntoMotorsOrDriveThem)
{
    choose(ModelDeltronics);  // outputs mirror motors, reverse is both lines
    ASSERT_TRUE(control.clickOutput(2));
    EXPECT_EQ(out(2), 1);
    EXPECT_EQ(line(2), 1);
    EXPECT_EQ(lamps.motors[1], kMotorForward);
    control.clickOutput(3);
    EXPECT_EQ(lamps.motors[1], kMotorReverse);
    control.clickOutput(2);
    EXPECT_EQ(lamps.motors[1], kMotorOff);  // second line alone is not reverse here
    EXPECT_EQ(io.image().sentOutputByte, io.image().outputByte());

    choose(ModelLego);  // motors drive outputs 1-4
    io.resetImage();
    control.clickOutput(1);
    EXPECT_EQ(line(2), 1);
    EXPECT_EQ(line(3), 0);
    EXPECT_EQ(lamps.motors[1], kMotorForward);
    control.clickOutput(1);
    EXPECT_EQ(lamps.motors[1], kMotorOff);
    control.clickOutput(5);  // beyond the four motors: no motor follows
    EXPECT_EQ(io.image().motorLines, (std::array<int, 8>{}));
}

TEST_F(ManualControlTest, AnOutputClickAlwaysReachesTheBox)
{
    choose(ModelDeltronics);
    goLive();
    // The image claims output 1 was sent, but the box was reset since.
    io.setOutput(0, 1);
    io.writeOutputs();
    io.setOutput(0, 0);
    wire.log.clear();
    control.clickOutput(0);
    EXPECT_EQ(wire.log, (std::vector<std::string>{"out 1"}));
}

TEST_F(ManualControlTest, MotorLampsCycleAndReverseGoesOff)
{
    for (const int model : {ModelDeltronics, ModelContactController}) {
        SCOPED_TRACE(model);
        choose(model);  // encoding flag 1 with mirrored outputs; flag 0 without
        io.resetImage();
        const bool mirrored = io.encoding.outputsMirrorMotors;

        ASSERT_TRUE(control.clickMotor(0));
        EXPECT_EQ(lamps.motors[0], kMotorForward);
        EXPECT_EQ(line(0), 1);
        EXPECT_EQ(line(1), 0);
        EXPECT_EQ(out(0), mirrored ? 1 : 0);
        control.clickMotor(0);
        EXPECT_EQ(lamps.motors[0], kMotorOff);
        EXPECT_EQ(io.image().motorLines, (std::array<int, 8>{}));

        ASSERT_TRUE(control.rightClickMotor(0));
        EXPECT_EQ(lamps.motors[0], kMotorReverse);
        EXPECT_EQ(line(0), io.encoding.flagOfMotor(0));
        EXPECT_EQ(line(1), 1);
        EXPECT_EQ(out(1), mirrored ? 1 : 0);
        // Left or right, a reversing motor stops rather than turning forward.
        control.clickMotor(0);
        EXPECT_EQ(lamps.motors[0], kMotorOff);
        EXPECT_EQ(io.image().outputs, (std::array<int, 8>{}));
        control.rightClickMotor(0);
        control.rightClickMotor(0);
        EXPECT_EQ(lamps.motors[0], kMotorOff);
        // A forward motor clicked with the right button stops too.
        control.clickMotor(2);
        control.rightClickMotor(2);
        EXPECT_EQ(lamps.motors[2], kMotorOff);
    }
    choose(ModelFischertechnik);  // motors drive outputs 1-4
    io.resetImage();
    control.rightClickMotor(3);
    EXPECT_EQ(out(3), 1);
    control.clickMotor(3);
    EXPECT_EQ(out(3), 0);
}

TEST_F(ManualControlTest, NothingChangesByHandWhileAChartRuns)
{
    choose(ModelDeltronics);
    running = true;
    const IoImage before = io.image();
    const std::array<int, 8> levelsBefore = levels;
    EXPECT_FALSE(control.clickOutput(0));
    EXPECT_FALSE(control.clickMotor(1));
    EXPECT_FALSE(control.rightClickMotor(1));
    EXPECT_FALSE(control.setOutputLevel(0, 20));
    EXPECT_FALSE(control.setMotorLevel(0, 20));
    EXPECT_FALSE(control.clickDac());
    EXPECT_EQ(io.image().outputs, before.outputs);
    EXPECT_EQ(io.image().motorLines, before.motorLines);
    EXPECT_EQ(io.image().outputPower, before.outputPower);
    EXPECT_EQ(levels, levelsBefore);
    EXPECT_EQ(lamps.outputs, (std::array<int, 8>{}));
    // The simulated inputs and values are how a running chart is fed.
    EXPECT_TRUE(control.clickInput(4));
    EXPECT_EQ(io.image().inputs[4], 1);
    EXPECT_TRUE(control.clickValue(1));
    // Out of range is refused too.
    running = false;
    EXPECT_FALSE(control.clickOutput(8));
    EXPECT_FALSE(control.clickMotor(-1));
    EXPECT_FALSE(control.clickInput(8));
}

TEST_F(ManualControlTest, LampsOfItemsTheInterfaceLacksDoNotReact)
{
    choose(ModelDeltronics, kDeltronicsJunior);  // no output 6 or 8, no motor A or B, 4 inputs
    EXPECT_FALSE(control.clickOutput(5));
    EXPECT_FALSE(control.clickOutput(7));
    EXPECT_FALSE(control.clickMotor(0));
    EXPECT_FALSE(control.rightClickMotor(1));
    EXPECT_FALSE(control.clickInput(4));
    EXPECT_EQ(io.image().outputs, (std::array<int, 8>{}));
    EXPECT_EQ(io.image().motorLines, (std::array<int, 8>{}));
    EXPECT_EQ(io.image().inputs, (std::array<int, 8>{}));
    EXPECT_EQ(lamps.outputs, (std::array<int, 8>{}));
    EXPECT_TRUE(control.clickOutput(6));
    EXPECT_TRUE(control.clickMotor(2));
    EXPECT_TRUE(control.clickInput(3));

    // Counting from 0 no lamp reads "-", and every one switches.
    choose(ModelContactController, kContactControllerBasic, 2);
    EXPECT_EQ(itemLabel(MonitorItem::Output, 5, io.settings, io.caps()), "5");
    EXPECT_TRUE(control.clickOutput(5));
}

TEST_F(ManualControlTest, SimulatedInputsAndValuesOnlyInSimulation)
{
    choose(ModelDeltronics);
    ASSERT_TRUE(control.clickInput(0));
    EXPECT_EQ(lamps.inputs[0], 1);
    control.clickInput(0);
    EXPECT_EQ(lamps.inputs[0], 0);
    ASSERT_TRUE(control.clickValue(2));
    EXPECT_EQ(io.image().analogue[2], 1024);
    EXPECT_EQ(lamps.values[2], 1024);
    control.clickValue(2);
    EXPECT_EQ(io.image().analogue[2], 0);
    EXPECT_EQ(lamps.values[2], 0);

    goLive();  // a live box reports its own inputs
    EXPECT_FALSE(control.clickInput(0));
    EXPECT_FALSE(control.clickValue(0));
    EXPECT_EQ(io.image().inputs[0], 0);
    EXPECT_EQ(io.image().analogue[0], 0);
}

TEST_F(ManualControlTest, SlidersStoreLevelsAndSendWhereTheBoxTakesThem)
{
    choose(ModelDeltronics);
    goLive();
    ASSERT_TRUE(control.setOutputLevel(3, 40));
    EXPECT_EQ(levels[3], 40);
    EXPECT_EQ(io.image().outputPower[3], 40);
    EXPECT_EQ(lamps.power[3], 40);
    EXPECT_EQ(wire.log, (std::vector<std::string>{"power 3=40"}));
    control.setOutputLevel(0, 130);
    EXPECT_EQ(levels[0], 100);

    // The Contact Controller takes the motor's speed on both lines of its pair.
    choose(ModelContactController, kContactControllerPlus);
    wire.log.clear();
    control.setMotorLevel(1, 70);
    EXPECT_EQ(levels[2], 70);
    EXPECT_EQ(levels[3], 70);
    EXPECT_EQ(io.image().outputPower[2], 70);
    EXPECT_EQ(io.image().outputPower[3], 70);
    EXPECT_EQ(wire.log, (std::vector<std::string>{"power 2=70", "power 3=70"}));
    // A Deltronics box takes the speed on the motor's first line; both hold it.
    choose(ModelDeltronics, kDeltronicsSerialPlus);
    wire.log.clear();
    control.setMotorLevel(2, 45);
    EXPECT_EQ(io.image().outputPower[4], 45);
    EXPECT_EQ(io.image().outputPower[5], 45);
    EXPECT_EQ(levels[5], 45);
    EXPECT_EQ(lamps.power[5], 45);
    EXPECT_EQ(wire.log, (std::vector<std::string>{"power 4=45"}));
    // The LEGO box takes one speed per motor.
    choose(ModelLego);
    wire.log.clear();
    control.setMotorLevel(3, 30);
    EXPECT_EQ(wire.log, (std::vector<std::string>{"power 3=30"}));
    // In simulation only the level and the image change.
    io.flags.simulate = true;
    choose(ModelContactController, kContactControllerPlus);
    wire.log.clear();
    control.setMotorLevel(0, 10);
    EXPECT_EQ(io.image().outputPower[1], 10);
    EXPECT_TRUE(wire.log.empty());

    // A speed set by the chart moves the slider and so becomes the level.
    io.setPowerShown(6, 55);
    EXPECT_EQ(levels[6], 55);
}

TEST(ManualControlRun, ASimulatedInputClickSteersARunningChart)
{
    test::FakeMessages messages;
    test::FakeClock clock;
    ProgramState state(messages, clock);
    state.io.applySelection();
    ManualControl control(state.io, state.doc.outputLevels,
                          [&] { return state.interpreter.running(); });
    Lamps lamps;
    state.io.addObserver(&lamps);
    // Start, then wait for input 1 and light output 2.
    test::ChartBuilder chart(state.doc);
    const int s = chart.start(), in = chart.decide("Is Input 1 on"),
              lamp = chart.out("Turn Output 2 on");
    chart.join(s, in);
    chart.join(in, lamp, LineKind::Yes);
    chart.join(in, in, LineKind::No);
    chart.join(lamp, in);
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i) {
            clock.advance(state.speed.interval);
            state.interpreter.timerTick();
        }
    };
    ASSERT_TRUE(state.interpreter.start());
    ticks(3);
    EXPECT_EQ(lamps.outputs[1], 0);
    EXPECT_FALSE(control.clickOutput(1));  // the chart owns the outputs now
    ASSERT_TRUE(control.clickInput(0));
    ticks(2);
    EXPECT_EQ(lamps.outputs[1], 1);
    state.interpreter.stop();
    EXPECT_EQ(lamps.outputs[1], 0);
    EXPECT_EQ(lamps.inputs[0], 0);
}

}  // namespace
}  // namespace tarvel
