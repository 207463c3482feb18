// Breakpoints: they stay on their symbols while others are deleted and the
// table is renumbered, they are no edit, and their side file beside the chart
// is written safely and, when damaged, ignored without harm to the chart.

#include <gtest/gtest.h>

#include <fstream>

#include "flowchart/breakpoint_file.h"
#include "flowchart/edit_history.h"
#include "flowchart/flow_file.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

class BreakpointsTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    FlowDocument doc{&messages};

    // Five processes down a column, each joined to the next.
    void column()
    {
        for (int i = 0; i < 5; ++i) {
            const int s = doc.appendSymbol(SymbolKind::Process, {320, 112 + 112 * i});
            doc.setSymbolText(s, "Let x = " + std::to_string(i));
            if (i > 0) doc.appendLine(i - 1, i, LineKind::Plain, LineGeometry{});
        }
    }
};

TEST_F(BreakpointsTest, FollowTheirSymbolsThroughDeletesAndUndo)
{
    column();
    doc.setBreakpoints({1, 3, 4});
    EditHistory history;
    history.reset(doc);
    doc.toggleBreakpoint(4);  // off again: no edit, no step
    history.breakpointsChanged(doc);
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(history.record(doc));

    doc.selectSymbol(0);
    doc.selectSymbol(2);
    doc.deleteSelectedSymbols();
    history.record(doc);
    // "Let x = 1" and "Let x = 3" are now symbols 0 and 1.
    EXPECT_EQ(doc.breakpoints(), (std::vector<int>{0, 1}));
    EXPECT_EQ(doc.symbol(1).text.view(), "Let x = 3");

    history.undo(doc);
    EXPECT_EQ(doc.breakpoints(), (std::vector<int>{1, 3}));
    history.redo(doc);
    EXPECT_EQ(doc.breakpoints(), (std::vector<int>{0, 1}));
    // The chart file never holds them.
    const std::string withBreaks = serializeFlowFile(doc, InterfaceSettings{});
    doc.setBreakpoints({});
    EXPECT_EQ(serializeFlowFile(doc, InterfaceSettings{}), withBreaks);
}

TEST_F(BreakpointsTest, SideFileReadsOneIndexALineAndRefusesAnythingElse)
{
    EXPECT_EQ(serializeBreakpoints({0, 7, 219}), "0\r\n7\r\n219\r\n");
    auto read = parseBreakpoints("0\r\n7\n\n219", 220);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), (std::vector<int>{0, 7, 219}));
    EXPECT_TRUE(parseBreakpoints("", 0));
    for (const char* bad :
         {"3\r\nx\r\n", "-1\n", "5\n", "1 2\n", "0005\n", "4294967297\n", "2\n2\n"})
        EXPECT_FALSE(parseBreakpoints(bad, 5)) << bad;
    EXPECT_FALSE(parseBreakpoints(std::string(5000, '\n'), 5));
}

TEST_F(BreakpointsTest, SideFileFollowsTheSavedChartAndADamagedOneIsIgnored)
{
    test::TempDir dir;
    const std::string chart = (dir.path() / "luces.FLO").string();
    column();
    doc.setBreakpoints({2, 4});
    ASSERT_TRUE(saveFlowFile(doc, chart, InterfaceSettings{}, messages));
    ASSERT_TRUE(saveBreakpoints(chart, doc, messages));
    EXPECT_EQ(test::slurp(chart + ".bp"), "2\r\n4\r\n");

    FlowDocument loaded{&messages};
    FlowLoadContext context;
    ASSERT_TRUE(loadFlowFile(loaded, chart, context, messages, true));
    loadBreakpoints(chart, loaded, messages);
    EXPECT_EQ(loaded.breakpoints(), (std::vector<int>{2, 4}));

    // Damaged: the chart opens whole, without breakpoints, and says so.
    std::ofstream(chart + ".bp", std::ios::binary) << "2\r\n9\r\n";
    loadBreakpoints(chart, loaded, messages);
    EXPECT_TRUE(loaded.breakpoints().empty());
    EXPECT_EQ(loaded.symbolCount(), 5);
    EXPECT_EQ(messages.statusTexts.back(),
              "No se pudieron leer los puntos de parada: el archivo está dañado");

    // A chart saved without breakpoints takes its side file away.
    loaded.setBreakpoints({});
    ASSERT_TRUE(saveBreakpoints(chart, loaded, messages));
    EXPECT_FALSE(std::filesystem::exists(chart + ".bp"));
    // A side file that cannot be written leaves the chart's save alone.
    EXPECT_FALSE(saveBreakpoints((dir.path() / "no" / "x.FLO").string(), doc, messages));
    EXPECT_EQ(messages.statusTexts.back(), "No se pudieron guardar los puntos de parada");
}

}  // namespace
}  // namespace tarvel
