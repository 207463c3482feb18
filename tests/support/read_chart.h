#pragma once
// Reading a chart image in tests as a load reads it (without the numbering
// adjustment): over a document, which the chart then replaces.

#include <string>
#include <string_view>
#include <utility>

#include "flowchart/flow_file.h"
#include "support/fake_messages.h"

namespace tarvel::test {

// Reads `bytes` with `doc` as the document being replaced; on success `doc`
// and `info` hold what was read. Gives the refusal's message, empty when read.
inline std::string readChart(std::string_view bytes, FlowDocument& doc, FlowFileInfo& info,
                             const FlowLoadContext& context = {})
{
    Result<FlowFile> read = parseFlowFile(bytes, doc, context);
    if (!read) return read.refusal().text;
    doc = std::move(read->chart);
    info = std::move(read->info);
    return {};
}

}  // namespace tarvel::test
