// The delay and constant tables, the trial compilation of branches, and where
// code meets the jump table. Images derived by hand.

#include <gtest/gtest.h>

#include <string>

#include "chip/chip_compiler.h"
#include "chip/chip_test_support.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_document.h"

namespace tarvel {
namespace {

using test::ChartBuilder;
using test::chipTarget;
using test::compileClean;
using test::ExpectedImage;
using test::expectImage;
using test::FakeMessages;

const ChipTarget kSkip = chipTarget(ChipDialect::Skip, 256);

// A start, then the texts in a chain (kind by their first letter), then a Stop.
struct Chain {
    FlowDocument doc;
    ChartBuilder b{doc};
    std::vector<int> symbols;
    int stop = -1;

    explicit Chain(const std::vector<std::string>& texts)
    {
        int previous = b.start();
        for (const std::string& t : texts) {
            const bool output = t[0] == 'T' || t[0] == 'O' || t[0] == 'M' || t[0] == 'S';
            const int s = output && t.rfind("Sub", 0) != 0 ? b.out(t) : b.proc(t);
            b.join(previous, s);
            symbols.push_back(s);
            previous = s;
        }
        stop = b.stop();
        b.join(previous, stop);
    }
};

void expectFault(const FlowDocument& doc, const ChipTarget& target, const std::string& text,
                 int symbol)
{
    test::expectCompileFault(doc, target, "Error de Compilar", text, symbol);
}

// ---- Delays ------------------------------------------------------------------------------------

TEST(ChipDelays, EqualValuesShareAnEntryAndLongOnesAreCut)
{
    Chain c({"Delay 1.0", "Delay 30", "Delay 1", "Delay 0.25", "Delay 3.57"});
    ExpectedImage e(256);
    // 1.0 s = 10 tenths (entry 0); 30 s = 255 + 45 (entries 1, 2); 1 s again
    // entry 0; 0.25 s rounds half up to 3 tenths (entry 3); without fine
    // delays 3.57 s rounds to 36 tenths (entry 4).
    e.at(3, {0x20, 0x21, 0x22, 0x20, 0x23, 0x24, 0x3D});
    e.at(207, {10, 255, 45, 3, 36});
    e.symbolAt(3, c.symbols[0]).symbolAt(4, c.symbols[1]).symbolAt(6, c.symbols[2]);
    e.symbolAt(7, c.symbols[3]).symbolAt(8, c.symbols[4]).symbolAt(9, c.stop);
    expectImage(compileClean(c.doc, kSkip), e);
}

TEST(ChipDelays, FineDelaysOnAChipThatTalksLive)
{
    Chain c({"Delay 2.56", "Delay 3.5", "Delay 2.55", "Delay 0.0"});
    ExpectedImage e(128);
    // 2.56 s: digit 6, 256 hundredths: fine 246 (entry 0), then 25 - 24 = 1
    // tenth (entry 1). 3.5 s has no hundredths: 35 tenths (entry 2). 2.55 s:
    // 255 hundredths in one fine delay (entry 3). 0.0 s waits for nothing.
    e.at(3, {0xF0, 0x21, 0x22, 0xF3, 0x3E});
    e.at(79, {246, 1, 35, 255});
    e.symbolAt(3, c.symbols[0]).symbolAt(5, c.symbols[1]).symbolAt(6, c.symbols[2]);
    e.symbolAt(7, c.stop);
    expectImage(compileClean(c.doc, chipTarget(ChipDialect::Direct, 128, 2)), e);
}

TEST(ChipDelays, SeventeenDifferentValuesAreTooMany)
{
    std::vector<std::string> texts;
    for (int s = 1; s <= 17; ++s) texts.push_back("Delay " + std::to_string(s));
    Chain c(texts);
    expectFault(c.doc, kSkip, "Hay demasiadas tardanzas con valores diferentes", c.symbols[16]);
    c.doc.setSymbolText(c.symbols[16], "Delay 16");
    compileClean(c.doc, kSkip);
}

// ---- Let and constants ----------------------------------------------------------------------

TEST(ChipConstants, SlotsAreSharedWithinReachOfEachOpcode)
{
    Chain c({"Let x = 5", "Let y = 5", "Let x = x + 5", "Let y = 9", "Let x = y + 1",
             "Let y = y - x", "Let x = x"});
    ExpectedImage e(256);
    e.at(3, {0x60, 0x70});  // both in slot 0
    e.at(5, {0x44, 0x51});  // B cannot reach slot 0: 5 again in slot 4, x += B
    e.at(7, {0x71});        // 9 in slot 1, the lowest free
    // "Let x = y + 1" adds to x: the variable after "=" is not read. 1 in slot 5.
    e.at(8, {0x45, 0x51});
    e.at(10, {0x41, 0x57});  // B := x, y += -B
    e.at(12, {0x3D});        // "Let x = x" has nothing to do
    e.at(239, {5, 9}).at(243, {5, 1});
    e.symbolAt(3, c.symbols[0]).symbolAt(4, c.symbols[1]).symbolAt(5, c.symbols[2]);
    e.symbolAt(7, c.symbols[3]).symbolAt(8, c.symbols[4]).symbolAt(10, c.symbols[5]);
    e.symbolAt(12, c.stop);
    expectImage(compileClean(c.doc, kSkip), e);
}

TEST(ChipConstants, SixteenSlotsAndOneByteEach)
{
    std::vector<std::string> texts;
    for (int v = 1; v <= 17; ++v) texts.push_back("Let x = " + std::to_string(v));
    Chain c(texts);
    expectFault(c.doc, kSkip, "Se usó demasiado constantes", c.symbols[16]);

    // Values up to 255 take the lowest free slot; larger ones are refused.
    Chain d({"Let x = 1", "Let x = 2", "Let x = 3", "Let x = 4", "Let y = 255"});
    ExpectedImage e(256);
    e.at(3, {0x60, 0x61, 0x62, 0x63, 0x74, 0x3D}).at(239, {1, 2, 3, 4, 255});
    for (int i = 0; i < 5; ++i) e.symbolAt(3 + i, d.symbols[static_cast<std::size_t>(i)]);
    e.symbolAt(8, d.stop);
    expectImage(compileClean(d.doc, kSkip), e);

    d.doc.setSymbolText(d.symbols[4], "Let y = 256");
    expectFault(d.doc, kSkip,
                "El número 256 es demasiado grande: el chip solamente guarda números de 0 a 255",
                d.symbols[4]);
    d.doc.setSymbolText(d.symbols[4], "Sub 1 x 300");
    const int head = d.b.head("Sub 1"), back = d.b.stop();
    d.b.join(head, back);
    expectFault(d.doc, kSkip,
                "El número 300 es demasiado grande: el chip solamente guarda números de 0 a 255",
                d.symbols[4]);
}

TEST(ChipConstants, OnlyXAndYWithAddingAndSubtracting)
{
    for (const char* text : {"Let a = 5", "Let x = Val 1", "Let x = y", "Let x = x * 2",
                             "Let y = y + n", "Let z = z + 1"}) {
        SCOPED_TRACE(text);
        Chain c({text});
        expectFault(c.doc, kSkip, "Error analizando el proceso", c.symbols[0]);
    }
}

// ---- Trial compilation --------------------------------------------------------------------------

TEST(ChipTrial, TakesBackBytesAndJumpsButKeepsConstants)
{
    // Both branches are single Lets that lead elsewhere: each is tried (and
    // takes its slot), neither layout with a single byte applies, so S (the
    // x) is compiled first into the slot taken second.
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), ask = b.decide("Is Input 1 on"), setY = b.proc("Let y = 9"),
              stopY = b.stop(), setX = b.proc("Let x = 4"), stopX = b.stop();
    b.chain({start, ask});
    b.join(ask, setY, LineKind::Yes);
    b.join(ask, setX, LineKind::No);
    b.chain({setY, stopY});
    b.chain({setX, stopX});
    ExpectedImage e(256);
    e.at(3, {0x31, 0xFF, 0x61, 0x3D, 0x70, 0x3D}).at(206, {7}).at(239, {9, 4});
    e.symbolAt(3, ask).symbolAt(5, setX).symbolAt(6, stopX).symbolAt(7, setY).symbolAt(8, stopY);
    expectImage(compileClean(doc, kSkip), e);

