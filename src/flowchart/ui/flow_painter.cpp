#include "flowchart/ui/flow_painter.h"

#include <QBrush>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QStaticText>
#include <QString>
#include <QTransform>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "flowchart/captions.h"
#include "platform/qt/qt_text.h"

namespace tarvel {
namespace {

// ---- Fonts --------------------------------------------------------------------

// Font sizes are given as a character cell height and an average character
// width, in the proportions of the Arial design: the cell (ascent plus
// descent) is 2288/2048 em and the average character 904/2048 em wide.
constexpr int kEmUnits = 2048;
constexpr int kCellUnits = 2288;
constexpr int kAverageWidthUnits = 904;

// Near the natural width the font is left unstretched: a few percent either
// way is only the rounding of the pixel size.
constexpr int kStretchTolerance = 6;

QFont makeFont(int height, int width, bool italic)
{
    height = std::max(height, 1);
    width = std::max(width, 1);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setItalic(italic);
    // Captions are measured against fixed thresholds: no kerning, so a text
    // is as wide as its characters' advances.
    font.setKerning(false);
    const int pixels = std::max(1, (height * kEmUnits + kCellUnits / 2) / kCellUnits);
    font.setPixelSize(pixels);
    const int naturalCentipixels = std::max(1, pixels * kAverageWidthUnits * 100 / kEmUnits);
    int stretch = (width * 10000 + naturalCentipixels / 2) / naturalCentipixels;
    if (std::abs(stretch - 100) <= kStretchTolerance) stretch = 100;
    font.setStretch(std::clamp(stretch, 1, 4000));
    return font;
}

QStaticText laidOut(const QString& text, const QFont& font)
{
    QStaticText t(text);
    // Captions may hold "<" (comparisons): plain text, never markup.
    t.setTextFormat(Qt::PlainText);
    t.prepare(QTransform(), font);
    return t;
}

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

// Laid-out texts are kept between paints while they stay the same; a chart
// has at most a few hundred of them, so a cache that outgrows this has seen
// many edits and simply starts again.
constexpr std::size_t kMaxCachedTexts = 2048;

// The chart's fonts at one zoom, with their metrics and the texts laid out in them.
struct FontSet {
    FontSet(int zx, int zy)
        : zoomX(zx),
          zoomY(zy),
          caption(makeFont(CaptionLayout::fontHeight * zy / 10, CaptionLayout::fontWidth * zx / 10,
                           false)),
          tag(makeFont(12 * zy / 10, 4 * zx / 10, false)),
          label{makeFont(15 * zy / 10, 6 * zx / 10, true),
                makeFont(23 * zy / 10, 9 * zx / 10, true),
                makeFont(30 * zy / 10, 12 * zx / 10, true)},
          captionMetrics(caption),
          tagMetrics(tag),
          labelMetrics{QFontMetrics(label[0]), QFontMetrics(label[1]), QFontMetrics(label[2])}
    {
        yesTag = laidOut(QStringLiteral("SI"), tag);
        noTag = laidOut(QStringLiteral("NO"), tag);
        tagWidth = std::max(tagMetrics.horizontalAdvance(QStringLiteral("SI")),
                            tagMetrics.horizontalAdvance(QStringLiteral("NO")));
        for (int k = 0; k < kConnectorLetters; ++k) {
            const QString letter(QChar(static_cast<char16_t>('A' + k)));
            letters[static_cast<std::size_t>(k)] = {laidOut(letter, caption),
                                                    captionMetrics.horizontalAdvance(letter)};
        }
    }

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

// Fonts are made once per zoom and kept: the window paints many times at
// the same zoom, and the pictures and label measuring use 100 %. A paint
// holds its own reference, so trimming the cache never pulls fonts from
// under it.
std::vector<std::shared_ptr<const FontSet>>& fontCache()
{
    static std::vector<std::shared_ptr<const FontSet>> cache;
    return cache;
}

void releaseFonts()
{
    fontCache().clear();
}

std::shared_ptr<const FontSet> fontsFor(int zoomX, int zoomY)
{
    auto& cache = fontCache();
    // Fonts must go before the application object does.
    static const bool cleanupSet = [] {
        qAddPostRoutine(releaseFonts);
        return true;
    }();
    (void)cleanupSet;
    for (const auto& f : cache)
        if (f->zoomX == zoomX && f->zoomY == zoomY) return f;
    if (cache.size() >= 16) cache.erase(cache.begin());
    cache.push_back(std::make_shared<const FontSet>(zoomX, zoomY));
    return cache.back();
}

int labelIndex(std::int32_t size)
{
    return size >= 1 && size <= 3 ? size - 1 : 0;
}

constexpr std::array<int, 3> kLabelHeights{14, 21, 28};

// ---- Colours ------------------------------------------------------------------

struct Style {
    QColor colour;
    bool filled = false;
};

QColor fromColourRef(std::uint32_t c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

const QColor kSilver(192, 192, 192);

// The colour and fill of a draw state. A chart colour switched off ("no
// colour") means the marking is not shown: the object is drawn as normal, so
// a repaint during a run never makes the running symbol vanish.
Style styleFor(std::int32_t state, const ColourSet& colours)
{
    switch (state) {
        case 1:
            return {kSilver, false};
        case 2:
            return {kSilver, true};
        case 3:
        case 4:
        case 5:
        case 6: {
            const std::uint32_t c = colours.colours[static_cast<std::size_t>(state - 3)];
            if (c & kNoColour) break;
            return {fromColourRef(c), (c & kFilledColour) != 0};
        }
        case 7:
            return {Qt::white, true};
        default:
            break;
    }
    return {Qt::black, false};
}

// ---- Geometry -----------------------------------------------------------------

struct Scale {
    int zx, zy, ox, oy;
    explicit Scale(const PaintOptions& o)
        : zx(o.zoomX), zy(o.zoomY), ox(o.offset.x()), oy(o.offset.y())
    {
    }
    int x(int v) const { return v * zx / 10 + ox; }
    int y(int v) const { return v * zy / 10 + oy; }
    QPoint pt(int px, int py) const { return {x(px), y(py)}; }
    // The pixels a box from (l, t) up to but not including (r, b) covers, as
    // a rectangle whose outline Qt draws on exactly those pixels.
    QRect outline(int l, int t, int r, int b) const
    {
        const int L = x(l), T = y(t);
        return {L, T, std::max(x(r) - L - 1, 0), std::max(y(b) - T - 1, 0)};
    }
    // The same box for filling.
    QRect fill(int l, int t, int r, int b) const
    {
        const int L = x(l), T = y(t);
        return {L, T, x(r) - L, y(b) - T};
    }
};

// A straight join that stops one pixel short of its end, so vertical and
// horizontal strokes end on the outline they meet rather than beyond it.
void joinLine(QPainter& p, QPoint a, QPoint b)
{
    if (a.x() == b.x() && a.y() != b.y())
        b.ry() += a.y() < b.y() ? -1 : 1;
    else if (a.y() == b.y() && a.x() != b.x())
        b.rx() += a.x() < b.x() ? -1 : 1;
    p.drawLine(a, b);
}

// Outline (or, with the painter's brush and no pen, the fill) of a shape.
void drawShape(QPainter& p, const Scale& s, SymbolKind kind, int x, int y, bool subCall,
               bool printer, bool filling)
{
    switch (kind) {
        case SymbolKind::StartStop: {
            const int bottom = printer ? y + 12 : y + 13;
            if (filling) {
                p.drawEllipse(s.fill(x - 60, y - 12, x - 36, bottom));
                p.drawEllipse(s.fill(x + 36, y - 12, x + 60, bottom));
                p.drawRect(s.fill(x - 48, y - 12, x + 48, bottom));
                return;
            }
            p.drawArc(s.outline(x - 60, y - 12, x - 36, bottom), 90 * 16, 180 * 16);
            p.drawArc(s.outline(x + 36, y - 12, x + 60, bottom), -90 * 16, 180 * 16);
            joinLine(p, s.pt(x - 48, y - 12), s.pt(x + 48, y - 12));
            joinLine(p, s.pt(x - 48, y + 12), s.pt(x + 48, y + 12));
            return;
        }
        case SymbolKind::Output: {
            const std::array<QPoint, 4> pts{s.pt(x - 60, y + 24), s.pt(x + 36, y + 24),
                                            s.pt(x + 60, y - 24), s.pt(x - 36, y - 24)};
            p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
            return;
        }
        case SymbolKind::Process:
            if (filling) {
                p.drawRect(s.fill(x - 48, y - 24, x + 48, y + 24));
                return;
            }
            p.drawRect(s.outline(x - 48, y - 24, x + 48, y + 24));
            if (subCall) {
                joinLine(p, s.pt(x - 45, y - 24), s.pt(x - 45, y + 24));
                joinLine(p, s.pt(x + 45, y - 24), s.pt(x + 45, y + 24));
            }
            return;
        case SymbolKind::Decision: {
            const std::array<QPoint, 4> pts{s.pt(x - 60, y), s.pt(x, y + 24), s.pt(x + 60, y),
                                            s.pt(x, y - 24)};
            p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
            return;
        }
    }
}

// A filled arrowhead 6 units long and 8 wide with its tip at (x, y),
// pointing along (dx, dy) turned to the nearest of the four directions.
void drawArrowhead(QPainter& p, const Scale& s, int x, int y, int dx, int dy)
{
    int ux = 0, uy = 0;
    if (std::abs(dx) >= std::abs(dy))
        ux = dx > 0 ? 1 : -1;
    else
        uy = dy > 0 ? 1 : -1;
    const int bx = x - 6 * ux, by = y - 6 * uy;
    const std::array<QPoint, 3> pts{s.pt(x, y), s.pt(bx - 4 * uy, by + 4 * ux),
                                    s.pt(bx + 4 * uy, by - 4 * ux)};
    p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
}

// The same arrowhead as strips one pixel wide, from its base to its tip. On
// the screen a chart has a couple of thousand arrowheads: filling strips is
// far cheaper than rasterising triangles.
template <typename Strips>
void arrowheadStrips(Strips& out, const Scale& s, int x, int y, int dx, int dy)
{
    const QPoint tip = s.pt(x, y);
    if (std::abs(dx) >= std::abs(dy)) {
        const int ux = dx > 0 ? 1 : -1;
        const int base = s.x(x - 6 * ux);
        const int up = tip.y() - s.y(y - 4), down = s.y(y + 4) - tip.y();
        const int len = std::abs(tip.x() - base);
        for (int k = 0; k <= len; ++k) {
            const int c = tip.x() - ux * k;
            const int a = len ? (up * k + len / 2) / len : up;
            const int b = len ? (down * k + len / 2) / len : down;
            out.append(QRect(QPoint(c, tip.y() - a), QPoint(c, tip.y() + b)));
        }
    } else {
        const int uy = dy > 0 ? 1 : -1;
        const int base = s.y(y - 6 * uy);
        const int left = tip.x() - s.x(x - 4), right = s.x(x + 4) - tip.x();
        const int len = std::abs(tip.y() - base);
        for (int k = 0; k <= len; ++k) {
            const int r = tip.y() - uy * k;
            const int a = len ? (left * k + len / 2) / len : left;
            const int b = len ? (right * k + len / 2) / len : right;
            out.append(QRect(QPoint(tip.x() - a, r), QPoint(tip.x() + b, r)));
        }
    }
}

// The connector boxes: 20 units wide, 10 above and below the stub's point;
// after the first stub's end, before the second stub's start.
Rect connectorBoxAfter(Point end)
{
    return {end.x, end.y - 10, end.x + 20, end.y + 10};
}
Rect connectorBoxBefore(Point start)
{
    return {start.x - 20, start.y - 10, start.x, start.y + 10};
}

bool hasTag(const FlowLine& l)
{
    return l.kind != LineKind::Plain && l.geometry.tag.x >= 0;
}

// Everything a line draws, in document units; tagWidth is the width of its tag text.
Rect lineExtent(const FlowLine& l, int tagWidth, int tagHeight)
{
    Rect r{};
    const auto add = [&r](const Rect& part) { r = r.united(part); };
    const int n = l.pointCount();
    for (int i = 0; i < n; ++i) {
        const Point pt = l.geometry.points[static_cast<std::size_t>(i)];
        if (pt.x == kConnectorMarkX) {
            if (i > 0) add(connectorBoxAfter(l.geometry.points[static_cast<std::size_t>(i - 1)]));
            if (i + 1 < n)
                add(connectorBoxBefore(l.geometry.points[static_cast<std::size_t>(i + 1)]));
            continue;
        }
        // Arrowheads reach 4 to either side of the line.
        add({pt.x - 4, pt.y - 4, pt.x + 5, pt.y + 5});
    }
    if (hasTag(l))
        add({l.geometry.tag.x, l.geometry.tag.y - 10, l.geometry.tag.x + tagWidth + 1,
             l.geometry.tag.y - 10 + tagHeight});
    return r;
}

// The box a symbol's shape occupies, without its caption.
Rect symbolBody(const FlowSymbol& s)
{
    const int h = bodySize(s.kind).halfHeight;
    return {s.x - 60, s.y - h, s.x + 61, s.y + h + 1};
}

// A caption line may be wider than its symbol (a start/stop caption is never
// broken, and a line without blanks cannot be): for skipping symbols outside
// the area painted, this is wide enough for 39 of the widest characters.
Rect symbolReach(const FlowSymbol& s)
{
    const int h = bodySize(s.kind).halfHeight;
    return {s.x - 260, s.y - h - 2, s.x + 261, s.y + h + 3};
}

bool isSubCall(const FlowSymbol& s)
{
    return s.kind == SymbolKind::Process && s.text.at(0) == 'S';
}

CaptionText layoutCaption(SymbolKind kind, std::string_view text, bool picture,
                          const FontSet& fonts)
{
    CaptionText out;
    const std::string caption = symbolCaption(kind, text);
    if (caption.empty()) return out;
    out.none = false;
    const QFontMetrics& fm = fonts.captionMetrics;
    const QString whole = fromCp1252(caption);
    const int wholeWidth = fm.horizontalAdvance(whole);
    // The rule measures only the whole caption; each Windows-1252 byte is one
    // character of the converted text, so the break position carries over.
    const TextWidthFn width = [wholeWidth](std::string_view) { return wholeWidth; };
    const CaptionLines lines =
        picture
            ? breakCaptionForClipboard(kind, caption, width)
            : breakCaption(kind, caption, width, CaptionLayout::twoLineThreshold * fonts.zoomX / 10,
                           CaptionLayout::wideThreshold * fonts.zoomX / 10);
    if (!lines.twoLines) {
        out.first = {laidOut(whole, fonts.caption), wholeWidth};
        return out;
    }
    const auto cut = static_cast<qsizetype>(lines.first.size());
    const QString first = whole.left(cut), second = whole.mid(cut);
    out.twoLines = true;
    out.first = {laidOut(first, fonts.caption), fm.horizontalAdvance(first)};
    out.second = {laidOut(second, fonts.caption), fm.horizontalAdvance(second)};
    return out;
}

const CaptionText& captionFor(const FlowSymbol& s, bool picture, const FontSet& fonts)
{
    std::string key;
    key.reserve(s.text.size() + 2);
    key.push_back(static_cast<char>('0' + static_cast<int>(s.kind)));
    key.push_back(picture ? 'p' : 's');
    key.append(s.text.view());
    auto& cache = fonts.captions;
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= kMaxCachedTexts) cache.clear();
    CaptionText laid = layoutCaption(s.kind, s.text.view(), picture, fonts);
    return cache.emplace(std::move(key), std::move(laid)).first->second;
}

const LaidText& labelTextFor(const FlowLabel& l, const FontSet& fonts)
{
    const auto k = static_cast<std::size_t>(labelIndex(l.size));
    auto& cache = fonts.labels[k];
    std::string key(l.text.view());
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= kMaxCachedTexts) cache.clear();
    const QString text = fromCp1252(l.text.view());
    LaidText laid{laidOut(text, fonts.label[k]), fonts.labelMetrics[k].horizontalAdvance(text)};
    return cache.emplace(std::move(key), std::move(laid)).first->second;
}

// ---- One paint ------------------------------------------------------------------

class PaintRun {
public:
    PaintRun(QPainter& p, const PaintOptions& o, const QRect& dirty, const FlowDocument& doc,
             const ColourSet& colours, const FontSet& fonts)
        : p_(p), o_(o), s_(o), dirty_(dirty), doc_(doc), colours_(colours), fonts_(fonts)
    {
        for (std::size_t i = 0; i < styles_.size(); ++i)
            styles_[i] = styleFor(o.marks ? static_cast<std::int32_t>(i) : 0, colours);
        if (o.selectionOnly) {
            for (const int i : doc.selectedSymbols())
                if (i >= 0 && i < kMaxSymbols) symbolPicked_[static_cast<std::size_t>(i)] = true;
            for (const int i : doc.selectedLabels())
                if (i >= 0 && i < kMaxLabels) labelPicked_[static_cast<std::size_t>(i)] = true;
        }
    }

