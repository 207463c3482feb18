// Whole program images, derived by hand from the instruction table: every
// symbol kind in both dialects and both image sizes, the branch layouts of
// the skip dialect, and the jump table.

#include "chip/chip_compiler.h"

#include <gtest/gtest.h>

#include "chip/chip_data.h"
#include "chip/chip_test_support.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_settings.h"

namespace tarvel {
namespace {

using test::ChartBuilder;
using test::chipTarget;
using test::compileClean;
using test::ExpectedImage;
using test::expectImage;

// One chart with every kind of symbol, compiled for both dialects below.
struct EveryKind {
    FlowDocument doc;
    int output, delay, motors, setX, addY, sound, call, ask, outputs, stop, subOutput, subStop;

    EveryKind()
    {
        ChartBuilder b(doc);
        const int start = b.start();
        output = b.out("Turn Output 1 on");
        delay = b.proc("Delay 2.5");
        motors = b.out("Motor a fd b rev 50%");
        setX = b.proc("Let x = 7");
        addY = b.proc("Let y = y + 3");
        sound = b.out("Sound 1");
        call = b.proc("Sub 1");
        ask = b.decide("Is Input 2 on");
        outputs = b.out("Output 1 on 2 off");
        stop = b.stop();
        const int head = b.head("Sub 1(luz)");
        subOutput = b.out("Turn Output 3 on");
        subStop = b.stop();
        b.chain({start, output, delay, motors, setX, addY, sound, call, ask});
        b.join(ask, outputs, LineKind::Yes);
        b.join(ask, ask, LineKind::No);  // wait for input 2
        b.chain({outputs, stop});
        b.chain({head, subOutput, subStop});
    }
};

TEST(ChipImage, EverySymbolKindInTheSkipDialect)
{
    EveryKind c;
    const ChipProgram p = compileClean(c.doc, chipTarget(ChipDialect::Skip, 256));
    EXPECT_EQ(p.dialect, ChipDialect::Skip);
    ExpectedImage e(256);
    // 256 bytes: jump table 143 (entry 63 at 206), delays 207, subs 223, constants 239.
    e.at(3, {0x10});         // output 1 on: numbering 1-8 makes it output 0
    e.at(4, {0x20});         // delay entry 0 := 25 tenths
    e.at(5, {0xA5, 0xB5});   // 50 % / 10 = 5: speed of A, speed of B first
    e.at(7, {0x01, 0x06});   // motor a (0*4) fd +1; motor b (1*4) rev +2
    e.at(9, {0x60});         // x := constant slot 0 (7)
    e.at(10, {0x44, 0x55});  // B := slot 4 (3; B reaches slots 4..15), y += B
    e.at(12, {0x90});        // the sound has no bytes; call sub 1 (0x8F + 1)
    // Input 2 on: F = YES (two bytes on trial), S = NO = the decision itself,
    // compiled: rule 7, b (skip if input 2 on) and a jump to S through entry 63.
    e.at(13, {0x32, 0xFF});
    e.at(15, {0x10, 0x19});       // output 1 before " on", output 2 after it
    e.at(17, {0x3D});             // Stop in the main program ends the task
    e.at(18, {0x12, 0x3C});       // sub 1: output 3 on, Stop returns
    e.at(206, {13});              // jump entry 63 -> the decision
    e.at(207, {25});              // delay entry 0
    e.at(223, {18});              // sub 1 begins at 18
    e.at(239, {7}).at(243, {3});  // constant slots 0 and 4
    e.symbolAt(3, c.output).symbolAt(4, c.delay).symbolAt(5, c.motors).symbolAt(9, c.setX);
    e.symbolAt(10, c.addY).symbolAt(12, c.call).symbolAt(13, c.ask).symbolAt(15, c.outputs);
    e.symbolAt(17, c.stop).symbolAt(18, c.subOutput).symbolAt(19, c.subStop);
    expectImage(p, e);
}

TEST(ChipImage, EverySymbolKindInTheDirectDialect)
{
    EveryKind c;
    const ChipProgram p = compileClean(c.doc, chipTarget(ChipDialect::Direct, 256));
    EXPECT_EQ(p.dialect, ChipDialect::Direct);
    ExpectedImage e(256);
    e.at(3,
         {0x10, 0x20, 0xA5, 0xB5, 0x01, 0x06, 0x60, 0x44, 0x55, 0x90});  // as in the skip dialect
    // Input 2 on jumps (0x31) to YES; NO follows inline: the decision is
    // compiled, so a jump 0x38 to 13. YES is compiled after it, at 17.
    e.at(13, {0x31, 17, 0x38, 13});
    e.at(17, {0x10, 0x19});
    e.at(19, {0x3E});        // Stop ends the task
    e.at(20, {0x12, 0x0F});  // sub 1; its Stop is the return 0x0F
    e.at(207, {25}).at(223, {20}).at(239, {7}).at(243, {3});
    e.symbolAt(3, c.output).symbolAt(4, c.delay).symbolAt(5, c.motors).symbolAt(9, c.setX);
    e.symbolAt(10, c.addY).symbolAt(12, c.call).symbolAt(13, c.ask).symbolAt(17, c.outputs);
    e.symbolAt(19, c.stop).symbolAt(20, c.subOutput).symbolAt(21, c.subStop);
    expectImage(p, e);
}

TEST(ChipImage, SmallImageOfABoardThatTestsEightInputs)
{
    // Link kind 1: inputs 1-8 and channels through 0xA0-0xBF.
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), light = b.decide("Is Val 3 > 50"),
              lamp = b.out("Turn Output 4 on"), count = b.proc("Let x = x - 1"),
              repeat = b.proc("Sub 2 x 3"), door = b.decide("Is Input 5 off"),
              end = b.add(SymbolKind::StartStop, "Stop All"), head = b.head("Sub 2"),
              lampOff = b.out("Turn Output 4 off"), back = b.stop();
    b.chain({start, light});
    b.join(light, lamp, LineKind::Yes);
    b.join(light, door, LineKind::No);
    b.chain({lamp, count, repeat, light});
    b.join(door, end, LineKind::Yes);
    b.join(door, light, LineKind::No);
    b.chain({head, lampOff, back});
    const ChipProgram p = compileClean(doc, chipTarget(ChipDialect::Skip, 128, 1));
    ExpectedImage e(128);
    // 128 bytes: jump table 15 (entry 63 at 78), delays 79, subs 95, constants 111.
    // Val 3 > 50: A := channel 3 (0xB0 + 2), B := slot 4 = 50 x 2.56 = 128.
    // F = NO (a decision), S = YES (one byte on trial, but it runs on to the
    // Let, not to F): rule 6 with a (0x36, skips when B < A: YES), a held byte,
    // then S's code, then F's code; the held byte jumps to F.
    e.at(3, {0xB2, 0x44, 0x36, 0xFD});
    e.at(7, {0x13});        // output 4 on
    e.at(8, {0x45, 0x53});  // B := slot 5 (1; slot 4 holds 128), x -= B
    // Sub 2 x 3 in the main program counts on Rm: reset, call at 11, Rm += 1,
    // B := slot 6 (3), A := Rm, skip if A = B, else back to 11 (entry 63).
    e.at(10, {0x3A, 0x91, 0x58, 0x46, 0x83, 0x34, 0xFF});
    e.at(17, {0xFE});  // back to the first decision (entry 62 := 3)
    // Input 5 off: F = NO (the first decision), S = YES (Stop All): rule 4,
    // b (skip if input 5 on, 0xA0 + 4), the Stop All, then F's code: a jump
    // that reuses entry 62.
    e.at(18, {0xA4, 0x3E, 0xFE});
    e.at(21, {0x1B, 0x3C});                   // sub 2: output 4 off, return
    e.at(76, {18}).at(77, {3}).at(78, {11});  // entries 61 (the held byte's), 62, 63
    e.at(96, {21});                           // sub 2
    e.at(115, {128, 1, 3});                   // constant slots 4, 5, 6
    e.symbolAt(3, light).symbolAt(7, lamp).symbolAt(8, count).symbolAt(10, repeat);
    e.symbolAt(18, door).symbolAt(19, end).symbolAt(21, lampOff).symbolAt(22, back);
    expectImage(p, e);
}

TEST(ChipImage, SmallImageOfAChipThatTalksLive)
{
    // Link kind 2, 128 bytes, option word 1: serial sends, output byte, fine
    // delays, comparisons, repeated calls on Rm and Rs, two marked starts.
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), text = b.out("Send \"Hola\""), one = b.out("Send 'A'"),
              var = b.out("Send x"), hex = b.out("Send 0Fh"), dec = b.out("Send 200"),
              byte = b.out("Set OUT = 5"), d357 = b.proc("Delay 3.57"), d057 = b.proc("Delay 0.57"),
              d415 = b.proc("Delay 4.15"), twice = b.proc("Sub 1 x 2"), stop = b.stop();
    const int start2 = b.start(), differs = b.decide("Is x != 5"), up = b.proc("Let x = x + 1"),
              margin = b.decide("Is Margin < 2.5"), value = b.decide("Is Val 2 > 25"),
              stop2 = b.stop();
    const int head1 = b.head("Sub 1"), fourTimes = b.proc("Sub 2 x 4"), back1 = b.stop();
    const int head2 = b.head("Sub 2"), motor = b.out("Motor b rev 100%"), back2 = b.stop();
    b.chain({start, text, one, var, hex, dec, byte, d357, d057, d415, twice, stop});
    b.chain({start2, differs});
    b.join(differs, up, LineKind::Yes);
    b.join(differs, margin, LineKind::No);
    b.join(up, differs);
    b.join(margin, stop2, LineKind::Yes);
    b.join(margin, value, LineKind::No);
    b.join(value, stop2, LineKind::Yes);
    b.join(value, differs, LineKind::No);
    b.chain({head1, fourTimes, back1});
    b.chain({head2, motor, back2});
    const ChipProgram p = compileClean(doc, chipTarget(ChipDialect::Direct, 128, 2, 1));
    ExpectedImage e(128);
    e.at(0, {32});                           // start 2's entry: its mark 0x14
    e.at(3, {0x13});                         // the mark before start 1
    e.at(4, {0xCD, 'H', 'o', 'l', 'a', 0});  // a text, closed by 0
    e.at(10, {0xCC, 'A', 0xCA, 0xCC, 0x0F, 0xCC, 200, 0xCF, 5});
    // 3.57 s: hundredths 357 (digit 7) >= 256: fine delay 7 + 240 = 247 in
    // entry 0, then tenths 35 (cut) - 24 = 11 in entry 1.
    e.at(19, {0xF0, 0x21});
    e.at(21, {0xF2});  // 0.57 s: 57 hundredths alone, entry 2
    // 4.15 s: digit 5 < 6: fine 5 + 250 = 255 (entry 3), tenths 41 - 25 = 16 (entry 4).
    e.at(22, {0xF3, 0x24});
    // Sub 1 x 2 on Rm: reset 0x3C, call at 25, Rm += 1, B := slot 4 (2),
    // A := Rm, back to 25 while A < B.
    e.at(24, {0x3C, 0x90, 0x58, 0x44, 0x83, 0x3A, 25});
    e.at(31, {0x3E, 0x14});  // Stop; start 2's mark
    // x != 5: A := x, B := slot 5 (5); A = B jumps to NO; YES inline.
    e.at(33, {0x81, 0x45, 0x39, 41});
    e.at(37, {0x46, 0x51, 0x38, 33});  // x += slot 6 (1), back to the decision
    // Margin < 2.5: B := M, A := slot 7 (2.5 x 2.56 = 6; A reaches slots 5..15),
    // B < A jumps to YES; NO inline.
    e.at(41, {0x43, 0x87, 0x3B, 51});
    // Val 2 > 25: A := channel 2, B := slot 8 (25 % = 64); B < A jumps to YES;
    // NO inline: a jump back to the first decision.
    e.at(45, {0xC1, 0x48, 0x3B, 51, 0x38, 33});
    e.at(51, {0x3E});
    // Sub 1: Sub 2 x 4 on Rs: reset 0x3D, call at 53, Rs += 1, B := slot 9 (4), A := Rs.
    e.at(52, {0x3D, 0x91, 0x5C, 0x49, 0x84, 0x3A, 53, 0x0F});
    e.at(60, {0xBA, 0x06, 0x0F});      // sub 2: speed of B 100 / 10, motor b rev, return
    e.at(79, {247, 11, 57, 255, 16});  // delay entries 0..4
    e.at(95, {52, 60});                // subs 1 and 2
    e.at(115, {2, 5, 1, 6, 64, 4});    // constant slots 4..9
    e.symbolAt(4, text).symbolAt(10, one).symbolAt(12, var).symbolAt(13, hex);
    e.symbolAt(15, dec).symbolAt(17, byte).symbolAt(19, d357).symbolAt(21, d057);
    e.symbolAt(22, d415).symbolAt(24, twice).symbolAt(31, stop).symbolAt(33, differs);
    e.symbolAt(37, up).symbolAt(41, margin).symbolAt(45, value).symbolAt(51, stop2);
    e.symbolAt(52, fourTimes).symbolAt(59, back1).symbolAt(60, motor).symbolAt(62, back2);
    expectImage(p, e);
}

