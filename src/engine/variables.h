#pragma once
// The eight integer variables a, b, c, d, n, x, y, z shared by all tasks.

#include <array>
#include <cstdint>
#include <string>

namespace tarvel {

inline constexpr int kVariableCount = 8;
inline constexpr char kVariableLetters[kVariableCount + 1] = "abcdnxyz";

// The index 0..7 of a variable letter, or -1.
constexpr int variableIndex(char c)
{
    for (int i = 0; i < kVariableCount; ++i)
        if (kVariableLetters[i] == c) return i;
    return -1;
}

constexpr char variableLetter(int index)
{
    return index >= 0 && index < kVariableCount ? kVariableLetters[index] : '?';
}

// A value fits the variables window while its decimal form, sign included,
// has at most 7 characters.
constexpr bool displayable(std::int32_t v)
{
    return v >= -999999 && v <= 9999999;
}

using Variables = std::array<std::int32_t, kVariableCount>;

// The variables window and mimic labels follow the variables.
class VariableObserver {
public:
    virtual ~VariableObserver() = default;
    virtual void showVariable(int index, std::int32_t value) = 0;
    // A "Let " symbol assigned the variable (after it was shown).
    virtual void assigned(int /*index*/, std::int32_t /*value*/) {}
    // The variable does not exist for what runs now (the chip knows only x
    // and y): shown as "-".
    virtual void showUnused(int /*index*/) {}
};

}  // namespace tarvel