    void run()
    {
        const bool screen = !o_.picture;
        if (screen && o_.background) background();
        if (screen && o_.pageGuides) pageGuides();
        if (!o_.loading) {
            for (int i = 0; i < doc_.symbolCount(); ++i)
                if (symbolWanted(i)) symbol(doc_.symbol(i));
            for (int i = 0; i < doc_.labelCount(); ++i)
                if (labelWanted(i)) label(doc_.label(i));
        }
        if (o_.drawGhosts) o_.drawGhosts(p_);
        if (!o_.loading) {
            for (int i = 0; i < doc_.lineCount(); ++i)
                if (lineWanted(i)) line(doc_.line(i));
        }
        if (o_.drawHandLine) o_.drawHandLine(p_);
        if (screen && !o_.movingSomething && !o_.loading) labelFrames();
    }

private:
    bool inDirty(const Rect& r) const
    {
        return dirty_.isEmpty() || FlowPainter::toDevice(r, o_).intersects(dirty_);
    }

    bool symbolWanted(int i) const
    {
        if (o_.selectionOnly && !symbolPicked_[static_cast<std::size_t>(i)]) return false;
        return inDirty(symbolReach(doc_.symbol(i)));
    }
    bool labelWanted(int i) const
    {
        return !o_.selectionOnly || labelPicked_[static_cast<std::size_t>(i)];
    }
    bool lineWanted(int i) const
    {
        const FlowLine& l = doc_.line(i);
        if (o_.selectionOnly) {
            const auto picked = [this](int s) {
                return s >= 0 && s < kMaxSymbols && symbolPicked_[static_cast<std::size_t>(s)];
            };
            if (!picked(l.origin) || !picked(l.destination)) return false;
        }
        // Tags are a few characters of the small font: 24 units is plenty.
        return inDirty(lineExtent(l, 24, 16));
    }