TEST(ChipImage, OptionWordMarksASingleStartTwice)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), on = b.out("Turn Output 2 on"), stop = b.stop();
    b.chain({start, on, stop});
    const ChipProgram p = compileClean(doc, chipTarget(ChipDialect::Skip, 256, 0, 1));
    ExpectedImage e(256);
    e.at(3, {0x13, 0x14, 0x11, 0x3D}).symbolAt(5, on).symbolAt(6, stop);
    expectImage(p, e);
}

TEST(ChipImage, StartsShareCodeThroughTheStartTable)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int s1 = b.start(), s2 = b.start(), s3 = b.start(), on = b.out("Turn Output 1 on"),
              stop = b.stop(), off = b.out("Turn Output 1 off");
    b.chain({s1, on, stop});
    b.join(s2, on);  // compiled already: its entry is that code
    b.chain({s3, off, stop});
    const ChipProgram p = compileClean(doc, chipTarget(ChipDialect::Skip, 256));
    ExpectedImage e(256);
    e.at(0, {3, 5, 0});  // starts 2 and 3; no start 4
    e.at(3, {0x10, 0x3D});
    e.at(5, {0x18, 0xFF}).at(206, {4});  // output 1 off, then a jump to the shared Stop
    e.symbolAt(3, on).symbolAt(4, stop).symbolAt(5, off);
    expectImage(p, e);
}

