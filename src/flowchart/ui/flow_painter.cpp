#include "flowchart/ui/flow_painter.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QStaticText>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "flowchart/captions.h"
#include "flowchart/line_pieces.h"
#include "flowchart/ui/caption_place.h"
#include "flowchart/ui/chart_shapes.h"
#include "flowchart/ui/chart_text.h"
#include "flowchart/ui/solid_fill.h"

namespace tarvel {
namespace {

// ---- Colours ------------------------------------------------------------------

struct Style {
    QColor colour;
    bool filled = false;
    bool skipped = false;  // its colour is switched off: not drawn at all
};

QColor fromColourRef(std::uint32_t c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

const QColor kSilver(192, 192, 192);

// The colour and fill of a draw state. An object whose state takes a chart
// colour switched off ("no colour") is not drawn.
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
            return {fromColourRef(c), (c & kFilledColour) != 0, (c & kNoColour) != 0};
        }
        case 7:
            return {Qt::white, true};
        default:
            break;
    }
    return {Qt::black, false};
}

// ---- One paint ------------------------------------------------------------------

class PaintRun {
public:
    PaintRun(QPainter& p, const PaintOptions& o, const QRect& dirty, const FlowDocument& doc,
             const ColourSet& colours, const ChartFonts& fonts)
        : p_(p),
          o_(o),
          s_(o),
          dirty_(dirty),
          doc_(doc),
          colours_(colours),
          fonts_(fonts),
          fill_(p, o.directFills && !o.picture)
    {
        for (std::size_t i = 0; i < styles_.size(); ++i)
            styles_[i] = styleFor(static_cast<std::int32_t>(i), colours);
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
            for (int i = 0; i < doc_.symbolCount(); ++i) {
                if (!symbolWanted(i)) continue;
                symbol(doc_.symbol(i));
                if (screen && o_.breakpoints && doc_.symbol(i).breakpoint)
                    breakpointDot(doc_.symbol(i));
            }
            for (int i = 0; i < doc_.labelCount(); ++i)
                if (labelWanted(i)) label(doc_.label(i));
        }
        if (o_.drawGhosts) {
            o_.drawGhosts(p_);
            forgetPainterState();
        }
        if (!o_.loading) {
            for (int i = 0; i < doc_.lineCount(); ++i)
                if (lineWanted(i)) line(doc_.line(i));
        }
        if (o_.drawHandLine) {
            o_.drawHandLine(p_);
            forgetPainterState();
        }
        if (screen && !o_.movingSomething && !o_.loading) labelFrames();
    }

