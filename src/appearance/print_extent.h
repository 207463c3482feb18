#pragma once
// How much of the drawing a printed chart takes: one printed page's worth
// (654 x 917 units), two side by side when a symbol lies beyond the first
// page's right edge, or four (two rows) when one lies below its bottom. The
// whole extent is scaled to the paper, so a small chart prints large.

#include "flowchart/flow_document.h"

namespace tarvel {

struct PrintExtent {
    int width = 0;
    int height = 0;
    bool operator==(const PrintExtent&) const = default;
};

inline constexpr PrintExtent kOnePage{654, 917};
inline constexpr PrintExtent kTwoPagesWide{1308, 917};
inline constexpr PrintExtent kFourPages{1308, 1836};

PrintExtent flowPrintExtent(const FlowDocument& doc);

}  // namespace tarvel
