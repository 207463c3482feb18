// The example charts that ship with the program: the files are what the
// generator makes, and each one runs as its title promises.

#include <gtest/gtest.h>

#include "engine/interpreter.h"
#include "example_charts.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_layer.h"
#include "sensors/sensor_channels.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

class ExampleRun {
public:
    explicit ExampleRun(const std::string& fileName)
    {
        FlowLoadContext ctx;
        loaded = loadFlowFile(doc, std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/" + fileName, ctx,
                              messages, false)
                     .ok();
        io.setSliderLevels(&doc.outputLevels);
        io.applySelection();
        run.setChannelValues(&channels);
    }
    // Runs for `seconds` of the virtual clock, 20 ms a tick.
    void runFor(double seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds * 50) && run.running(); ++i) {
            clock.advance(20);
            run.timerTick();
            for (int k = 0; k < 8; ++k)
                if (io.image().outputs[static_cast<std::size_t>(k)] &&
                    !lastOut[static_cast<std::size_t>(k)])
                    ++switchedOn[static_cast<std::size_t>(k)];
            lastOut = io.image().outputs;
        }
    }

    test::FakeMessages messages;
    test::FakeClock clock;
    FlowDocument doc{&messages};
    InterfaceLayer io;
    SpeedSettings speed;
    Interpreter run{doc, io, clock, messages, speed};
    SensorChannels channels{doc, io};
    bool loaded = false;
    std::array<int, 8> lastOut{};
    std::array<int, 8> switchedOn{};
};

TEST(ExampleCharts, TheShippedFilesAreWhatTheGeneratorMakes)
{
    for (auto& chart : examples::makeExampleCharts()) {
        std::string shipped;
        ASSERT_TRUE(
            readWholeFile(std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/" + chart.fileName, shipped))
            << chart.fileName;
        EXPECT_EQ(shipped, serializeFlowFile(chart.doc, InterfaceSettings{})) << chart.fileName;
        // Every symbol has been given its text and every line stays inside the drawing.
        for (int i = 0; i < chart.doc.symbolCount(); ++i)
            EXPECT_FALSE(chart.doc.symbol(i).text.empty());
        // No label lost words to its field's length.
        for (int i = 0; i < chart.doc.labelCount(); ++i)
            EXPECT_LT(chart.doc.label(i).text.size(), static_cast<std::size_t>(kLabelTextMax));
        for (int i = 0; i < chart.doc.lineCount(); ++i)
            for (int p = 0; p < chart.doc.line(i).pointCount(); ++p) {
                const Point pt = chart.doc.line(i).geometry.points[static_cast<std::size_t>(p)];
                EXPECT_TRUE(pt.x >= 0 && pt.x <= kDrawingWidth && pt.y >= 0 &&
                            pt.y <= kDrawingHeight);
            }
    }
}

TEST(ExampleCharts, TrafficLightsRunTwoTasks)
{
    ExampleRun r("SEMAFORO.FLO");
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.run.start());
    EXPECT_EQ(r.run.taskCount(), 2);
    r.runFor(30);
    EXPECT_TRUE(r.run.running());
    EXPECT_TRUE(r.messages.empty());
    for (const int out : {0, 1, 2, 3, 4})
        EXPECT_GE(r.switchedOn[static_cast<std::size_t>(out)], 2) << out + 1;
}

TEST(ExampleCharts, TheLighthouseFlashesThreeTimesAPause)
{
    ExampleRun r("FARO.FLO");
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.run.start());
    r.runFor(3.5);  // three flashes of a second each
    EXPECT_EQ(r.switchedOn[0], 3);
    r.runFor(1.5);  // the pause
    EXPECT_EQ(r.switchedOn[0], 3);
    r.runFor(1);
    EXPECT_EQ(r.switchedOn[0], 4);
    EXPECT_TRUE(r.messages.empty());
}

TEST(ExampleCharts, TheBarrierRisesWhenThePushButtonIsPressed)
{
    ExampleRun r("BARRERA.FLO");
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.run.start());
    r.runFor(1);
    EXPECT_EQ(r.io.motorState(0), kMotorOff);
    r.io.setInput(0, 1);
    r.runFor(0.2);
    EXPECT_EQ(r.io.motorState(0), kMotorForward);
    r.io.setInput(0, 0);
    r.runFor(3);
    EXPECT_EQ(r.io.motorState(0), kMotorOff);
    r.runFor(4);
    EXPECT_EQ(r.io.motorState(0), kMotorReverse);
    EXPECT_TRUE(r.messages.empty());
}

TEST(ExampleCharts, TheCounterLightsAfterFivePresses)
{
    ExampleRun r("CONTADOR.FLO");
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.run.start());
    for (int press = 0; press < 5; ++press) {
        EXPECT_EQ(r.io.image().outputs[0], 0) << press;
        r.io.setInput(0, 1);
        r.runFor(0.2);
        r.io.setInput(0, 0);
        r.runFor(0.2);
    }
    EXPECT_EQ(r.io.image().outputs[0], 1);
    EXPECT_EQ(r.run.variables()[static_cast<std::size_t>(variableIndex('n'))], 5);
    EXPECT_TRUE(r.messages.empty());
}

}  // namespace
}  // namespace tarvel
