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
    // Saved for the standard board of the chip system, or for another interface.
    std::string save(FlowDocument& doc, int model = ModelTolvaChip)
    {
        InterfaceSettings s;
        s.mode = 1;
        s.model = model;
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

// The chip drives a motor's reverse with its second line alone, whatever
// wiring the interface the chart was saved for gives its own motors.
TEST_F(TarvelChipRun, MotorsShowAsTheChipDrivesThem)
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int back = b.out("Turn Motor b rev"), on = b.out("Turn Output 3 on");
    b.chain({b.start(), back, on, b.stop()});
    // Sense and Control reverses with both lines on; the chip does not.
    const std::string path = save(doc, ModelSenseControl);
    test::ToolRun r = tool({"run", "--chip", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "2 motor b rev\n"
              "2 output 4 on\n"
              "4 output 3 on\n"
              "4 motor b off\n"  // both lines on: neither way round for the chip
              "6 end stop\n");
    // The interpreter's run of the same chart keeps the interface's wiring.
    r = tool({"run", path});
    EXPECT_EQ(r.out, "2 motor b rev\n2 output 3 on\n2 output 4 on\n6 end stop\n");
    // And a later chip run still reads reverse the chip's way.
    r = tool({"run", "--chip", "--ticks", "1", path});
    EXPECT_EQ(r.out, "2 motor b rev\n2 output 4 on\n2 end ticks\n");
}

// Bytes from 0xC0 up are jumps in the skip dialect, so a speed for motor C or
// D cannot be given there; on the chips of the direct dialect it can.
TEST_F(TarvelChipRun, SkipDialectChipsRefuseSpeedsOfMotorsCAndD)
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int c = b.out("Turn Motor c fd 50%");
    b.chain({b.start(), c, b.out("Turn Motor c off"), b.stop()});
    test::ToolRun r = tool({"run", "--chip", save(doc, ModelSenseControl)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0 end Este chip no puede cambiar la velocidad del motor C\n");

    r = tool({"run", "--chip", save(doc, ModelQuillo)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "2 power 5 50\n"
              "4 motor c fd\n"
              "4 output 5 on\n"
              "6 motor c off\n"
              "6 output 5 off\n"
              "8 end stop\n");
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
