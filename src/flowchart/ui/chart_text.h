#pragma once
// The chart's fonts at one zoom and the texts laid out in them: symbol
// captions broken over their lines, labels, tags and connector letters. Fonts
// and laid-out texts are made once and kept, since the window paints many
// times at the same zoom.

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QStaticText>
#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "flowchart/flow_document.h"

namespace tarvel {

// A font given as the program's windows give it: a character cell height
// and an average character width in pixels, of the "Arial" design, normal
// weight (the mimic window's texts use it too).
QFont gdiStyleFont(int height, int width, bool italic = false);

// A text laid out once in a font, with its advance for placing it.
struct LaidText {
    QStaticText text;
    int width = 0;
};

// A caption's words as the break rule splits them over one line or two
// (Windows-1252 bytes; the second line keeps the blank it starts with).
struct CaptionWords {
    bool none = true;
    bool twoLines = false;
    std::string first, second;
};

// A caption line laid out in a caption font: its advance, and the box its
// ink covers (a pixel of antialiasing included) from the point it is drawn
// at, the top left of its character cell.
struct CaptionLine {
    QStaticText text;
    int width = 0;
    QRect ink;
};

// One caption font: the symbol font itself or, for a caption that would not
// fit its shape, a narrower or smaller one.
struct CaptionFont {
    explicit CaptionFont(const QFont& f);
    const CaptionLine& line(const std::string& text) const;

    QFont font;
    QFontMetrics metrics;
    int cell;  // ascent plus descent: the height of a line
    mutable std::unordered_map<std::string, CaptionLine> lines;
};

// The chart's fonts at one zoom, with their metrics and the texts laid out in them.
struct ChartFonts {
    ChartFonts(int zx, int zy);

    // A symbol's caption split by the screen's break rule or, with
    // `picture`, the clipboard picture's, measured in the symbol font.
    const CaptionWords& captionWords(const FlowSymbol& s, bool picture) const;
    // The caption fonts: 0 is the symbol font, then narrower and smaller
    // ones, up to captionFontSteps() - 1.
    int captionFontSteps() const { return static_cast<int>(captionSizes_.size()); }
    const CaptionFont& captionFont(int step) const;

    int zoomX, zoomY;
    QFont caption, tag;
    std::array<QFont, 3> label;
    QFontMetrics captionMetrics, tagMetrics;
    std::array<QFontMetrics, 3> labelMetrics;
    QStaticText yesTag, noTag;
    int tagWidth = 0;
    std::array<LaidText, kConnectorLetters> letters;

    // By label text per size.
    mutable std::array<std::unordered_map<std::string, LaidText>, 3> labels;

private:
    struct Size {
        int pixels, stretch;
    };
    std::vector<Size> captionSizes_;
    mutable std::vector<std::unique_ptr<CaptionFont>> captionFonts_;
    // Keyed by kind, break rule and command text.
    mutable std::unordered_map<std::string, CaptionWords> words_;
};

// The fonts at a zoom (tenths). A paint holds its own reference, so trimming
// the kept fonts never pulls them from under it.
std::shared_ptr<const ChartFonts> chartFonts(int zoomX, int zoomY);

const LaidText& labelTextFor(const FlowLabel& l, const ChartFonts& fonts);

// Labels come in three sizes, 14, 21 and 28 units high; any other size is drawn as the first.
int labelIndex(std::int32_t size);
inline constexpr std::array<int, 3> kLabelHeights{14, 21, 28};

}  // namespace tarvel
