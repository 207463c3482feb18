// libFuzzer target for the flowchart reader. Besides never crashing, a file
// the reader accepts must survive save-and-load unchanged: what the writer
// produces from it is a fixed point.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"

namespace {

tarvel::InterfaceSettings settingsOf(const tarvel::FlowFileHeader& h)
{
    tarvel::InterfaceSettings s;
    s.analogueSource = h.analogueSource;
    s.highLow = h.highLow;
    s.mode = h.mode;
    s.numbering = h.numbering;
    s.subModel = h.subModel;
    s.model = h.model;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tarvel::FlowDocument empty;
    const auto read = tarvel::parseFlowFile(bytes, empty, {});
    if (!read) return 0;

    const tarvel::InterfaceSettings settings = settingsOf(read->info.header);
    tarvel::FlowLoadContext ctx;
    ctx.current = settings;
    const std::string once = tarvel::serializeFlowFile(read->chart, settings);
    const auto again = tarvel::parseFlowFile(once, empty, ctx);
    if (!again) std::abort();
    if (tarvel::serializeFlowFile(again->chart, settings) != once) std::abort();
    return 0;
}
