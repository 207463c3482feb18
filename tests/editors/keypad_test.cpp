// The keypads: the keys each step offers, the restricted models, and a walk
// through every key sequence of every keypad whose every finished text is run
// by the interpreter.

#include "editors/keypad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <set>
#include <vector>

#include "editors/command_finish.h"
#include "engine/chart_builder.h"
#include "engine/expressions.h"
#include "engine/interpreter.h"
#include "flowchart/captions.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

using namespace key;

KeypadContext contextFor(int model, int subModel = 0, int linkKind = 0, int numbering = 1)
{
    InterfaceSettings s;
    s.model = model;
    s.subModel = subModel;
    s.numbering = numbering;
    KeypadContext c;
    c.model = model;
    c.subModel = subModel;
    c.chipLinkKind = linkKind;
    c.caps = computeCaps(s, nullptr);
    if (model == 10) {
        // A chip with four outputs, inputs 1-2, one motor, channel 1, speeds.
        c.caps.outputMask = 0x1E00;
        c.caps.inputMask = 0x600;
        c.caps.motorMask = 0x400000;
        c.caps.turnKeyMask = 0xD0;
        c.caps.valueKeyMask = 0x210;
        c.caps.decisionKeyMask = 0x180000D2;
        c.caps.motorSpeed = 1;
    }
    return c;
}

template <class Pad>
void pressAll(Pad& pad, std::initializer_list<int> keys)
{
    for (const int k : keys)
        ASSERT_TRUE(pad.press(k)) << "key " << k << " after '" << pad.text() << "'";
}

TEST(OutputKeypadTest, SwitchingOutputsOffersEachItemOnce)
{
    OutputKeypad pad(contextFor(0));
    pad.open("");
    EXPECT_EQ(pad.enabled(), keyBit(out::Turn) | keyBit(out::Sound) | keyBit(Clear));
    pressAll(pad, {out::Turn, out::Output, digit(3), out::On});
    EXPECT_EQ(pad.text(), "Turn Output 3 on");
    EXPECT_FALSE(pad.isEnabled(digit(3)));
    EXPECT_TRUE(pad.isEnabled(digit(4)));
    EXPECT_TRUE(pad.isEnabled(Accept));
    EXPECT_FALSE(pad.press(digit(3)));
    pressAll(pad, {digit(1), out::Off, 30, out::On, digit(8), out::On});  // 30 is y
    EXPECT_EQ(pad.text(), "Turn Output 3 on,1 off,y on,8 on");
    EXPECT_TRUE(pad.complete());
    EXPECT_EQ(finishCommand(pad.text()), "Output 3,y,8 on 1 off");

    // An existing text opens complete; Borrar starts again.
    pad.open("Turn Output 2 on");
    EXPECT_TRUE(pad.complete());
    EXPECT_EQ(pad.text(), "Turn Output 2 on");
    pad.press(Clear);
    EXPECT_EQ(pad.text(), "");
    EXPECT_EQ(pad.step(), 0);
    EXPECT_TRUE(pad.isEnabled(out::Turn));
}

TEST(OutputKeypadTest, MotorsWithAndWithoutSpeeds)
{
    OutputKeypad plain(contextFor(0));
    plain.open("");
    pressAll(plain, {out::Turn, out::Motor, 22, out::Forward});
    EXPECT_EQ(plain.text(), "Turn Motor a fd ");
    EXPECT_TRUE(plain.isEnabled(Accept));
    EXPECT_TRUE(plain.isEnabled(23));
    pressAll(plain, {23, out::Off});
    EXPECT_EQ(plain.text(), "Turn Motor a fd b off ");
    EXPECT_TRUE(plain.complete());

    OutputKeypad speeds(contextFor(1));  // a model with motor speeds
    speeds.open("");
    pressAll(speeds, {out::Turn, out::Motor, 23, out::Reverse});
    EXPECT_FALSE(speeds.isEnabled(Accept));  // a speed must follow
    pressAll(speeds, {digit(1), digit(5), digit(0)});
    EXPECT_TRUE(speeds.complete());
    EXPECT_EQ(finishCommand(speeds.text()), "Motor b rev 100%");
    speeds.clear();
    pressAll(speeds, {out::Turn, out::Motor, 22, out::Forward, digit(0)});
    EXPECT_TRUE(speeds.complete());
    speeds.clear();
    pressAll(speeds, {out::Turn, out::Motor, 22, out::Forward, 24, out::Reverse, 29});
    EXPECT_EQ(speeds.text(), "Turn Motor a fd c rev x");
}