    const Style& style(std::int32_t state) const
    {
        return styles_[state >= 0 && state < 8 ? static_cast<std::size_t>(state) : 0];
    }

    void background()
    {
        const QRect area =
            dirty_.isEmpty() ? QRect(0, 0, p_.device()->width(), p_.device()->height()) : dirty_;
        p_.fillRect(area, Qt::white);
    }

    void pageGuides()
    {
        const std::uint32_t guide = colours_.colours[ColourSet::PageGuide];
        if ((guide & kNoColour) == 0) {
            p_.setPen(QPen(fromColourRef(guide), 1));
            joinLine(p_, s_.pt(654, 0), s_.pt(654, 918));
            joinLine(p_, s_.pt(0, 918), s_.pt(1308, 918));
        }
        p_.setPen(QPen(QColor(64, 64, 64), 1));
        joinLine(p_, s_.pt(0, 1836), s_.pt(1308, 1836));
    }

    void symbol(const FlowSymbol& sym)
    {
        const Style& st = style(sym.selected);
        const bool sub = isSubCall(sym);
        if (st.filled) {
            p_.setPen(Qt::NoPen);
            p_.setBrush(st.colour);
            drawShape(p_, s_, sym.kind, sym.x, sym.y, sub, o_.printer, true);
            p_.setPen(QPen(Qt::black, 1));
        } else {
            p_.setPen(QPen(st.colour, 1));
        }
        p_.setBrush(Qt::NoBrush);
        drawShape(p_, s_, sym.kind, sym.x, sym.y, sub, o_.printer, false);
        caption(sym);
    }

