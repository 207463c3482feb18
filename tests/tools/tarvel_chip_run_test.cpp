// tarvel run --chip: the compiled chart in the chip simulator, traced on the
// virtual clock as the interpreted run is.

#include <gtest/gtest.h>

#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_model.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

class TarvelChipRun : public ::testing::Test {
protected:
    test::TempDir dir;

    test::ToolRun tool(const std::vector<std::string>& args)
    {
        return test::runTool(TARVEL_TOOL_PATH, args, dir.path());
    }
    // Saved for the standard board of the chip system.
    std::string save(FlowDocument& doc)
    {
        InterfaceSettings s;
        s.mode = 1;
        s.model = ModelTolvaChip;
        s.subModel = 0;
        s.numbering = 1;
        const std::string path = (dir.path() / "chip.FLO").string();
        EXPECT_TRUE(saveFlowFile(doc, path, s, test::ignoredMessages()));
        return path;
    }
};

TEST_F(TarvelChipRun, TracesTheSimulatedProgram)
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int s = b.start(), on = b.out("Turn Output 3 on"), wait = b.proc("Delay 0.5"),
              add = b.proc("Let x = x + 2"), ask = b.decide("Is Input 2 on"),
              off = b.out("Turn Output 3 off"), end = b.stop();
    b.chain({s, on, wait, add, ask});
    b.join(ask, off, LineKind::Yes);
    b.join(ask, ask, LineKind::No);
    b.join(off, end);
    const std::string path = save(doc);

    test::ToolRun r = tool({"run", "--chip", "--input", "2=on@150", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "2 output 3 on\n"
              "2 motor b fd\n"  // the chip drives motor B through outputs 3 and 4
              // The delay began at 4 and ended at the fifth step of the 100 ms
              // base, at 52; then B := 2 and x += B, a byte a tick.
              "54 var x 2\n"
              "154 output 3 off\n"
              "154 motor b off\n"
              "156 end stop\n");

    // The tick limit.
    r = tool({"run", "--chip", "--ticks", "10", path});
    EXPECT_EQ(r.out, "2 output 3 on\n2 motor b fd\n20 end ticks\n");

    // A compile fault ends the trace at once with its message.
    doc.setSymbolText(add, "Let a = a + 2");
    save(doc);
    r = tool({"run", "--chip", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0 end Error analizando el proceso\n");
}

TEST_F(TarvelChipRun, AFullReturnStackEndsTheRunWithItsMessage)
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    b.chain({b.start(), b.proc("Sub 1"), b.stop()});
    for (int n = 1; n <= 8; ++n)
        b.chain({b.head("Sub " + std::to_string(n)),
                 b.proc(n < 8 ? "Sub " + std::to_string(n + 1) : "Delay 1"), b.stop()});
    const test::ToolRun r = tool({"run", "--chip", save(doc)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "16 end Pila de sub-procedimiento está lleno\n");
}

}  // namespace
}  // namespace tarvel
