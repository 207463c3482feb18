#pragma once
// A chart run on a live interface from a shell: `tarvel run --interface`
// against the box on a device, with a chart of the test's choosing built in a
// temporary folder, and how long the run took.

#include <chrono>
#include <string>
#include <vector>

#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel::test {

class LiveChartRun {
public:
    // Runs at most this long (the tool is stopped after it).
    static constexpr int kRunLimitS = 120;

    explicit LiveChartRun(int model) : model_(model) {}

    // Start, the `before` symbols, a wait for input 3, "Let a = Val 1",
    // the `after` symbols, Stop. A text that starts with "Delay " or "Let "
    // is a process symbol, any other an output symbol.
    std::string chart(const std::vector<std::string>& before, const std::vector<std::string>& after)
    {
        FlowDocument doc;
        ChartBuilder c(doc);
        int last = c.start();
        for (const std::string& t : before) last = step(c, last, symbol(c, t));
        const int wait = c.decide("Is Input 3 on");
        c.join(last, wait);
        c.join(wait, wait, LineKind::No);
        last = c.proc("Let a = Val 1");
        c.join(wait, last, LineKind::Yes);
        for (const std::string& t : after) last = step(c, last, symbol(c, t));
        c.join(last, c.stop());
        InterfaceSettings s;
        s.mode = 1;
        s.model = model_;
        s.numbering = 1;
        const std::string path = (dir_.path() / "LIVE.FLO").string();
        return saveFlowFile(doc, path, s, ignoredMessages()) ? path : std::string();
    }

    // `tarvel run --interface MODEL --port DEVICE` with a tick every 20 ms.
    ToolRun run(const std::string& chartPath, const std::string& device, int ticks = 400)
    {
        const std::vector<std::string> args{
            std::to_string(kRunLimitS), TARVEL_TOOL_PATH, "run",  "--interface",
            std::to_string(model_),     "--port",         device, "--ticks",
            std::to_string(ticks),      "--interval",     "20",   chartPath};
        const auto begin = std::chrono::steady_clock::now();
        ToolRun r = runTool("timeout", args, dir_.path());
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return r;
    }

    double seconds = 0;

private:
    static int symbol(ChartBuilder& c, const std::string& text)
    {
        const bool process = text.rfind("Delay ", 0) == 0 || text.rfind("Let ", 0) == 0;
        return process ? c.proc(text) : c.out(text);
    }
    static int step(ChartBuilder& c, int from, int to)
    {
        c.join(from, to);
        return to;
    }

    int model_;
    TempDir dir_;
};

}  // namespace tarvel::test
