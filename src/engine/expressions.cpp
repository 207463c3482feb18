#include "engine/expressions.h"

#include <charconv>
#include <cmath>

namespace tarvel {

namespace {

char at(std::string_view t, std::size_t i)
{
    return i < t.size() ? t[i] : '\0';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::int32_t wrap(std::int64_t v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// A decimal number with an optional fraction, read with a point whatever the locale.
double numberFrom(std::string_view text, std::size_t from)
{
    if (from >= text.size()) return 0.0;
    double v = 0.0;
    const char* first = text.data() + from;
    std::from_chars(first, text.data() + text.size(), v);
    return v;
}

// "Val n": the channel digit 1..4, or -1.
int channelOf(char digit)
{
    return digit >= '1' && digit <= '4' ? digit - '1' : -1;
}

}  // namespace

std::int32_t digitsFrom(std::string_view text, std::size_t from)
{
    std::uint32_t v = 0;
    for (std::size_t i = from; i < text.size(); ++i)
        if (isDigit(text[i])) v = v * 10u + static_cast<std::uint32_t>(text[i] - '0');
    return static_cast<std::int32_t>(v);
}

bool letReadsAnalogue(std::string_view text)
{
    return at(text, 8) == 'V';
}

LetResult evaluateLet(std::string_view text, const Variables& vars, const ExpressionInputs& in)
{
    LetResult r;
    r.target = variableIndex(at(text, 4));
    if (r.target < 0) return r;
    const char c8 = at(text, 8);
    if (c8 == 'V') {
        r.readsAnalogue = true;
        const int channel = channelOf(at(text, 12));
        if (channel < 0) return r;
        r.value = wrap(static_cast<std::int64_t>(std::trunc(in.channelValue(channel))));
        r.outcome = LetResult::Outcome::Assigned;
        return r;
    }
    if (isDigit(c8)) {
        r.value = digitsFrom(text, 8);
        r.outcome = LetResult::Outcome::Assigned;
        return r;
    }
    const int s = variableIndex(c8);
    if (s < 0) return r;
    const std::int64_t sv = vars[static_cast<std::size_t>(s)];
    if (text.size() < 12) {
        r.value = static_cast<std::int32_t>(sv);
        r.outcome = LetResult::Outcome::Assigned;
        return r;
    }
    std::int64_t v = 0;
    const int second = variableIndex(at(text, 12));
    if (second >= 0)
        v = vars[static_cast<std::size_t>(second)];
    else if (isDigit(at(text, 12)))
        v = digitsFrom(text, 12);
    else
        return r;
    switch (at(text, 10)) {
        case '+':
            r.value = wrap(sv + v);
            break;
        case '-':
            r.value = wrap(sv - v);
            break;
        case '*':
            r.value = wrap(sv * v);
            break;
        case '/':
            if (v == 0) {
                r.outcome = LetResult::Outcome::DivisionByZero;
                return r;
            }
            // Truncates toward zero; the one quotient that does not fit wraps.
            r.value = wrap(sv / v);
            break;
        default:
            return r;
    }
    r.outcome = LetResult::Outcome::Assigned;
    return r;
}

DecisionResult evaluateDecision(std::string_view text, const Variables& vars,
                                const ExpressionInputs& in, double margin)
{
    DecisionResult r;
    if (text.substr(0, 2) != "Is" || text.size() < 4) return r;

    if (text.compare(3, 3, "Inp") == 0) {
        const char c = at(text, 9);
        std::int64_t number = 0;
        if (isDigit(c))
            number = c - '0';
        else if (variableIndex(c) >= 0)
            number = vars[static_cast<std::size_t>(variableIndex(c))];
        else
            return r;
        if (in.numbersFromZero) number += 1;
        if (number < 1 || number > 8 || !in.inputs) return r;
        const bool on = (*in.inputs)[static_cast<std::size_t>(number - 1)] != 0;
        const bool wantOn = at(text, 12) == 'n';
        r.yes = wantOn == on;
        return r;
    }

    double u = 0.0;
    std::size_t op = 0;
    const char left = text[3];
    if (left == 'V') {
        const int channel = channelOf(at(text, 7));
        if (channel < 0) return r;
        u = in.channelValue(channel);
        op = 9;
    } else if (left == 'I') {
        int byte = 0;
        if (in.inputs)
            for (int i = 0; i < 8; ++i)
                byte |= ((*in.inputs)[static_cast<std::size_t>(i)] ? 1 : 0) << i;
        u = byte;
        op = 6;
    } else if (left == 'M') {
        u = margin;
        op = 10;
    } else if (variableIndex(left) >= 0) {
        u = vars[static_cast<std::size_t>(variableIndex(left))];
        op = 5;
    } else {
        return r;
    }

    bool notEqual = false;
    if (at(text, op) == '!') {
        notEqual = true;
        ++op;
    }
    const char oper = at(text, op);
    if (!notEqual && oper != '=' && oper != '<' && oper != '>') return r;

    const std::size_t right = op + 2;
    if (right >= text.size()) return r;
    double v = 0.0;
    const char rc = text[right];
    if (rc == 'V') {
        const int channel = channelOf(at(text, right + 4));
        if (channel < 0) return r;
        v = in.channelValue(channel);
    } else if (variableIndex(rc) >= 0) {
        v = vars[static_cast<std::size_t>(variableIndex(rc))];
    } else if (isDigit(rc) || rc == '.' || rc == '-') {
        v = numberFrom(text, right);
    } else {
        return r;
    }

    if (notEqual)
        r.yes = u != v;
    else if (oper == '=')
        r.yes = u == v;
    else if (oper == '<')
        r.yes = u < v;
    else
        r.yes = u > v;
    r.margin = std::fabs(u - v);
    return r;
}

}  // namespace tarvel
