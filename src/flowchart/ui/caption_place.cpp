#include "flowchart/ui/caption_place.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>

#include "flowchart/captions.h"

namespace tarvel {

namespace {

// How far in from the outline the ink may go, as the outline's innermost
// pixel columns over the rows of the ink (and one row either side, so no
// ink pixel touches the outline even at a corner).
struct Bounds {
    double left = -std::numeric_limits<double>::infinity();
    double right = std::numeric_limits<double>::infinity();
};

// A slanted straight edge from a to b: over the rows lo..hi where it has
// rows, the stroke's pixels lie within a pixel of the exact line (a shallow
// edge is drawn as runs that reach past it).
void slantedEdge(QPoint a, QPoint b, double lo, double hi, bool leftSide, Bounds& out)
{
    if (a.y() == b.y()) return;
    const double from = std::max(lo, double(std::min(a.y(), b.y())));
    const double to = std::min(hi, double(std::max(a.y(), b.y())));
    if (from > to) return;
    const auto xAt = [&](double y) {
        return a.x() + (b.x() - a.x()) * (y - a.y()) / double(b.y() - a.y());
    };
    if (leftSide)
        out.left = std::max(out.left, std::max(xAt(from), xAt(to)) + 1.0);
    else
        out.right = std::min(out.right, std::min(xAt(from), xAt(to)) - 1.0);
}

// A round end: half the ellipse drawn in `box` (an outline rectangle: its
// pixels run from left to left + width). Over the rows lo..hi the arc comes
// furthest in at the row furthest from the centre.
void roundEnd(const QRect& box, double lo, double hi, bool leftSide, Bounds& out)
{
    const double rx = box.width() / 2.0, ry = box.height() / 2.0;
    const double cx = box.x() + rx, cy = box.y() + ry;
    const double dy = std::max(std::abs(lo - cy), std::abs(hi - cy));
    const double k = ry > 0 ? std::min(1.0, dy / ry) : 1.0;
    const double dx = rx * std::sqrt(1.0 - k * k);
    if (leftSide)
        out.left = std::max(out.left, cx - dx + 0.5);
    else
        out.right = std::min(out.right, cx + dx - 0.5);
}

// Half the height of a shape, from its centre to its flat top or tip.
int halfHeight(SymbolKind kind)
{
    return kind == SymbolKind::StartStop ? 12 : 24;
}

// The lines where the caption rule puts them, in the symbol font.
PlacedCaption byRule(const FlowSymbol& s, const Scale& scale, bool picture, const CaptionFont& font,
                     const CaptionWords& words)
{
    PlacedCaption out;
    out.font = &font;
    out.count = words.twoLines ? 2 : 1;
    out.lines = {&font.line(words.first), words.twoLines ? &font.line(words.second) : nullptr};
    if (picture) {
        // Each line centred on the symbol's x, from a fixed top.
        const int cx = scale.x(s.x);
        const auto atTop = [&](const CaptionLine& t, int top) {
            return QPoint(cx - t.width / 2, scale.y(s.y + top));
        };
        if (!words.twoLines) {
            out.at[0] = atTop(*out.lines[0], CaptionLayout::clipboardSingleLineTop);
        } else {
            out.at[0] = atTop(*out.lines[0], CaptionLayout::clipboardFirstLineTop);
            out.at[1] = atTop(*out.lines[1], CaptionLayout::clipboardSecondLineTop);
        }
        return out;
    }
    // Each line centred in the caption box and in its band.
    const int left = scale.x(s.x + CaptionLayout::boxLeft);
    const int boxWidth = scale.x(s.x + CaptionLayout::boxRight) - left;
    const auto inBand = [&](const CaptionLine& t, CaptionBand band) {
        const int top = scale.y(s.y + band.top);
        const int bandHeight = scale.y(s.y + band.bottom) - top;
        return QPoint(left + (boxWidth - t.width) / 2, top + (bandHeight - font.cell) / 2);
    };
    if (!words.twoLines) {
        out.at[0] = inBand(*out.lines[0], CaptionLayout::singleLine);
    } else {
        out.at[0] = inBand(*out.lines[0], CaptionLayout::firstLine);
        out.at[1] = inBand(*out.lines[1], CaptionLayout::secondLine);
    }
    return out;
}

// The lines centred on the shape: their ink together centred between its
// top and bottom (then moved `shift` pixels down), one cell apart (or,
// `tight`, with their ink boxes meeting), each line centred in the room at
// its height.
PlacedCaption centred(const FlowSymbol& s, const Scale& scale, bool printer,
                      const CaptionFont& font, const CaptionWords& words, bool tight, int shift)
{
    PlacedCaption out;
    out.font = &font;
    out.count = words.twoLines ? 2 : 1;
    out.lines = {&font.line(words.first), words.twoLines ? &font.line(words.second) : nullptr};
    const QRect first = out.lines[0]->ink;
    const QRect second = words.twoLines ? out.lines[1]->ink : QRect();
    int pitch = font.cell;
    if (tight && !first.isEmpty() && !second.isEmpty())
        pitch = std::min(pitch, first.bottom() - second.top() + 1);
    const int inkTop = first.isEmpty() ? 0 : first.top();
    const int inkBottom = !second.isEmpty()  ? pitch + second.bottom()
                          : !first.isEmpty() ? first.bottom()
                                             : font.cell - 1;
    const int h = halfHeight(s.kind);
    const int middle = (scale.y(s.y - h) + scale.y(s.y + h)) / 2;
    const int top = middle - (inkTop + inkBottom) / 2 + shift;
    for (int i = 0; i < out.count; ++i) {
        const CaptionLine& line = *out.lines[static_cast<std::size_t>(i)];
        const int y = top + i * pitch;
        int x = scale.x(s.x) - line.width / 2;
        if (!line.ink.isEmpty()) {
            const QRect ink = line.ink.translated(0, y);
            const InkRoom room = inkRoom(s, scale, printer, ink.top(), ink.bottom());
            if (room.left <= room.right)
                x = room.left + (room.right - room.left + 1 - ink.width()) / 2 - ink.left();
            else
                x = scale.x(s.x) - ink.left() - ink.width() / 2;
        }
        out.at[static_cast<std::size_t>(i)] = QPoint(x, y);
    }
    return out;
}

bool fitsShape(const PlacedCaption& c, const FlowSymbol& s, const Scale& scale, bool printer)
{
    for (int i = 0; i < c.count; ++i) {
        const QRect ink = c.ink(i);
        if (ink.isEmpty()) continue;  // blanks only
        if (!inkRoom(s, scale, printer, ink.top(), ink.bottom()).holds(ink)) return false;
    }
    return true;
}

}  // namespace

InkRoom inkRoom(const FlowSymbol& s, const Scale& scale, bool printer, int top, int bottom)
{
    const int x = s.x, y = s.y;
    const double lo = top - 1.5, hi = bottom + 1.5;
    Bounds b;
    int topRow = 0, bottomRow = 0;  // the outline's flat top and bottom, or its tips
    switch (s.kind) {
        case SymbolKind::StartStop: {
            const int end = printer ? y + 12 : y + 13;
            topRow = scale.y(y - 12);
            bottomRow = scale.y(y + 12);
            roundEnd(scale.outline(x - 60, y - 12, x - 36, end), lo, hi, true, b);
            roundEnd(scale.outline(x + 36, y - 12, x + 60, end), lo, hi, false, b);
            break;
        }
        case SymbolKind::Output: {
            const QPoint bottomLeft = scale.pt(x - 60, y + 24),
                         bottomRight = scale.pt(x + 36, y + 24);
            const QPoint topRight = scale.pt(x + 60, y - 24), topLeft = scale.pt(x - 36, y - 24);
            topRow = topLeft.y();
            bottomRow = bottomLeft.y();
            slantedEdge(bottomLeft, topLeft, lo, hi, true, b);
            slantedEdge(bottomRight, topRight, lo, hi, false, b);
            break;
        }
        case SymbolKind::Process: {
            const QRect box = scale.outline(x - 48, y - 24, x + 48, y + 24);
            topRow = box.top();
            bottomRow = box.top() + box.height();
            // A sub call's bars stand inside the sides.
            const bool bars = isSubCall(s);
            b.left = bars ? scale.x(x - 45) : box.left();
            b.right = bars ? scale.x(x + 45) : box.left() + box.width();
            break;
        }
        case SymbolKind::Decision: {
            const QPoint left = scale.pt(x - 60, y), right = scale.pt(x + 60, y);
            const QPoint tip = scale.pt(x, y - 24), foot = scale.pt(x, y + 24);
            topRow = tip.y();
            bottomRow = foot.y();
            slantedEdge(left, tip, lo, hi, true, b);
            slantedEdge(left, foot, lo, hi, true, b);
            slantedEdge(right, tip, lo, hi, false, b);
            slantedEdge(right, foot, lo, hi, false, b);
            break;
        }
    }
    if (top < topRow + 2 || bottom > bottomRow - 2) return {};
    return {static_cast<int>(std::floor(b.left)) + 2, static_cast<int>(std::ceil(b.right)) - 2};
}

namespace {

// The search for a place that fits: the rule's place, then centred in each
// caption font in turn, the lines a cell apart or closer, moved up and down
// by up to a cell (a diamond has most room across its middle).
PlacedCaption search(const FlowSymbol& s, const Scale& scale, bool picture, bool printer,
                     const ChartFonts& fonts, const CaptionWords& words)
{
    const PlacedCaption rule = byRule(s, scale, picture, fonts.captionFont(0), words);
    if (fitsShape(rule, s, scale, printer)) return rule;
    const int steps = fonts.captionFontSteps();
    for (int step = 0; step < steps; ++step) {
        const CaptionFont& font = fonts.captionFont(step);
        for (const bool tight : {false, true}) {
            for (int k = 0; k <= 2 * font.cell; ++k) {
                const int shift = k % 2 == 0 ? -k / 2 : (k + 1) / 2;
                const PlacedCaption c = centred(s, scale, printer, font, words, tight, shift);
                if (fitsShape(c, s, scale, printer)) return c;
            }
        }
    }
    // Nothing fits (a start/stop caption cannot be broken however long):
    // the smallest font, centred.
    return centred(s, scale, printer, fonts.captionFont(steps - 1), words, true, 0);
}

// A place found is kept: the caption font and where the lines go from the
// symbol's centre. At a zoom below 100 % the rounding of the outline moves
// with the centre's position, so that is part of the key.
struct Spot {
    int step = 0;
    std::array<QPoint, 2> from{};
};

constexpr std::size_t kMaxSpots = 4096;

std::unordered_map<std::string, Spot>& spots()
{
    static std::unordered_map<std::string, Spot> kept;
    return kept;
}

int phase(int v, int zoom)
{
    return ((v * zoom) % 10 + 10) % 10;
}

}  // namespace

PlacedCaption placeCaption(const FlowSymbol& s, const Scale& scale, bool picture, bool printer,
                           const ChartFonts& fonts)
{
    const CaptionWords& words = fonts.captionWords(s, picture);
    if (words.none) return {};
    std::string key;
    key.reserve(s.text.size() + 8);
    key += {static_cast<char>('0' + static_cast<int>(s.kind)),
            picture ? 'p' : 's',
            printer ? 'r' : 'w',
            static_cast<char>('0' + phase(s.x, scale.zx)),
            static_cast<char>('0' + phase(s.y, scale.zy)),
            static_cast<char>(scale.zx),
            static_cast<char>(scale.zy)};
    key.append(s.text.view());
    const QPoint centre = scale.pt(s.x, s.y);
    auto& kept = spots();
    auto it = kept.find(key);
    if (it == kept.end()) {
        if (kept.size() >= kMaxSpots) kept.clear();
        const PlacedCaption found = search(s, scale, picture, printer, fonts, words);
        Spot spot;
        for (int i = 0; i < fonts.captionFontSteps(); ++i)
            if (&fonts.captionFont(i) == found.font) spot.step = i;
        for (int i = 0; i < found.count; ++i)
            spot.from[static_cast<std::size_t>(i)] = found.at[static_cast<std::size_t>(i)] - centre;
        it = kept.emplace(std::move(key), spot).first;
    }
    const Spot& spot = it->second;
    PlacedCaption out;
    out.font = &fonts.captionFont(spot.step);
    out.count = words.twoLines ? 2 : 1;
    out.lines = {&out.font->line(words.first),
                 words.twoLines ? &out.font->line(words.second) : nullptr};
    out.at = {centre + spot.from[0], centre + spot.from[1]};
    return out;
}

}  // namespace tarvel
