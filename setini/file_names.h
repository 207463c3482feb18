#pragma once
// File names compared as the program's home platform compares them: without
// regard to the case of ASCII letters.

#include <cstddef>
#include <string_view>

namespace setini {

inline bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

}  // namespace setini