    void caption(const FlowSymbol& sym)
    {
        const CaptionText& c = captionFor(sym, o_.picture, fonts_);
        if (c.none) return;
        p_.setFont(fonts_.caption);
        p_.setPen(Qt::black);
        if (o_.picture) {
            // Each line centred on the symbol's x, from a fixed top.
            const int cx = s_.x(sym.x);
            const auto atTop = [&](const LaidText& t, int top) {
                p_.drawStaticText(QPoint(cx - t.width / 2, s_.y(sym.y + top)), t.text);
            };
            if (!c.twoLines) {
                atTop(c.first, CaptionLayout::clipboardSingleLineTop);
                return;
            }
            atTop(c.first, CaptionLayout::clipboardFirstLineTop);
            atTop(c.second, CaptionLayout::clipboardSecondLineTop);
            return;
        }
        // Each line centred in the caption box and in its band.
        const int left = s_.x(sym.x + CaptionLayout::boxLeft);
        const int boxWidth = s_.x(sym.x + CaptionLayout::boxRight) - left;
        const QFontMetrics& fm = fonts_.captionMetrics;
        const int textHeight = fm.ascent() + fm.descent();
        const auto inBand = [&](const LaidText& t, CaptionBand band) {
            const int top = s_.y(sym.y + band.top);
            const int bandHeight = s_.y(sym.y + band.bottom) - top;
            p_.drawStaticText(
                QPoint(left + (boxWidth - t.width) / 2, top + (bandHeight - textHeight) / 2),
                t.text);
        };
        if (!c.twoLines) {
            inBand(c.first, CaptionLayout::singleLine);
            return;
        }
        inBand(c.first, CaptionLayout::firstLine);
        inBand(c.second, CaptionLayout::secondLine);
    }

