#pragma once
// Numbers in the program's files, written and read the same way whatever the
// user's locale: a point before the decimals, never a comma.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel {

// The value with exactly `decimals` digits after the point, rounded as
// "%.*f" rounds: fixedNumber(2.345, 1) is "2.3", fixedNumber(-0.4, 0) is "-0".
std::string fixedNumber(double value, int decimals);
// Appends the same to `out`.
void appendFixed(std::string& out, double value, int decimals);

// The decimal number at the start of a text, after blanks and a '+'; 0 when
// there is none or it is not finite. "12.5abc" gives 12.5.
double leadingReal(std::string_view s);
// The whole number at the start of a text, after blanks and a sign; 0 when
// there is none; held within the 64-bit range. "12.5" gives 12.
std::int64_t leadingInteger(std::string_view s);

}  // namespace tarvel
