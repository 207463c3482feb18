// What the compiler refuses and why, with the symbol it blames: starts, lines,
// subs and their nesting, decisions, motors. Images derived by hand.

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
const ChipTarget kDirect = chipTarget(ChipDialect::Direct, 256);

void expectRefused(const FlowDocument& doc, const ChipTarget& target, std::string_view caption,
                   const std::string& text, int symbol)
{
    test::expectCompileFault(doc, target, caption, text, symbol);
}

constexpr std::string_view kCompile = "Error de Compilar";
constexpr std::string_view kChart = "Error en el diagrama";

// ---- Starts ------------------------------------------------------------------------------------

TEST(ChipStarts, FiveStartsWarnAndTheFirstFourAreCompiled)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    int starts[5], outs[5];
    for (int k = 0; k < 5; ++k) starts[k] = b.start();
    for (int k = 0; k < 5; ++k) outs[k] = b.out("Turn Output " + std::to_string(k + 1) + " on");
    const int stop = b.stop();
    for (int k = 0; k < 5; ++k) b.chain({starts[k], outs[k], stop});

    FakeMessages messages;
    ChipCompileResult r = compileChart(doc, kSkip, messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Amonestación de Compilar");
    EXPECT_EQ(messages.last().text,
              "Hay más que 4 inicies en el diagrama de flujo, solamente se compilarán las "
              "primeras 4");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    ASSERT_TRUE(r.program.has_value());
    ExpectedImage e(256);
    e.at(0, {5, 7, 9});     // starts 2..4; the fifth is left out
    e.at(3, {0x10, 0x3D});  // start 1: output 1 on, Stop
    e.at(5, {0x11, 0xFF});  // start 2: output 2, jump to the Stop (entry 63)
    e.at(7, {0x12, 0xFE});  // entry 63 is never reused: entry 62
    e.at(9, {0x13, 0xFE});  // entry 62 is
    e.at(205, {4, 4});
    e.symbolAt(3, outs[0]).symbolAt(4, stop).symbolAt(5, outs[1]).symbolAt(7, outs[2]);
    e.symbolAt(9, outs[3]);
    expectImage(*r.program, e);

    messages.answerNext(MsgAnswer::Cancel);
    messages.shown.clear();
    r = compileChart(doc, kSkip, messages);
    EXPECT_FALSE(r.program.has_value());
    EXPECT_FALSE(r.fault.has_value());
    EXPECT_EQ(messages.shown.size(), 1u);  // only the warning
}

TEST(ChipStarts, WhatAStartNeeds)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int out = b.out("Turn Output 1 on");
    expectRefused(doc, kSkip, kCompile, "Debe tener un Inicie para compilar el diagrama", -1);

    const int start = b.start();
    expectRefused(doc, kSkip, kChart, "No hay una línea de este inicie", start);

    // A line into a Start.
    const int other = b.start();
    b.chain({start, out, other});
    expectRefused(doc, kDirect, kChart, "No se puede ir a un inicie", other);
}

TEST(ChipLines, EveryExitASymbolNeedsIsThere)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), out = b.out("Turn Output 1 on");
    b.join(start, out);
    expectRefused(doc, kSkip, kCompile, "Hay una línea que falta de este símbolo", out);

    const int ask = b.decide("Is Input 1 on"), stop = b.stop();
    b.join(out, ask);
    b.join(ask, stop, LineKind::No);
    expectRefused(doc, kSkip, kCompile, "Se falta una línea SI en éste símbolo", ask);

    FlowDocument doc2;
    ChartBuilder b2(doc2);
    const int start2 = b2.start(), ask2 = b2.decide("Is Input 1 on"), stop2 = b2.stop();
    b2.chain({start2, ask2});
    b2.join(ask2, stop2, LineKind::Yes);
    expectRefused(doc2, kDirect, kCompile, "Se falta una línea NO en éste símbolo", ask2);

    // A sub head with nothing after it.
    b2.join(ask2, stop2, LineKind::No);
    const int head = b2.head("Sub 2");
    expectRefused(doc2, kSkip, kCompile, "Hay una línea que falta de este símbolo", head);
}

TEST(ChipLines, ASymbolWithoutBytesThatLeadsToItselfLoops)
{
    // The sound has no bytes; its line back to itself is a jump to itself,
    // not whatever comes next.
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), sound = b.out("Sound 1");
    b.chain({start, sound, sound});
    ExpectedImage e(256);
    e.at(3, {0xFF}).at(206, {3}).symbolAt(3, sound);
    expectImage(compileClean(doc, kSkip), e);
}

