#include "engine/interpreter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "engine/chart_builder.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "platform/sound_player.h"
#include "sensors/sensor_channels.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

class RecordingMarks final : public ChartMarks {
public:
    void markSymbol(int s, Mark m) override { symbols[s] = m; }
    void markLine(int l, Mark m) override { lines[l] = m; }
    std::map<int, Mark> symbols, lines;
};

class RecordingShell final : public RunShell {
public:
    void runStarted() override { ++started; }
    void runStopped() override { ++stopped; }
    void runModeChanged() override { ++modeChanges; }
    void showFailingSymbol(int s) override { failing = s; }
    void heldAtBreakpoint(int t, int s) override { held.emplace_back(t, s); }
    int started = 0, stopped = 0, modeChanges = 0, failing = -1;
    std::vector<std::pair<int, int>> held;
};

class RecordingSound final : public SoundPlayer {
public:
    void play(int, const std::string& p) override { played.push_back(p); }
    void stop() override { ++stops; }
    std::vector<std::string> played;
    int stops = 0;
};

class RecordingVariables final : public VariableObserver {
public:
    void showVariable(int i, std::int32_t v) override { shown.emplace_back(i, v); }
    std::vector<std::pair<int, std::int32_t>> shown;
};

class InterpreterTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    FlowDocument doc{&messages};
    InterfaceLayer io;
    SpeedSettings speed;
    Interpreter run{doc, io, clock, messages, speed};
    test::ChartBuilder chart{doc};
    RecordingMarks marks;
    RecordingShell shell;
    RecordingSound sound;
    RecordingVariables variables;
    SensorChannels channels{doc, io};

    void SetUp() override
    {
        io.settings.mode = 0;
        io.settings.numbering = 1;
        io.setSliderLevels(&doc.outputLevels);
        io.applySelection();
        run.setMarks(&marks);
        run.setShell(&shell);
        run.setSound(&sound);
        run.setChannelValues(&channels);
        run.addVariableObserver(&variables);
    }
    // Ticks the run as the shell's timer would, `Interval` ms apart.
    void ticks(int n)
    {
        for (int i = 0; i < n && run.running(); ++i) {
            clock.advance(speed.interval);
            run.timerTick();
        }
    }
    int var(char letter) const
    {
        return run.variables()[static_cast<std::size_t>(variableIndex(letter))];
    }
    int out(int number) const { return io.image().outputs[static_cast<std::size_t>(number - 1)]; }
};

TEST_F(InterpreterTest, TwoTasksRunSideBySideAndStopEndsOnlyItsOwn)
{
    const int s1 = chart.start(), o1 = chart.out("Turn Output 1 on"), e1 = chart.stop();
    const int s2 = chart.start(), d2 = chart.proc("Delay 1"), o2 = chart.out("Turn Output 2 on"),
              e2 = chart.stop();
    chart.chain({s1, o1, e1});
    chart.chain({s2, d2, o2, e2});
    ASSERT_TRUE(run.start());
    EXPECT_EQ(shell.started, 1);
    EXPECT_EQ(run.taskCount(), 2);
    ticks(2);
    EXPECT_EQ(out(1), 1);
    EXPECT_EQ(run.taskSymbol(0), kTaskFinished);  // the first Stop ended only its task
    EXPECT_TRUE(run.running());
    EXPECT_EQ(run.activeCount(), 1);
    ticks(60);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.lastStopReason(), StopReason::ChartStopped);
    EXPECT_EQ(shell.stopped, 1);
    // The stop switched everything off again.
    EXPECT_EQ(out(1), 0);
    EXPECT_EQ(out(2), 0);
    EXPECT_TRUE(messages.empty());
}

