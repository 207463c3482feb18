#include "flowchart/breakpoint_file.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "flowchart/flow_document.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

// Room for every symbol's index, with its line end, and blank lines besides.
constexpr std::size_t kLongestFile = kMaxSymbols * 6;

Refusal damaged()
{
    return Refusal{std::string(caption::FileError), "El archivo de puntos de parada está dañado"};
}

}  // namespace

std::string breakpointPath(const std::string& chartPath)
{
    return chartPath + ".bp";
}

Result<std::vector<int>> parseBreakpoints(std::string_view bytes, int symbolCount)
{
    if (bytes.size() > kLongestFile) return damaged();
    std::vector<int> out;
    std::array<bool, kMaxSymbols> seen{};
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.size() > 3) return damaged();
        int value = 0;
        for (const char c : line) {
            if (c < '0' || c > '9') return damaged();
            value = value * 10 + (c - '0');
        }
        if (value >= symbolCount || seen[static_cast<std::size_t>(value)]) return damaged();
        seen[static_cast<std::size_t>(value)] = true;
        out.push_back(value);
    }
    return out;
}

std::string serializeBreakpoints(const std::vector<int>& symbols)
{
    std::string out;
    for (const int s : symbols) out += std::to_string(s) + "\r\n";
    return out;
}

void loadBreakpoints(const std::string& chartPath, FlowDocument& doc, Messages& messages)
{
    doc.setBreakpoints({});
    const std::string path = breakpointPath(chartPath);
    std::error_code error;
    if (!std::filesystem::is_regular_file(pathFromUtf8(path), error)) return;
    // A file far longer than any list of breakpoints is not read at all.
    const auto size = std::filesystem::file_size(pathFromUtf8(path), error);
    std::string bytes;
    if (error || size > kLongestFile || !readWholeFile(path, bytes))
        bytes.assign(kLongestFile + 1, ' ');
    const Result<std::vector<int>> read = parseBreakpoints(bytes, doc.symbolCount());
    if (!read) {
        messages.status("No se pudieron leer los puntos de parada: el archivo está dañado");
        return;
    }
    doc.setBreakpoints(read.value());
}

bool saveBreakpoints(const std::string& chartPath, const FlowDocument& doc, Messages& messages)
{
    const std::string path = breakpointPath(chartPath);
    const std::vector<int> symbols = doc.breakpoints();
    if (symbols.empty()) {
        std::error_code ignored;
        std::filesystem::remove(pathFromUtf8(path), ignored);
        return true;
    }
    if (writeFileReplacing(path, serializeBreakpoints(symbols)) == WriteResult::Ok) return true;
    messages.status("No se pudieron guardar los puntos de parada");
    return false;
}

}  // namespace tarvel