TEST(OutputKeypadTest, TheChipModelsKeysAndSerialSends)
{
    OutputKeypad chip(contextFor(10));
    chip.open("");
    EXPECT_EQ(chip.enabled(), keyBit(out::Turn) | keyBit(Clear));
    OutputKeypad live(contextFor(10, 0, 2));
    live.open("");
    EXPECT_TRUE(live.isEnabled(out::Sal));
    EXPECT_TRUE(live.isEnabled(out::Send));
    pressAll(live, {out::Send});
    live.sendChosen(nullptr);  // cancelled: the first keys again
    EXPECT_EQ(live.text(), "");
    EXPECT_TRUE(live.isEnabled(out::Send));
    pressAll(live, {out::Send});
    const std::string sent = "0Fh";
    live.sendChosen(&sent);
    EXPECT_EQ(live.text(), "Send 0Fh");
    EXPECT_TRUE(live.complete());
    // Outputs of the chip only, no variables.
    chip.clear();
    pressAll(chip, {out::Turn, out::Output});
    EXPECT_EQ(chip.enabled() & ~keyBit(Clear), 0x1E00u);
}

TEST(OutputKeypadTest, OnlyTheMfaOffersTheDac)
{
    OutputKeypad plain(contextFor(0));
    plain.open("");
    pressAll(plain, {out::Turn});
    EXPECT_FALSE(plain.isEnabled(out::Dac));
    EXPECT_TRUE(plain.isEnabled(out::Output));

    OutputKeypad mfa(contextFor(6));
    mfa.open("");
    pressAll(mfa, {out::Turn, out::Dac, digit(3), digit(0), digit(0)});
    EXPECT_TRUE(mfa.complete());
    EXPECT_EQ(finishCommand(mfa.text()), "Turn DAC 255");
    mfa.clear();
    pressAll(mfa, {out::Turn, out::Dac, digit(0)});  // a leading 0 is the whole value
    EXPECT_TRUE(mfa.complete());
    mfa.clear();
    pressAll(mfa, {out::Turn, out::Dac, 29});
    EXPECT_EQ(mfa.text(), "Turn DAC x");
    EXPECT_TRUE(mfa.complete());
}

