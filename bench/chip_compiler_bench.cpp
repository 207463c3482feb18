// Compiling the largest chart a chip takes: all 220 symbols, the code filling
// the 256-byte image up to the jump table, with 16 subs, every decision
// tried as a one-byte branch, delays and constants.

#include <benchmark/benchmark.h>

#include <string>

#include "chip/chip_compiler.h"
#include "flowchart/flow_document.h"
#include "platform/scripted_messages.h"

namespace {

using namespace tarvel;

class ChartFiller {
public:
    explicit ChartFiller(FlowDocument& doc) : doc_(doc) {}

    int add(SymbolKind kind, const std::string& text)
    {
        const int n = doc_.symbolCount();
        const int i = doc_.appendSymbol(kind, {64 + (n % 10) * 128, 56 + (n / 10) * 84});
        doc_.setSymbolText(i, text);
        return i;
    }
    void join(int from, int to, LineKind kind = LineKind::Plain)
    {
        doc_.appendLine(from, to, kind, LineGeometry{});
    }
    // Appends to the main chain.
    void then(int symbol)
    {
        join(last_, symbol);
        last_ = symbol;
    }
    void startAt(int symbol) { last_ = symbol; }
    int last() const { return last_; }

private:
    FlowDocument& doc_;
    int last_ = -1;
};

// 16 subs of two bytes; a main program of calls, delays, Lets, sounds and 66
// decisions whose YES is one output running on to the next decision: 220
// symbols, code from 3 to 199.
void buildLargestChart(FlowDocument& doc)
{
    ChartFiller f(doc);
    f.startAt(f.add(SymbolKind::StartStop, "Start"));
    for (int n = 1; n <= 16; ++n) f.then(f.add(SymbolKind::Process, "Sub " + std::to_string(n)));
    for (int k = 1; k <= 8; ++k) {
        f.then(f.add(SymbolKind::Process, "Delay " + std::to_string(k)));
        f.then(f.add(SymbolKind::Process, "Let x = " + std::to_string(k * 10)));
    }
    for (int k = 0; k < 6; ++k) f.then(f.add(SymbolKind::Output, "Sound 1"));
    int pending = -1;  // the YES output of the previous decision
    for (int k = 0; k < 66; ++k) {
        const int ask = f.add(SymbolKind::Decision, "Is Input 1 on");
        if (pending >= 0) {
            f.join(f.last(), ask, LineKind::No);
            f.join(pending, ask);
            f.startAt(ask);
        } else {
            f.then(ask);
        }
        pending = f.add(SymbolKind::Output, "Turn Output " + std::to_string(k % 8 + 1) + " on");
        f.join(ask, pending, LineKind::Yes);
    }
    const int stop = f.add(SymbolKind::StartStop, "Stop");
    f.join(f.last(), stop, LineKind::No);
    f.join(pending, stop);
    for (int n = 1; n <= 16; ++n) {
        const int head = f.add(SymbolKind::StartStop, "Sub " + std::to_string(n));
        const int out =
            f.add(SymbolKind::Output, "Turn Output " + std::to_string(n % 8 + 1) + " off");
        f.join(head, out);
        f.join(out, f.add(SymbolKind::StartStop, "Stop"));
    }
}

void BM_CompileLargestChart(benchmark::State& state)
{
    FlowDocument doc;
    buildLargestChart(doc);
    ChipTarget target;
    ScriptedMessages messages;
    messages.recording = false;
    const ChipCompileResult first = compileChart(doc, target, messages);
    if (!first.program || doc.symbolCount() != kMaxSymbols) {
        state.SkipWithError(first.fault ? first.fault->text.c_str() : "not the largest chart");
        return;
    }
    int used = 0;
    for (std::size_t a = 0; a < first.program->symbolAt.size(); ++a)
        if (first.program->symbolAt[a] >= 0) used = static_cast<int>(a);
    for (auto _ : state) {
        ChipCompileResult r = compileChart(doc, target, messages);
        benchmark::DoNotOptimize(r);
    }
    state.counters["symbols"] = doc.symbolCount();
    state.counters["lastCode"] = used;
}
BENCHMARK(BM_CompileLargestChart)->Unit(benchmark::kMicrosecond);

}  // namespace
