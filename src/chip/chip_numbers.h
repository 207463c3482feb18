#pragma once
// Numbers as command texts write them ("2.5", "30", "0.57"), kept exactly so
// that rounding a time to tenths or hundredths, or scaling a percentage to a
// byte, never suffers from binary fractions. Internal to the chip compiler.

#include <cstdint>
#include <string_view>

namespace tarvel::chipc {

// The character at i, or NUL past the end, as position-based texts are read.
inline char charAt(std::string_view text, std::size_t i)
{
    return i < text.size() ? text[i] : '\0';
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// value = mantissa / 10^scale
struct Decimal {
    std::uint64_t mantissa = 0;
    int scale = 0;
    bool present = false;  // at least one digit was read
};

// Reads digits, an optional point and more digits from `from` on, after any
// blanks. Values too large for any use on a chip saturate.
Decimal readDecimal(std::string_view text, std::size_t from);

// value x factor, rounded half up / truncated.
std::uint64_t roundedTimes(const Decimal& d, std::uint64_t factor);
std::uint64_t truncatedTimes(const Decimal& d, std::uint64_t factor);

// A percentage as the byte the chip compares with: x 2.56, truncated, at most 255.
int percentByte(const Decimal& d);

// Up to six hexadecimal digits; none, more, or another character gives -1.
int readHex(std::string_view digits);

}  // namespace tarvel::chipc