TEST(ProcessKeypadTest, DelaysAssignmentsAndSubCalls)
{
    ProcessKeypad pad(contextFor(0));
    pad.open("");
    pressAll(pad, {proc::Delay, digit(0)});
    EXPECT_EQ(pad.enabled(), keyBit(proc::Point) | keyBit(Clear));  // 0 needs the point
    pressAll(pad, {proc::Point, digit(5)});
    EXPECT_EQ(pad.text(), "Delay 0.5");
    EXPECT_TRUE(pad.complete());
    pad.clear();
    pressAll(pad, {proc::Delay, digit(1), digit(2), digit(0)});
    EXPECT_EQ(pad.text(), "Delay 120");
    EXPECT_TRUE(pad.complete());

    pad.clear();
    pressAll(pad, {proc::Let, 22, proc::Equals, 27, proc::Divide, digit(4)});
    EXPECT_EQ(pad.text(), "Let a = x / 4");
    pad.clear();
    pressAll(pad, {proc::Let, 29, proc::Equals, proc::Val, digit(2)});
    EXPECT_EQ(pad.text(), "Let z = Val 2");
    EXPECT_TRUE(pad.complete());

    pad.clear();
    pressAll(pad, {proc::Sub});
    EXPECT_TRUE(pad.wantsSubMenu());
    pad.subChosen("3(luz)");
    EXPECT_TRUE(pad.isEnabled(Accept));
    EXPECT_FALSE(pad.isEnabled(digit(0)));
    pressAll(pad, {digit(1), digit(0)});
    EXPECT_EQ(pad.text(), "Sub 3(luz) x 10");
    EXPECT_TRUE(pad.complete());

    // Restricted models: x and y, + and -, no Val.
    ProcessKeypad small(contextFor(13));
    small.open("");
    pressAll(small, {proc::Let});
    EXPECT_EQ(small.enabled() & ~keyBit(Clear), keyBit(27) | keyBit(28));
    pressAll(small, {28, proc::Equals});
    EXPECT_FALSE(small.isEnabled(proc::Val));
    EXPECT_FALSE(small.isEnabled(27));
    pressAll(small, {28});
    EXPECT_FALSE(small.isEnabled(proc::Times));
    EXPECT_TRUE(small.isEnabled(proc::Minus));
}

TEST(DecisionKeypadTest, OperandsAndNumbers)
{
    DecisionKeypad pad(contextFor(0));
    pad.open("");
    pressAll(pad, {deci::Is, deci::Input, digit(3), deci::On});
    EXPECT_EQ(pad.text(), "Is Input 3 on");
    EXPECT_TRUE(pad.complete());
    pad.clear();
    pressAll(pad, {deci::Is, deci::Margin, deci::Less, deci::Point, digit(5)});
    EXPECT_EQ(pad.text(), "Is Margin < 0.5");
    EXPECT_TRUE(pad.complete());
    pad.clear();
    pressAll(pad, {deci::Is, deci::Margin, deci::Greater, digit(1), digit(2)});
    EXPECT_TRUE(pad.complete());
    pad.clear();
    pressAll(pad, {deci::Is, 22, deci::NotEquals, digit(0)});
    EXPECT_EQ(pad.enabled(), keyBit(deci::Point) | keyBit(Accept) | keyBit(Clear));
    pad.clear();
    pressAll(pad, {deci::Is, deci::Val, digit(2), deci::Equals, deci::Val, digit(4)});
    EXPECT_EQ(pad.text(), "Is Val 2 = Val 4");
    pad.clear();
    pressAll(pad, {deci::Is, 27, deci::Equals, digit(1), deci::Point, digit(2), digit(5)});
    EXPECT_EQ(pad.text(), "Is x = 1.25");
    EXPECT_FALSE(pad.isEnabled(deci::Point));

    DecisionKeypad live(contextFor(10, 0, 2));
    live.open("");
    pressAll(live, {deci::Is, deci::In, deci::Equals, 28});
    EXPECT_EQ(live.text(), "Is IN = y");
    EXPECT_TRUE(live.complete());
    DecisionKeypad chip(contextFor(10));
    chip.open("");
    pressAll(chip, {deci::Is});
    EXPECT_FALSE(chip.isEnabled(deci::In));
}