// ---- Subs ------------------------------------------------------------------------------------

TEST(ChipSubs, CompiledInNumberOrderWhateverTheirPlace)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), call2 = b.proc("Sub 2"), call1 = b.proc("Sub 1(uno)"),
              stop = b.stop();
    const int head2 = b.head("Sub 2"), two = b.out("Turn Output 2 on"), back2 = b.stop();
    const int head1 = b.head("Sub 1(uno)"), one = b.out("Turn Output 1 on"), back1 = b.stop();
    b.chain({start, call2, call1, stop});
    b.chain({head2, two, back2});
    b.chain({head1, one, back1});
    ExpectedImage e(256);
    e.at(3, {0x91, 0x90, 0x3D});  // call 0x8F + 2, call 0x8F + 1, end
    e.at(6, {0x10, 0x3C});        // sub 1 first
    e.at(8, {0x11, 0x3C});
    e.at(223, {6, 8});
    e.symbolAt(3, call2).symbolAt(4, call1).symbolAt(5, stop).symbolAt(6, one);
    e.symbolAt(7, back1).symbolAt(8, two).symbolAt(9, back2);
    expectImage(compileClean(doc, kSkip), e);
}

TEST(ChipSubs, OnlySubsOneToSixteenThatExistCanBeCalled)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), call = b.proc("Sub 3 x 2"), stop = b.stop();
    b.chain({start, call, stop});
    // Without a head the call would jump to address 0 on the chip.
    expectRefused(doc, kSkip, kCompile, "No hay un Sub 3 en el diagrama para llamar", call);

    doc.setSymbolText(call, "Sub 20");
    expectRefused(doc, kSkip, kCompile,
                  "No se puede compilar el Sub 20: el chip solamente tiene los Sub 1 a 16", call);

    doc.setSymbolText(call, "Sub 3");
    const int head3 = b.head("Sub 3"), out = b.out("Turn Output 1 on"), back = b.stop();
    b.chain({head3, out, back});
    compileClean(doc, kSkip);
    // The sub table has 16 entries: a head numbered above is refused even uncalled.
    const int head17 = b.head("Sub 17(luz)");
    b.join(head17, out);
    expectRefused(doc, kDirect, kCompile,
                  "No se puede compilar el Sub 17: el chip solamente tiene los Sub 1 a 16", head17);
}

// Main program -> sub 1 (-> sub 2 ...) with the calls given.
struct SubChain {
    FlowDocument doc;
    ChartBuilder b{doc};
    std::vector<int> bodies;

    // calls[i]: what sub i + 1 calls ("" for nothing).
    explicit SubChain(const std::vector<std::string>& calls, const std::string& mainCall)
    {
        const int start = b.start(), call = b.proc(mainCall), stop = b.stop();
        b.chain({start, call, stop});
        for (std::size_t i = 0; i < calls.size(); ++i) {
            const int head = b.head("Sub " + std::to_string(i + 1));
            const int back = b.stop();
            if (calls[i].empty()) {
                b.join(head, back);
                bodies.push_back(-1);
            } else {
                const int body = b.proc(calls[i]);
                b.chain({head, body, back});
                bodies.push_back(body);
            }
        }
    }
};

TEST(ChipSubs, TwoLevelsOfRepeatedCallsAreTheLimit)
{
    // Main repeats sub 1 on Rm, sub 1 repeats sub 2 on Rs.
    SubChain ok({"Sub 2 x 2", ""}, "Sub 1 x 3");
    compileClean(ok.doc, kSkip);

    const std::string overflow =
        "Repeated sub call overflow, you cannot have more than two nested, repeated subroutines "
        "- use variables to explicitly count.";
    // Sub 1 repeats sub 2, which repeats sub 3: both loops count on Rs.
    SubChain nested({"Sub 2 x 2", "Sub 3 x 2", ""}, "Sub 1");
    expectRefused(nested.doc, kSkip, "Compile Error", overflow, nested.bodies[1]);

    // The repeated call can be one plain call further down.
    SubChain below({"Sub 2 x 2", "Sub 3", "Sub 4 x 5", ""}, "Sub 1");
    expectRefused(below.doc, kDirect, "Compile Error", overflow, below.bodies[2]);
}

