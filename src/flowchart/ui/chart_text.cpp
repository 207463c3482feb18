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

}  // namespace

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

namespace {

CaptionText layoutCaption(SymbolKind kind, std::string_view text, bool picture,
                          const ChartFonts& fonts)
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

}  // namespace

const CaptionText& captionFor(const FlowSymbol& s, bool picture, const ChartFonts& fonts)
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