    // A repeated call tried as a branch takes a jump entry on trial; it is
    // given back, so the real loop gets entry 63.
    FlowDocument doc2;
    ChartBuilder b2(doc2);
    const int start2 = b2.start(), ask2 = b2.decide("Is Input 1 on"), repeat = b2.proc("Sub 1 x 2"),
              stop2 = b2.stop(), head = b2.head("Sub 1"), out = b2.out("Turn Output 1 on"),
              back = b2.stop();
    b2.chain({start2, ask2});
    b2.join(ask2, repeat, LineKind::Yes);
    b2.join(ask2, stop2, LineKind::No);
    b2.chain({repeat, stop2});
    b2.chain({head, out, back});
    ExpectedImage e2(256);
    // Rule 4: b (skip if on), the Stop, then the loop: reset Rm, call at 6,
    // count, B := slot 4 (2), A := Rm, skip if equal, back to 6 (entry 63),
    // then on to the Stop (entry 62).
    e2.at(3, {0x30, 0x3D, 0x3A, 0x90, 0x58, 0x44, 0x83, 0x34, 0xFF, 0xFE});
    e2.at(13, {0x10, 0x3C}).at(205, {4, 6}).at(223, {13}).at(243, {2});
    e2.symbolAt(3, ask2).symbolAt(4, stop2).symbolAt(5, repeat).symbolAt(13, out);
    e2.symbolAt(14, back);
    expectImage(compileClean(doc2, kSkip), e2);
}

// ---- Code against the jump table ----------------------------------------------------------------

std::vector<std::string> outputs(int n)
{
    return std::vector<std::string>(static_cast<std::size_t>(n), "Turn Output 1 on");
}

TEST(ChipOverflow, ASymbolMayNotStartWithinFiveBytesOfTheJumpTable)
{
    // Next free entry 63 is at 206: a symbol may start at 200 at most.
    Chain fits(outputs(197));
    const ChipProgram p = compileClean(fits.doc, kSkip);
    EXPECT_EQ(p.image[199], 0x10);
    EXPECT_EQ(p.image[200], 0x3D);
    EXPECT_EQ(p.symbolAt[200], fits.stop);

    Chain full(outputs(198));
    expectFault(full.doc, kSkip, "Desbordamiento de codo", full.stop);

    // 128 bytes: the limit is 73.
    Chain small(outputs(70));
    expectFault(small.doc, chipTarget(ChipDialect::Skip, 128), "Desbordamiento de codo",
                small.stop);
    small.doc.setSymbolText(small.symbols[0], "Sound 1");  // one byte less
    compileClean(small.doc, chipTarget(ChipDialect::Skip, 128));
}

TEST(ChipOverflow, CodeNeverRunsIntoTheJumpTableWithinASymbol)
{
    // 999 s is 40 delay bytes: started at 70, below the limit of 73, they
    // would run over the jump table (up to 78) into the delay table.
    std::vector<std::string> texts = outputs(67);
    texts.push_back("Delay 999");
    Chain c(texts);
    expectFault(c.doc, chipTarget(ChipDialect::Direct, 128, 2), "Desbordamiento de codo",
                c.symbols[67]);

    // Seven bytes from 200 fill 200..206; the jump back after them would take
    // entry 63 at 206, over the last of them.
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), first = b.out("Turn Output 1 on");
    b.join(start, first);
    int previous = first;
    for (int i = 0; i < 196; ++i) {
        const int s = b.out("Turn Output 2 on");
        b.join(previous, s);
        previous = s;
    }
    const int seven = b.out("Output 1,2,3,4 on 5,6,7 off");
    b.join(previous, seven);
    b.join(seven, first);
    expectFault(doc, kSkip, "Desbordamiento de codo", seven);
}

