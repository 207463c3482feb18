#pragma once
// Where a symbol's caption goes inside its shape. The lines go where the
// caption rule puts them: on the screen centred in the box x ± 60 and in
// their bands, in the clipboard picture centred on x from fixed tops. Where
// that would let a line touch or cross the outline (an output's slanted
// edges, a diamond's sides, a sub call's bars, a start/stop symbol's flat
// top at a small zoom), the lines are centred on the shape instead, each in
// the room the shape leaves at its height; when they still do not fit they
// are set in the next narrower or smaller caption font.

#include <QPoint>
#include <QRect>
#include <array>

#include "flowchart/flow_document.h"
#include "flowchart/ui/chart_shapes.h"
#include "flowchart/ui/chart_text.h"

namespace tarvel {

struct PlacedCaption {
    const CaptionFont* font = nullptr;  // none: the symbol has no caption
    int count = 0;
    std::array<const CaptionLine*, 2> lines{};
    std::array<QPoint, 2> at{};  // where each line is drawn: the top left of its cell
    // The device pixels line i's ink covers.
    QRect ink(int i) const { return lines[static_cast<std::size_t>(i)]->ink.translated(at[i]); }
};

PlacedCaption placeCaption(const FlowSymbol& s, const Scale& scale, bool picture, bool printer,
                           const ChartFonts& fonts);

// The columns a caption's ink may cover in the device rows top..bottom
// inside a symbol's outline, leaving a blank pixel between ink and outline;
// left > right when those rows leave no room.
struct InkRoom {
    int left = 0, right = -1;
    bool holds(const QRect& ink) const { return ink.left() >= left && ink.right() <= right; }
};
InkRoom inkRoom(const FlowSymbol& s, const Scale& scale, bool printer, int top, int bottom);

}  // namespace tarvel