TEST(ChipImage, NumberingFromZeroTakesTheDigitsAsTheyStand)
{
    FlowDocument doc;
    ChartBuilder b(doc);
    const int start = b.start(), on = b.out("Turn Output 0 on"), ask = b.decide("Is Input 0 on"),
              stop = b.stop();
    b.chain({start, on, ask});
    b.join(ask, stop, LineKind::Yes);
    b.join(ask, ask, LineKind::No);
    const ChipProgram p =
        compileClean(doc, chipTarget(ChipDialect::Direct, 256, 0, 0, /*numbersFromZero=*/true));
    ExpectedImage e(256);
    // Output 0; input 0 on (0x30) jumps to YES, the Stop compiled at 8 after
    // NO's inline jump back to the decision.
    e.at(3, {0x10, 0x30, 8, 0x38, 4, 0x3E});
    e.symbolAt(3, on).symbolAt(4, ask).symbolAt(8, stop);
    expectImage(p, e);
}

// ---- Branch layouts of the skip dialect -----------------------------------------------------

class SkipLayout : public ::testing::Test {
protected:
    FlowDocument doc;
    ChartBuilder b{doc};
    ChipProgram compile() { return compileClean(doc, chipTarget(ChipDialect::Skip, 256)); }
};

TEST_F(SkipLayout, OneByteBranchRunningIntoTheOtherGoesInline)
{
    // Rule 1: input 1 off gives F = NO, a single output whose line leads to
    // YES: condition, output byte, then the YES code.
    const int start = b.start(), ask = b.decide("Is Input 1 off"), on = b.out("Turn Output 1 on"),
              stop = b.stop();
    b.chain({start, ask});
    b.join(ask, stop, LineKind::Yes);
    b.join(ask, on, LineKind::No);
    b.join(on, stop);
    ExpectedImage e(256);
    e.at(3, {0x31, 0x10, 0x3D});  // skip if input 1 off (YES): three bytes
    e.symbolAt(3, ask).symbolAt(4, on).symbolAt(5, stop);
    expectImage(compile(), e);
}

