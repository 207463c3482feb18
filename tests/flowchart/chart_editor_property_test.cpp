// Random editing sessions: a pupil's clicks, drags and commands in any order,
// charts opened part way through a gesture, every refusal taken. Whatever
// happens, the chart must then save, read back and save again to the same
// bytes: an edit can never leave a chart the program cannot open.
//
// Seeded and short by default. TARVEL_EDIT_SEQUENCES sets how many sessions
// run (a long run: 100000), TARVEL_EDIT_SEED the seed of the first; a failing
// session is reported with its own seed, which run alone (sequences 1)
// repeats it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "flowchart/chart_editor.h"
#include "flowchart/flow_file.h"
#include "support/fake_messages.h"
#include "support/read_chart.h"

namespace tarvel {
namespace {

constexpr int kDefaultSequences = 1500;
constexpr unsigned kDefaultSeed = 20260;
constexpr int kStepsPerSession = 24;

unsigned long envNumber(const char* name, unsigned long fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::strtoul(v, nullptr, 10) : fallback;
}

// Command texts that matter to the editor: Stop ends no line, Start and sub
// heads take none, a head's copy is renumbered.
const char* const kTexts[] = {"",
                              "Start",
                              "Stop",
                              "Stop All",
                              "Sub 1(Luz)",
                              "Sub 2",
                              "Delay 1",
                              "Turn Output 1 on",
                              "Is Input 2 on"};

class Session {
public:
    explicit Session(unsigned seed) : rng_(seed) {}

    // A chart drawn with the editor itself: symbols, texts, lines and labels.
    void drawChart(FlowDocument& into)
    {
        ChartEditor ed(into, messages_, labelWidth);
        const int symbols = pick(2, 14);
        for (int i = 0; i < symbols; ++i) {
            ed.chooseTool(static_cast<EditorTool>(pick(0, 3)), false);
            ed.press(anywhere(), false);
        }
        for (int i = 0; i < into.symbolCount(); ++i)
            into.setSymbolText(i, kTexts[pick(0, static_cast<int>(std::size(kTexts)) - 1)]);
        for (int i = pick(0, symbols); i > 0; --i) {
            ed.chooseTool(static_cast<EditorTool>(pick(6, 8)), false);
            ed.press(symbolPoint(into), false);
            ed.press(symbolPoint(into), false);
            ed.abandonLine();  // a miss starts a line by hand: not here
        }
        for (int i = pick(0, 3); i > 0; --i) {
            ed.chooseTool(EditorTool::Label, false);
            const PressOutcome placed = ed.press(anywhere(), false);
            if (placed.kind == PressOutcome::OpenLabelEditor)
                into.setLabelText(placed.index, "luz");
        }
    }

    // One random step of a pupil's session; returns what it did.
    std::string step(FlowDocument& doc, ChartEditor& ed)
    {
        const Point p = pick(0, 2) == 0 ? anywhere() : symbolPoint(doc);
        std::ostringstream what;
        what << "(" << p.x << "," << p.y << ") ";
        switch (pick(0, 15)) {
            case 0:
                what << "tool " << chooseAny(ed);
                break;
            case 1:
                what << "line from";
                ed.chooseTool(static_cast<EditorTool>(pick(6, 8)), false);
                ed.press(p, false);
                break;
            case 2:
            case 14:
                what << "press";
                ed.press(p, false);
                break;
            case 3:
                what << "right press";
                ed.rightPress(p, false);
                break;
            case 4: {
                const bool copy = pick(0, 1) == 1;
                what << "drag" << (copy ? " copy" : "");
                ed.startDrag(p, copy, false);
                break;
            }
            case 5:
                what << "pointer";
                ed.pointerMoved(p);
                break;
            case 6:
                what << "release";
                ed.release(p);
                break;
            case 7:
                what << "carry or group to " << dragTo(doc, ed, p);
                break;
            case 8:
                what << "delete";
                messages_.answerNext(pick(0, 1) ? MsgAnswer::Yes : MsgAnswer::No);
                ed.deleteCommand();
                break;
            case 9:
                what << "align";
                ed.align(static_cast<AlignMode>(pick(170, 174)));
                break;
            case 10:
                what << "text";
                if (doc.symbolCount() > 0)
                    doc.setSymbolText(pick(0, doc.symbolCount() - 1),
                                      kTexts[pick(0, static_cast<int>(std::size(kTexts)) - 1)]);
                break;
            case 11:
            case 12:
                what << "line by hand";
                ed.press(p, false);
                for (int k = pick(0, 6); k > 0; --k) ed.press(anywhere(), false);
                if (pick(0, 1)) ed.press(symbolPoint(doc), false);
                break;
            case 13:
            case 15:
                what << "open another chart " << open(doc, ed);
                break;
        }
        return what.str();
    }