TEST(ChipSubs, TheNestingCheckFollowsEveryCaller)
{
    // Sub 3 repeats sub 4. Its lowest-numbered caller, sub 1, calls it plainly;
    // sub 2 repeats it: sub 3's loop would run inside sub 2's, both on Rs.
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), c1 = b.proc("Sub 1"), c2 = b.proc("Sub 2"), stop = b.stop();
    b.chain({start, c1, c2, stop});
    const std::vector<std::string> bodies{"Sub 3", "Sub 3 x 2", "Sub 4 x 2", ""};
    std::vector<int> body(4, -1);
    for (int i = 0; i < 4; ++i) {
        const int head = b.head("Sub " + std::to_string(i + 1)), back = b.stop();
        if (bodies[static_cast<std::size_t>(i)].empty()) {
            b.join(head, back);
            continue;
        }
        body[static_cast<std::size_t>(i)] = b.proc(bodies[static_cast<std::size_t>(i)]);
        b.chain({head, body[static_cast<std::size_t>(i)], back});
    }
    expectRefused(doc, kSkip, "Compile Error",
                  "Repeated sub call overflow, you cannot have more than two nested, repeated "
                  "subroutines - use variables to explicitly count.",
                  body[2]);
}

// ---- Decisions -----------------------------------------------------------------------------

TEST(ChipDecisions, SkipConditionsFollowTheOperatorAndTheRegisters)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), same = b.decide("Is x = y"), margin = b.decide("Is Margin > 50"),
              val = b.decide("Is Val 2 < x"), differs = b.decide("Is y != 3"),
              on = b.out("Turn Output 1 on"), stop = b.stop();
    b.chain({start, same});
    for (const int d : {same, margin, val, differs}) b.join(d, stop, LineKind::Yes);
    b.join(same, margin, LineKind::No);
    b.join(margin, val, LineKind::No);
    b.join(val, differs, LineKind::No);
    b.join(differs, on, LineKind::No);
    b.join(on, stop);
    ExpectedImage e(256);
    // F = NO, S = YES = the Stop: rule 4 each time, b skips when the answer is NO.
    // x = y: A := x, B := y; b = skip if A != B; the Stop.
    e.at(3, {0x81, 0x42, 0x37, 0x3D});
    // Margin > 50: B := M, A := slot 5 (50 % = 128); YES is A < B, so b is
    // A >= B; a jump to the Stop (entry 63).
    e.at(7, {0x43, 0x85, 0x38, 0xFF});
    // Val 2 < x: B := channel 2, A := x; YES is B < A, b is B >= A; entry 62.
    e.at(11, {0x40, 0x81, 0x39, 0xFE});
    // y != 3: A := y, B := slot 4 (3). F (NO) is one output leading to the
    // Stop: rule 1, a (skip if A != B), the output, its jump reusing entry 62.
    e.at(15, {0x82, 0x44, 0x37, 0x10, 0xFE});
    e.at(205, {6, 6}).at(243, {3, 128});
    e.symbolAt(3, same).symbolAt(6, stop).symbolAt(7, margin).symbolAt(11, val);
    e.symbolAt(15, differs).symbolAt(18, on);
    expectImage(compileClean(doc, kSkip), e);
}

class FixedScale final : public ChannelScale {
public:
    std::optional<int> tableByte(int channel, double value) const override
    {
        if (channel == 0 && value == 20.0) return 77;
        return std::nullopt;
    }
};

TEST(ChipDecisions, DirectNumbersReadThroughTheChannelsSensor)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), one = b.decide("Is Val 1 > 20"), two = b.decide("Is Val 2 < 30"),
              stop = b.stop();
    b.chain({start, one});
    b.join(one, stop, LineKind::Yes);
    b.join(one, two, LineKind::No);
    b.join(two, stop, LineKind::Yes);
    b.join(two, one, LineKind::No);
    doc.sensorAssignment[1] = kSensorNone;  // channel 2 reads 0
    FakeMessages messages;
    const FixedScale scale;
    const ChipCompileResult r = compileChart(doc, kDirect, messages, &scale);
    ASSERT_TRUE(r.program.has_value());
    ExpectedImage e(256);
    // A := channel 1, B := slot 4 (77 from the sensor's table); B < A jumps to
    // YES (13); NO inline: A := channel 2, B := slot 5 (0, no sensor); A < B
    // jumps to YES; NO inline: back to the first decision.
    e.at(3, {0xC0, 0x44, 0x3B, 13, 0xC1, 0x45, 0x3A, 13, 0x38, 3, 0x3E}).at(243, {77, 0});
    e.symbolAt(3, one).symbolAt(7, two).symbolAt(13, stop);
    expectImage(*r.program, e);

    // Against the margin (in B) a channel goes to A.
    FlowDocument doc2;
    ChartBuilder b2(doc2);
    const int start2 = b2.start(), ask = b2.decide("Is Margin < Val 1"), stop2 = b2.stop();
    b2.chain({start2, ask});
    b2.join(ask, stop2, LineKind::Yes);
    b2.join(ask, ask, LineKind::No);
    ExpectedImage e2(256);
    e2.at(3, {0x43, 0xC0, 0x3B, 9, 0x38, 3, 0x3E}).symbolAt(3, ask).symbolAt(9, stop2);
    expectImage(compileClean(doc2, kDirect), e2);
}