TEST(ChipOverflow, SixtyFiveJumpTargetsAreTooMany)
{
    // Each decision waits on itself: a skip and a jump to its own address.
    FlowDocument doc;
    ChartBuilder b(doc);
    int previous = b.start();
    std::vector<int> asks;
    for (int i = 0; i < 65; ++i) {
        const int ask = b.decide("Is Input 1 on");
        b.join(previous, ask, asks.empty() ? LineKind::Plain : LineKind::No);
        b.join(ask, ask, LineKind::Yes);
        asks.push_back(ask);
        previous = ask;
    }
    const int stop = b.stop();
    b.join(previous, stop, LineKind::No);
    expectFault(doc, kSkip, "Desbordamiento de bifurcar, intente restructurar en más sub-rutas",
                asks[64]);

    // Sixty-four fit, entries 63 down to 0, when the last decision needs no
    // jump: its YES goes to a Stop of its own.
    doc.lineRef(doc.lineCount() - 2).destination = b.stop();
    const ChipProgram p = compileClean(doc, kSkip);
    EXPECT_EQ(p.image[3], 0x31);
    EXPECT_EQ(p.image[4], 0xFF);
    EXPECT_EQ(p.image[143], 3 + 2 * 63);  // entry 0: the 64th decision
}

}  // namespace
}  // namespace tarvel
