#pragma once
// Process ("Let ...") and decision ("Is ...") texts. They are positional: the
// keypads write every token with fixed spacing, and the operands are read at
// fixed character positions.

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/run_ports.h"
#include "engine/variables.h"

namespace tarvel {

// What an expression may look at besides the variables.
struct ExpressionInputs {
    const std::array<int, 8>* inputs = nullptr;  // inputs 1..8 at 0..7
    bool numbersFromZero = false;                // 1 is added to input numbers
    const ChannelValues* channels = nullptr;     // calibrated values of channels 0..3

    double channelValue(int c) const { return channels ? channels->value(c) : 0.0; }
};

struct LetResult {
    enum class Outcome { Assigned, DivisionByZero, NotAnAssignment };
    Outcome outcome = Outcome::NotAnAssignment;
    int target = -1;  // variable index
    std::int32_t value = 0;
    bool readsAnalogue = false;  // the text reads a channel ("Let a = Val 2")
};

// Evaluates a "Let " text; the caller stores the value and shows it.
LetResult evaluateLet(std::string_view text, const Variables& vars, const ExpressionInputs& in);

// Whether a "Let " text reads an analogue channel (the channels are refreshed first).
bool letReadsAnalogue(std::string_view text);

struct DecisionResult {
    bool yes = false;
    std::optional<double> margin;  // the new margin of a comparison
};

// Evaluates an "Is" text; an unfinished or unknown text is No and reads nothing.
DecisionResult evaluateDecision(std::string_view text, const Variables& vars,
                                const ExpressionInputs& in, double margin);

// The decimal number made of the digits from position `from` to the end
// (blanks and signs skipped), in 32-bit two's complement.
std::int32_t digitsFrom(std::string_view text, std::size_t from);

}  // namespace tarvel
