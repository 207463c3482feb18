// The extent a printed chart takes.

#include <gtest/gtest.h>

#include "appearance/print_extent.h"

namespace tarvel {
namespace {

FlowDocument chartAt(std::initializer_list<Point> centres)
{
    FlowDocument doc;
    for (const Point c : centres) doc.appendSymbol(SymbolKind::Process, c);
    return doc;
}

TEST(PrintExtent, OnePageTwoSideBySideOrFour)
{
    EXPECT_EQ(flowPrintExtent(FlowDocument{}), kOnePage);
    // Everything within 594 x 893: the first page.
    EXPECT_EQ(flowPrintExtent(chartAt({{100, 100}, {594, 893}})), (PrintExtent{654, 917}));
    EXPECT_EQ(flowPrintExtent(chartAt({{100, 100}, {595, 200}})), (PrintExtent{1308, 917}));
    EXPECT_EQ(flowPrintExtent(chartAt({{600, 100}})), (PrintExtent{1308, 917}));
    EXPECT_EQ(flowPrintExtent(chartAt({{100, 894}})), (PrintExtent{1308, 1836}));
    EXPECT_EQ(flowPrintExtent(chartAt({{100, 900}})), (PrintExtent{1308, 1836}));
    // Below the first page the whole width is taken, wherever the symbol stands.
    EXPECT_EQ(flowPrintExtent(chartAt({{100, 100}, {60, 1500}, {900, 100}})), kFourPages);
}

}  // namespace
}  // namespace tarvel