TEST(ChipDecisions, FormsTheChipCannotTest)
{
    const std::string skipError = "Error analizando decisión";
    const std::string directError =
        "Error analizando decisión. Note que solamente los variables 'x' e 'y' se pueden usar "
        "para este interfaz.";
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), ask = b.decide("Is"), stop = b.stop();
    b.chain({start, ask});
    b.join(ask, stop, LineKind::Yes);
    b.join(ask, stop, LineKind::No);
    struct Case {
        const char* text;
        ChipTarget target;
        std::string message;
    };
    const Case cases[] = {
        {"Is", kSkip, skipError},
        {"Is Input 3 on", kSkip, skipError},  // two inputs only
        {"Is Input x on", chipTarget(ChipDialect::Skip, 256, 1), skipError},
        {"Is Val 1 = Val 1", kSkip, skipError},  // both in A
        {"Is Val 3 > 5", kSkip, skipError},      // no load for channel 3
        {"Is a > 5", kSkip, skipError},
        {"Is Input 9 on", kDirect, skipError},
        {"Is a > 5", kDirect, directError},
        {"Is IN = 5", kDirect, directError},
        {"Is x > Margin", kDirect, directError},
        {"Is Val 5 > 1", kDirect, directError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        doc.setSymbolText(ask, c.text);
        expectRefused(doc, c.target, kCompile, c.message, ask);
    }
    doc.setSymbolText(ask, "Is x > 256");
    expectRefused(doc, kDirect, kCompile,
                  "El número 256 es demasiado grande: el chip solamente guarda números de 0 a 255",
                  ask);
}

// ---- Motors ---------------------------------------------------------------------------------

TEST(ChipMotors, SpeedsWhereTheChipHasThem)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), c = b.out("Motor c fd 50%"), a = b.out("Turn Motor a off "),
              cd = b.out("Motor c off d fd 30%"), fast = b.out("Motor a fd 150%"), stop = b.stop();
    b.chain({start, c, a, cd, fast, stop});
    ExpectedImage e(256);
    e.at(3, {0xD5, 0x09});              // speed of C 5, motor c (2*4) fd
    e.at(5, {0x00});                    // motor a off
    e.at(6, {0xD3, 0xE3, 0x08, 0x0D});  // both speeds first, then c off, d (3*4) fd
    e.at(10, {0xAA, 0x01, 0x3E});       // above 100 % is 100 %
    e.symbolAt(3, c).symbolAt(5, a).symbolAt(6, cd).symbolAt(10, fast).symbolAt(12, stop);
    expectImage(compileClean(doc, kDirect), e);

    // The skip dialect reads every byte from 0xC0 up as a jump: the speeds of
    // motors C and D are refused there, those of A and B are taken.
    expectRefused(doc, kSkip, kCompile, "Este chip no puede cambiar la velocidad del motor C", c);
    doc.setSymbolText(c, "Motor a fd b rev 50%");
    doc.setSymbolText(cd, "Motor c off d fd");
    ExpectedImage skip(256);
    skip.at(3, {0xA5, 0xB5, 0x01, 0x06});  // both speeds, then a fd, b (1*4) rev
    skip.at(7, {0x00, 0x08, 0x0D});        // a off; c off, d fd without a speed
    skip.at(10, {0xAA, 0x01, 0x3D});       // its Stop is 0x3D
    skip.symbolAt(3, c).symbolAt(7, a).symbolAt(8, cd).symbolAt(10, fast).symbolAt(12, stop);
    expectImage(compileClean(doc, kSkip), skip);
    doc.setSymbolText(cd, "Motor a off d fd 30%");
    expectRefused(doc, kSkip, kCompile, "Este chip no puede cambiar la velocidad del motor D", cd);

    // With link kind 1 0xA0..0xBF test inputs: such speeds are refused.
    doc.setSymbolText(c, "Motor b fd 50%");
    expectRefused(doc, chipTarget(ChipDialect::Skip, 256, 1), kCompile,
                  "Este chip no puede cambiar la velocidad del motor B", c);
}

}  // namespace
}  // namespace tarvel
