// One undo step on the fullest chart: a symbol moved and the step recorded,
// then undone and redone. The counter is what the kept steps take a step.

#include <benchmark/benchmark.h>

#include <algorithm>

#include "flowchart/edit_history.h"
#include "full_chart.h"

namespace {

using namespace tarvel;

void BM_RecordStepFullChart(benchmark::State& state)
{
    FlowDocument doc;
    fillFull(doc);
    EditHistory history;
    history.reset(doc);
    int k = 0;
    for (auto _ : state) {
        const FlowSymbol& s = doc.symbol(k % kMaxSymbols);
        doc.moveSymbol(k % kMaxSymbols, {s.x, s.y + ((k / kMaxSymbols) % 2 ? -28 : 28)});
        benchmark::DoNotOptimize(history.record(doc));
        ++k;
    }
    state.counters["bytes_per_step"] =
        static_cast<double>(history.memoryUse()) / std::max(1, history.undoCount());
}
BENCHMARK(BM_RecordStepFullChart)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoFullChart(benchmark::State& state)
{
    FlowDocument doc;
    fillFull(doc);
    EditHistory history;
    history.reset(doc);
    doc.moveSymbol(0, {doc.symbol(0).x, doc.symbol(0).y + 28});
    history.record(doc);
    for (auto _ : state) {
        history.undo(doc);
        history.redo(doc);
    }
}
BENCHMARK(BM_UndoRedoFullChart)->Unit(benchmark::kMicrosecond);

}  // namespace