// A chart from elsewhere may hold any number after "Delay": one too large
// for the clock waits for ever, one that is no number or not positive goes
// straight on.
TEST_F(InterpreterTest, DelaysBeyondTheClockWaitAndNonNumbersDoNot)
{
    const char* forever[] = {"Delay 1e300", "Delay inf", "Delay 99999999999999999999"};
    const char* none[] = {"Delay nan", "Delay -5", "Delay -1e300"};
    for (const char* text : forever) {
        const int s = chart.start(), d = chart.proc(text), o = chart.out("Turn Output 1 on"),
                  e = chart.stop();
        chart.chain({s, d, o, e});
    }
    int output = 2;
    for (const char* text : none) {
        const int s = chart.start(), d = chart.proc(text),
                  o = chart.out("Turn Output " + std::to_string(output++) + " on"),
                  w = chart.proc("Delay 9"), e = chart.stop();
        chart.chain({s, d, o, w, e});
    }
    ASSERT_TRUE(run.start());
    ticks(200);
    EXPECT_TRUE(run.running());
    EXPECT_EQ(out(1), 0);
    EXPECT_EQ(out(2), 1);
    EXPECT_EQ(out(3), 1);
    EXPECT_EQ(out(4), 1);
    run.stop();
}

TEST_F(InterpreterTest, StopAllEndsTheRunAtOnce)
{
    const int s1 = chart.start(), e1 = chart.add(SymbolKind::StartStop, "Stop All");
    const int s2 = chart.start(), d2 = chart.proc("Delay 9"), e2 = chart.stop();
    chart.chain({s1, e1});
    chart.chain({s2, d2, e2});
    ASSERT_TRUE(run.start());
    ticks(1);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.lastStopReason(), StopReason::ChartStopped);
}

TEST_F(InterpreterTest, ATwentyFirstStartIsNotRun)
{
    for (int k = 0; k < 21; ++k) {
        const int s = chart.start();
        const int o = chart.out("Turn Output " + std::to_string(k % 8 + 1) + " on");
        chart.join(s, o);
        chart.join(o, o);  // runs for ever
    }
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.taskCount(), kMaxTasks);
    ticks(1);
    // The 21st start (symbol 40) never became a task.
    for (int t = 0; t < kMaxTasks; ++t) EXPECT_NE(run.taskSymbol(t), 41);
}

TEST_F(InterpreterTest, RepeatedSubsRunTheirCountThenReturn)
{
    const int s = chart.start(), call = chart.proc("Sub 2(luz) x 3"),
              once = chart.proc("Sub 2(luz)"), end = chart.stop();
    const int head = chart.head("Sub 2(luz)"), body = chart.proc("Let a = a + 1"),
              ret = chart.stop();
    chart.chain({s, call, once, end});
    chart.chain({head, body, ret});
    io.settings.numbering = 1;
    int lastA = 0;
    ASSERT_TRUE(run.start());
    for (int i = 0; i < 200 && run.running(); ++i) {
        lastA = var('a');
        ticks(1);
        if (run.running()) {
            EXPECT_LE(run.taskDepth(0), 1);
        }
    }
    EXPECT_FALSE(run.running());
    // Three rounds from the counted call, one from the call whose text ends in ')'.
    EXPECT_EQ(lastA, 4);
    EXPECT_EQ(marks.symbols[call], Mark::Normal);
}

TEST_F(InterpreterTest, ACountOfZeroRepeatsForEver)
{
    const int s = chart.start(), call = chart.proc("Sub 1 x 0"), end = chart.stop();
    const int head = chart.head("Sub 1"), body = chart.proc("Let a = a + 1"), ret = chart.stop();
    chart.chain({s, call, end});
    chart.chain({head, body, ret});
    ASSERT_TRUE(run.start());
    ticks(300);
    EXPECT_TRUE(run.running());
    EXPECT_GE(var('a'), 90);
}

TEST_F(InterpreterTest, TheFiftyFirstNestedCallOverflowsTheStack)
{
    const int s = chart.start(), call = chart.proc("Sub 1");
    const int head = chart.head("Sub 1"), again = chart.proc("Sub 1");
    chart.chain({s, call});
    chart.chain({head, again});
    ASSERT_TRUE(run.start());
    ticks(200);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.lastError(), "Pila de sub-procedimiento está lleno");
    EXPECT_EQ(messages.last().caption, "Error en el diagrama");
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(shell.failing, again);
    EXPECT_EQ(marks.symbols[again], Mark::Error);
}

