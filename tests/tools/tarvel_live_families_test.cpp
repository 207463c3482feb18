// `tarvel box` and `tarvel run --interface` together over a real
// pseudo-terminal for the Sense and Control, MFA and Contact Controller
// families: a chart that drives each box, and each way a box misbehaves.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/protocols/protocol_context.h"
#include "support/box_process.h"
#include "support/fake_messages.h"
#include "support/live_trace.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

using test::BoxProcess;
using test::contains;
using test::ToolRun;

// Bounds for a machine that may be slow and shared: a whole run, and a run
// that ends in the handler.
constexpr int kRunLimitS = 120;
constexpr double kFailureBoundS = 15.0;

// One family as the tool names it, with what its box shows of the chart.
struct Family {
    std::string name;  // "MODEL[:SUB]"
    int model = 0;
    int subModel = 0;
    // What the box prints for motor B forward at 60 %.
    std::vector<std::string> motorLines;
    // What the box prints once at the start-up (its system, ...), if anything.
    std::string startUpLine;
    int stopAfter = 12;
};

class LiveFamily : public ::testing::Test {
protected:
    test::TempDir dir;
    double seconds = 0;

    // The sensors folder, with a system image for the Sense and Control box.
    std::string sensors()
    {
        const auto folder = dir.path() / "SENSORS";
        std::filesystem::create_directories(folder);
        std::ofstream image(folder / "SACOS_4", std::ios::binary);
        for (int i = 0; i < 4096; ++i) image.put(static_cast<char>(i % 251));
        return folder.string();
    }

    // Lamp 1 on, motor B forward at 60 %, then waits for input 3, reads
    // channel 1 into a, and switches the lamp off again.
    std::string chart(const Family& f)
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
        s.model = f.model;
        s.subModel = f.subModel;
        s.numbering = 1;
        const std::string path = (dir.path() / "LIVE.FLO").string();
        EXPECT_TRUE(saveFlowFile(doc, path, s, test::ignoredMessages()));
        return path;
    }

    ToolRun run(const Family& f, const std::string& device)
    {
        const std::vector<std::string> args{std::to_string(kRunLimitS),
                                            TARVEL_TOOL_PATH,
                                            "run",
                                            "--interface",
                                            f.name,
                                            "--port",
                                            device,
                                            "--sensors",
                                            sensors(),
                                            "--ticks",
                                            "400",
                                            "--interval",
                                            "20",
                                            chart(f)};
        const auto begin = std::chrono::steady_clock::now();
        ToolRun r = test::runTool("timeout", args, dir.path());
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return r;
    }

    void drivesTheBox(const Family& f)
    {
        SCOPED_TRACE(f.name);
        BoxProcess box(TARVEL_TOOL_PATH, {f.name});
        ASSERT_FALSE(box.device().empty());
        box.send("in 3 on");
        box.send("val 1 700");
        ASSERT_EQ(box.readLines(5000, 2), (std::vector<std::string>{"in 3 on", "val 1 700"}));

        const ToolRun r = run(f, box.device());
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> trace = test::events(r.out);
        ASSERT_FALSE(trace.empty());
        EXPECT_EQ(trace.back(), "end stop") << r.out;
        EXPECT_TRUE(contains(trace, "output 1 on")) << r.out;
        EXPECT_TRUE(contains(trace, "output 1 off")) << r.out;
        // The value came from the box: a is set from channel 1.
        bool assigned = false;
        for (const std::string& l : trace) assigned |= l.rfind("var a ", 0) == 0 && l != "var a 0";
        EXPECT_TRUE(assigned) << r.out;

        // The box saw the lamp go on and off, the motor, and all off at the stop.
        const std::vector<std::string> seen = box.readLines(5000);
        ASSERT_FALSE(seen.empty());
        if (!f.startUpLine.empty()) {
            EXPECT_EQ(seen.front(), f.startUpLine);
        }
        EXPECT_TRUE(contains(seen, "output 1 on"));
        EXPECT_TRUE(contains(seen, "output 1 off"));
        for (const std::string& l : f.motorLines)
            EXPECT_TRUE(contains(seen, l)) << l << '\n' << r.out;
        const std::string last = seen.back();
        EXPECT_TRUE(last == "output 3 off" || last == "motor B off") << last;
    }

    // Each way a box can misbehave ends in the one message, once, soon.
    void everyMisbehaviourEndsInTheMessage(const Family& f)
    {
        const std::string ending = "end " + std::string(kLinkErrorText);
        const std::vector<std::vector<std::string>> faults{
            {"--silent"},
            {"--wrong-ack"},
            {"--garbage"},
            {"--stop-after", std::to_string(f.stopAfter)}};
        for (const auto& fault : faults) {
            SCOPED_TRACE(f.name + " " + fault[0]);
            std::vector<std::string> args{f.name};
            args.insert(args.end(), fault.begin(), fault.end());
            BoxProcess box(TARVEL_TOOL_PATH, args);
            ASSERT_FALSE(box.device().empty());
            // Input 3 stays off: the chart waits, and keeps polling, until
            // the box fails.
            const ToolRun r = run(f, box.device());
            EXPECT_EQ(r.status, 0) << r.err;
            const std::vector<std::string> lines = test::splitLines(r.out);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(test::event(lines.back()), ending) << r.out;
            EXPECT_EQ(r.out.find(kLinkErrorText), r.out.rfind(kLinkErrorText));
            EXPECT_LT(seconds, kFailureBoundS);
        }
    }
};

