#include "platform/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tarvel {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view withoutBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

}  // namespace

void appendFixed(std::string& out, double value, int decimals)
{
    // Wide enough for the largest double written out in full.
    char text[400];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec == std::errc()) out.append(text, end);
}

std::string fixedNumber(double value, int decimals)
{
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

double leadingReal(std::string_view s)
{
    s = withoutBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    (void)end;
    return ec == std::errc() && std::isfinite(v) ? v : 0.0;
}

std::int64_t leadingInteger(std::string_view s)
{
    s = withoutBlanks(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::int64_t v = 0;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    for (const char c : s) {
        if (c < '0' || c > '9') break;
        if (v < kLimit) v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

}  // namespace tarvel
