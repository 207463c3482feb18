// `tarvel box` and `tarvel run --interface` together over a real
// pseudo-terminal and the serial link, as a teacher runs them from a shell.

#include <gtest/gtest.h>

#include <chrono>

#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/protocols/protocol_context.h"
#include "support/box_process.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

using test::BoxProcess;
using test::ToolRun;

// Bounds for a machine that may be slow and shared: a whole run, and a run
// that ends in the handler (a one-byte read waits about a second at most,
// and the handler's reconnect may wait once more).
constexpr int kRunLimitS = 120;
constexpr double kFailureBoundS = 15.0;

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c != '\n') {
            line += c;
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    return lines;
}

// The text after the centisecond.
std::string event(const std::string& line)
{
    const std::size_t space = line.find(' ');
    return space == std::string::npos ? line : line.substr(space + 1);
}

class LiveRun : public ::testing::Test {
protected:
    test::TempDir dir;

    // Lamp 1 on, motor B forward at 60 %, then waits for input 3, reads
    // channel 1 into a, and switches the lamp off again.
    std::string chart()
    {
        FlowDocument doc;
        test::ChartBuilder c(doc);
        const int start = c.start(), lamp = c.out("Turn Output 1 on"),
                  motor = c.out("Turn Motor b fd 60"), wait = c.decide("Is Input 3 on"),
                  read = c.proc("Let a = Val 1"), off = c.out("Turn Output 1 off"), stop = c.stop();
        c.chain({start, lamp, motor, wait});
        c.join(wait, read, LineKind::Yes);
        c.join(wait, wait, LineKind::No);
        c.chain({read, off, stop});
        InterfaceSettings s;
        s.mode = 1;
        s.model = 1;
        s.numbering = 1;
        const std::string path = (dir.path() / "LIVE.FLO").string();
        EXPECT_TRUE(saveFlowFile(doc, path, s, test::ignoredMessages()));
        return path;
    }

    ToolRun run(const std::string& device, std::vector<std::string> extra = {})
    {
        std::vector<std::string> args{std::to_string(kRunLimitS),
                                      TARVEL_TOOL_PATH,
                                      "run",
                                      "--interface",
                                      "1",
                                      "--port",
                                      device,
                                      "--ticks",
                                      "400",
                                      "--interval",
                                      "20"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(chart());
        const auto begin = std::chrono::steady_clock::now();
        ToolRun r = test::runTool("timeout", args, dir.path());
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return r;
    }

    double seconds = 0;
};

TEST_F(LiveRun, TheChartDrivesTheBoxAndReadsItsInputsAndValues)
{
    BoxProcess box(TARVEL_TOOL_PATH, {"1"});
    ASSERT_FALSE(box.device().empty());
    box.send("in 3 on");
    box.send("val 1 700");
    ASSERT_EQ(box.readLines(5000, 2), (std::vector<std::string>{"in 3 on", "val 1 700"}));

    const ToolRun r = run(box.device());
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> trace;
    for (const std::string& l : splitLines(r.out)) trace.push_back(event(l));
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), "end stop") << r.out;
    EXPECT_TRUE(contains(trace, "output 1 on")) << r.out;
    EXPECT_TRUE(contains(trace, "power 3 60")) << r.out;
    EXPECT_TRUE(contains(trace, "output 1 off")) << r.out;
    // The value came from the box: a is set from channel 1.
    bool assigned = false;
    for (const std::string& l : trace) assigned |= l.rfind("var a ", 0) == 0 && l != "var a 0";
    EXPECT_TRUE(assigned) << r.out;

    // The box saw it all: the reset and full power of the start, the lamp,
    // the motor's line and its power level, and everything off at the stop.
    const std::vector<std::string> seen = box.readLines(5000);
    EXPECT_EQ(seen.front(), "reset");
    EXPECT_TRUE(contains(seen, "power 1 100"));
    EXPECT_TRUE(contains(seen, "output 1 on"));
    EXPECT_TRUE(contains(seen, "output 3 on"));  // motor B forward: its first line
    EXPECT_TRUE(contains(seen, "power 3 58"));   // 60 % is 18 of 31 steps
    EXPECT_TRUE(contains(seen, "output 1 off"));
    EXPECT_EQ(seen.back(), "reset");
    EXPECT_TRUE(contains(seen, "output 3 off"));
}

// Each way a box can misbehave ends in the one message, once, soon.
TEST_F(LiveRun, EveryMisbehaviourEndsInTheHandlersMessage)
{
    const std::string ending = "end " + std::string(kLinkErrorText);
    const std::vector<std::vector<std::string>> faults{
        {"--silent"}, {"--wrong-ack"}, {"--garbage"}, {"--stop-after", "12"}};
    for (const auto& fault : faults) {
        std::vector<std::string> args{"1"};
        args.insert(args.end(), fault.begin(), fault.end());
        BoxProcess box(TARVEL_TOOL_PATH, args);
        ASSERT_FALSE(box.device().empty()) << fault[0];
        box.send("in 3 on");
        const ToolRun r = run(box.device());
        EXPECT_EQ(r.status, 0) << fault[0] << r.err;
        const std::vector<std::string> lines = splitLines(r.out);
        ASSERT_FALSE(lines.empty()) << fault[0];
        EXPECT_EQ(event(lines.back()), ending) << fault[0] << '\n' << r.out;
        EXPECT_EQ(r.out.find(kLinkErrorText), r.out.rfind(kLinkErrorText)) << fault[0];
        EXPECT_LT(seconds, kFailureBoundS) << fault[0];
    }
}

TEST_F(LiveRun, ADeviceThatIsNotThereEndsInTheMessage)
{
    const ToolRun r = run((dir.path() / "no-such-port").string());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 1u) << r.out;
    EXPECT_EQ(event(lines.back()), "end " + std::string(kLinkErrorText));
    EXPECT_LT(seconds, kFailureBoundS);
}

TEST_F(LiveRun, OptionsThatDoNotApplyAreRefused)
{
    const std::string path = chart();
    ToolRun r = test::runTool(
        TARVEL_TOOL_PATH,
        {"run", "--interface", "1", "--port", "/dev/null", "--input", "1=on@10", path}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--input y --value no valen con --interface"), std::string::npos);
    EXPECT_TRUE(r.out.empty());

    // A port without an interface, an interface without a port.
    r = test::runTool(TARVEL_TOOL_PATH, {"run", "--port", "/dev/null", path}, dir.path());
    EXPECT_EQ(r.status, 2);
    r = test::runTool(TARVEL_TOOL_PATH, {"run", "--interface", "1", path}, dir.path());
    EXPECT_EQ(r.status, 2);
    // No interface model to drive, and no box for a model without one.
    r = test::runTool(TARVEL_TOOL_PATH, {"run", "--interface", "0", "--port", "/dev/null", path},
                      dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no se puede usar con --interface"), std::string::npos);
    r = test::runTool(TARVEL_TOOL_PATH, {"box", "0"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No hay caja simulada"), std::string::npos);
    r = test::runTool(TARVEL_TOOL_PATH, {"box", "1", "--stop-after", "x"}, dir.path());
    EXPECT_EQ(r.status, 2);
}

}  // namespace
}  // namespace tarvel