    void label(const FlowLabel& l)
    {
        const int k = labelIndex(l.size);
        if (!dirty_.isEmpty()) {
            // Vertical reach first: it needs no measuring.
            const Rect rough{l.x - 1, l.y, l.x + 1,
                             l.y + kLabelHeights[static_cast<std::size_t>(k)] + 2};
            const QRect dev = FlowPainter::toDevice(rough, o_);
            if (dev.bottom() < dirty_.top() || dev.top() > dirty_.bottom() ||
                dev.left() > dirty_.right())
                return;
        }
        if (l.text.empty()) return;
        p_.setFont(fonts_.label[static_cast<std::size_t>(k)]);
        p_.setPen(Qt::black);
        p_.drawStaticText(s_.pt(l.x, l.y), labelTextFor(l, fonts_).text);
    }

    void labelFrames()
    {
        const std::uint32_t c = colours_.colours[ColourSet::Selected];
        if (c & kNoColour) return;
        p_.setPen(QPen(fromColourRef(c), 1));
        p_.setBrush(Qt::NoBrush);
        const FlowPainter painter(doc_, colours_);
        for (const int i : doc_.selectedLabels()) {
            if (i < 0 || i >= doc_.labelCount()) continue;
            const FlowLabel& l = doc_.label(i);
            const int h = kLabelHeights[static_cast<std::size_t>(labelIndex(l.size))];
            const int w = painter.labelWidth(l);
            p_.drawRect(s_.outline(l.x - 1, l.y, l.x + w + 1, l.y + h));
        }
    }

