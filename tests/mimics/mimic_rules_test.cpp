// The mimic's state rules (what outputs, inputs, motors, values and variables
// do to the objects) and its click rules in simulation and while no chart runs.

#include <gtest/gtest.h>

#include <cmath>

#include "editors/keypad.h"
#include "interfaces/manual_control.h"
#include "mimics/mimic_channels.h"
#include "mimics/mimic_clicks.h"
#include "mimics/mimic_display.h"
#include "mimics/mimic_text.h"
#include "mimics/tenth_channels.h"
#include "sensors/sensor_channels.h"

namespace tarvel {
namespace {

std::size_t idx(int i)
{
    return static_cast<std::size_t>(i);
}

using test::TenthChannels;

struct Change {
    int object;
    MimicChange change;
    int state;
    bool operator==(const Change&) const = default;
};

class Recorder final : public MimicView {
public:
    explicit Recorder(const MimicDisplay& d) : display(d) {}
    void objectChanged(int object, MimicChange change) override
    {
        changes.push_back({object, change, display.object(object).state});
    }
    void setReplaced() override { ++replaced; }
    const MimicDisplay& display;
    std::vector<Change> changes;
    int replaced = 0;
};

class Keys final : public EditorKeys {
public:
    EditorKind openEditor() const override { return editor; }
    void press(int bit) override { pressed.push_back(bit); }
    EditorKind editor = EditorKind::None;
    std::vector<int> pressed;
};

// Objects: 0 background; 1..3 lamps of output 1 (third link) and input 1;
// 4 a push button (momentary) on input 2; 5 a switch on input 3; 6, 7 the
// barrier on motor A (limit switches: inputs 3 and 4); 8, 9 the value
// texts of channel 1; 10 the counter on variable n; 11 an "out 2" label
// that also switches output 2; 12 the text of channel 2 alone.
test::MimicText rulesSet()
{
    test::MimicText m;
    m.object(0, 0, 400, 320, 0, "0", "0", "0", "0");
    m.object(10, 10, 30, 30, 0x01, "-1", "1", "-1", "-1");
    m.object(40, 10, 60, 30, 0x41, "-1", "1", "-1", "-1");
    m.object(70, 10, 90, 30, 0x00, "-1", "1", "-1", "-1");
    m.object(10, 50, 30, 70, 0x05, "-1", "1", "-1", "-1");
    m.object(40, 50, 60, 70, 0x05, "-1", "1", "-1", "-1");
    m.object(100, 100, 200, 120, 0x01, "0", "1", "2", "3");
    m.object(100, 130, 200, 150, 0x00, "0", "1", "2", "3");
    m.object(300, 10, 380, 30, 0x03, "--", "", "", "");
    m.object(300, 40, 380, 60, 0x03, "--", "", "", "");
    m.object(300, 70, 380, 90, 0x02, "0", "", "", "");
    m.object(300, 100, 340, 120, 0x1B, "out 2", "", "", "");
    m.object(300, 130, 380, 150, 0x03, "--", "", "", "");
    m.pictures = {"A.BMP", "B.BMP", "C.BMP", "D.BMP"};
    m.outputs[0] = {1, -1, 3};
    m.outputs[1] = {11, -1, -1};
    m.inputs[0] = {2, -1, 1};  // a third link that only sits in the table
    m.inputs[1] = {4, -1, -1};
    m.inputs[2] = {5, -1, -1};
    m.motors[0] = {6, 7, 3, 4};
    m.values[0] = {8, 9};
    m.values[1] = {12, -1};
    m.variables[4] = 10;
    return m;
}

class MimicRules : public ::testing::Test {
protected:
    MimicRules()
    {
        io.applySelection();  // no interface, in simulation: everything offered
        auto set = parseMimicSet(rulesSet().str(), false);
        EXPECT_TRUE(set.ok());
        display.setView(&view);
        MimicPictures pictures{};
        for (auto& p : pictures) p = {true, 10, 10};
        display.replace(set.value(), pictures);
        clicks.setEditorKeys(&keys);
        clicks.setReleaseTimer([this] { ++timersStarted; });
        view.changes.clear();
        view.replaced = 0;
    }
    int state(int object) const { return display.object(object).state; }
    std::string text(int object) const
    {
        return std::string(display.object(object).texts[0].view());
    }
    int input(int i) const { return io.image().inputs[idx(i)]; }
    void click(int object, MouseButton b = MouseButton::Left)
    {
        const MimicObject& o = display.object(object);
        clicks.click((o.left + o.right) / 2, (o.top + o.bottom) / 2, b);
    }

