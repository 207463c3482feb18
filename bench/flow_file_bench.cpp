// Loading and saving the fullest chart the tables hold: 220 symbols, 400 lines
// of 7 points, 100 labels, every text at its full length.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "full_chart.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

InterfaceSettings compactSettings()
{
    InterfaceSettings s;
    s.mode = 1;
    s.model = 7;
    return s;
}

void BM_SerializeFullChart(benchmark::State& state)
{
    FlowDocument doc;
    fillFull(doc);
    for (auto _ : state) benchmark::DoNotOptimize(serializeFlowFile(doc, compactSettings()));
}
BENCHMARK(BM_SerializeFullChart)->Unit(benchmark::kMicrosecond);

void BM_ParseFullChart(benchmark::State& state)
{
    FlowDocument doc;
    fillFull(doc);
    const std::string bytes = serializeFlowFile(doc, compactSettings());
    FlowLoadContext ctx;
    ctx.current = compactSettings();
    const FlowDocument base;
    for (auto _ : state) benchmark::DoNotOptimize(parseFlowFile(bytes, base, ctx));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseFullChart)->Unit(benchmark::kMicrosecond);

// The whole paths a user triggers: to and from a file on disk.
void BM_SaveFullChart(benchmark::State& state)
{
    FlowDocument doc;
    fillFull(doc);
    const auto path = (std::filesystem::temp_directory_path() / "tarvel-bench-save.FLO").string();
    ScriptedMessages messages;
    for (auto _ : state)
        benchmark::DoNotOptimize(saveFlowFile(doc, path, compactSettings(), messages));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveFullChart)->Unit(benchmark::kMicrosecond);

void BM_LoadFullChart(benchmark::State& state)
{
    FlowDocument doc;
    fillFull(doc);
    const auto path = (std::filesystem::temp_directory_path() / "tarvel-bench-load.FLO").string();
    ScriptedMessages messages;
    if (!saveFlowFile(doc, path, compactSettings(), messages)) state.SkipWithError("not saved");
    FlowLoadContext ctx;
    ctx.current = compactSettings();
    FlowDocument target;
    for (auto _ : state) benchmark::DoNotOptimize(loadFlowFile(target, path, ctx, messages, true));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadFullChart)->Unit(benchmark::kMicrosecond);

}  // namespace