TEST(DecisionKeypadTest, EveryMarginIsOneOrTwoDigitsOrOneDecimal)
{
    // Every key sequence of digits and points after "&Margen" and an operator:
    // whenever "Aceptar" is offered, the number reads d, dd (no leading 0),
    // d.d or 0.d.
    const std::regex form(R"(Is Margin < (\d|[1-9]\d|\d\.\d))");
    for (const int model : {0, 13}) {
        SCOPED_TRACE(model);
        DecisionKeypad pad(contextFor(model));
        pad.open("");
        pressAll(pad, {deci::Is, deci::Margin, deci::Less});
        std::set<std::string> accepted;
        std::function<void(const DecisionKeypad&)> visit = [&](const DecisionKeypad& at) {
            if (at.isEnabled(Accept)) {
                EXPECT_TRUE(std::regex_match(at.text(), form)) << at.text();
                accepted.insert(at.text().substr(std::string("Is Margin < ").size()));
            }
            for (int bit = FirstDigit; bit <= LastDigit + 1; ++bit) {
                const int k = bit > LastDigit ? deci::Point : bit;
                DecisionKeypad next = at;
                if (next.press(k)) visit(next);
            }
        };
        visit(pad);
        for (const char* n : {"5", "0", "12", "99", "2.5", "0.5", "9.9"})
            EXPECT_EQ(accepted.count(n), 1u) << n;
        EXPECT_EQ(accepted.size(), 10u + 90u + 100u);
    }
    // The keys themselves: after 2 the point is offered, a second digit ends it.
    DecisionKeypad pad(contextFor(0));
    pad.open("");
    pressAll(pad, {deci::Is, deci::Margin, deci::Greater, digit(2)});
    EXPECT_TRUE(pad.isEnabled(deci::Point));
    pressAll(pad, {deci::Point, digit(5)});
    EXPECT_EQ(pad.text(), "Is Margin > 2.5");
    EXPECT_TRUE(pad.complete());
    pad.clear();
    pressAll(pad, {deci::Is, deci::Margin, deci::Equals, digit(0)});
    EXPECT_EQ(pad.enabled(), keyBit(deci::Point) | keyBit(Accept) | keyBit(Clear));
    pressAll(pad, {deci::Point, digit(5)});
    EXPECT_EQ(pad.text(), "Is Margin = 0.5");
}

// ---- The walk -------------------------------------------------------------------------

// The keys a walk presses in one state. Digits stand for one another, and so
// do the variable and motor-letter keys (bits 22 to 31), apart from where
// their ranges end: of the digits the lowest (0, which ends a number at once
// or needs a point), the second lowest (the usual first digit) and the highest
// (the largest number) are pressed, of bits 22 to 31 the lowest and highest.
// Every other key is pressed. That keeps every kind of text, every length and
// every limit of the keypads in under a hundred thousand states per model.
std::vector<int> keysToTry(std::uint32_t enabled)
{
    std::vector<int> keys;
    auto ends = [&](int from, int to, bool secondLowest) {
        std::vector<int> on;
        for (int b = from; b <= to; ++b)
            if ((enabled >> b) & 1u) on.push_back(b);
        if (on.empty()) return;
        keys.push_back(on.front());
        if (secondLowest && on.size() > 2) keys.push_back(on[1]);
        if (on.size() > 1) keys.push_back(on.back());
    };
    for (int bit = 0; bit < 32; ++bit) {
        if (bit == Accept || bit == Clear || (bit >= FirstDigit && bit <= LastDigit) || bit >= 22)
            continue;
        if ((enabled >> bit) & 1u) keys.push_back(bit);
    }
    ends(FirstDigit, LastDigit, true);
    ends(22, 31, false);
    return keys;
}

// Every text a keypad can finish along those keys. Texts that may be
// accepted part way (Aceptar enabled) count too.
template <class Pad>
void walk(const Pad& pad, const std::function<void(const std::string&)>& visit, std::size_t& states)
{
    ++states;
    // The panel shows every state of the text in Spanish ("Turn" alone has
    // no caption yet).
    constexpr SymbolKind kind = std::is_same_v<Pad, OutputKeypad>    ? SymbolKind::Output
                                : std::is_same_v<Pad, ProcessKeypad> ? SymbolKind::Process
                                                                     : SymbolKind::Decision;
    if (!pad.text().empty() && pad.text() != "Turn") {
        EXPECT_FALSE(symbolCaption(kind, pad.text()).empty()) << pad.text();
    }
    if (pad.isEnabled(Accept)) visit(pad.text());
    if (pad.complete()) return;
    if constexpr (std::is_same_v<Pad, ProcessKeypad>) {
        if (pad.wantsSubMenu()) {
            for (const char* entry : {"1", "3(luz)", "50(bombaaa)"}) {
                Pad next = pad;
                next.subChosen(entry);
                walk(next, visit, states);
            }
            return;
        }
    }
    for (const int bit : keysToTry(pad.enabled())) {
        Pad next = pad;
        ASSERT_TRUE(next.press(bit));
        if constexpr (std::is_same_v<Pad, OutputKeypad>) {
            if (bit == out::Send && next.text().empty()) {
                const std::string result = "\"hola\"";
                next.sendChosen(&result);
            }
        }
        ASSERT_LE(next.text().size(), 40u) << next.text();
        walk(next, visit, states);
    }
}

