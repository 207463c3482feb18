#include "flowchart/command_text.h"

#include <charconv>

namespace tarvel {

namespace {
char charAt(std::string_view t, std::size_t i)
{
    return i < t.size() ? t[i] : '\0';
}

bool shiftDigit(char& c, int delta)
{
    // Going up, 9 has nowhere to go; going down, 0 has nowhere to go.
    const char low = delta > 0 ? '0' : '1';
    const char high = delta > 0 ? '8' : '9';
    if (c < low || c > high) return false;
    c = static_cast<char>(c + delta);
    return true;
}
}  // namespace

int subNumberOf(std::string_view text)
{
    int value = 0;
    for (std::size_t i = 4; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 100000) break;  // far beyond any sub number; stop before overflow
    }
    return value;
}

bool isSubHeadText(std::string_view text)
{
    return charAt(text, 1) == 'u';
}

bool isSubCallText(std::string_view text)
{
    return charAt(text, 0) == 'S';
}

std::string subNameOf(std::string_view text)
{
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos) return {};
    const std::size_t close = text.find(')', open + 1);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    return std::string(text.substr(open + 1, end - open - 1));
}

std::optional<int> subRepeatOf(std::string_view text)
{
    const std::size_t close = text.rfind(')');
    const std::size_t from = close == std::string_view::npos ? 0 : close;
    const std::size_t x = text.rfind(" x ");
    if (x == std::string_view::npos || x < from) return std::nullopt;
    std::size_t p = x + 3;
    bool negative = false;
    if (p < text.size() && text[p] == '-') {
        negative = true;
        ++p;
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + p, text.data() + text.size(), value);
    if (ec != std::errc() || ptr == text.data() + p) return std::nullopt;
    return negative ? -value : value;
}

std::string formatSubText(int number, std::string_view name, std::optional<int> repeat)
{
    std::string s = "Sub " + std::to_string(number);
    if (!name.empty()) {
        s += '(';
        s += name;
        s += ')';
    }
    if (repeat) s += " x " + std::to_string(*repeat);
    return s;
}

bool shiftIoNumbers(SymbolKind kind, std::string& text, int delta)
{
    bool changed = false;
    if (kind == SymbolKind::Output) {
        if (charAt(text, 5) == 'O') {
            // "Turn Output n on": one item at position 12
            if (text.size() > 12) changed = shiftDigit(text[12], delta);
        } else if (charAt(text, 0) == 'O') {
            // "Output 1,2 on 3 off": every digit after the word
            for (std::size_t i = 7; i < text.size(); ++i) changed |= shiftDigit(text[i], delta);
        }
    } else if (kind == SymbolKind::Decision) {
        // Only the input test carries an input number ("Is Input n on"); the
        // " IN" comparison holds a value there, which must keep its digits.
        if (text.size() > 9 && text.compare(3, 3, "Inp") == 0) changed = shiftDigit(text[9], delta);
    }
    return changed;
}

}  // namespace tarvel
