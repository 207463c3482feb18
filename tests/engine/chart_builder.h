#pragma once
// Builds charts for tests: symbols stacked down the page, joined by lines.

#include <string>

#include "flowchart/flow_document.h"

namespace tarvel::test {

class ChartBuilder {
public:
    explicit ChartBuilder(FlowDocument& doc) : doc_(doc) {}

    int add(SymbolKind kind, const std::string& text)
    {
        const int i = doc_.appendSymbol(kind, {64 + 160 * (count_ / 12), 56 + 56 * (count_ % 12)});
        doc_.setSymbolText(i, text);
        ++count_;
        return i;
    }
    int start() { return add(SymbolKind::StartStop, "Start"); }
    int stop() { return add(SymbolKind::StartStop, "Stop"); }
    int out(const std::string& text) { return add(SymbolKind::Output, text); }
    int proc(const std::string& text) { return add(SymbolKind::Process, text); }
    int decide(const std::string& text) { return add(SymbolKind::Decision, text); }
    int head(const std::string& text) { return add(SymbolKind::StartStop, text); }

    int join(int a, int b, LineKind kind = LineKind::Plain)
    {
        LineGeometry g;
        g.points[0] = {doc_.symbol(a).x, doc_.symbol(a).y};
        g.points[1] = {doc_.symbol(b).x, doc_.symbol(b).y};
        return doc_.appendLine(a, b, kind, g);
    }
    // Joins a chain of symbols with plain lines.
    void chain(std::initializer_list<int> symbols)
    {
        int prev = -1;
        for (const int s : symbols) {
            if (prev >= 0) join(prev, s);
            prev = s;
        }
    }

private:
    FlowDocument& doc_;
    int count_ = 0;
};

}  // namespace tarvel::test
