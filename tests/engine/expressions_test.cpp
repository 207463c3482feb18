#include "engine/expressions.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

class FixedChannels final : public ChannelValues {
public:
    double value(int c) const override { return values[static_cast<std::size_t>(c)]; }
    std::array<double, 4> values{};
};

class ExpressionTest : public ::testing::Test {
protected:
    Variables vars{};
    std::array<int, 8> inputs{};
    FixedChannels channels;
    ExpressionInputs in{&inputs, false, &channels};

    void set(char letter, std::int32_t v)
    {
        vars[static_cast<std::size_t>(variableIndex(letter))] = v;
    }
    LetResult let(const char* text) { return evaluateLet(text, vars, in); }
    bool is(const char* text, double margin = 0.0)
    {
        return evaluateDecision(text, vars, in, margin).yes;
    }
};

TEST_F(ExpressionTest, LetAssignsCopiesConstantsChannelsAndArithmetic)
{
    set('b', 7);
    set('c', 2);
    EXPECT_EQ(let("Let a = b").value, 7);
    EXPECT_EQ(let("Let a = 250000").value, 250000);
    EXPECT_EQ(let("Let a = b + 3").value, 10);
    EXPECT_EQ(let("Let a = b - c").value, 5);
    EXPECT_EQ(let("Let a = b * c").value, 14);
    EXPECT_EQ(let("Let a = b / c").value, 3);
    set('b', -7);
    EXPECT_EQ(let("Let a = b / c").value, -3);
    EXPECT_EQ(let("Let z = b").target, variableIndex('z'));

    channels.values[2] = 47.8;
    const LetResult r = let("Let n = Val 3");
    EXPECT_TRUE(r.readsAnalogue);
    EXPECT_EQ(r.value, 47);
    channels.values[0] = -3.9;
    EXPECT_EQ(let("Let n = Val 1").value, -3);  // truncated toward zero

    // 32-bit two's complement, and the one quotient that overflows.
    set('b', 2147483647);
    EXPECT_EQ(let("Let a = b + 1").value, -2147483647 - 1);
    set('b', -2147483647 - 1);
    set('c', -1);
    EXPECT_EQ(let("Let a = b / c").value, -2147483647 - 1);

    set('c', 0);
    EXPECT_EQ(let("Let a = b / c").outcome, LetResult::Outcome::DivisionByZero);
    EXPECT_EQ(let("Let a = b / 0").outcome, LetResult::Outcome::DivisionByZero);
    // Not assignments at all.
    EXPECT_EQ(let("Let ").outcome, LetResult::Outcome::NotAnAssignment);
    EXPECT_EQ(let("Let q = 1").outcome, LetResult::Outcome::NotAnAssignment);
    EXPECT_EQ(let("Let a = Val 9").outcome, LetResult::Outcome::NotAnAssignment);
}

TEST_F(ExpressionTest, InputTests)
{
    inputs[2] = 1;
    EXPECT_TRUE(is("Is Input 3 on"));
    EXPECT_FALSE(is("Is Input 3 off"));
    EXPECT_TRUE(is("Is Input 4 off"));
    EXPECT_FALSE(is("Is Input 9 on"));
    EXPECT_FALSE(is("Is Input 9 off"));  // out of range is always No
    set('x', 3);
    EXPECT_TRUE(is("Is Input x on"));
    set('x', 12);
    EXPECT_FALSE(is("Is Input x off"));

    in.numbersFromZero = true;
    inputs = {1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(is("Is Input 0 on"));
    EXPECT_TRUE(is("Is Input 2 off"));
}

TEST_F(ExpressionTest, ComparisonsOfEveryLeftOperand)
{
    inputs = {1, 0, 1, 0, 0, 0, 0, 0};
    EXPECT_TRUE(is("Is IN = 5"));
    inputs[7] = 1;
    EXPECT_FALSE(is("Is IN = 5"));
    EXPECT_TRUE(is("Is IN > 128"));

    channels.values[0] = 50.4;
    EXPECT_TRUE(is("Is Val 1 > 50"));
    EXPECT_FALSE(is("Is Val 1 < 50"));
    EXPECT_TRUE(is("Is Val 1 != 50"));
    channels.values[1] = 50.4;
    EXPECT_TRUE(is("Is Val 1 = Val 2"));

    set('x', 0);
    EXPECT_TRUE(is("Is x != 0.5"));
    set('y', 4);
    EXPECT_TRUE(is("Is x < y"));
    EXPECT_FALSE(is("Is y = x"));
    EXPECT_TRUE(is("Is y = 4"));

    EXPECT_TRUE(is("Is Margin < 2.5", 2.0));
    EXPECT_FALSE(is("Is Margin > 2.5", 2.0));
}

TEST_F(ExpressionTest, EveryComparisonLeavesItsMargin)
{
    channels.values[0] = 50.4;
    DecisionResult r = evaluateDecision("Is Val 1 > 50", vars, in, 0.0);
    ASSERT_TRUE(r.margin);
    EXPECT_NEAR(*r.margin, 0.4, 1e-9);
    // The margin tested against itself chains: |0.4 - 1| = 0.6.
    r = evaluateDecision("Is Margin < 1", vars, in, *r.margin);
    EXPECT_TRUE(r.yes);
    EXPECT_NEAR(*r.margin, 0.6, 1e-9);
    // Input tests leave the margin alone.
    EXPECT_FALSE(evaluateDecision("Is Input 1 on", vars, in, 0.6).margin);
}

TEST_F(ExpressionTest, UnfinishedTextsAreNoAndReadNothing)
{
    for (const char* text :
         {"Is", "Is ", "Is Val", "Is Val 1", "Is Val 1 >", "Is Val 9 > 5", "Is x", "Is q = 1",
          "Is Margin", "Is IN ?", "Is Input", "Isolde", ""}) {
        const DecisionResult r = evaluateDecision(text, vars, in, 3.0);
        EXPECT_FALSE(r.yes) << text;
        EXPECT_FALSE(r.margin) << text;
    }
    // No inputs at hand at all.
    ExpressionInputs none;
    EXPECT_FALSE(evaluateDecision("Is Input 1 off", vars, none, 0).yes);
}

TEST(ExpressionDigits, DigitsAreReadSkippingBlanksAndSigns)
{
    EXPECT_EQ(digitsFrom("Let a = 12", 8), 12);
    EXPECT_EQ(digitsFrom("Set OUT = 255", 10), 255);
    EXPECT_EQ(digitsFrom("x", 8), 0);
}

}  // namespace
}  // namespace tarvel