TEST_F(SkipLayout, RolesExchangedWhenTheOtherBranchIsTheOneByte)
{
    // Rule 2: input 1 on gives F = YES (the Stop) and S = NO, the output.
    const int start = b.start(), ask = b.decide("Is Input 1 on"), on = b.out("Turn Output 1 on"),
              stop = b.stop();
    b.chain({start, ask});
    b.join(ask, stop, LineKind::Yes);
    b.join(ask, on, LineKind::No);
    b.join(on, stop);
    ExpectedImage e(256);
    e.at(3, {0x30, 0x10, 0x3D});  // b skips when the input is on (F)
    e.symbolAt(3, ask).symbolAt(4, on).symbolAt(5, stop);
    expectImage(compile(), e);
}

TEST_F(SkipLayout, AStopOnEitherSideTakesTheByteAfterTheCondition)
{
    // Rule 3: F = YES is the Stop; S runs on and loops back.
    const int start = b.start(), ask = b.decide("Is Input 1 on"), stop = b.stop(),
              one = b.out("Turn Output 1 on"), two = b.out("Turn Output 2 on");
    b.chain({start, ask});
    b.join(ask, stop, LineKind::Yes);
    b.join(ask, one, LineKind::No);
    b.chain({one, two, ask});
    ExpectedImage e(256);
    e.at(3, {0x31, 0x3D, 0x10, 0x11, 0xFF}).at(206, {3});
    e.symbolAt(3, ask).symbolAt(4, stop).symbolAt(5, one).symbolAt(6, two);
    expectImage(compile(), e);

    // Rule 4: the Stop is S (NO); b, the Stop, then F's code.
    FlowDocument doc2;
    ChartBuilder b2(doc2);
    const int start2 = b2.start(), ask2 = b2.decide("Is Input 1 on"),
              one2 = b2.out("Turn Output 1 on"), two2 = b2.out("Turn Output 2 on"),
              stop2 = b2.stop();
    b2.chain({start2, ask2});
    b2.join(ask2, one2, LineKind::Yes);
    b2.join(ask2, stop2, LineKind::No);
    b2.chain({one2, two2, ask2});
    ExpectedImage e2(256);
    e2.at(3, {0x30, 0x3D, 0x10, 0x11, 0xFF}).at(206, {3});
    e2.symbolAt(3, ask2).symbolAt(4, stop2).symbolAt(5, one2).symbolAt(6, two2);
    expectImage(compileClean(doc2, chipTarget(ChipDialect::Skip, 256)), e2);
}