    InterfaceLayer io;
    std::array<int, 8> levels{};
    bool running = false;
    ManualControl control{io, levels, [this] { return running; }};
    TenthChannels channels{io.image()};
    MimicDisplay display{io, channels};
    MimicClicks clicks{display, io, control, channels, [this] { return running; }};
    Recorder view{display};
    Keys keys;
    int timersStarted = 0;
};

TEST_F(MimicRules, OutputsSetEveryLinkedObjectInputsTheFirstTwo)
{
    io.setOutput(0, 1);
    EXPECT_EQ(state(1), 1);
    EXPECT_EQ(state(3), 1);  // the third output link follows
    EXPECT_EQ(view.changes,
              (std::vector<Change>{{1, MimicChange::State, 1}, {3, MimicChange::State, 1}}));
    io.setOutput(0, 1);  // no change, nothing redrawn
    EXPECT_EQ(view.changes.size(), 2u);
    io.setOutput(0, 0);
    EXPECT_EQ(state(1), 0);

    view.changes.clear();
    io.setInput(0, 1);
    EXPECT_EQ(state(2), 1);
    EXPECT_EQ(state(1), 0);  // the second link is -1: the third is not reached
    EXPECT_EQ(view.changes, (std::vector<Change>{{2, MimicChange::State, 1}}));
}

TEST_F(MimicRules, AMotorShowsForwardReverseAndWhereItStopped)
{
    io.setMotor(0, kMotorForward);
    EXPECT_EQ(state(6), 1);
    EXPECT_EQ(state(7), 1);
    io.setMotor(0, kMotorOff);
    EXPECT_EQ(state(6), 2);  // stopped after forward
    EXPECT_EQ(state(7), 2);
    io.setMotor(0, kMotorReverse);
    EXPECT_EQ(state(6), 3);
    io.setMotor(0, kMotorOff);
    EXPECT_EQ(state(6), 0);
    io.setMotor(0, kMotorOff);
    EXPECT_EQ(state(6), 0);
    io.setMotor(0, kMotorForward);
    io.setMotor(0, kMotorReverse);
    io.setMotor(0, kMotorOff);
    EXPECT_EQ(state(6), 0);  // after reverse: 0
    EXPECT_EQ(view.changes.size(), 2u * 7);
}

TEST_F(MimicRules, InSimulationAStartingMotorLeavesItsLimitSwitch)
{
    io.setInput(2, 1);  // input 3: released when the motor starts forward
    io.setInput(3, 1);  // input 4: released when it starts in reverse
    view.changes.clear();
    io.setMotor(0, kMotorForward);
    EXPECT_EQ(input(2), 0);
    EXPECT_EQ(input(3), 1);
    // The motor's objects are redrawn first, then the switch's.
    EXPECT_EQ(view.changes, (std::vector<Change>{{6, MimicChange::State, 1},
                                                 {7, MimicChange::State, 1},
                                                 {5, MimicChange::State, 0}}));
    io.setInput(2, 1);
    io.setMotor(0, kMotorForward);  // still running: not a start
    EXPECT_EQ(input(2), 1);
    io.setMotor(0, kMotorReverse);
    EXPECT_EQ(input(3), 0);
    EXPECT_EQ(input(2), 1);

    // With a live interface the switches are the box's own.
    io.setMotor(0, kMotorOff);
    io.setInput(3, 1);
    io.flags.simulate = false;
    io.setMotor(0, kMotorReverse);
    EXPECT_EQ(state(6), 3);
    EXPECT_EQ(input(3), 1);
}

TEST_F(MimicRules, ValuesWithTheChannelsDecimalsAndOneFewer)
{
    io.setAnalogue(0, 123);  // 12.3
    EXPECT_EQ(text(8), "12");
    EXPECT_EQ(text(9), "12");
    channels.decimals_[0] = 1;
    io.setAnalogue(0, 126);
    EXPECT_EQ(text(8), "12.6");
    EXPECT_EQ(text(9), "13");
    channels.decimals_[0] = 2;
    io.setAnalogue(0, 127);
    EXPECT_EQ(text(8), "12.70");
    EXPECT_EQ(text(9), "12.7");
    EXPECT_EQ(view.changes.back(), (Change{9, MimicChange::Value, 0}));
    io.setAnalogue(1, 55);  // a channel with one object
    EXPECT_EQ(text(12), "6");
}

TEST_F(MimicRules, VariablesUpToSevenCharacters)
{
    display.showVariable(4, -123456);
    EXPECT_EQ(text(10), "-123456");
    EXPECT_EQ(view.changes.back(), (Change{10, MimicChange::Text, 0}));
    display.showVariable(4, 9999999);
    EXPECT_EQ(text(10), "9999999");
    display.showVariable(4, -1234567);  // eight characters: kept as it was
    EXPECT_EQ(text(10), "9999999");
    display.showVariable(0, 5);  // not linked
    EXPECT_EQ(view.changes.size(), 2u);
}

TEST_F(MimicRules, AnotherSetStartsAtStateZero)
{
    io.setOutput(0, 1);
    io.setMotor(0, kMotorForward);
    display.replace(display.set(), {});
    EXPECT_EQ(state(1), 0);
    EXPECT_EQ(state(6), 0);
    io.setMotor(0, kMotorOff);  // the new set saw no forward
    EXPECT_EQ(state(6), 0);
    EXPECT_EQ(view.replaced, 1);
    display.clear();
    io.setOutput(1, 1);
    EXPECT_EQ(display.objectCount(), 0);
}

// ---- Clicks ----------------------------------------------------------------

TEST_F(MimicRules, InputClicksToggleAMomentaryOneIsLetGo)
{
    click(5);  // input 3, momentary
    EXPECT_EQ(input(2), 1);
    EXPECT_EQ(clicks.momentaryInput(), 2);
    EXPECT_EQ(timersStarted, 1);
    click(5);  // held: a second click leaves it on
    EXPECT_EQ(input(2), 1);
    // A second momentary button lets the first go at once.
    click(4);
    EXPECT_EQ(input(2), 0);
    EXPECT_EQ(input(1), 1);
    EXPECT_EQ(clicks.momentaryInput(), 1);
    EXPECT_EQ(timersStarted, 2);
    clicks.releaseMomentary();
    EXPECT_EQ(input(1), 0);
    EXPECT_EQ(clicks.momentaryInput(), -1);
    clicks.releaseMomentary();  // nothing held
    EXPECT_EQ(input(1), 0);

    // A plain switch (input 1 through object 2) toggles, also while a chart runs.
    running = true;
    click(2, MouseButton::Right);
    EXPECT_EQ(input(0), 1);
    EXPECT_EQ(state(2), 1);
    click(2);
    EXPECT_EQ(input(0), 0);
    // Not in simulation: the box's inputs are not the pupil's.
    running = false;
    io.flags.simulate = false;
    click(2);
    EXPECT_EQ(input(0), 0);
}

TEST_F(MimicRules, ValueClicksStepByTenWithinTheLimits)
{
    auto raw = [&](int c) { return io.image().analogue[idx(c)]; };
    // No sensor: 0..100.
    io.setAnalogue(0, 950);  // 95
    click(8);
    EXPECT_EQ(raw(0), 1000);  // 100
    EXPECT_EQ(text(8), "100");
    io.setAnalogue(0, 50);  // 5
    click(9, MouseButton::Right);
    EXPECT_EQ(raw(0), 0);
    click(9);
    click(9);
    EXPECT_EQ(raw(0), 200);
    // The step starts from the value shown: 20.4 is shown as 20.
    io.setAnalogue(0, 204);
    click(8);
    EXPECT_EQ(raw(0), 300);
    // A sensor's own limits, a step past one ends on it.
    channels.ranges[0] = ValueRange{-20.0, 45.0};
    channels.decimals_[0] = 1;
    io.setAnalogue(0, 400);
    click(8);
    EXPECT_EQ(raw(0), 450);
    io.setAnalogue(0, 0);
    click(8, MouseButton::Right);
    EXPECT_EQ(raw(0), 0);  // -10 within -20..45, the reading's floor is 0 here
    // A coarse sensor: each click aims at the next ten, not at the reading.
    channels.granularity = 7;
    channels.ranges[0].reset();
    io.setAnalogue(0, 0);
    for (int k = 0; k < 3; ++k) click(8);
    EXPECT_EQ(raw(0), 301);  // 30.1, where the readings 9.8, 19.6, 29.4 would drift
    channels.granularity = 1;
    io.setAnalogue(0, 0);  // someone else set it: the step starts from what is shown
    // Also while a chart runs; never with a live interface.
    running = true;
    click(8);
    EXPECT_EQ(raw(0), 100);
    io.flags.simulate = false;
    click(8);
    EXPECT_EQ(raw(0), 100);
}

TEST_F(MimicRules, OutputAndMotorClicksOnlyWhileNoChartRuns)
{
    click(1);  // output 1
    EXPECT_EQ(io.image().outputs[0], 1);
    EXPECT_EQ(state(1), 1);
    EXPECT_EQ(state(3), 1);
    click(1, MouseButton::Right);
    EXPECT_EQ(io.image().outputs[0], 0);

    // Left: a stopped motor starts forward, a running one stops.
    click(6);
    EXPECT_EQ(io.motorState(0), kMotorForward);
    EXPECT_EQ(state(6), 1);
    click(6);
    EXPECT_EQ(io.motorState(0), kMotorOff);
    EXPECT_EQ(state(6), 2);
    // Right: forward goes to reverse, reverse stops.
    click(6);
    click(6, MouseButton::Right);
    EXPECT_EQ(io.motorState(0), kMotorReverse);
    click(6, MouseButton::Left);  // a left click stops a motor in reverse
    EXPECT_EQ(io.motorState(0), kMotorOff);
    click(6, MouseButton::Right);
    click(6, MouseButton::Right);
    EXPECT_EQ(io.motorState(0), kMotorOff);
    // Object 7 is linked but not clickable.
    click(7);
    EXPECT_EQ(io.motorState(0), kMotorOff);

    running = true;
    click(1);
    click(6);
    EXPECT_EQ(io.image().outputs[0], 0);
    EXPECT_EQ(io.motorState(0), kMotorOff);
}

TEST_F(MimicRules, LabelsPressTheKeysAnOpenEditorTakes)
{
    // Hidden labels and no editor press nothing; the label still switches output 2.
    click(11);
    EXPECT_TRUE(keys.pressed.empty());
    EXPECT_EQ(io.image().outputs[1], 1);
    display.setShowLabels(true);
    click(11);
    EXPECT_TRUE(keys.pressed.empty());
    keys.editor = EditorKind::Output;
    click(11);
    EXPECT_EQ(keys.pressed, (std::vector<int>{key::out::Output, key::digit(2)}));
    keys.pressed.clear();
    keys.editor = EditorKind::Decision;  // "out " means nothing there
    click(11);
    EXPECT_TRUE(keys.pressed.empty());
    running = true;
    keys.editor = EditorKind::Output;
    click(11);
    EXPECT_TRUE(keys.pressed.empty());
}

TEST(MimicLabelKeys, EachTextItsKeysInItsEditor)
{
    using V = std::vector<int>;
    EXPECT_EQ(labelKeys("out 3", EditorKind::Output), (V{key::out::Output, key::digit(3)}));
    EXPECT_EQ(labelKeys("out 0", EditorKind::Output), (V{key::out::Output, key::digit(0)}));
    EXPECT_EQ(labelKeys("mot b", EditorKind::Output), (V{key::out::Motor, 23}));
    EXPECT_EQ(labelKeys("mot C", EditorKind::Output), (V{key::out::Motor, 24}));
    EXPECT_EQ(labelKeys("mot e", EditorKind::Output), (V{key::out::Motor}));
    EXPECT_EQ(labelKeys("in 7", EditorKind::Decision), (V{key::deci::Input, key::digit(7)}));
    EXPECT_EQ(labelKeys("val 2", EditorKind::Decision), (V{key::deci::Val, key::digit(2)}));
    EXPECT_EQ(labelKeys("in 7", EditorKind::Output), V{});
    EXPECT_EQ(labelKeys("val 2", EditorKind::Output), V{});
    EXPECT_EQ(labelKeys("out 1", EditorKind::Other), V{});
    EXPECT_EQ(labelKeys("inicio", EditorKind::Decision), V{});
    EXPECT_EQ(labelKeys("Luz", EditorKind::Output), V{});
}

TEST(MimicChannelText, FormatsByDecimals)
{
    EXPECT_EQ(channelValueText(21.456, 2), "21.46");
    EXPECT_EQ(channelValueText(21.456, 1), "21.5");
    EXPECT_EQ(channelValueText(21.456, 0), "21");
    EXPECT_EQ(channelValueText(21.456, 3), "21");
    EXPECT_EQ(channelValueTextShort(21.456, 2), "21.5");
    EXPECT_EQ(channelValueTextShort(21.456, 1), "21");
}

TEST(MimicChannels, TheSensorsGiveDecimalsLimitsAndReadings)
{
    FlowDocument doc;
    InterfaceLayer io;
    SensorChannels sensors(doc, io);
    sensors.reloadTable(std::string(TARVEL_DATA_DIR) + "/SENSORS/OTHERS");
    const int temperature = sensors.table().lastWithId(2);
    ASSERT_GE(temperature, 0);
    sensors.choose(0, temperature);
    sensors.choose(2, kSensorNone);
    SensorMimicChannels channels(sensors);

    EXPECT_EQ(channels.decimals(0), 1);
    ASSERT_TRUE(channels.sensorRange(0));
    EXPECT_EQ(channels.sensorRange(0)->minimum, -20.0);
    EXPECT_EQ(channels.sensorRange(0)->maximum, 110.0);
    for (const double wanted : {-10.0, 0.0, 20.0, 35.5, 90.0}) {
        io.setAnalogue(0, channels.rawFor(0, wanted));
        EXPECT_NEAR(channels.value(0), wanted, 0.2) << wanted;
    }
    // Percent, and no sensor at all.
    EXPECT_EQ(channels.decimals(1), 0);
    EXPECT_FALSE(channels.sensorRange(1));
    EXPECT_EQ(channels.rawFor(1, 50.0), 512);
    EXPECT_EQ(channels.rawFor(1, 100.0), 1024);
    EXPECT_FALSE(channels.sensorRange(2));
    io.setAnalogue(2, 700);
    EXPECT_EQ(channels.value(2), 0.0);
}

}  // namespace
}  // namespace tarvel