    static int labelWidth(const FlowLabel& l) { return 8 * static_cast<int>(l.text.size()); }
    test::FakeMessages& messages() { return messages_; }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    Point anywhere() { return {pick(0, kDrawingWidth), pick(0, kDrawingHeight)}; }

    // On a symbol, or just beside one, where inserting and too-close refusals live.
    Point symbolPoint(const FlowDocument& doc)
    {
        if (doc.symbolCount() == 0) return anywhere();
        const FlowSymbol& s = doc.symbol(pick(0, doc.symbolCount() - 1));
        if (pick(0, 1)) return {s.x, s.y};
        return {s.x + pick(-40, 40), s.y + pick(-90, 90)};
    }

    int chooseAny(ChartEditor& ed)
    {
        const int tool = pick(0, 8);
        ed.chooseTool(static_cast<EditorTool>(tool), false);
        return tool;
    }

    // A press, a drag and a release: a carried symbol, a group moved or
    // copied, or a rubber band, as the press finds it.
    std::string dragTo(const FlowDocument& doc, ChartEditor& ed, Point from)
    {
        const Point to = pick(0, 1) ? anywhere() : symbolPoint(doc);
        ed.press(from, false);
        ed.startDrag(from, pick(0, 1) == 1, false);
        ed.pointerMoved(to);
        ed.release(to);
        return "(" + std::to_string(to.x) + "," + std::to_string(to.y) + ")";
    }

    // New, or a chart read from its file, whatever the editor is doing.
    std::string open(FlowDocument& doc, ChartEditor& ed)
    {
        if (pick(0, 3) == 0) {
            doc.clear(0, 0);
            ed.documentReplaced();
            return "(new)";
        }
        FlowDocument other(&messages_);
        drawChart(other);
        const std::string bytes = serializeFlowFile(other, {});
        FlowDocument next = doc;
        FlowFileInfo info;
        if (!test::readChart(bytes, next, info, {}).empty()) return "(unreadable!)";
        doc = next;
        doc.clearSelection();
        ed.documentReplaced();
        return "of " + std::to_string(doc.symbolCount()) + " symbols";
    }

    std::mt19937 rng_;
    test::FakeMessages messages_;
};

TEST(ChartEditorProperty, EveryEditedChartSavesReadsBackAndSavesTheSame)
{
    const auto sequences = static_cast<int>(envNumber("TARVEL_EDIT_SEQUENCES", kDefaultSequences));
    const auto first = static_cast<unsigned>(envNumber("TARVEL_EDIT_SEED", kDefaultSeed));
    const InterfaceSettings settings;
    for (int n = 0; n < sequences; ++n) {
        const unsigned seed = first + static_cast<unsigned>(n);
        Session session(seed);
        FlowDocument doc(&session.messages());
        session.drawChart(doc);
        ChartEditor editor(doc, session.messages(), Session::labelWidth);
        std::vector<std::string> steps;
        for (int k = 0; k < kStepsPerSession; ++k) steps.push_back(session.step(doc, editor));

        std::string log = "session seed " + std::to_string(seed) + ":";
        for (const std::string& s : steps) log += "\n  " + s;
        ASSERT_TRUE(checkFlowFile(doc, settings)) << log;
        const std::string saved = serializeFlowFile(doc, settings);
        FlowDocument back;
        FlowFileInfo info;
        ASSERT_EQ(test::readChart(saved, back, info, {}), "") << log;
        ASSERT_EQ(serializeFlowFile(back, settings), saved) << log;
    }
}

}  // namespace
}  // namespace tarvel