class KeypadWalk : public ::testing::TestWithParam<int> {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    FlowDocument doc{&messages};
    InterfaceLayer io;
    SpeedSettings speed;
    Interpreter run{doc, io, clock, messages, speed};
    int symbol = -1;

    void SetUp() override
    {
        io.settings.mode = 0;
        io.settings.model = GetParam();
        io.settings.numbering = 1;
        io.setSliderLevels(&doc.outputLevels);
        io.applySelection();
        test::ChartBuilder chart(doc);
        const int start = chart.start();
        symbol = chart.proc("");
        const int stop = chart.stop();
        chart.join(start, symbol);
        chart.join(symbol, stop);
        chart.join(symbol, stop, LineKind::Yes);
        chart.join(symbol, stop, LineKind::No);
        for (const int n : {1, 3, 50}) chart.join(chart.head("Sub " + std::to_string(n)), stop);
    }

    // Runs one stored text as the symbol between Start and Stop.
    void runText(SymbolKind kind, const std::string& text)
    {
        doc.symbolRef(symbol).kind = kind;
        doc.setSymbolText(symbol, finishCommand(text));
        messages.shown.clear();
        ASSERT_TRUE(run.start()) << text;
        for (int i = 0; i < 4 && run.running(); ++i) {
            clock.advance(speed.interval);
            run.timerTick();
        }
        if (run.running()) run.stop();
        for (const auto& m : messages.shown) {
            // Dividing by a variable that is still 0, or a number too big to
            // show, is the pupil's error, not the keypad's.
            if (m.caption == "Error de variable") continue;
            EXPECT_EQ(m.text, "Divide por cero cuando ejecute este símbolo") << "'" << text << "'";
        }
    }
};

TEST_P(KeypadWalk, EveryFinishedTextRuns)
{
    const KeypadContext ctx = contextFor(GetParam(), 0, GetParam() == 10 ? 2 : 0);
    std::size_t states = 0;
    std::set<std::string> texts;
    auto collect = [&](const std::string& t) { texts.insert(t); };

    OutputKeypad output(ctx);
    output.open("");
    walk(output, collect, states);
    EXPECT_GT(texts.size(), 10u);
    for (const auto& t : texts) runText(SymbolKind::Output, t);

    texts.clear();
    ProcessKeypad process(ctx);
    process.open("");
    walk(process, collect, states);
    for (const auto& t : texts) {
        runText(SymbolKind::Process, t);
        if (t.rfind("Let ", 0) == 0) {
            Variables vars{};
            EXPECT_NE(evaluateLet(t, vars, {}).outcome, LetResult::Outcome::NotAnAssignment) << t;
        }
    }

    texts.clear();
    DecisionKeypad decision(ctx);
    decision.open("");
    walk(decision, collect, states);
    for (const auto& t : texts) runText(SymbolKind::Decision, t);
    EXPECT_GT(states, 1000u);
}

INSTANTIATE_TEST_SUITE_P(Models, KeypadWalk, ::testing::Values(0, 1, 6, 10, 12, 13));

}  // namespace
}  // namespace tarvel
