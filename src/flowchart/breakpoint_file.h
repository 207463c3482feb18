#pragma once
// The breakpoints of a chart, in a small file beside it ("NAME.FLO.bp"): one
// symbol index a line, in index order. The chart file itself never holds them,
// so every version reads it as before. A damaged side file is ignored: the
// chart opens without breakpoints.

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace tarvel {

class FlowDocument;
class Messages;

// The side file of a chart file.
std::string breakpointPath(const std::string& chartPath);

// The indices, each a symbol of a chart with `symbolCount` symbols, once;
// anything else (a stray character, an index outside the chart or given
// twice, a file too long to be one) refuses the whole file.
Result<std::vector<int>> parseBreakpoints(std::string_view bytes, int symbolCount);
std::string serializeBreakpoints(const std::vector<int>& symbols);

// After a chart was loaded from `chartPath`: its breakpoints from the side
// file, when there is one that reads. A damaged one is said on the status line.
void loadBreakpoints(const std::string& chartPath, FlowDocument& doc, Messages& messages);
// After the chart was saved to `chartPath`: the side file follows it, and
// goes when the chart has no breakpoints. False (and said on the status line)
// when it could not be written.
bool saveBreakpoints(const std::string& chartPath, const FlowDocument& doc, Messages& messages);

}  // namespace tarvel