TEST_F(InterpreterTest, DelaysHoldTheirTaskInCentiseconds)
{
    const int s = chart.start(), d = chart.proc("Delay 0.5"), o = chart.out("Turn Output 1 on"),
              tiny = chart.proc("Delay 0.004"), o2 = chart.out("Turn Output 2 on"),
              e = chart.stop();
    chart.chain({s, d, o, tiny, o2, e});
    speed.interval = 10;  // a tick per centisecond
    ASSERT_TRUE(run.start());
    ticks(2);  // Start, then the Delay
    EXPECT_TRUE(run.taskWaiting(0));
    EXPECT_EQ(marks.symbols[d], Mark::Active);  // the Delay keeps its mark while waiting
    ticks(48);
    EXPECT_EQ(out(1), 0);
    ticks(1);
    EXPECT_EQ(out(1), 1);
    // 0.004 s is less than a centisecond: no wait at all.
    ticks(2);
    EXPECT_EQ(out(2), 1);
}

TEST_F(InterpreterTest, ADelayWaitsTheHundredthsItsTextWrites)
{
    // Times whose binary value times 100 falls just short of the whole
    // hundredths written; thousandths are dropped.
    const int s = chart.start(), d1 = chart.proc("Delay 0.29"), o1 = chart.out("Turn Output 1 on"),
              d2 = chart.proc("Delay 0.57"), o2 = chart.out("Turn Output 2 on"),
              d3 = chart.proc("Delay 1.15"), o3 = chart.out("Turn Output 3 on"),
              d4 = chart.proc("Delay 0.019"), o4 = chart.out("Turn Output 4 on"), e = chart.stop();
    chart.chain({s, d1, o1, d2, o2, d3, o3, d4, o4, e});
    speed.interval = 10;  // a tick per centisecond
    ASSERT_TRUE(run.start());
    std::array<std::int64_t, 4> switchedAt{};
    while (run.running() && clock.nowCentiseconds() < 1000) {
        ticks(1);
        for (int i = 1; i <= 4; ++i)
            if (out(i) && !switchedAt[static_cast<std::size_t>(i - 1)])
                switchedAt[static_cast<std::size_t>(i - 1)] = clock.nowCentiseconds();
    }
    // Each delay begins one tick after the output before it.
    EXPECT_EQ(switchedAt[0], 1 + 29);
    EXPECT_EQ(switchedAt[1], 31 + 57);
    EXPECT_EQ(switchedAt[2], 89 + 115);
    EXPECT_EQ(switchedAt[3], 205 + 1);
}

TEST_F(InterpreterTest, ADelayThatBeginsAtClockZeroStillWaits)
{
    const int s = chart.start(), d = chart.proc("Delay 1"), o = chart.out("Turn Output 3 on");
    chart.chain({s, d, o});
    chart.join(o, o);
    ASSERT_TRUE(run.start());
    run.runTick();  // the Start, at centisecond 0
    run.runTick();  // the Delay, still at centisecond 0
    EXPECT_EQ(clock.nowCentiseconds(), 0);
    run.runTick();
    EXPECT_EQ(out(3), 0);
    clock.advance(999);
    run.runTick();
    EXPECT_EQ(out(3), 0);
    clock.advance(1);
    run.runTick();
    EXPECT_EQ(out(3), 1);
}

TEST_F(InterpreterTest, MultiplicityRunsSeveralSymbolsPerTick)
{
    const int s = chart.start(), a = chart.out("Turn Output 1 on"),
              b = chart.out("Turn Output 2 on"), c = chart.out("Turn Output 3 on"),
              e = chart.stop();
    chart.chain({s, a, b, c, e});
    speed.multiplicity = 3;
    ASSERT_TRUE(run.start());
    run.timerTick();  // a, b and c: the task begins after its Start
    EXPECT_EQ(out(3), 1);
    EXPECT_TRUE(run.running());
    run.timerTick();  // the Stop
    EXPECT_FALSE(run.running());
}