TEST_F(SkipLayout, ABranchCompiledBeforeIsReachedByAJump)
{
    // Rule 5: F = YES is the output compiled before the decision.
    const int start = b.start(), first = b.out("Turn Output 1 on"), ask = b.decide("Is Input 1 on"),
              three = b.out("Turn Output 3 on"), stop = b.stop();
    b.chain({start, first, ask});
    b.join(ask, first, LineKind::Yes);
    b.join(ask, three, LineKind::No);
    b.chain({three, stop});
    ExpectedImage e(256);
    e.at(3, {0x10, 0x31, 0xFF, 0x12, 0x3D}).at(206, {3});  // a skips the jump when off
    e.symbolAt(3, first).symbolAt(4, ask).symbolAt(6, three).symbolAt(7, stop);
    expectImage(compile(), e);

    // Rule 7: S = NO compiled before, F new: b, a jump to S, F's code.
    FlowDocument doc2;
    ChartBuilder b2(doc2);
    const int start2 = b2.start(), first2 = b2.out("Turn Output 1 on"),
              ask2 = b2.decide("Is Input 1 on"), two2 = b2.out("Turn Output 2 on"),
              stop2 = b2.stop();
    b2.chain({start2, first2, ask2});
    b2.join(ask2, two2, LineKind::Yes);
    b2.join(ask2, first2, LineKind::No);
    b2.chain({two2, stop2});
    ExpectedImage e2(256);
    e2.at(3, {0x10, 0x30, 0xFF, 0x11, 0x3D}).at(206, {3});
    e2.symbolAt(3, first2).symbolAt(4, ask2).symbolAt(6, two2).symbolAt(7, stop2);
    expectImage(compileClean(doc2, chipTarget(ChipDialect::Skip, 256)), e2);
}

TEST_F(SkipLayout, TwoNewBranchesHoldAByteForTheJumpToTheSecond)
{
    // Rule 6 with a: F = YES does not lead to S, so S follows the skip and the
    // held byte jumps to F, compiled after S.
    const int start = b.start(), ask = b.decide("Is Input 1 on"), one = b.out("Turn Output 1 on"),
              two = b.out("Turn Output 2 on"), stop1 = b.stop(), three = b.out("Turn Output 3 on"),
              four = b.out("Turn Output 4 on"), stop2 = b.stop();
    b.chain({start, ask});
    b.join(ask, one, LineKind::Yes);
    b.join(ask, three, LineKind::No);
    b.chain({one, two, stop1});
    b.chain({three, four, stop2});
    ExpectedImage e(256);
    e.at(3, {0x31, 0xFF, 0x12, 0x13, 0x3D, 0x10, 0x11, 0x3D}).at(206, {8});
    e.symbolAt(3, ask).symbolAt(5, three).symbolAt(6, four).symbolAt(7, stop2);
    e.symbolAt(8, one).symbolAt(9, two).symbolAt(10, stop1);
    expectImage(compile(), e);
}