private:
    // The hooks may leave the painter in any state.
    void forgetPainterState()
    {
        font_ = nullptr;
        blackPen_ = false;
    }

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

    // A red dot in the symbol's top left corner, inside the area a symbol repaints.
    void breakpointDot(const FlowSymbol& sym)
    {
        const int h = bodySize(sym.kind).halfHeight;
        const QPoint centre = s_.pt(sym.x - 54, sym.y - h + 4);
        const int r = std::max(3, 5 * o_.zoomX / 10);
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.setPen(QPen(QColor(128, 0, 0), 1));
        p_.setBrush(QColor(220, 20, 20));
        p_.drawEllipse(centre, r, r);
        p_.restore();
        forgetPainterState();
    }

    void symbol(const FlowSymbol& sym)
    {
        const Style& st = style(sym.selected);
        if (st.skipped) return;
        const bool sub = isSubCall(sym);
        if (st.filled) {
            if (fill_.direct() && sym.kind == SymbolKind::Process) {
                fill_.fill(s_.fill(sym.x - 48, sym.y - 24, sym.x + 48, sym.y + 24),
                           st.colour.rgb());
            } else {
                p_.setPen(Qt::NoPen);
                p_.setBrush(st.colour);
                drawShape(p_, s_, sym.kind, sym.x, sym.y, sub, o_.printer, true);
                blackPen_ = false;
            }
        }
        // A filled shape is outlined in black.
        const QColor edge = st.filled ? QColor(Qt::black) : st.colour;
        if (!directOutline(fill_, s_, sym.kind, sym.x, sym.y, sub, edge.rgb())) {
            p_.setPen(QPen(edge, 1));
            p_.setBrush(Qt::NoBrush);
            drawShape(p_, s_, sym.kind, sym.x, sym.y, sub, o_.printer, false);
            blackPen_ = false;
        }
        caption(sym);
    }

    // Text is black in one of the chart's fonts; the painter is told only
    // what changed since the last text.
    void textIn(const QFont& font)
    {
        if (font_ != &font) {
            p_.setFont(font);
            font_ = &font;
        }
        if (!blackPen_) {
            p_.setPen(Qt::black);
            blackPen_ = true;
        }
    }

    void caption(const FlowSymbol& sym)
    {
        const PlacedCaption c = placeCaption(sym, s_, o_.picture, o_.printer, fonts_);
        if (!c.font) return;
        textIn(c.font->font);
        for (int i = 0; i < c.count; ++i)
            p_.drawStaticText(c.at[static_cast<std::size_t>(i)],
                              c.lines[static_cast<std::size_t>(i)]->text);
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
        textIn(fonts_.label[static_cast<std::size_t>(k)]);
        p_.drawStaticText(s_.pt(l.x, l.y), labelTextFor(l, fonts_).text);
    }

    void labelFrames()
    {
        const std::uint32_t c = colours_.colours[ColourSet::Selected];
        if (c & kNoColour) return;
        p_.setPen(QPen(fromColourRef(c), 1));
        p_.setBrush(Qt::NoBrush);
        blackPen_ = false;
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
            textIn(fonts_.caption);
            p_.drawStaticText(
                QPoint(l + (w - t.width) / 2, top + (h - fm.ascent() - fm.descent()) / 2), t.text);
            p_.setPen(pen);
            blackPen_ = false;
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
        if (o_.picture) {
            linePen();
            drawArrowhead(p_, s_, x, y, dx, dy);
        } else
            arrowheadStrips(strips_, s_, x, y, dx, dy);
    }

    // The pen and brush of the line being drawn, set when the painter needs them.
    void linePen()
    {
        if (linePenSet_) return;
        brush_ = QBrush(lineStyle_->colour);
        p_.setPen(QPen(lineStyle_->colour, 1));
        p_.setBrush(brush_);
        linePenSet_ = true;
        blackPen_ = false;
    }

    void line(const FlowLine& l)
    {
        lineStyle_ = &style(l.selected);
        if (lineStyle_->skipped) return;
        linePenSet_ = false;
        strokes_.clear();
        strips_.clear();

        int dirX = 0, dirY = 0;  // the stub's last direction, (0, 0) before any
        for (const LinePiece& piece : LinePieces(l)) {
            const Point a = piece.from, b = piece.to;
            switch (piece.kind) {
                case LinePiece::Kind::CircleAfter:
                    if (dirX || dirY) arrowhead(a.x, a.y, dirX, dirY);
                    linePen();
                    connectorMark(connectorBoxAfter(a), piece.letter);
                    dirX = dirY = 0;
                    break;
                case LinePiece::Kind::CircleBefore:
                    linePen();
                    connectorMark(connectorBoxBefore(a), piece.letter);
                    break;
                case LinePiece::Kind::Segment: {
                    segment(s_.pt(a.x, a.y), s_.pt(b.x, b.y));
                    const int dx = b.x - a.x, dy = b.y - a.y;
                    if (!piece.last && (std::abs(dx) > 75 || std::abs(dy) > 75))
                        arrowhead((a.x + b.x) / 2, (a.y + b.y) / 2, dx, dy);
                    if (dx || dy) {
                        dirX = dx;
                        dirY = dy;
                    }
                    if (piece.last && (dirX || dirY)) arrowhead(b.x, b.y, dirX, dirY);
                    break;
                }
            }
        }
        if (!strokes_.isEmpty()) {
            linePen();
            p_.drawLines(strokes_.constData(), static_cast<int>(strokes_.size()));
        }
        if (!strips_.isEmpty()) {
            fill_.fill(strips_.constData(), static_cast<int>(strips_.size()),
                       lineStyle_->colour.rgb());
            if (!fill_.direct()) blackPen_ = false;
        }

        if (hasTag(l)) {
            textIn(fonts_.tag);
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
    const ChartFonts& fonts_;
    std::array<Style, 8> styles_{};
    std::array<bool, kMaxSymbols> symbolPicked_{};
    std::array<bool, kMaxLabels> labelPicked_{};
    // Stores opaque strips straight into the screen's image where it can.
    SolidFill fill_;
    // What the painter holds now: the font of the last text (nullptr after
    // anything else may have changed it) and whether its pen is the text's.
    const QFont* font_ = nullptr;
    bool blackPen_ = false;
    // The line being drawn: its style, and whether its pen is set.
    const Style* lineStyle_ = nullptr;
    bool linePenSet_ = false;
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
    const std::shared_ptr<const ChartFonts> fonts = chartFonts(o.zoomX, o.zoomY);
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
    const std::shared_ptr<const ChartFonts> fonts = chartFonts(10, 10);
    return labelTextFor(label, *fonts).width;
}

namespace {

// Text measured at 100 % for a repaint at any zoom: a quarter more and two
// units either side.
int roomFor(int width)
{
    return width + width / 4 + 4;
}

}  // namespace

Rect FlowPainter::drawnArea(const FlowSymbol& symbol) const
{
    const Rect body = symbolBody(symbol);
    Rect area{body.left - 2, body.top - 2, body.right + 2, body.bottom + 2};
    const std::shared_ptr<const ChartFonts> fonts = chartFonts(10, 10);
    const CaptionWords& words = fonts->captionWords(symbol, false);
    if (words.none) return area;
    const CaptionFont& font = fonts->captionFont(0);
    const int widest =
        std::max(font.line(words.first).width, words.twoLines ? font.line(words.second).width : 0);
    const int half = roomFor(widest) / 2;
    return area.united({symbol.x - half, symbol.y - 24, symbol.x + half + 1, symbol.y + 25});
}

Rect FlowPainter::drawnArea(const FlowLine& line) const
{
    const std::shared_ptr<const ChartFonts> fonts = chartFonts(10, 10);
    const Rect r = lineExtent(line, roomFor(fonts->tagWidth), fonts->tagMetrics.height() + 2);
    return {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
}

Rect FlowPainter::drawnArea(const FlowLabel& label) const
{
    const int h = kLabelHeights[static_cast<std::size_t>(labelIndex(label.size))];
    return {label.x - 2, label.y - 1, label.x + roomFor(labelWidth(label)) + 2, label.y + h + 3};
}

Rect FlowPainter::pictureBounds(bool selectionOnly) const
{
    const std::shared_ptr<const ChartFonts> held = chartFonts(10, 10);
    const ChartFonts& fonts = *held;
    std::array<bool, kMaxSymbols> picked{};
    for (const int i : doc_.selectedSymbols())
        if (i >= 0 && i < kMaxSymbols) picked[static_cast<std::size_t>(i)] = true;
    const auto wanted = [&](int s) {
        return !selectionOnly || (s >= 0 && s < kMaxSymbols && picked[static_cast<std::size_t>(s)]);
    };

    Rect r{};
    PaintOptions picture;
    picture.picture = true;
    const Scale unscaled(picture);
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        if (!wanted(i)) continue;
        const FlowSymbol& s = doc_.symbol(i);
        r = r.united(symbolBody(s));
        const PlacedCaption c = placeCaption(s, unscaled, true, false, fonts);
        for (int k = 0; k < c.count; ++k) {
            const QRect ink = c.ink(k);
            if (!ink.isEmpty())
                r = r.united({ink.left(), ink.top(), ink.right() + 1, ink.bottom() + 1});
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

}  // namespace tarvel
