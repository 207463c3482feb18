#include "chip/chip_numbers.h"

#include <algorithm>

namespace tarvel::chipc {

namespace {

// Far beyond anything a chip holds, and small enough that mantissa x 512
// cannot overflow.
constexpr std::uint64_t kSaturated = 1'000'000'000'000'000ULL;
constexpr int kMaxScale = 9;

std::uint64_t power10(int n)
{
    std::uint64_t p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

}  // namespace

Decimal readDecimal(std::string_view text, std::size_t from)
{
    Decimal d;
    std::size_t i = from;
    while (i < text.size() && text[i] == ' ') ++i;
    bool saturated = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        d.present = true;
        if (saturated) continue;
        if (d.mantissa >= kSaturated / 10) {
            d.mantissa = kSaturated;
            saturated = true;
            continue;
        }
        d.mantissa = d.mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (i < text.size() && text[i] == '.') {
        // Digits past the ninth decimal cannot move a rounding to hundredths.
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            d.present = true;
            if (saturated || d.scale == kMaxScale) continue;
            d.mantissa = d.mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
            ++d.scale;
        }
    }
    return d;
}

std::uint64_t roundedTimes(const Decimal& d, std::uint64_t factor)
{
    const std::uint64_t unit = power10(d.scale);
    return (2 * d.mantissa * factor + unit) / (2 * unit);
}

std::uint64_t truncatedTimes(const Decimal& d, std::uint64_t factor)
{
    return d.mantissa * factor / power10(d.scale);
}

int percentByte(const Decimal& d)
{
    // x 2.56 is x 256 / 100
    const std::uint64_t v = d.mantissa * 256 / (100 * power10(d.scale));
    return static_cast<int>(std::min<std::uint64_t>(v, 255));
}

int readHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 6) return -1;
    int v = 0;
    for (const char c : digits) {
        int n = -1;
        if (isDigit(c))
            n = c - '0';
        else if (c >= 'a' && c <= 'f')
            n = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            n = c - 'A' + 10;
        if (n < 0) return -1;
        v = v * 16 + n;
    }
    return v;
}

}  // namespace tarvel::chipc