    void connectorMark(const Rect& box, int letter)
    {
        p_.setBrush(Qt::NoBrush);
        p_.drawEllipse(s_.outline(box.left, box.top, box.right, box.bottom));
        if (letter >= 'A' && letter <= 'Z') {
            const LaidText& t = fonts_.letters[static_cast<std::size_t>(letter - 'A')];
            const QFontMetrics& fm = fonts_.captionMetrics;
            const int l = s_.x(box.left), top = s_.y(box.top);
            const int w = s_.x(box.right) - l, h = s_.y(box.bottom) - top;
            const QPen pen = p_.pen();
            p_.setFont(fonts_.caption);
            p_.setPen(Qt::black);
            p_.drawStaticText(
                QPoint(l + (w - t.width) / 2, top + (h - fm.ascent() - fm.descent()) / 2), t.text);
            p_.setPen(pen);
        }
        p_.setBrush(brush_);
    }

    // Straight segments on the screen are filled as strips, like the
    // arrowheads; pictures keep them as lines.
    void segment(QPoint a, QPoint b)
    {
        if (!o_.picture && (a.x() == b.x() || a.y() == b.y()))
            strips_.append(QRect(a, b).normalized());
        else
            strokes_.append(QLine(a, b));
    }

    void arrowhead(int x, int y, int dx, int dy)
    {
        // Pictures keep true triangles; they may be scaled up on paper.
        if (o_.picture)
            drawArrowhead(p_, s_, x, y, dx, dy);
        else
            arrowheadStrips(strips_, s_, x, y, dx, dy);
    }

