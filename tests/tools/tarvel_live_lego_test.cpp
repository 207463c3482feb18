// `tarvel box 11` and `tarvel run --interface 11` together over a real
// pseudo-terminal: the greeting, the streamed frames, the commands, and the
// ways the box can fail.

#include <gtest/gtest.h>

#include "interfaces/interface_model.h"
#include "interfaces/protocols/protocol_context.h"
#include "support/box_process.h"
#include "support/live_chart_run.h"
#include "support/live_trace.h"

namespace tarvel {
namespace {

using test::BoxProcess;
using test::contains;
using test::events;

// A failure waits out three greetings at most twice (the start-up and the
// handler's reconnect), each purging for a second and waiting for its answer.
constexpr double kFailureBoundS = 15.0;

class LiveLego : public ::testing::Test {
protected:
    test::LiveChartRun live{ModelLego};
    // Lamp 1 on, motor B forward at 60 %; once input 3 is on, channel 1 into
    // a; motor B off and the lamp off.
    std::string chart()
    {
        return live.chart({"Turn Output 1 on", "Turn Motor b fd 60"},
                          {"Turn Motor b off", "Turn Output 1 off"});
    }
};

TEST_F(LiveLego, TheChartDrivesTheBoxFromItsStream)
{
    BoxProcess box(TARVEL_TOOL_PATH, {"11"});
    ASSERT_FALSE(box.device().empty());
    box.send("in 3 on");
    box.send("val 1 700");
    ASSERT_EQ(box.readLines(5000, 3),
              (std::vector<std::string>{"in 3 on", "val 1 700", "in 5 on"}));

    const test::ToolRun r = live.run(chart(), box.device());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> trace = events(r.out);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), "end stop") << r.out;
    EXPECT_TRUE(contains(trace, "output 1 on")) << r.out;
    EXPECT_TRUE(contains(trace, "motor b fd")) << r.out;
    // Channel 1 came from the stream: a is set from it.
    bool assigned = false;
    for (const std::string& l : trace) assigned |= l.rfind("var a ", 0) == 0 && l != "var a 0";
    EXPECT_TRUE(assigned) << r.out;

    // The box saw the greeting, the powers of the start, the lamp, motor B
    // (output 2 with its direction) at 4 of 7 levels, and all off at the end.
    const std::vector<std::string> seen = box.readLines(5000);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "handshake");
    EXPECT_TRUE(contains(seen, "output 1 on"));
    EXPECT_TRUE(contains(seen, "motor B fd"));
    EXPECT_TRUE(contains(seen, "power B 57"));
    EXPECT_TRUE(contains(seen, "motor B off"));
    EXPECT_TRUE(contains(seen, "output 1 off"));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "handshake"), 1);
}

// Each way the box can fail ends in the one message, once, soon: no answer
// to the greeting, a wrong one, a garbled stream, a stream that stops.
TEST_F(LiveLego, EveryMisbehaviourEndsInTheHandlersMessage)
{
    const std::string ending = "end " + std::string(kLinkErrorText);
    const std::string path = chart();
    for (const auto& fault : std::vector<std::vector<std::string>>{
             {"--silent"}, {"--wrong-ack"}, {"--garbage"}, {"--stop-after", "3"}}) {
        std::vector<std::string> args{"11"};
        args.insert(args.end(), fault.begin(), fault.end());
        BoxProcess box(TARVEL_TOOL_PATH, args);
        ASSERT_FALSE(box.device().empty()) << fault[0];
        const test::ToolRun r = live.run(path, box.device());
        EXPECT_EQ(r.status, 0) << fault[0] << r.err;
        const std::vector<std::string> trace = events(r.out);
        ASSERT_FALSE(trace.empty()) << fault[0];
        EXPECT_EQ(trace.back(), ending) << fault[0] << '\n' << r.out;
        EXPECT_EQ(r.out.find(kLinkErrorText), r.out.rfind(kLinkErrorText)) << fault[0];
        EXPECT_LT(live.seconds, kFailureBoundS) << fault[0];
    }
}

}  // namespace
}  // namespace tarvel