TEST_F(SkipLayout, TwoNewBranchesWhereFLeadsToS)
{
    // Rule 6 with b: F = YES (two bytes, not one) leads to S, so F follows
    // the skip and runs into S; the held byte jumps to S.
    const int start = b.start(), ask = b.decide("Is Input 1 on"), both = b.out("Output 1,2 on"),
              three = b.out("Turn Output 3 on"), four = b.out("Turn Output 4 on"), stop = b.stop();
    b.chain({start, ask});
    b.join(ask, both, LineKind::Yes);
    b.join(ask, three, LineKind::No);
    b.chain({both, three, four, stop});
    ExpectedImage e(256);
    e.at(3, {0x30, 0xFF, 0x10, 0x11, 0x12, 0x13, 0x3D}).at(206, {7});
    e.symbolAt(3, ask).symbolAt(5, both).symbolAt(7, three).symbolAt(8, four).symbolAt(9, stop);
    expectImage(compile(), e);
}

TEST_F(SkipLayout, JumpEntriesAreReusedButNeverEntry63)
{
    // Three jumps back to the first output: entry 63, then 62, then 62 again.
    const int start = b.start(), first = b.out("Turn Output 1 on"),
              ask1 = b.decide("Is Input 1 on"), two = b.out("Turn Output 2 on"),
              ask2 = b.decide("Is Input 2 on"), three = b.out("Turn Output 3 on"),
              four = b.out("Turn Output 4 on");
    b.chain({start, first, ask1});
    b.join(ask1, two, LineKind::Yes);
    b.join(ask1, ask2, LineKind::No);
    b.join(two, first);
    b.join(ask2, three, LineKind::Yes);
    b.join(ask2, four, LineKind::No);
    b.join(three, first);
    b.join(four, first);
    ExpectedImage e(256);
    // ask1: rule 6 with a (0x31); S = ask2 first. ask2: rule 6 with a (0x33);
    // its S (output 4) jumps back through entry 63, its F (output 3) through
    // a new entry 62; its held byte takes entry 61 (-> 10, output 3). Then
    // ask1's F (output 2) reuses entry 62, and ask1's held byte takes entry
    // 60 (-> 12, output 2).
    e.at(3, {0x10, 0x31, 0xFC, 0x33, 0xFD, 0x13, 0xFF, 0x12, 0xFE, 0x11, 0xFE});
    e.at(203, {12, 10, 3, 3});
    e.symbolAt(3, first).symbolAt(4, ask1).symbolAt(6, ask2).symbolAt(8, four);
    e.symbolAt(10, three).symbolAt(12, two);
    expectImage(compile(), e);
}

// ---- Targets
// -------------------------------------------------------------------------------------

TEST(ChipTarget, DialectAndSizeFollowTheModelAndTheChipEntry)
{
    ChipEntry live;
    live.linkKind = 2;
    live.size = 128;
    live.optionWord = 3;
    ChipEntry board;
    board.linkKind = 1;
    board.size = 256;
    InterfaceSettings s;
    s.mode = 1;
    s.model = 10;
    ChipTarget t = chipTargetFor(s, &live);
    EXPECT_EQ(t.dialect, ChipDialect::Direct);
    EXPECT_EQ(t.imageSize, 128);
    EXPECT_EQ(t.linkKind, 2);
    EXPECT_EQ(t.optionWord, 3);
    t = chipTargetFor(s, &board);
    EXPECT_EQ(t.dialect, ChipDialect::Skip);
    EXPECT_EQ(t.imageSize, 256);
    EXPECT_EQ(t.linkKind, 1);
    t = chipTargetFor(s, nullptr);  // no entry: the plain chip
    EXPECT_EQ(t.dialect, ChipDialect::Skip);
    EXPECT_EQ(t.linkKind, 0);

    s.model = 13;  // Quillo: direct, full size, no option word, whatever entry
    s.numbering = 2;
    t = chipTargetFor(s, &live);
    EXPECT_EQ(t.dialect, ChipDialect::Direct);
    EXPECT_EQ(t.imageSize, 256);
    EXPECT_EQ(t.linkKind, 0);
    EXPECT_EQ(t.optionWord, 0);
    EXPECT_TRUE(t.numbersFromZero);
}

}  // namespace
}  // namespace tarvel
