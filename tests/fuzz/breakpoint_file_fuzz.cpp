// libFuzzer target for the reader of a chart's breakpoint side file. Besides
// never crashing, a file the reader accepts must read the same once written
// again, and every index it gives must name a symbol of the chart.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "flowchart/breakpoint_file.h"
#include "flowchart/flow_types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    // The first byte chooses how many symbols the chart has.
    const int symbols = data[0] % (tarvel::kMaxSymbols + 1);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto read = tarvel::parseBreakpoints(bytes, symbols);
    if (!read) return 0;
    for (const int s : read.value())
        if (s < 0 || s >= symbols) std::abort();
    const auto again =
        tarvel::parseBreakpoints(tarvel::serializeBreakpoints(read.value()), symbols);
    if (!again || again.value() != read.value()) std::abort();
    return 0;
}
