// `tarvel box 12` and `tarvel run --interface 12` together over a real
// pseudo-terminal: the output byte in every exchange, the keep-alive that
// holds the box's watchdog off, and the ways the box can fail.

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

// A one-byte read waits 300 ms at most; three silent polls, or one unanswered
// output byte, then the reconnect as the run stops.
constexpr double kFailureBoundS = 10.0;

class LiveFischertechnik : public ::testing::Test {
protected:
    test::LiveChartRun live{ModelFischertechnik};
    // Motor A forward, then a second and a half without an output, B in
    // reverse; once input 3 is on, channel 1 into a; both motors off.
    std::string chart()
    {
        return live.chart({"Turn Motor a fd", "Delay 1.5", "Turn Motor b rev"},
                          {"Turn Motor a off b off"});
    }
};

TEST_F(LiveFischertechnik, TheChartDrivesTheBoxAndTheKeepAliveHoldsItsMotorsOn)
{
    BoxProcess box(TARVEL_TOOL_PATH, {"12"});
    ASSERT_FALSE(box.device().empty());
    box.send("in 3 on");
    box.send("val 1 700");
    ASSERT_EQ(box.readLines(5000, 2), (std::vector<std::string>{"in 3 on", "val 1 700"}));

    const test::ToolRun r = live.run(chart(), box.device());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> trace = events(r.out);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), "end stop") << r.out;
    EXPECT_TRUE(contains(trace, "motor a fd")) << r.out;
    EXPECT_TRUE(contains(trace, "motor b rev")) << r.out;
    bool assigned = false;
    for (const std::string& l : trace) assigned |= l.rfind("var a ", 0) == 0 && l != "var a 0";
    EXPECT_TRUE(assigned) << r.out;

    // Motor A ran through the delay: the box's watchdog never struck.
    const std::vector<std::string> seen = box.readLines(5000);
    EXPECT_EQ(seen, (std::vector<std::string>{"motor A fd", "motor B rev", "motor A off",
                                              "motor B off"}));
}

// A box that does not answer, or stops answering, ends in the one message,
// once, soon. A wrong acknowledgement and garbled bytes are nothing this
// protocol can tell: the run goes on to its end without a message.
TEST_F(LiveFischertechnik, EveryMisbehaviourEndsSoonAndSilenceInTheHandlersMessage)
{
    const std::string ending = "end " + std::string(kLinkErrorText);
    const std::string path = chart();
    for (const auto& fault : std::vector<std::vector<std::string>>{
             {"--silent"}, {"--stop-after", "3"}, {"--wrong-ack"}, {"--garbage"}}) {
        std::vector<std::string> args{"12"};
        args.insert(args.end(), fault.begin(), fault.end());
        BoxProcess box(TARVEL_TOOL_PATH, args);
        ASSERT_FALSE(box.device().empty()) << fault[0];
        const test::ToolRun r = live.run(path, box.device(), 200);
        EXPECT_EQ(r.status, 0) << fault[0] << r.err;
        const std::vector<std::string> trace = events(r.out);
        ASSERT_FALSE(trace.empty()) << fault[0];
        const bool silence = fault[0] == "--silent" || fault[0] == "--stop-after";
        if (silence) {
            EXPECT_EQ(trace.back(), ending) << fault[0] << '\n' << r.out;
            EXPECT_EQ(r.out.find(kLinkErrorText), r.out.rfind(kLinkErrorText)) << fault[0];
        } else {
            EXPECT_EQ(r.out.find(kLinkErrorText), std::string::npos) << fault[0] << r.out;
        }
        EXPECT_LT(live.seconds, kFailureBoundS) << fault[0];
    }
}

}  // namespace
}  // namespace tarvel
