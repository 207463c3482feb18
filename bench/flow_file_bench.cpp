// Loading and saving the fullest chart the tables hold: 220 symbols, 400 lines
// of 7 points, 100 labels, every text at its full length.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

void fillFull(FlowDocument& doc)
{
    for (int i = 0; i < kMaxSymbols; ++i) {
        const int s = doc.appendSymbol(static_cast<SymbolKind>(i % 4),
                                       {64 + (i % 20) * 64, 56 + (i / 20) * 112});
        doc.setSymbolText(s, std::string(kSymbolTextMax, static_cast<char>('a' + i % 26)));
    }
    for (int i = 0; i < kMaxLines; ++i) {
        LineGeometry g;
        g.tag = {100 + i, 200};
        for (int p = 0; p < kLinePoints; ++p)
            g.points[static_cast<std::size_t>(p)] = {i + p * 10, 300 + p};
        doc.appendLine(i % kMaxSymbols, (i + 1) % kMaxSymbols, static_cast<LineKind>(i % 3), g);
    }
    for (int i = 0; i < kMaxLabels; ++i) {
        const int l = doc.appendLabel({10 * i, 20 * i});
        doc.setLabelText(l, std::string(kLabelTextMax, static_cast<char>('A' + i % 26)));
    }
    for (auto& n : doc.inputNames) n = std::string(kNameMax, 'i');
    for (auto& n : doc.outputNames) n = std::string(kNameMax, 'o');
    for (auto& n : doc.motorNames) n = std::string(kNameMax, 'm');
    for (auto& n : doc.channelNames) n = std::string(kNameMax, 'c');
    for (auto& s : doc.soundFiles) s = std::string(kSoundNameMax, 's');
    doc.mimicSet = std::string(kMimicNameMax, 'f');
}

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
