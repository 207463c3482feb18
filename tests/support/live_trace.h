#pragma once
// Reading the trace of `tarvel run --interface` and what `tarvel box`
// printed: lines, the event after the centisecond, and a look for one line.

#include <algorithm>
#include <string>
#include <vector>

namespace tarvel::test {

inline bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The complete lines of a text (a last line without its end is left out).
inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c != '\n') {
            line += c;
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    return lines;
}

// The text after the centisecond.
inline std::string event(const std::string& line)
{
    const std::size_t space = line.find(' ');
    return space == std::string::npos ? line : line.substr(space + 1);
}

// Every line of a trace without its centisecond.
inline std::vector<std::string> events(const std::string& text)
{
    std::vector<std::string> out;
    for (const std::string& l : splitLines(text)) out.push_back(event(l));
    return out;
}

}  // namespace tarvel::test
