// `tarvel box firmata` and `tarvel run --interface 14` together over a real
// pseudo-terminal: the board's restart as its port opens, the pin map, the
// traffic lights on their pins, a light sensor through the shipped
// calibration, and a board that fails.

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/chart_builder.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_model.h"
#include "interfaces/protocols/protocol_context.h"
#include "platform/file_io.h"
#include "support/box_process.h"
#include "support/fake_messages.h"
#include "support/live_chart_run.h"
#include "support/live_trace.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

using test::BoxProcess;
using test::contains;
using test::events;

// A silent board is given 4 s at the start-up and as long at the handler's
// reconnect; one that stops mid-run fails its heartbeat within a second.
constexpr double kFailureBoundS = 15.0;

class LiveFirmata : public ::testing::Test {
protected:
    test::TempDir dir;
    test::LiveChartRun live{ModelFirmata};
    double seconds = 0;

    // The initialisation file is looked for in a folder of the test's own.
    void SetUp() override { setenv("TARVEL_WINDIR", dir.path().c_str(), 1); }
    void TearDown() override { unsetenv("TARVEL_WINDIR"); }

    test::ToolRun run(const std::string& chart, const std::string& device, int ticks)
    {
        test::ToolRun r = live.run(chart, device, ticks);
        seconds = live.seconds;
        return r;
    }

    // Channel 1 holds the light sensor; a takes its value, and output 1
    // comes on once the light passes 50 %.
    std::string lightChart()
    {
        FlowDocument doc;
        test::ChartBuilder c(doc);
        const int s = c.start(), read = c.proc("Let a = Val 1"), bright = c.decide("Is Val 1 > 50"),
                  lamp = c.out("Turn Output 1 on"), stop = c.stop();
        c.chain({s, read, bright});
        c.join(bright, lamp, LineKind::Yes);
        c.join(bright, read, LineKind::No);
        c.join(lamp, stop);
        doc.sensorAssignment[0] = 1;  // LUZ.CAL
        InterfaceSettings settings;
        settings.mode = 1;
        settings.model = ModelFirmata;
        settings.numbering = 1;
        const std::string path = (dir.path() / "LUZ.FLO").string();
        EXPECT_TRUE(saveFlowFile(doc, path, settings, test::ignoredMessages()));
        return path;
    }

    static std::string trafficLights()
    {
        return std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/SEMAFORO.FLO";
    }
};

// The position of the first line equal to `line`, or -1.
int firstAt(const std::vector<std::string>& lines, const std::string& line)
{
    const auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

TEST_F(LiveFirmata, TheTrafficLightsSwitchTheirPinsInOrder)
{
    BoxProcess box(TARVEL_TOOL_PATH, {"firmata"});
    ASSERT_FALSE(box.device().empty());
    // Ten seconds: green, amber and red for the cars; the walkers' red and
    // green.
    const test::ToolRun r = run(trafficLights(), box.device(), 500);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> trace = events(r.out);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), "end ticks") << r.out;

    const std::vector<std::string> seen = box.readLines(5000);
    ASSERT_FALSE(seen.empty());
    // The board restarted as its port opened, and was set up afterwards:
    // every mapped pin with its mode, never the serial line's pins.
    EXPECT_EQ(seen.front(), "boot");
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "boot"), 1);
    for (const char* set : {"pin 2 output", "pin 3 pwm", "pin 10 pullup", "pin 19 pullup",
                            "pin 14 analog", "pin 17 analog"})
        EXPECT_TRUE(contains(seen, set)) << set;
    for (const std::string& l : seen) {
        EXPECT_NE(l.rfind("pin 0 ", 0), 0u) << l;
        EXPECT_NE(l.rfind("pin 1 ", 0), 0u) << l;
        // No pin outside the map was driven.
        EXPECT_FALSE(l.size() > 4 && l.rfind("pin ", 0) == 0 &&
                     (l.ends_with(" on") || l.ends_with(" off")))
            << l;
    }
    // Cars: green (D4), amber (D3, full duty), red (D2); walkers: red (D5),
    // then green (D6).
    const int green = firstAt(seen, "output 3 on"), amber = firstAt(seen, "output 2 on"),
              red = firstAt(seen, "output 1 on");
    ASSERT_GE(green, 0);
    EXPECT_GT(amber, green);
    EXPECT_GT(firstAt(seen, "output 3 off"), green);
    EXPECT_GT(red, amber);
    EXPECT_TRUE(contains(seen, "power 2 100"));
    EXPECT_LT(firstAt(seen, "output 4 on"), firstAt(seen, "output 5 on"));
    EXPECT_GE(firstAt(seen, "output 5 on"), 0);
    // Everything off at the end.
    EXPECT_EQ(seen.back().rfind("output ", 0), 0u);
    EXPECT_TRUE(seen.back().ends_with(" off")) << seen.back();
}

