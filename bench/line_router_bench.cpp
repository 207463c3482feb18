// Routing a new line across a dense chart: 200 symbols and 350 lines already
// in place, the new line from the top left to the bottom right. The counter
// "points" tells the shape found (0: the connector form).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <utility>

#include "flowchart/line_router.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

// Ten columns of twenty symbols 128 apart across and 84 down (as close as
// placing allows), or eight columns of twenty-five 160 across and 72 down.
void denseChart(FlowDocument& doc, bool tightest)
{
    const int cols = tightest ? 10 : 8, rows = tightest ? 20 : 25;
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
            doc.appendSymbol(static_cast<SymbolKind>((col + row) % 4),
                             {64 + (tightest ? 128 : 160) * col, 56 + (tightest ? 84 : 72) * row});
    LineRouter router(doc);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> pick(0, doc.symbolCount() - 1);
    // Each symbol to the one below it, then random lines up to 350.
    for (int i = 0; i + 1 < doc.symbolCount() && doc.lineCount() < 350; ++i) {
        if ((i + 1) % rows == 0) continue;
        if (const auto g = router.route(i, i + 1, LineKind::Plain))
            doc.appendLine(i, i + 1, LineKind::Plain, *g);
    }
    // The rest join near neighbours, as real charts do: loops and branches
    // to the next column or a few rows away.
    std::uniform_int_distribution<int> near(-3, 3);
    while (doc.lineCount() < 350) {
        const int a = pick(rng);
        const int b = a + near(rng) + rows * near(rng) / 3;
        if (a == b || b < 0 || b >= doc.symbolCount()) continue;
        auto g = router.route(a, b, LineKind::Plain);
        if (!g) continue;  // out of letters
        doc.appendLine(a, b, LineKind::Plain, *g);
    }
    // Letters free again, so the measured route can end either way.
    for (int letter = 'A'; letter <= 'Z'; ++letter) doc.freeConnectorLetter(letter);
}

// Routes the line from `from` to `to` (given the chart's rows) again and
// again on a dense chart; a connector's letter is given back each time.
template <class Ends>
void routeInDenseChart(benchmark::State& state, LineKind kind, Ends ends)
{
    ScriptedMessages messages;
    messages.recording = false;
    FlowDocument doc(&messages);
    const bool tightest = state.range(0) != 0;
    denseChart(doc, tightest);
    const auto [from, to] = ends(doc, tightest ? 20 : 25);
    LineRouter router(doc);
    for (auto _ : state) {
        auto g = router.route(from, to, kind);
        const bool connector = g && g->points[2].x == kConnectorMarkX;
        if (connector) doc.freeConnectorLetter(g->points[2].y);
        benchmark::DoNotOptimize(g);
        state.counters["points"] =
            !g          ? -1
            : connector ? 0
                        : 7 - std::count(g->points.begin(), g->points.end(), Point{});
    }
}

void BM_RouteAcrossDenseChart(benchmark::State& state)
{
    routeInDenseChart(state, LineKind::Yes, [](const FlowDocument& doc, int) {
        return std::pair{0, doc.symbolCount() - 1};
    });
}
BENCHMARK(BM_RouteAcrossDenseChart)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_RouteLoopBackInDenseChart(benchmark::State& state)
{
    routeInDenseChart(state, LineKind::Plain, [](const FlowDocument&, int rows) {
        return std::pair{rows - 1 + rows * 5, rows * 5};
    });
}
BENCHMARK(BM_RouteLoopBackInDenseChart)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_RouteToANeighbourInDenseChart(benchmark::State& state)
{
    routeInDenseChart(state, LineKind::No, [](const FlowDocument&, int rows) {
        return std::pair{rows * 3 + 10, rows * 4 + 12};
    });
}
BENCHMARK(BM_RouteToANeighbourInDenseChart)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