    void line(const FlowLine& l)
    {
        const Style& st = style(l.selected);
        brush_ = QBrush(st.colour);
        p_.setPen(QPen(st.colour, 1));
        p_.setBrush(brush_);
        strokes_.clear();
        strips_.clear();

        const auto& pts = l.geometry.points;
        const int n = l.pointCount();
        bool inStub = false;  // a point to draw from
        Point prev{};
        int dirX = 0, dirY = 0;  // the last segment's direction, (0, 0) before any
        int pendingLetter = -1;  // a connector's letter waiting for its second stub
        bool endsOnMark = false;
        for (int i = 0; i < n; ++i) {
            const Point cur = pts[static_cast<std::size_t>(i)];
            if (cur.x == kConnectorMarkX) {
                if (inStub) {
                    if (dirX || dirY) arrowhead(prev.x, prev.y, dirX, dirY);
                    connectorMark(connectorBoxAfter(prev), cur.y);
                }
                pendingLetter = cur.y;
                inStub = false;
                endsOnMark = true;
                continue;
            }
            endsOnMark = false;
            if (!inStub) {
                if (pendingLetter >= 0) connectorMark(connectorBoxBefore(cur), pendingLetter);
                pendingLetter = -1;
                prev = cur;
                inStub = true;
                dirX = dirY = 0;
                continue;
            }
            segment(s_.pt(prev.x, prev.y), s_.pt(cur.x, cur.y));
            const int dx = cur.x - prev.x, dy = cur.y - prev.y;
            if (i != n - 1 && (std::abs(dx) > 75 || std::abs(dy) > 75))
                arrowhead((prev.x + cur.x) / 2, (prev.y + cur.y) / 2, dx, dy);
            if (dx || dy) {
                dirX = dx;
                dirY = dy;
            }
            prev = cur;
        }
        if (inStub && !endsOnMark && (dirX || dirY)) arrowhead(prev.x, prev.y, dirX, dirY);
        if (!strokes_.isEmpty())
            p_.drawLines(strokes_.constData(), static_cast<int>(strokes_.size()));
        if (!strips_.isEmpty()) {
            p_.setPen(Qt::NoPen);
            p_.drawRects(strips_.constData(), static_cast<int>(strips_.size()));
        }

        if (hasTag(l)) {
            p_.setFont(fonts_.tag);
            p_.setPen(Qt::black);
            p_.drawStaticText(s_.pt(l.geometry.tag.x, l.geometry.tag.y - 10),
                              l.kind == LineKind::Yes ? fonts_.yesTag : fonts_.noTag);
        }
    }