TEST_F(LiveFirmata, ALightSensorReadsInPercentThroughTheShippedCalibration)
{
    const std::string chart = lightChart();
    // 700 of 1023 is 68 % of the scale, but only a dim 43 % of light for the
    // LDR: the lamp stays off.
    {
        BoxProcess box(TARVEL_TOOL_PATH, {"14"});
        ASSERT_FALSE(box.device().empty());
        box.send("val 1 700");
        ASSERT_EQ(box.readLines(5000, 1), (std::vector<std::string>{"val 1 700"}));
        const test::ToolRun r = run(chart, box.device(), 100);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> trace = events(r.out);
        EXPECT_TRUE(contains(trace, "var a 43")) << r.out;
        EXPECT_FALSE(contains(trace, "output 1 on")) << r.out;
        EXPECT_EQ(trace.back(), "end ticks") << r.out;
    }
    // 900 is 62 % of light: the lamp comes on and the chart stops.
    BoxProcess box(TARVEL_TOOL_PATH, {"14"});
    ASSERT_FALSE(box.device().empty());
    box.send("val 1 900");
    ASSERT_EQ(box.readLines(5000, 1), (std::vector<std::string>{"val 1 900"}));
    const test::ToolRun r = run(chart, box.device(), 300);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> trace = events(r.out);
    EXPECT_TRUE(contains(trace, "var a 62")) << r.out;
    EXPECT_TRUE(contains(trace, "output 1 on")) << r.out;
    EXPECT_EQ(trace.back(), "end stop") << r.out;
    EXPECT_TRUE(contains(box.readLines(5000), "output 1 on"));
}

// A board that never answers, garbles its version, or stops mid-run ends in
// the handler's message, once, soon.
TEST_F(LiveFirmata, EveryMisbehaviourEndsInTheHandlersMessage)
{
    const std::string ending = "end " + std::string(kLinkErrorText);
    for (const auto& fault : std::vector<std::vector<std::string>>{
             {"--silent"}, {"--wrong-ack"}, {"--stop-after", "26"}}) {
        std::vector<std::string> args{"firmata"};
        args.insert(args.end(), fault.begin(), fault.end());
        BoxProcess box(TARVEL_TOOL_PATH, args);
        ASSERT_FALSE(box.device().empty()) << fault[0];
        const test::ToolRun r = run(trafficLights(), box.device(), 1000);
        EXPECT_EQ(r.status, 0) << fault[0] << r.err;
        const std::vector<std::string> trace = events(r.out);
        ASSERT_FALSE(trace.empty()) << fault[0];
        EXPECT_EQ(trace.back(), ending) << fault[0] << '\n' << r.out;
        EXPECT_EQ(r.out.find(kLinkErrorText), r.out.rfind(kLinkErrorText)) << fault[0];
        EXPECT_LT(seconds, kFailureBoundS) << fault[0];
        // The board that stopped had started the run.
        if (fault[0] == "--stop-after") {
            EXPECT_TRUE(contains(trace, "output 3 on")) << r.out;
        }
    }
}

TEST_F(LiveFirmata, ARefusedPinMapDrivesNoBoard)
{
    ASSERT_EQ(writeFileReplacing((dir.path() / "TARVEL2.INI").string(),
                                 "[LOCATIONS]\r\n[FIRMATA]\r\nOUT1=13\r\n"),
              WriteResult::Ok);
    BoxProcess box(TARVEL_TOOL_PATH, {"firmata"});
    ASSERT_FALSE(box.device().empty());
    const test::ToolRun r = run(trafficLights(), box.device(), 50);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("el pin 13 se usa dos veces, en OUT1 y en IN4."), std::string::npos)
        << r.err;
    EXPECT_TRUE(box.readLines(1000).empty());  // the port was never opened
}

}  // namespace
}  // namespace tarvel
