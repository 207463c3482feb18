#include "flowchart/ui/chart_text.h"

#include <QCoreApplication>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "flowchart/captions.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

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

// Laid-out texts are kept between paints while they stay the same; a chart
// has at most a few hundred of them, so a cache that outgrows this has seen
// many edits and simply starts again.
constexpr std::size_t kMaxCachedTexts = 2048;

// The ladder of caption fonts for captions that do not fit their shape:
// the symbol font narrowed to 90 % and 80 %, then at 80 % a pixel smaller at
// each step down to about half the symbol font's height.
constexpr std::array<int, 2> kNarrower{90, 80};
constexpr int kSmallestPercent = 55;
constexpr int kSmallestPixels = 4;

}  // namespace

QFont gdiStyleFont(int height, int width, bool italic)
{
    return makeFont(height, width, italic);
}

ChartFonts::ChartFonts(int zx, int zy)
    : zoomX(zx),
      zoomY(zy),
      caption(
          makeFont(CaptionLayout::fontHeight * zy / 10, CaptionLayout::fontWidth * zx / 10, false)),
      tag(makeFont(12 * zy / 10, 4 * zx / 10, false)),
      label{makeFont(15 * zy / 10, 6 * zx / 10, true), makeFont(23 * zy / 10, 9 * zx / 10, true),
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
    const int pixels = caption.pixelSize(), stretch = caption.stretch();
    captionSizes_.push_back({pixels, stretch});
    for (const int percent : kNarrower) captionSizes_.push_back({pixels, stretch * percent / 100});
    const int narrowest = stretch * kNarrower.back() / 100;
    const int smallest = std::max(kSmallestPixels, pixels * kSmallestPercent / 100);
    for (int p = pixels - 1; p >= smallest; --p) captionSizes_.push_back({p, narrowest});
    captionFonts_.resize(captionSizes_.size());
}

namespace {

// Fonts are made once per zoom and kept: the window paints many times at
// the same zoom, and the pictures and label measuring use 100 %. A paint
// holds its own reference, so trimming the cache never pulls fonts from
// under it.
std::vector<std::shared_ptr<const ChartFonts>>& fontCache()
{
    static std::vector<std::shared_ptr<const ChartFonts>> cache;
    return cache;
}

void releaseFonts()
{
    fontCache().clear();
}

}  // namespace

std::shared_ptr<const ChartFonts> chartFonts(int zoomX, int zoomY)
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
    cache.push_back(std::make_shared<const ChartFonts>(zoomX, zoomY));
    return cache.back();
}

int labelIndex(std::int32_t size)
{
    return size >= 1 && size <= 3 ? size - 1 : 0;
}

const CaptionWords& ChartFonts::captionWords(const FlowSymbol& s, bool picture) const
{
    std::string key;
    key.reserve(s.text.size() + 2);
    key.push_back(static_cast<char>('0' + static_cast<int>(s.kind)));
    key.push_back(picture ? 'p' : 's');
    key.append(s.text.view());
    if (const auto it = words_.find(key); it != words_.end()) return it->second;
    if (words_.size() >= kMaxCachedTexts) words_.clear();

    CaptionWords out;
    const std::string whole = symbolCaption(s.kind, s.text.view());
    if (!whole.empty()) {
        out.none = false;
        // The rule measures only the whole caption.
        const int wholeWidth = captionMetrics.horizontalAdvance(fromCp1252(whole));
        const TextWidthFn width = [wholeWidth](std::string_view) { return wholeWidth; };
        const CaptionLines lines =
            picture
                ? breakCaptionForClipboard(s.kind, whole, width)
                : breakCaption(s.kind, whole, width, CaptionLayout::twoLineThreshold * zoomX / 10,
                               CaptionLayout::wideThreshold * zoomX / 10);
        out.twoLines = lines.twoLines;
        out.first = lines.first;
        out.second = lines.second;
    }
    return words_.emplace(std::move(key), std::move(out)).first->second;
}

const CaptionFont& ChartFonts::captionFont(int step) const
{
    step = std::clamp(step, 0, captionFontSteps() - 1);
    auto& font = captionFonts_[static_cast<std::size_t>(step)];
    if (!font) {
        const Size size = captionSizes_[static_cast<std::size_t>(step)];
        QFont f = caption;
        f.setPixelSize(size.pixels);
        f.setStretch(size.stretch);
        font = std::make_unique<CaptionFont>(f);
    }
    return *font;
}

CaptionFont::CaptionFont(const QFont& f)
    : font(f), metrics(f), cell(metrics.ascent() + metrics.descent())
{
}

const CaptionLine& CaptionFont::line(const std::string& text) const
{
    if (const auto it = lines.find(text); it != lines.end()) return it->second;
    if (lines.size() >= kMaxCachedTexts) lines.clear();
    const QString t = fromCp1252(text);
    CaptionLine laid{laidOut(t, font), metrics.horizontalAdvance(t), {}};
    if (!t.trimmed().isEmpty())
        laid.ink = metrics.tightBoundingRect(t).translated(0, metrics.ascent());
    return lines.emplace(text, std::move(laid)).first->second;
}

const LaidText& labelTextFor(const FlowLabel& l, const ChartFonts& fonts)
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

}  // namespace tarvel
