// Charts from files are not to be trusted: whatever their texts and lines, a
// compile ends in a whole image or in one refusal that blames a real symbol.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "chip/chip_compiler.h"
#include "chip/chip_test_support.h"
#include "flowchart/flow_document.h"

namespace tarvel {
namespace {

const std::vector<std::string> kTexts[4] = {
    {"Start", "Stop", "Stop All", "Sub 1", "Sub 2(luz)", "Sub 16", "Sub 17", "Sub 0", "", "Sub",
     "Sub 99999999999"},
    {"Turn Output 1 on", "Output 1,2 on 3,9 off", "Motor a fd b rev 50%", "Turn Motor d rev ",
     "Motor c fd 999%", "Send \"texto\"", "Send 'x'", "Send 1FFh", "Send 999", "Send \"",
     "Set OUT = 300", "Sound 3", "Turn DAC 20", "Turn", "Output", "Motor"},
    {"Delay 2.5", "Delay 999", "Delay 0.07", "Delay 3.57", "Let x = 5", "Let y = y - x",
     "Let x = 99999999999999999999", "Let x = x +", "Sub 1 x 3", "Sub 2 x 0", "Sub 3", "Sub 1 x -2",
     "Sub 20", "Let"},
    {"Is Input 1 on", "Is Input 8 off", "Is Input x on", "Is Val 1 > 50", "Is Val 4 < 99.99",
     "Is Margin = 0.5", "Is x != y", "Is y < Val 2", "Is IN = 3", "Is", "Is Val", "Is x >",
     "Is Margin < Val 5", "Is x = 255"},
};

std::string noise(std::mt19937& rng)
{
    std::string s(rng() % 40, ' ');
    for (char& c : s) c = static_cast<char>(1 + rng() % 255);
    return s;
}

FlowDocument randomChart(std::mt19937& rng)
{
    FlowDocument doc;
    const int count = 1 + static_cast<int>(rng() % 60);
    for (int i = 0; i < count; ++i) {
        const int kind = static_cast<int>(rng() % 4);
        const int at = doc.appendSymbol(static_cast<SymbolKind>(kind),
                                        {64 + 32 * (i % 30), 56 + 56 * (i / 30)});
        const auto& texts = kTexts[kind];
        doc.setSymbolText(at, rng() % 10 == 0 ? noise(rng) : texts[rng() % texts.size()]);
    }
    const int lines = static_cast<int>(rng() % static_cast<unsigned>(3 * count));
    for (int i = 0; i < lines; ++i)
        doc.appendLine(static_cast<int>(rng() % static_cast<unsigned>(count)),
                       static_cast<int>(rng() % static_cast<unsigned>(count)),
                       static_cast<LineKind>(rng() % 3), LineGeometry{});
    return doc;
}

// A start, sub 1, and symbols with forms every chip takes, each with the
// lines it needs to any symbol after it or back to any before.
FlowDocument tidyChart(std::mt19937& rng)
{
    static const std::vector<std::string> forms[4] = {
        {"Stop", "Stop All"},
        {"Turn Output 1 on", "Output 1,2 on 3 off", "Turn Motor a off ", "Sound 3", "Turn DAC 20"},
        {"Delay 2.5", "Delay 0.07", "Let x = 5", "Let y = y - x", "Sub 1", "Sub 1 x 3"},
        {"Is Input 1 on", "Is Input 2 off", "Is x != y", "Is Margin < 2.5", "Is Val 1 > 50"},
    };
    FlowDocument doc;
    auto add = [&](SymbolKind kind, const std::string& text) {
        const int n = doc.symbolCount();
        const int i = doc.appendSymbol(kind, {64 + 32 * (n % 30), 56 + 56 * (n / 30)});
        doc.setSymbolText(i, text);
        return i;
    };
    auto line = [&](int from, int to, LineKind k) { doc.appendLine(from, to, k, LineGeometry{}); };
    const int head = add(SymbolKind::StartStop, "Sub 1"),
              body = add(SymbolKind::Output, "Turn Output 2 on"),
              back = add(SymbolKind::StartStop, "Stop");
    line(head, body, LineKind::Plain);
    line(body, back, LineKind::Plain);
    const int start = add(SymbolKind::StartStop, "Start");
    const int first = doc.symbolCount();
    const int count = 2 + static_cast<int>(rng() % 40);
    for (int i = 0; i < count; ++i) {
        const int kind = i == count - 1 ? 0 : static_cast<int>(rng() % 4);
        add(static_cast<SymbolKind>(kind), forms[kind][rng() % forms[kind].size()]);
    }
    line(start, first, LineKind::Plain);
    auto anyOther = [&] { return first + static_cast<int>(rng() % static_cast<unsigned>(count)); };
    for (int i = first; i < first + count; ++i) {
        const SymbolKind kind = doc.symbol(i).kind;
        if (kind == SymbolKind::StartStop) continue;
        if (kind == SymbolKind::Decision) {
            line(i, anyOther(), LineKind::Yes);
            line(i, anyOther(), LineKind::No);
        } else {
            line(i, anyOther(), LineKind::Plain);
        }
    }
    return doc;
}

TEST(ChipRobustness, AnyChartCompilesOrIsRefusedCleanly)
{
    std::mt19937 rng(4242);
    const ChipTarget targets[] = {test::chipTarget(ChipDialect::Skip, 256),
                                  test::chipTarget(ChipDialect::Skip, 128, 1, 1),
                                  test::chipTarget(ChipDialect::Direct, 256),
                                  test::chipTarget(ChipDialect::Direct, 128, 2, 1, true)};
    int compiled = 0, refused = 0;
    for (int round = 0; round < 400; ++round) {
        const FlowDocument doc = round % 2 == 0 ? randomChart(rng) : tidyChart(rng);
        for (const ChipTarget& t : targets) {
            test::FakeMessages messages;
            const ChipCompileResult r = compileChart(doc, t, messages);
            if (r.program) {
                ++compiled;
                ASSERT_EQ(r.program->image.size(), static_cast<std::size_t>(t.imageSize));
                EXPECT_EQ(r.program->image.back(), 2);
                ASSERT_EQ(r.program->symbolAt.size(), r.program->image.size());
                for (const int s : r.program->symbolAt) ASSERT_LT(s, doc.symbolCount());
            } else {
                ++refused;
                ASSERT_TRUE(r.fault.has_value());
                EXPECT_GE(r.fault->symbol, -1);
                EXPECT_LT(r.fault->symbol, doc.symbolCount());
                ASSERT_FALSE(messages.empty());
                EXPECT_EQ(messages.last().text, r.fault->text);
            }
        }
    }
    // Both ends are reached, or the charts prove little.
    EXPECT_GT(compiled, 50);
    EXPECT_GT(refused, 50);
}

}  // namespace
}  // namespace tarvel
