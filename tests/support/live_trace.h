#pragma once
// Reading what `tarvel run --interface` and `tarvel box` print: the lines,
// the event of a trace line without its centisecond, and a look-up.

#include <algorithm>
#include <string>
#include <vector>

namespace tarvel::test {

inline bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

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

// The events of a whole trace.
inline std::vector<std::string> events(const std::string& trace)
{
    std::vector<std::string> out;
    for (const std::string& l : splitLines(trace)) out.push_back(event(l));
    return out;
}

}  // namespace tarvel::test