TEST_F(InterpreterTest, SingleStepMovesEveryTaskOneSymbolPerPress)
{
    const int s1 = chart.start(), a = chart.out("Turn Output 1 on"),
              b = chart.out("Turn Output 2 on");
    const int s2 = chart.start(), c = chart.out("Turn Output 3 on");
    chart.chain({s1, a, b});
    chart.join(b, b);
    chart.chain({s2, c});
    chart.join(c, c);
    speed.singleStep = true;
    speed.multiplicity = 5;
    ASSERT_TRUE(run.start());
    ticks(10);  // the timer does nothing while every task is held
    EXPECT_EQ(run.taskSymbol(0), a);
    EXPECT_EQ(run.taskSymbol(1), c);
    EXPECT_EQ(out(1), 0);
    run.step();
    EXPECT_EQ(out(1), 1);
    EXPECT_EQ(out(3), 1);
    EXPECT_EQ(out(2), 0);
    EXPECT_EQ(run.taskSymbol(0), b);
    ticks(10);
    EXPECT_EQ(out(2), 0);
    run.step();
    EXPECT_EQ(out(2), 1);
}

TEST_F(InterpreterTest, ABreakpointHoldsEveryTaskUntilSteppedOnAndStopsAgainOnTheNextVisit)
{
    const int s1 = chart.start(), a = chart.out("Turn Output 1 on"),
              b = chart.out("Turn Output 2 on"), c = chart.out("Turn Output 2 off");
    const int s2 = chart.start(), d = chart.proc("Let x = x + 1");
    chart.chain({s1, a, b, c, a});
    chart.chain({s2, d, d});
    doc.toggleBreakpoint(b);
    speed.multiplicity = 5;
    ASSERT_TRUE(run.start());
    ticks(1);
    // The second pass brought task 0 to b: it stopped before switching output 2.
    ASSERT_EQ(shell.held, (std::vector<std::pair<int, int>>{{0, b}}));
    EXPECT_EQ(out(1), 1);
    EXPECT_EQ(out(2), 0);
    EXPECT_EQ(var('x'), 1);  // task 1 ran its one symbol of that pass
    EXPECT_EQ(marks.symbols[b], Mark::Active);
    EXPECT_EQ(marks.symbols[a], Mark::Normal);
    EXPECT_TRUE(speed.singleStep);
    ticks(10);
    EXPECT_EQ(out(2), 0);
    EXPECT_EQ(var('x'), 1);

    // The space bar goes on from there: b runs, every task one symbol a press.
    run.step();
    EXPECT_EQ(out(2), 1);
    EXPECT_EQ(var('x'), 2);
    run.step();
    run.step();
    EXPECT_EQ(run.taskSymbol(0), b);
    EXPECT_EQ(shell.held.size(), 1u);  // on its way back, b is reached at the next press
    run.step();
    EXPECT_EQ(shell.held.size(), 2u);
    EXPECT_EQ(out(1), 1);

    // Single stepping cleared in the speed window: the run goes on to the next visit.
    speed.singleStep = false;
    speed.releaseAll();
    ticks(1);
    EXPECT_EQ(shell.held.size(), 3u);
    EXPECT_TRUE(run.running());
}

TEST_F(InterpreterTest, OutputSwitchingUnderBothNumberings)
{
    const int s = chart.start(), a = chart.out("Output 1,2 on 3 off"),
              b = chart.out("Turn Output 9 on"), c = chart.proc("Let x = 5"),
              d = chart.out("Turn Output x on"), w = chart.proc("Delay 9");
    chart.chain({s, a, b, c, d, w});
    chart.join(w, w);
    ASSERT_TRUE(run.start());
    io.setOutput(2, 1);
    ticks(2);
    EXPECT_EQ(io.image().outputs, (std::array<int, 8>{1, 1, 0, 0, 0, 0, 0, 0}));
    ticks(3);
    EXPECT_EQ(out(5), 1);  // the variable's value
    EXPECT_EQ(io.image().sentOutputByte, 0b10011);
    run.stop();

    io.settings.numbering = 2;
    doc.setSymbolText(a, "Output 0 on 2 off");
    ASSERT_TRUE(run.start());
    ticks(2);
    EXPECT_EQ(out(1), 1);  // output 0 is the first output
    ticks(3);
    EXPECT_EQ(out(6), 1);  // x = 5 names the sixth output
}

