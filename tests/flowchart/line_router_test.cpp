// Automatic routing: the shapes chosen for the common cases, and over many
// lines in a crowded chart, paths that are orthogonal, short and clear of
// every symbol (or honestly replaced by a connector).

#include "flowchart/line_router.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "support/fake_messages.h"

namespace tarvel {
namespace {

class LineRouterTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    FlowDocument doc{&messages};
    LineRouter router{doc};

    int add(SymbolKind kind, int x, int y) { return doc.appendSymbol(kind, {x, y}); }
    int connect(int a, int b, LineKind kind = LineKind::Plain)
    {
        const auto g = router.route(a, b, kind);
        if (!g) return -1;
        return doc.appendLine(a, b, kind, *g);
    }
    std::vector<Point> points(int line) const
    {
        const FlowLine& l = doc.line(line);
        return {l.geometry.points.begin(), l.geometry.points.begin() + l.pointCount()};
    }
    void expectClear(int line)
    {
        const FlowLine& l = doc.line(line);
        ASSERT_GE(l.pointCount(), 2);
        ASSERT_LE(l.pointCount(), kLinePoints);
        if (l.hasConnector()) return;
        for (int k = 1; k < l.pointCount(); ++k) {
            const Point a = l.geometry.points[static_cast<std::size_t>(k - 1)];
            const Point b = l.geometry.points[static_cast<std::size_t>(k)];
            EXPECT_TRUE(a.x == b.x || a.y == b.y) << "line " << line;
            EXPECT_FALSE(segmentCrossesSymbol(doc, a, b)) << "line " << line << " segment " << k;
            EXPECT_GE(std::min(a.x, a.y), 0);
        }
    }
    // The straight runs of a line, connector stubs included.
    struct Run {
        Point a, b;
        bool last;
    };
    std::vector<Run> runs(int line) const
    {
        const FlowLine& l = doc.line(line);
        std::vector<Run> out;
        for (int k = 1; k < l.pointCount(); ++k) {
            const Point a = l.geometry.points[static_cast<std::size_t>(k - 1)];
            const Point b = l.geometry.points[static_cast<std::size_t>(k)];
            if (a.x == kConnectorMarkX || b.x == kConnectorMarkX) continue;
            out.push_back({a, b, k + 1 == l.pointCount()});
        }
        return out;
    }
    // No run of the line lies along a run of another line, on it or within 2
    // units beside it, for any length, or the two would read as one line.
    // Lines from one symbol may share a run exactly, and lines joining into
    // one entry point may share their last run exactly. The stubs of a
    // connector have their fixed places.
    void expectOffOtherRuns(int line)
    {
        const FlowLine& me = doc.line(line);
        if (me.hasConnector()) return;
        for (int other = 0; other < doc.lineCount(); ++other) {
            if (other == line) continue;
            const FlowLine& them = doc.line(other);
            for (const Run& p : runs(line))
                for (const Run& q : runs(other)) {
                    const bool vp = p.a.x == p.b.x, vq = q.a.x == q.b.x;
                    if (vp != vq) continue;
                    const int at = vp ? p.a.x : p.a.y, at2 = vq ? q.a.x : q.a.y;
                    auto lo = [&](const Run& r) {
                        return vp ? std::min(r.a.y, r.b.y) : std::min(r.a.x, r.b.x);
                    };
                    auto hi = [&](const Run& r) {
                        return vp ? std::max(r.a.y, r.b.y) : std::max(r.a.x, r.b.x);
                    };
                    if (std::abs(at - at2) > 2 || std::min(hi(p), hi(q)) <= std::max(lo(p), lo(q)))
                        continue;
                    if (at == at2 && me.origin == them.origin) continue;
                    if (at == at2 && p.last && q.last && p.b == q.b) continue;
                    ADD_FAILURE() << "line " << line << " runs along line " << other << " at " << at
                                  << " from " << std::max(lo(p), lo(q)) << " to "
                                  << std::min(hi(p), hi(q));
                }
        }
    }
};

TEST_F(LineRouterTest, SidesAndObstacleBoxesFollowTheSymbolKind)
{
    const FlowSymbol stop{SymbolKind::StartStop, 100, 100, 0, {}};
    const FlowSymbol out{SymbolKind::Output, 100, 100, 0, {}};
    EXPECT_EQ(bottomSide(stop), (Point{100, 113}));
    EXPECT_EQ(rightSide(stop), (Point{161, 100}));
    EXPECT_EQ(rightSide(out), (Point{149, 100}));
    EXPECT_EQ(obstacleBox(stop), (Rect{40, 88, 160, 112}));
    EXPECT_EQ(obstacleBox(out), (Rect{40, 76, 160, 124}));
    EXPECT_EQ(obstacleBox(out, true), (Rect{52, 76, 148, 124}));
}

TEST_F(LineRouterTest, CommonShapes)
{
    const int top = add(SymbolKind::StartStop, 320, 56);
    const int ask = add(SymbolKind::Decision, 320, 168);
    const int yes = add(SymbolKind::Output, 320, 280);
    const int no = add(SymbolKind::Process, 576, 392);

    // Same column, lower: straight down.
    const int a = connect(top, ask);
    EXPECT_EQ(points(a), (std::vector<Point>{{320, 69}, {320, 143}}));
    const int b = connect(ask, yes, LineKind::Yes);
    EXPECT_EQ(points(b).size(), 2u);
    const Point tag = doc.line(b).geometry.tag;
    EXPECT_GT(tag.x, 320);
    EXPECT_GT(tag.y, 193);

    // The decision's second line leaves by its side, not its taken bottom.
    const int c = connect(ask, no, LineKind::No);
    EXPECT_EQ(points(c).front(), rightSide(doc.symbol(ask)));
    EXPECT_EQ(points(c).back().x == leftSide(doc.symbol(no)).x ||
                  points(c).back() == topSide(doc.symbol(no)),
              true);

    // Lower, in another column, from a plain symbol: down, across, down, the
    // run across on a multiple of 8 halfway.
    const int d = connect(yes, no);
    const auto pd = points(d);
    ASSERT_EQ(pd.size(), 4u);
    EXPECT_EQ(pd[0], bottomSide(doc.symbol(yes)));
    EXPECT_EQ(pd[1].y % 8, 0);
    EXPECT_EQ(pd[3], topSide(doc.symbol(no)));

    // A loop back: out of a side, up beside the symbols, down into the top.
    const int e = connect(no, ask);
    const auto pe = points(e);
    EXPECT_EQ(pe.back(), topSide(doc.symbol(ask)));
    EXPECT_LT(pe[pe.size() - 2].y, topSide(doc.symbol(ask)).y);
    EXPECT_FALSE(doc.line(e).hasConnector());

    for (int j = 0; j < doc.lineCount(); ++j) {
        expectClear(j);
        expectOffOtherRuns(j);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(LineRouterTest, ALoopBackRunsAboveItsDestinationNotAlongABranch)
{
    // Tardar 2, a decision below it, an output to its right reached by the NO
    // line; the loop from the output back to the process.
    const int wait = add(SymbolKind::Process, 192, 280);
    doc.setSymbolText(wait, "Delay 2");
    const int ask = add(SymbolKind::Decision, 192, 364);
    const int out = add(SymbolKind::Output, 384, 364);
    const int no = connect(ask, out, LineKind::No);
    ASSERT_EQ(points(no), (std::vector<Point>{{253, 364}, {335, 364}}));
    const int loop = connect(out, wait);
    ASSERT_GE(loop, 0);
    EXPECT_FALSE(doc.line(loop).hasConnector());
    const auto p = points(loop);
    // Across above the process and down into its top.
    ASSERT_GE(p.size(), 3u);
    EXPECT_EQ(p.back(), topSide(doc.symbol(wait)));
    EXPECT_EQ(p[p.size() - 2].x, 192);
    EXPECT_LT(p[p.size() - 2].y, topSide(doc.symbol(wait)).y);
    expectClear(loop);
    expectOffOtherRuns(loop);
}

TEST_F(LineRouterTest, NewRunsKeepOffTheRunsOfOtherLines)
{
    // Hand-made charts as pupils draw them: a chain with a loop back, a
    // decision whose branches join again, loops from several heights into one
    // symbol, lines across a column from beside it.
    const int start = add(SymbolKind::StartStop, 320, 56);
    const int on = add(SymbolKind::Output, 320, 140);
    const int ask = add(SymbolKind::Decision, 320, 224);
    const int yes = add(SymbolKind::Process, 320, 308);
    const int no = add(SymbolKind::Output, 576, 308);
    const int join = add(SymbolKind::Process, 320, 420);
    const int off = add(SymbolKind::Output, 320, 504);
    const int side = add(SymbolKind::Process, 832, 140);
    const int low = add(SymbolKind::Decision, 832, 504);
    const int lone = add(SymbolKind::Output, 96, 420);
    for (const auto& [a, b, kind] : std::vector<std::tuple<int, int, LineKind>>{
             {start, on, LineKind::Plain},
             {on, ask, LineKind::Plain},
             {ask, yes, LineKind::Yes},
             {ask, no, LineKind::No},
             {yes, join, LineKind::Plain},
             {no, join, LineKind::Plain},
             {join, off, LineKind::Plain},
             {off, on, LineKind::Plain},  // loop back into a top already entered
             {side, low, LineKind::Plain},
             {low, side, LineKind::Yes},  // a loop back beside a column
             {low, on, LineKind::No},     // into the same top again, from further off
             {lone, join, LineKind::Plain},
         }) {
        const int l = connect(a, b, kind);
        ASSERT_GE(l, 0);
        SCOPED_TRACE(l);
        expectClear(l);
        expectOffOtherRuns(l);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(LineRouterTest, ChannelsKeepApartFromOtherLines)
{
    const int a = add(SymbolKind::Process, 320, 400);
    const int b = add(SymbolKind::Process, 320, 200);
    const int c = add(SymbolKind::Process, 352 + 128, 500);
    const int d = add(SymbolKind::Process, 320, 100);
    const int first = connect(a, b);   // loop back
    const int second = connect(c, d);  // another loop back past the same side
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    expectClear(first);
    expectClear(second);
    // Their climbing runs do not lie on top of each other.
    auto climb = [&](int line) {
        const auto p = points(line);
        for (std::size_t k = 1; k < p.size(); ++k)
            if (p[k - 1].x == p[k].x && p[k].y < p[k - 1].y) return p[k].x;
        return -1;
    };
    ASSERT_GE(climb(first), 0);
    ASSERT_GE(climb(second), 0);
    EXPECT_GT(std::abs(climb(first) - climb(second)), 2);
    expectOffOtherRuns(first);
    expectOffOtherRuns(second);
}

TEST_F(LineRouterTest, ReroutingFreesAndRetakesLetters)
{
    const int a = add(SymbolKind::Process, 200, 100);
    const int walled = add(SymbolKind::Process, 640, 700);
    for (const int dx : {-100, 0, 100})
        for (const int dy : {-44, 0, 44})
            if (dx || dy) add(SymbolKind::Decision, 640 + dx, 700 + dy);
    const int l = connect(a, walled);
    ASSERT_EQ(doc.line(l).connectorLetter(), 'A');
    EXPECT_EQ(doc.line(l).geometry.points[1], (Point{249 + 24, 100}));
    EXPECT_EQ(doc.line(l).geometry.points[3], (Point{640 - 49 - 24, 700}));

    // Free the way: the line becomes a path and its letter is free again.
    const int above = 5;  // the piece of wall straight above
    ASSERT_EQ(doc.symbol(above).x, 640);
    ASSERT_EQ(doc.symbol(above).y, 656);
    doc.symbolRef(above).x = 1200;
    doc.symbolRef(above).y = 1500;
    ASSERT_TRUE(router.reroute(l));
    EXPECT_FALSE(doc.line(l).hasConnector());
    EXPECT_FALSE(doc.connectorLetterInUse('A'));
    expectClear(l);
}

TEST_F(LineRouterTest, ACrowdedChartGetsOnlyClearPaths)
{
    // Four columns of symbols, lines between random pairs, as a busy pupil draws.
    std::mt19937 rng(7);
    for (int col = 0; col < 5; ++col)
        for (int row = 0; row < 12; ++row)
            add(static_cast<SymbolKind>((col + row) % 4), 96 + 256 * col, 56 + 140 * row);
    std::uniform_int_distribution<int> pick(0, doc.symbolCount() - 1);
    int connectors = 0;
    for (int n = 0; n < 120; ++n) {
        const int from = pick(rng);
        const int to = pick(rng);
        if (from == to) continue;
        const int l = connect(from, to, static_cast<LineKind>(n % 3));
        if (l < 0) break;  // letters ran out: said in a box
        if (doc.line(l).hasConnector()) ++connectors;
        expectClear(l);
        expectOffOtherRuns(l);
    }
    // Most lines find a path.
    EXPECT_LT(connectors, doc.lineCount() / 3);
}

}  // namespace
}  // namespace tarvel
