#include "appearance/print_extent.h"

namespace tarvel {

namespace {
// From a symbol's centre to its right edge and to its bottom edge.
constexpr int kHalfWidth = 60, kHalfHeight = 24;
}  // namespace

PrintExtent flowPrintExtent(const FlowDocument& doc)
{
    PrintExtent extent = kOnePage;
    for (int i = 0; i < doc.symbolCount(); ++i) {
        const FlowSymbol& s = doc.symbol(i);
        if (s.x + kHalfWidth > kOnePage.width) extent.width = kTwoPagesWide.width;
        if (s.y + kHalfHeight > kOnePage.height) return kFourPages;
    }
    return extent;
}

}  // namespace tarvel