TEST_F(InterpreterTest, MotorsSetTheirLinesAndSpeeds)
{
    io.settings.mode = 1;
    io.settings.model = ModelContactController;
    io.settings.subModel = 0;
    io.applySelection();  // flags 0: reverse is the second line only; motors in their own bank
    const int s = chart.start(), m = chart.out("Motor a fd b rev 150%"), w = chart.proc("Delay 9");
    chart.chain({s, m, w});
    chart.join(w, w);
    ASSERT_TRUE(run.start());
    ticks(2);
    EXPECT_EQ(io.motorState(0), kMotorForward);
    EXPECT_EQ(io.motorState(1), kMotorReverse);
    EXPECT_EQ(io.image().motorLines, (std::array<int, 8>{1, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(io.image().outputs, (std::array<int, 8>{}));  // no mirroring on this box
    EXPECT_EQ(io.image().outputPower[0], 100);
    EXPECT_EQ(io.image().outputPower[2], 100);
    run.stop();

    // Turned-off clauses and a variable speed; a box whose outputs mirror the motors.
    io.settings.model = ModelDeltronics;
    io.applySelection();  // flags 1, outputs mirror motors
    doc.setSymbolText(m, "Turn Motor c rev d off ");
    const int speed = chart.out("Motor a fd n");
    const int setN = chart.proc("Let n = 30");
    doc.lineRef(1).destination = setN;
    chart.join(setN, speed);
    chart.join(speed, m);
    ASSERT_TRUE(run.start());
    ticks(3);
    EXPECT_EQ(io.image().outputPower[0], 30);
    EXPECT_EQ(io.image().outputs[0], 1);  // motor a forward shows on output 1
    ticks(1);
    EXPECT_EQ(io.motorState(2), kMotorReverse);
    EXPECT_EQ(io.image().motorLines[4], 1);
    EXPECT_EQ(io.image().motorLines[5], 1);
    EXPECT_EQ(io.image().outputs[4], 1);
    EXPECT_EQ(io.image().outputs[5], 1);
    EXPECT_EQ(io.motorState(3), kMotorOff);
}

TEST_F(InterpreterTest, OutputsDriveMotorsAndMirrorOnTheRightBoxes)
{
    io.settings.mode = 1;
    io.settings.model = ModelLego;  // motors drive outputs 1-4
    io.applySelection();
    const int s = chart.start(), a = chart.out("Output 2 on"), w = chart.proc("Delay 9");
    chart.chain({s, a, w});
    chart.join(w, w);
    ASSERT_TRUE(run.start());
    ticks(2);
    EXPECT_EQ(io.motorState(1), kMotorForward);
    run.stop();

    io.settings.model = ModelDeltronics;  // outputs mirror motor lines
    io.applySelection();
    doc.setSymbolText(a, "Set OUT = 12");
    ASSERT_TRUE(run.start());
    ticks(2);
    EXPECT_EQ(io.image().outputs, (std::array<int, 8>{0, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(io.image().motorLines, (std::array<int, 8>{0, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(io.motorState(1), kMotorReverse);  // both lines on with flag 1
}

TEST_F(InterpreterTest, DacAndSound)
{
    doc.soundFiles[3] = "timbre.wav";
    const int s = chart.start(), a = chart.out("Turn DAC 300"), b = chart.out("Sound 3"),
              c = chart.out("Sound 4"), d = chart.out("Send 12"), w = chart.proc("Delay 9");
    chart.chain({s, a, b, c, d, w});
    chart.join(w, w);
    ASSERT_TRUE(run.start());
    ticks(5);
    EXPECT_EQ(io.image().dacValue, 255);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"timbre.wav"}));  // slot 4 is empty: no error
    EXPECT_TRUE(run.running());
    EXPECT_TRUE(messages.empty());
    run.stop();
    EXPECT_EQ(sound.stops, 1);
    EXPECT_EQ(io.image().dacValue, 0);
}

TEST_F(InterpreterTest, LetFormsAndTheirFaults)
{
    const int s = chart.start(), a = chart.proc("Let b = 7"), b = chart.proc("Let c = 2"),
              c = chart.proc("Let a = b / c"), d = chart.proc("Let b = 0 - 7"),
              w = chart.proc("Delay 9");
    chart.chain({s, a, b, c, d, w});
    chart.join(w, w);
    ASSERT_TRUE(run.start());
    ticks(4);
    EXPECT_EQ(var('a'), 3);
    run.stop();

    doc.setSymbolText(d, "Let b = c - 9");
    const int e = chart.proc("Let a = b / c");
    doc.lineRef(4).destination = e;
    chart.join(e, w);
    ASSERT_TRUE(run.start());
    ticks(6);
    EXPECT_EQ(var('a'), -3);  // truncated toward zero
    run.stop();

    // Division by zero: the run stops, the symbol is marked, the box has no icon.
    doc.setSymbolText(b, "Let c = 0");
    ASSERT_TRUE(run.start());
    ticks(4);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(messages.last().text, "Divide por cero cuando ejecute este símbolo");
    EXPECT_EQ(messages.last().caption, "Error en el diagrama");
    EXPECT_EQ(messages.last().icon, MsgIcon::None);
    EXPECT_EQ(shell.failing, c);
    EXPECT_EQ(marks.symbols[c], Mark::Error);
}

TEST_F(InterpreterTest, AVariableTooLargeForItsWindowStopsTheRun)
{
    const int s = chart.start(), a = chart.proc("Let b = 4000"), b = chart.proc("Let a = b * b"),
              w = chart.proc("Delay 9");
    chart.chain({s, a, b, w});
    chart.join(w, w);
    ASSERT_TRUE(run.start());
    ticks(3);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(messages.last().text, "Variable a es demasiado grande");
    EXPECT_EQ(messages.last().caption, "Error de variable");
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(shell.failing, -1);  // the symbol is not marked
    EXPECT_EQ(var('a'), 0);        // cleared by the stop
}

TEST_F(InterpreterTest, MissingLinesAndStartsInTheWay)
{
    struct Case {
        std::string text;
        SymbolKind kind;
        const char* message;
    };
    for (const Case& c :
         {Case{"Turn Output 1 on", SymbolKind::Output, "No hay una línea de este símbolo"},
          Case{"Is Input 1 off", SymbolKind::Decision, "No hay una línea 'SI' de este símbolo"},
          Case{"Is Input 1 on", SymbolKind::Decision, "No hay una línea 'NO' de este símbolo"},
          Case{"Start", SymbolKind::StartStop, "No puede ir a un inicie"}}) {
        doc.clear(0, 0);
        test::ChartBuilder b(doc);
        const int s = b.start();
        const int x = b.add(c.kind, c.text);
        b.join(s, x);
        if (c.kind == SymbolKind::StartStop) {  // a second Start that runs too
            const int loop = b.out("Turn Output 2 on");
            b.join(x, loop);
            b.join(loop, loop);
        }
        ASSERT_TRUE(run.start()) << c.text;
        ticks(3);
        EXPECT_FALSE(run.running());
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_EQ(shell.failing, x);
    }
}

TEST_F(InterpreterTest, StartTimeRefusals)
{
    // A Start without a line.
    const int s = chart.start();
    EXPECT_FALSE(run.start());
    EXPECT_EQ(messages.last().text, "No hay una línea en uno de los inicies");
    EXPECT_EQ(messages.last().caption, "Error en el diagrama");
    EXPECT_FALSE(run.running());

    // A sub to run alone that is not there, then one without a line.
    run.runMode = RunMode::fromCode(4);
    EXPECT_FALSE(run.start());
    EXPECT_EQ(messages.last().text, "Debe haber un Sub 3 para ejecutar");
    chart.head("Sub 3(x)");
    EXPECT_FALSE(run.start());
    EXPECT_EQ(messages.last().text, "No hay una línea del símbolo Sub 3");

    // Running the selection with no Start selected asks first.
    const int o = chart.out("Turn Output 1 on");
    chart.join(s, o);
    chart.join(o, o);
    run.runMode = RunMode{RunMode::Selection, 0};
    doc.selectSymbol(o);
    messages.answerNext(MsgAnswer::Cancel);
    EXPECT_FALSE(run.start());
    EXPECT_EQ(messages.last().text, "Usted ejecutó un inicie.  ¿Iniciar todos los inicies?");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(run.runMode.kind, RunMode::Selection);
    messages.answerNext(MsgAnswer::Ok);
    EXPECT_TRUE(run.start());
    EXPECT_EQ(run.runMode.kind, RunMode::AllStarts);
    EXPECT_EQ(shell.modeChanges, 1);
    EXPECT_TRUE(doc.selectedSymbols().empty());
    run.stop();

    // A selected Start is the only task.
    const int s2 = chart.start();
    chart.join(s2, o);
    run.runMode = RunMode{RunMode::Selection, 0};
    doc.selectSymbol(s2);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.taskCount(), 1);
}

TEST_F(InterpreterTest, DecisionsBranchAndEachTaskKeepsItsOwnMargin)
{
    // Task 1: Val 1 > 50 (Yes when the channel reads 50.4 %), then Margin < 1 on the 0.4 left.
    const int s = chart.start(), v = chart.decide("Is Val 1 > 50"),
              m = chart.decide("Is Margin < 1"), yes = chart.out("Turn Output 1 on"),
              no = chart.out("Turn Output 2 on");
    chart.join(s, v);
    chart.join(v, m, LineKind::Yes);
    chart.join(v, no, LineKind::No);
    chart.join(m, yes, LineKind::Yes);
    chart.join(m, no, LineKind::No);
    chart.join(yes, yes);
    chart.join(no, no);
    // Task 2 tests a pupil's input from the monitor.
    const int s2 = chart.start(), in = chart.decide("Is Input 4 on"),
              lamp = chart.out("Turn Output 8 on");
    chart.join(s2, in);
    chart.join(in, lamp, LineKind::Yes);
    chart.join(in, in, LineKind::No);
    chart.join(lamp, lamp);
    ASSERT_TRUE(run.start());
    io.setAnalogue(0, 516);  // 50.39 %
    ticks(3);
    EXPECT_EQ(out(1), 1);
    EXPECT_EQ(out(2), 0);
    EXPECT_NEAR(run.taskMargin(0), 1 - (516 * 100.0 / 1024 - 50), 1e-9);
    EXPECT_EQ(run.taskMargin(1), 0.0);
    EXPECT_EQ(out(8), 0);
    io.setInput(3, 1);
    ticks(2);
    EXPECT_EQ(out(8), 1);
}

TEST_F(InterpreterTest, MarksFollowTheRunAndAreClearedAtTheStop)
{
    const int s = chart.start(), a = chart.out("Turn Output 1 on"), e = chart.stop();
    const int l0 = chart.join(s, a), l1 = chart.join(a, e);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(marks.symbols[a], Mark::Active);
    EXPECT_EQ(marks.lines[l0], Mark::ActiveLine);
    ticks(1);  // a
    EXPECT_EQ(marks.symbols[a], Mark::Active);
    ticks(1);  // e: the run ends
    EXPECT_EQ(marks.symbols[a], Mark::Normal);
    EXPECT_EQ(marks.symbols[e], Mark::Normal);
    EXPECT_EQ(marks.lines[l1], Mark::Normal);
}

}  // namespace
}  // namespace tarvel