    QPainter& p_;
    const PaintOptions& o_;
    const Scale s_;
    const QRect dirty_;
    const FlowDocument& doc_;
    const ColourSet& colours_;
    const FontSet& fonts_;
    std::array<Style, 8> styles_{};
    std::array<bool, kMaxSymbols> symbolPicked_{};
    std::array<bool, kMaxLabels> labelPicked_{};
    QBrush brush_;
    // One line's segments and arrowheads, drawn together.
    QVarLengthArray<QLine, 8> strokes_;
    QVarLengthArray<QRect, 128> strips_;
};

}  // namespace

FlowPainter::FlowPainter(const FlowDocument& doc, const ColourSet& colours)
    : doc_(doc), colours_(colours)
{
}

void FlowPainter::paint(QPainter& p, const PaintOptions& o, const QRect& dirty) const
{
    if (o.zoomX <= 0 || o.zoomY <= 0) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBackgroundMode(Qt::TransparentMode);
    const std::shared_ptr<const FontSet> fonts = fontsFor(o.zoomX, o.zoomY);
    PaintRun(p, o, dirty, doc_, colours_, *fonts).run();
    p.restore();
}

QRect FlowPainter::toDevice(const Rect& r, const PaintOptions& o)
{
    const Scale s(o);
    return QRect(QPoint(s.x(r.left), s.y(r.top)), QPoint(s.x(r.right), s.y(r.bottom)));
}

int FlowPainter::labelWidth(const FlowLabel& label) const
{
    if (label.text.empty()) return 4;
    const std::shared_ptr<const FontSet> fonts = fontsFor(10, 10);
    return labelTextFor(label, *fonts).width;
}

Rect FlowPainter::pictureBounds(bool selectionOnly) const
{
    const std::shared_ptr<const FontSet> held = fontsFor(10, 10);
    const FontSet& fonts = *held;
    std::array<bool, kMaxSymbols> picked{};
    for (const int i : doc_.selectedSymbols())
        if (i >= 0 && i < kMaxSymbols) picked[static_cast<std::size_t>(i)] = true;
    const auto wanted = [&](int s) {
        return !selectionOnly || (s >= 0 && s < kMaxSymbols && picked[static_cast<std::size_t>(s)]);
    };

    Rect r{};
    const int lineHeight = fonts.captionMetrics.height();
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        if (!wanted(i)) continue;
        const FlowSymbol& s = doc_.symbol(i);
        r = r.united(symbolBody(s));
        const CaptionText& c = captionFor(s, true, fonts);
        if (c.none) continue;
        const auto addLine = [&](const LaidText& t, int top) {
            const int left = s.x - t.width / 2;
            r = r.united({left, s.y + top, left + t.width + 1, s.y + top + lineHeight});
        };
        if (c.twoLines) {
            addLine(c.first, CaptionLayout::clipboardFirstLineTop);
            addLine(c.second, CaptionLayout::clipboardSecondLineTop);
        } else {
            addLine(c.first, CaptionLayout::clipboardSingleLineTop);
        }
    }
    std::array<bool, kMaxLabels> labelPicked{};
    for (const int i : doc_.selectedLabels())
        if (i >= 0 && i < kMaxLabels) labelPicked[static_cast<std::size_t>(i)] = true;
    for (int i = 0; i < doc_.labelCount(); ++i) {
        if (selectionOnly && !labelPicked[static_cast<std::size_t>(i)]) continue;
        const FlowLabel& l = doc_.label(i);
        if (l.text.empty()) continue;
        const int h = kLabelHeights[static_cast<std::size_t>(labelIndex(l.size))];
        // Italic letters lean a little past their advance.
        r = r.united({l.x, l.y, l.x + labelTextFor(l, fonts).width + 3, l.y + h + 1});
    }
    for (int i = 0; i < doc_.lineCount(); ++i) {
        const FlowLine& l = doc_.line(i);
        if (selectionOnly && (!wanted(l.origin) || !wanted(l.destination))) continue;
        r = r.united(lineExtent(l, fonts.tagWidth, fonts.tagMetrics.height()));
    }
    return r;
}

void FlowPainter::drawSymbolOutline(QPainter& p, SymbolKind kind, Point centre,
                                    const PaintOptions& o)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    drawShape(p, Scale(o), kind, centre.x, centre.y, false, o.printer, false);
    p.restore();
}

QFont gdiStyleFont(int height, int width, bool italic)
{
    return makeFont(height, width, italic);
}

}  // namespace tarvel
