#pragma once
// The chart's fonts at one zoom and the texts laid out in them: symbol
// captions broken over their lines, labels, tags and connector letters. Fonts
// and laid-out texts are made once and kept, since the window paints many
// times at the same zoom.

#include <QFont>
#include <QFontMetrics>
#include <QStaticText>
#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "flowchart/flow_document.h"

namespace tarvel {

// A text laid out once in a font, with its advance for placing it.
struct LaidText {
    QStaticText text;
    int width = 0;
};

// A symbol's caption as drawn: one line or two.
struct CaptionText {
    bool none = true;
    bool twoLines = false;
    LaidText first, second;
};

// The chart's fonts at one zoom, with their metrics and the texts laid out in them.
struct ChartFonts {
    ChartFonts(int zx, int zy);

    int zoomX, zoomY;
    QFont caption, tag;
    std::array<QFont, 3> label;
    QFontMetrics captionMetrics, tagMetrics;
    std::array<QFontMetrics, 3> labelMetrics;
    QStaticText yesTag, noTag;
    int tagWidth = 0;
    std::array<LaidText, kConnectorLetters> letters;

    // Keyed by kind, caption rule and command text; by label text per size.
    mutable std::unordered_map<std::string, CaptionText> captions;
    mutable std::array<std::unordered_map<std::string, LaidText>, 3> labels;
};

// The fonts at a zoom (tenths). A paint holds its own reference, so trimming
// the kept fonts never pulls them from under it.
std::shared_ptr<const ChartFonts> chartFonts(int zoomX, int zoomY);

// A symbol's caption laid out by the screen's rule or, with `picture`, the
// clipboard picture's.
const CaptionText& captionFor(const FlowSymbol& s, bool picture, const ChartFonts& fonts);
const LaidText& labelTextFor(const FlowLabel& l, const ChartFonts& fonts);

// Labels come in three sizes, 14, 21 and 28 units high; any other size is drawn as the first.
int labelIndex(std::int32_t size);
inline constexpr std::array<int, 3> kLabelHeights{14, 21, 28};

}  // namespace tarvel