// Motor B of a box whose outputs mirror its motor lines is output 3.
const Family kSenseControl{"2", 2, 0, {"output 3 on"}, "upload 4096", 12};

TEST_F(LiveFamily, SenseControlUploadsItsSystemAndRunsTheChart)
{
    drivesTheBox(kSenseControl);
}

TEST_F(LiveFamily, SenseControlMisbehaviourEndsInTheMessage)
{
    everyMisbehaviourEndsInTheMessage(kSenseControl);
}

TEST_F(LiveFamily, SenseControlWithoutItsSystemDoesNotStart)
{
    BoxProcess box(TARVEL_TOOL_PATH, {"2"});
    ASSERT_FALSE(box.device().empty());
    const std::string empty = (dir.path() / "VACIO").string();
    std::filesystem::create_directories(empty);
    const ToolRun r = test::runTool(TARVEL_TOOL_PATH,
                                    {"run", "--interface", "2", "--port", box.device(), "--sensors",
                                     empty, chart(kSenseControl)},
                                    dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = test::splitLines(r.out);
    ASSERT_EQ(lines.size(), 1u) << r.out;
    EXPECT_EQ(test::event(lines[0]), "end " + std::string(kLinkErrorText));
    // Nothing of a run reached the box.
    for (const std::string& l : box.readLines(2000))
        EXPECT_EQ(l.rfind("output", 0), std::string::npos) << l;
}

// The MFA's outputs mirror its motor lines too.
const Family kMfa{"6", 6, 0, {"output 3 on"}, "", 12};
// The Contact Controller types have a motor bank with a speed per line.
const Family kContactControllerPlus{"7", 7, 0, {"motor B fd", "power 3 60", "power 4 60"}, "", 14};
const Family kContactController{"7:5", 7, 5, {"motor B fd", "power 3 60", "power 4 60"}, "", 14};
const Family kQuillo{"13", 13, 0, {"motor B fd", "power 3 60", "power 4 60"}, "", 14};

TEST_F(LiveFamily, MfaRunsTheChart)
{
    drivesTheBox(kMfa);
}

TEST_F(LiveFamily, MfaMisbehaviourEndsInTheMessage)
{
    everyMisbehaviourEndsInTheMessage(kMfa);
}

TEST_F(LiveFamily, ContactControllerTypesRunTheChart)
{
    for (const Family& f : {kContactControllerPlus, kContactController, kQuillo}) drivesTheBox(f);
}

TEST_F(LiveFamily, ContactControllerMisbehaviourEndsInTheMessage)
{
    everyMisbehaviourEndsInTheMessage(kContactControllerPlus);
    everyMisbehaviourEndsInTheMessage(kQuillo);
}

}  // namespace
}  // namespace tarvel
