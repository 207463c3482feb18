// The chip simulator against images written by hand: every group of the
// instruction set in both dialects, the tasks, the delays on the 100 ms base,
// the return stack, marks and single stepping.

#include "chip/chip_simulator.h"

#include <gtest/gtest.h>

#include "chip/chip_sim_support.h"
#include "flowchart/flow_document.h"

namespace tarvel {
namespace {

using test::HandImage;

using Events = std::vector<std::string>;

class ChipSimulatorTest : public test::ChipSimTest {};

// ---- Outputs and motors ---------------------------------------------------------------

TEST_F(ChipSimulatorTest, OutputBytesSwitchOutputsAndShowTheMotorOfTheirPair)
{
    ASSERT_TRUE(start(HandImage().code(3, {0x10, 0x11, 0x18, 0x1F, 0x3D})));
    slices(1);
    EXPECT_EQ(rec.since(0), (Events{"output 1 on", "motor a fd"}));
    std::size_t n = rec.events.size();
    slices(1);  // both lines on reads as off
    EXPECT_EQ(rec.since(n), (Events{"output 2 on", "motor a off"}));
    n = rec.events.size();
    slices(1);  // the second line alone is reverse
    EXPECT_EQ(rec.since(n), (Events{"output 1 off", "motor a rev"}));
    EXPECT_EQ(io.image().outputByte(), 0x02);
    EXPECT_EQ(io.image().motorByte(), 0x02);
    EXPECT_EQ(io.image().sentOutputByte, 0x02);  // written through the layer
}

TEST_F(ChipSimulatorTest, MotorBytesDriveTheTwoOutputsOfTheMotor)
{
    ASSERT_TRUE(start(HandImage().code(3, {0x06, 0x05, 0x04, 0x0D, 0x3D})));
    slices(1);
    EXPECT_EQ(rec.since(0), (Events{"motor b rev", "output 3 off", "output 4 on"}));
    std::size_t n = rec.events.size();
    slices(1);
    EXPECT_EQ(rec.since(n), (Events{"motor b fd", "output 3 on", "output 4 off"}));
    n = rec.events.size();
    slices(1);
    EXPECT_EQ(rec.since(n), (Events{"motor b off", "output 3 off", "output 4 off"}));
    slices(1);  // motor D forward
    EXPECT_EQ(io.motorState(3), kMotorForward);
    EXPECT_EQ(io.image().outputByte(), 0x40);
}

TEST_F(ChipSimulatorTest, OptionWordOneSwitchesOnlyTheFirstThreeOutputsOn)
{
    ASSERT_TRUE(
        start(HandImage().code(3, {0x13, 0x14, 0x12, 0x1A, 0x3D}), ChipDialect::Skip, 0, 1));
    slices(2);  // the start marks 0x13 and 0x14 switch nothing
    EXPECT_TRUE(rec.events.empty());
    slices(1);
    EXPECT_EQ(output(3), 1);
    slices(1);
    EXPECT_EQ(output(3), 0);
}

// ---- Delays on the 100 ms base ------------------------------------------------------------

// A delay of 2.5 s holds its task for 25 steps of 100 ms, at every speed.
TEST_F(ChipSimulatorTest, DelayOfTwoAndAHalfSecondsLastsTwentyFiveTenthsAtAnySpeed)
{
    const HandImage image = HandImage().code(3, {0x10, 0x20, 0x18, 0x3D}).delay(0, 25);
    for (const auto& [interval, multiplicity] :
         {std::pair{20, 1}, std::pair{100, 1}, std::pair{820, 1}, std::pair{20, 101}}) {
        SCOPED_TRACE(std::to_string(interval) + " ms x " + std::to_string(multiplicity));
        speed.interval = interval;
        speed.multiplicity = multiplicity;
        ASSERT_TRUE(start(image));
        std::int64_t began = -1, ended = -1;
        for (int k = 0; k < 1000 && ended < 0; ++k) {
            ticks(1);
            if (began < 0 && sim.task(0).delayTarget == 25) began = clock.now;
            if (began >= 0 && output(1) == 0) ended = clock.now;
        }
        ASSERT_GE(began, 0);
        ASSERT_GE(ended, 0);
        // Released by the first slice after the 25th step: at most one tick late.
        EXPECT_GE(ended - began, 2400);
        EXPECT_LE(ended - began, 2500 + interval);
        sim.stop();
    }
}

TEST_F(ChipSimulatorTest, FineDelayWaitsItsHundredths)
{
    ASSERT_TRUE(
        start(HandImage().code(3, {0xF1, 0x10, 0x3E}).delay(1, 57), ChipDialect::Direct, 2));
    sim.slice();  // the delay begins at 0
    clock.advance(560);
    sim.slice();
    EXPECT_EQ(output(1), 0);
    clock.advance(10);
    sim.slice();
    EXPECT_EQ(output(1), 1);
}

// ---- Conditions and jumps -------------------------------------------------------------------

TEST_F(ChipSimulatorTest, SkipDialectComparisonsSkipTheNextByteWhenTheyHold)
{
    struct Case {
        int byte, a, b;
        bool skips;
    };
    const Case cases[] = {{0x34, 3, 3, true},  {0x34, 3, 4, false}, {0x35, 3, 4, true},
                          {0x35, 4, 3, false}, {0x35, 3, 3, false}, {0x36, 4, 3, true},
                          {0x36, 3, 4, false}, {0x37, 3, 4, true},  {0x37, 3, 3, false},
                          {0x38, 3, 3, true},  {0x38, 4, 3, true},  {0x38, 3, 4, false},
                          {0x39, 3, 3, true},  {0x39, 3, 4, true},  {0x39, 4, 3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.byte) + ": " + std::to_string(c.a) + ", " +
                     std::to_string(c.b));
        ASSERT_TRUE(start(HandImage()
                              .code(3, {0x85, 0x46, c.byte, 0x10, 0x11, 0x3D})
                              .constant(5, c.a)
                              .constant(6, c.b)));
        slices(4);
        EXPECT_EQ(output(1), c.skips ? 0 : 1);
        EXPECT_EQ(output(2), c.skips ? 1 : 0);
        sim.stop();
    }
}

TEST_F(ChipSimulatorTest, SkipDialectInputTestsReadInputsOneAndTwo)
{
    // 0x30/0x32 skip when input 1/2 is on, 0x31/0x33 when it is off.
    for (const auto& [byte, input, on, skips] :
         {std::tuple{0x30, 0, 1, true}, std::tuple{0x30, 0, 0, false}, std::tuple{0x31, 0, 0, true},
          std::tuple{0x31, 0, 1, false}, std::tuple{0x32, 1, 1, true},
          std::tuple{0x33, 1, 1, false}, std::tuple{0x32, 0, 1, false}}) {
        SCOPED_TRACE(byte);
        ASSERT_TRUE(start(HandImage().code(3, {byte, 0x10, 0x3D})));
        io.setInput(input, on);  // the start cleared the inputs
        slices(2);
        EXPECT_EQ(output(1), skips ? 0 : 1);
        sim.stop();
    }
}

TEST_F(ChipSimulatorTest, MarginIsRecomputedByTheControlBytesOnly)
{
    ASSERT_TRUE(start(HandImage()
                          .code(3, {0x85, 0x46, 0x3F, 0x87, 0x43, 0x3D})
                          .constant(5, 2)
                          .constant(6, 9)
                          .constant(7, 50)));
    slices(3);
    EXPECT_EQ(sim.task(0).margin, 7);
    slices(2);  // A changed, but no control byte ran since
    EXPECT_EQ(sim.task(0).b, 7);
}

TEST_F(ChipSimulatorTest, SkipDialectJumpsGoThroughTheJumpTable)
{
    ASSERT_TRUE(start(HandImage()
                          .code(3, {0xC5, 0x11, 0x3D})
                          .code(20, {0x10, 0xE1})
                          .code(40, {0x12, 0x3D})
                          .jump(5, 20)
                          .jump(33, 40)));
    slices(4);
    EXPECT_EQ(io.image().outputByte(), 0x05);  // outputs 1 and 3, never 2
}

TEST_F(ChipSimulatorTest, DirectDialectConditionsJumpToTheirAddress)
{
    struct Case {
        int byte, a, b;
        bool jumps;
    };
    const Case cases[] = {{0x38, 0, 0, true}, {0x39, 5, 5, true},  {0x39, 5, 6, false},
                          {0x3A, 5, 6, true}, {0x3A, 6, 5, false}, {0x3B, 6, 5, true},
                          {0x3B, 5, 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byte);
        ASSERT_TRUE(start(HandImage()
                              .code(3, {0x85, 0x46, c.byte, 20, 0x10, 0x3E})
                              .code(20, {0x11, 0x3E})
                              .constant(5, c.a)
                              .constant(6, c.b),
                          ChipDialect::Direct, 2));
        slices(4);
        EXPECT_EQ(output(1), c.jumps ? 0 : 1);
        EXPECT_EQ(output(2), c.jumps ? 1 : 0);
        sim.stop();
    }
    // 0x30..0x37 jump when input 1..8 is on.
    for (int n = 0; n < kIoCount; ++n) {
        ASSERT_TRUE(start(HandImage().code(3, {0x30 + n, 20, 0x10, 0x3E}).code(20, {0x11, 0x3E}),
                          ChipDialect::Direct, 2));
        io.setInput(n, 1);
        slices(2);
        EXPECT_EQ(output(2), 1) << n;
        sim.stop();
    }
}

// ---- Registers, variables and counters -------------------------------------------------------

TEST_F(ChipSimulatorTest, ArithmeticOnXAndYWrapsAtAByte)
{
    ASSERT_TRUE(
        start(HandImage()
                  .code(3, {0x60, 0x44, 0x51, 0x51, 0x86, 0x52, 0x74, 0x57, 0x81, 0x42, 0x3D})
                  .constant(0, 250)
                  .constant(4, 3)
                  .constant(6, 10)));
    slices(10);
    EXPECT_EQ(rec.events,
              (Events{"var x 250", "var x 253", "var x 0", "var x 246", "var y 3", "var y 0"}));
    EXPECT_EQ(sim.task(0).a, 246);  // A := x
    EXPECT_EQ(sim.task(0).b, 0);    // B := y
}

TEST_F(ChipSimulatorTest, TheVariablesWindowShowsOnlyXAndY)
{
    rec.shown.fill("?");
    ASSERT_TRUE(start(HandImage().code(3, {0x61, 0x3D}).constant(1, 42)));
    EXPECT_EQ(rec.shown, (std::array<std::string, 8>{"-", "-", "-", "-", "-", "0", "0", "-"}));
    slices(1);
    EXPECT_EQ(rec.shown[5], "42");
    slices(1);  // the end clears them all
    EXPECT_EQ(rec.shown, (std::array<std::string, 8>{"0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST_F(ChipSimulatorTest, RepeatCountersCountAndReset)
{
    ASSERT_TRUE(start(HandImage().code(
        3, {0x58, 0x58, 0x58, 0x5A, 0x5E, 0x5C, 0x5E, 0x83, 0x84, 0x3A, 0x3B, 0x3D})));
    slices(9);
    EXPECT_EQ(sim.task(0).rm, 2);
    EXPECT_EQ(sim.task(0).rs, 255);  // 0 - 1 + 1 - 1
    EXPECT_EQ(sim.task(0).a, 255);   // A := Rm, then A := Rs
    slices(2);
    EXPECT_EQ(sim.task(0).rm, 0);
    EXPECT_EQ(sim.task(0).rs, 0);
    sim.stop();
    ASSERT_TRUE(start(HandImage().code(3, {0x58, 0x5C, 0x3C, 0x3D, 0x3E}), ChipDialect::Direct, 2));
    slices(4);  // direct: 0x3C and 0x3D reset Rm and Rs
    EXPECT_EQ(sim.task(0).rm, 0);
    EXPECT_EQ(sim.task(0).rs, 0);
}

// ---- Channels, inputs and speeds of the link kinds -----------------------------------------

TEST_F(ChipSimulatorTest, ChannelsLoadAsPercentScaledToAByte)
{
    ASSERT_TRUE(start(HandImage().code(3, {0x80, 0x40, 0x80, 0x40, 0x3D})));
    io.setAnalogue(0, 512);
    io.setAnalogue(1, 1024);
    slices(2);
    EXPECT_EQ(sim.task(0).a, 128);
    EXPECT_EQ(sim.task(0).b, 255);  // full scale stops at 255
    io.setAnalogue(0, 3);
    io.setAnalogue(1, 1023);
    slices(2);
    EXPECT_EQ(sim.task(0).a, 0);
    EXPECT_EQ(sim.task(0).b, 255);
}

TEST_F(ChipSimulatorTest, EightInputChipsTestInputsAndLoadChannelsWithTheLinkBytes)
{
    ASSERT_TRUE(start(HandImage().code(3, {0xA5, 0x10, 0xAD, 0x11, 0xB2, 0xBB, 0x3D}),
                      ChipDialect::Skip, kChipLinkEightInputs));
    io.setInput(5, 1);
    io.setAnalogue(2, 256);
    io.setAnalogue(3, 768);
    slices(5);
    EXPECT_EQ(output(1), 0);  // input 6 on: skipped
    EXPECT_EQ(output(2), 1);  // input 6 not off: not skipped
    EXPECT_EQ(sim.task(0).a, 64);
    EXPECT_EQ(sim.task(0).b, 192);
    EXPECT_TRUE(std::none_of(rec.events.begin(), rec.events.end(),
                             [](const std::string& e) { return e.rfind("power", 0) == 0; }));
}

TEST_F(ChipSimulatorTest, OtherChipsSetMotorSpeedsWithTheLinkBytes)
{
    ASSERT_TRUE(start(HandImage().code(3, {0xA5, 0xBA, 0x3D})));
    slices(2);
    EXPECT_EQ(rec.events, (Events{"power 1 50", "power 3 100"}));
    EXPECT_EQ(io.image().outputPower[1], 50);
    sim.stop();
    ASSERT_TRUE(start(HandImage().code(3, {0xD3, 0xE7, 0x3E}), ChipDialect::Direct, 2));
    slices(2);
    EXPECT_EQ(rec.events, (Events{"power 5 30", "power 7 70"}));
}

TEST_F(ChipSimulatorTest, DirectDialectSendsTakeTheirOperandsAndSetOutSetsEveryOutput)
{
    ASSERT_TRUE(start(
        HandImage().code(3, {0xCD, 'h', 'o', 'l', 'a', 0, 0xCC, 'A', 0xCA, 0xCB, 0xCF, 0x05, 0x3E}),
        ChipDialect::Direct, 2));
    slices(4);
    EXPECT_TRUE(rec.events.empty());
    slices(1);
    EXPECT_EQ(io.image().outputByte(), 0x05);
    EXPECT_EQ(io.motorState(0), kMotorForward);
    EXPECT_EQ(io.motorState(1), kMotorForward);
    slices(1);
    EXPECT_FALSE(sim.running());
}

// ---- Calls and the return stack -----------------------------------------------------------

// Sub n at 40 + 4n calls sub n + 1, up to `depth`; the last one switches output 2 on.
HandImage nestedCalls(int depth, ChipDialect dialect)
{
    const int ret = dialect == ChipDialect::Direct ? 0x0F : 0x3C;
    const int end = dialect == ChipDialect::Direct ? 0x3E : 0x3D;
    HandImage image;
    image.code(3, {0x90, 0x10, end});
    for (int n = 1; n <= depth; ++n) {
        const int at = 40 + 4 * n;
        image.sub(n, at);
        if (n < depth)
            image.code(at, {0x90 + n, ret});
        else
            image.code(at, {0x11, ret});
    }
    return image;
}

TEST_F(ChipSimulatorTest, SevenNestedCallsReturnInOrder)
{
    for (const ChipDialect d : {ChipDialect::Skip, ChipDialect::Direct}) {
        ASSERT_TRUE(start(nestedCalls(7, d), d, d == ChipDialect::Direct ? 2 : 0));
        slices(8);
        EXPECT_EQ(sim.task(0).sp, 7);
        EXPECT_EQ(output(2), 1);
        slices(7);
        EXPECT_EQ(sim.task(0).sp, 0);
        slices(1);
        EXPECT_EQ(output(1), 1);
        slices(1);
        EXPECT_FALSE(sim.running());
        EXPECT_EQ(sim.lastStopReason(), ChipStopReason::TasksEnded);
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(ChipSimulatorTest, EightNestedCallsStopTheSimulationWithTheStackMessage)
{
    ASSERT_TRUE(start(nestedCalls(8, ChipDialect::Skip)));
    slices(20);
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(sim.lastStopReason(), ChipStopReason::Error);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Interprete error");
    EXPECT_EQ(messages.last().text, "Pila de sub-procedimiento está lleno");
    EXPECT_EQ(output(2), 0);
    EXPECT_EQ(rec.stopped, 1);
}

TEST_F(ChipSimulatorTest, AReturnWithoutACallStopsWithAMessage)
{
    ASSERT_TRUE(start(HandImage().code(3, {0x10, 0x3C, 0x11})));
    slices(3);
    EXPECT_FALSE(sim.running());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Interprete error");
    EXPECT_EQ(output(1), 0);  // the stop switched it off
}

// ---- Tasks, ends and stops -------------------------------------------------------------------

TEST_F(ChipSimulatorTest, FourTasksRunOneByteEachPerSliceInOrder)
{
    ASSERT_TRUE(start(HandImage()
                          .starts(20, 30, 40)
                          .code(3, {0x10, 0x3D})
                          .code(20, {0x11, 0x3D})
                          .code(30, {0x12, 0x20, 0x3D})
                          .code(40, {0x13, 0x3D})
                          .delay(0, 3)));
    slices(1);
    EXPECT_EQ(rec.since(0), (Events{"output 1 on", "motor a fd", "output 2 on", "motor a off",
                                    "output 3 on", "motor b fd", "output 4 on", "motor b off"}));
    slices(2);  // tasks 1, 2 and 4 have ended; task 3 waits
    EXPECT_TRUE(sim.running());
    EXPECT_FALSE(sim.task(0).running);
    EXPECT_TRUE(sim.task(2).running);
    ticks(20);
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(sim.lastStopReason(), ChipStopReason::TasksEnded);
    EXPECT_EQ(io.image().outputByte(), 0);
}

TEST_F(ChipSimulatorTest, StopAllEndsEveryTaskAtOnce)
{
    ASSERT_TRUE(start(HandImage().starts(20).code(3, {0x3E}).code(20, {0x11, 0x3D})));
    slices(1);
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(sim.lastStopReason(), ChipStopReason::StopAll);
    EXPECT_FALSE(rec.saw("output 2 on"));
    ASSERT_TRUE(start(HandImage().code(3, {0x10, 0x3F}), ChipDialect::Direct, 2));
    slices(2);
    EXPECT_EQ(sim.lastStopReason(), ChipStopReason::StopAll);
}

TEST_F(ChipSimulatorTest, StartClearsTheImageAndStopSwitchesEverythingOff)
{
    io.setInput(2, 1);
    io.setAnalogue(1, 700);
    ASSERT_TRUE(start(HandImage().code(3, {0x10, 0x05, 0x20, 0x3D}).delay(0, 50).symbolAt(3, 4)));
    EXPECT_EQ(io.image().inputs[2], 0);
    EXPECT_EQ(io.image().analogue[1], 0);
    EXPECT_EQ(rec.started, 1);
    EXPECT_FALSE(start(HandImage()));  // one at a time
    slices(3);
    EXPECT_EQ(io.image().outputByte(), 0x05);
    sim.stop();
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(sim.lastStopReason(), ChipStopReason::Command);
    EXPECT_EQ(io.image().outputByte(), 0);
    EXPECT_EQ(io.image().motorByte(), 0);
    EXPECT_EQ(io.motorState(1), kMotorOff);
    EXPECT_EQ(rec.marks[4], Mark::Normal);
    EXPECT_EQ(rec.stopped, 1);
    // An image of neither program size is refused.
    EXPECT_FALSE(sim.start(ChipProgram{ChipDialect::Skip, std::vector<std::uint8_t>(100, 0), {}},
                           ChipTarget{}));
}

TEST_F(ChipSimulatorTest, SmallImagesWrapTheirAddresses)
{
    ASSERT_TRUE(start(HandImage(kSmallProgramSize)
                          .code(3, {0xC1, 0x3D})
                          .jump(1, 127 + 128)  // the address beyond the image wraps to 127
                          .code(126, {0x3D}),
                      ChipDialect::Skip));
    slices(2);  // 127 holds the closing 2: motor A in reverse
    EXPECT_EQ(io.motorState(0), kMotorReverse);
}

// ---- Marks, single stepping and the speed ---------------------------------------------------

HandImage markedProgram()
{
    return HandImage()
        .code(3, {0x10, 0x44, 0x51, 0x11, 0x3D})
        .constant(4, 1)
        .symbolAt(3, 0)
        .symbolAt(4, 1)
        .symbolAt(6, 2)
        .symbolAt(7, 3);
}

TEST_F(ChipSimulatorTest, TheSymbolOfEachFetchedAddressIsMarked)
{
    ASSERT_TRUE(start(markedProgram()));
    slices(1);
    EXPECT_EQ(rec.marks[0], Mark::Active);
    slices(1);
    EXPECT_EQ(rec.marks[0], Mark::Normal);
    EXPECT_EQ(rec.marks[1], Mark::Active);
    slices(1);  // the second byte of symbol 1 keeps its mark
    EXPECT_EQ(rec.marks[1], Mark::Active);
    slices(1);
    EXPECT_EQ(rec.marked, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(rec.marks[1], Mark::Normal);
}

TEST_F(ChipSimulatorTest, SingleSteppingHoldsEachTaskAfterEverySymbol)
{
    speed.singleStep = true;
    ASSERT_TRUE(start(markedProgram()));
    ticks(1);  // the first symbol runs, then the task is held
    EXPECT_EQ(output(1), 1);
    EXPECT_TRUE(speed.holdFlags[0]);
    const int passes = rec.passes;
    ticks(10);
    EXPECT_EQ(rec.passes, passes);  // every task held: the timer does nothing
    sim.step();                     // symbol 1's first byte, then held again
    EXPECT_EQ(rec.marks[1], Mark::Active);
    EXPECT_EQ(sim.x(), 0);
    ticks(3);
    EXPECT_EQ(sim.x(), 0);
    sim.step();  // the rest of symbol 1 ...
    EXPECT_EQ(sim.x(), 1);
    ticks(1);  // ... and on the timer to the next symbol
    EXPECT_EQ(output(2), 1);
    EXPECT_EQ(rec.marks[2], Mark::Active);
    ticks(5);
    EXPECT_TRUE(sim.running());
}

TEST_F(ChipSimulatorTest, EachTickRunsMultiplicitySlices)
{
    speed.multiplicity = 3;
    ASSERT_TRUE(start(HandImage().code(3, {0x10, 0x11, 0x12, 0x13, 0x3D})));
    ticks(1);
    EXPECT_EQ(io.image().outputByte(), 0x07);
    EXPECT_EQ(rec.passes, 3);
}

}  // namespace
}  // namespace tarvel
