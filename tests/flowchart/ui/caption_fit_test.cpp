// Captions inside their shapes: every symbol of the example charts, and
// some long captions, drawn alone at 100 % and 50 % (and in the clipboard
// picture), must keep each line's text box inside the outline with a blank
// pixel to spare, and draw no ink outside those boxes. The inside of a shape
// is found on the pixels, by filling from its centre up to its outline. With
// TARVEL_SCREENSHOT_DIR set the example charts are written there at both zooms.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>
#include <string>
#include <vector>

#include "example_charts.h"
#include "flowchart/captions.h"
#include "flowchart/ui/caption_place.h"
#include "flowchart/ui/chart_picture.h"
#include "flowchart/ui/flow_painter.h"

namespace tarvel {
namespace {

constexpr QRgb kPaper = 0xFFFFFFFF;

struct Drawn {
    FlowSymbol symbol;  // where it was drawn
    QImage shape;       // without its caption
    QImage caption;     // with it
    QPoint centre;      // in the images
};

Drawn drawAlone(const FlowSymbol& symbol, int zoom, bool picture)
{
    FlowSymbol s = symbol;
    s.selected = 0;
    // Well inside the image at any zoom.
    s.x = 200 + (symbol.x & 1);
    s.y = 100 + (symbol.y & 1);
    PaintOptions o;
    o.zoomX = o.zoomY = zoom;
    o.pageGuides = false;
    o.picture = picture;
    const auto render = [&](const FlowSymbol& one) {
        FlowDocument doc;
        const int i = doc.appendSymbol(one.kind, {one.x, one.y});
        doc.setSymbolText(i, one.text.view());
        QImage image(480 * zoom / 10, 240 * zoom / 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        FlowPainter(doc, ColourSet{}).paint(p, o);
        return image;
    };
    FlowSymbol empty = s;
    empty.text = "";
    QImage shape = render(empty);
    if (s.kind == SymbolKind::Process && s.text.at(0) == 'S') {
        // A sub call's bars come with its text: drawn here as the shape has them.
        QPainter p(&shape);
        for (const int side : {-45, 45})
            p.fillRect(QRect(QPoint((s.x + side) * zoom / 10, (s.y - 24) * zoom / 10),
                             QPoint((s.x + side) * zoom / 10, (s.y + 24) * zoom / 10 - 1)),
                       Qt::black);
    }
    return {s, shape, render(s), QPoint(s.x * zoom / 10, s.y * zoom / 10)};
}

// The pixels inside the outline: filled from the centre through paper.
std::vector<bool> inside(const QImage& shape, QPoint centre)
{
    const int w = shape.width(), h = shape.height();
    std::vector<bool> in(static_cast<std::size_t>(w * h), false);
    std::vector<QPoint> todo{centre};
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) continue;
        const auto k = static_cast<std::size_t>(p.y() * w + p.x());
        if (in[k] || shape.pixel(p) != kPaper) continue;
        in[k] = true;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return in;
}

// Every way a text box or its ink can leave its shape, described for the message.
std::string misfits(const FlowSymbol& symbol, int zoom, bool picture)
{
    const Drawn d = drawAlone(symbol, zoom, picture);
    const std::vector<bool> in = inside(d.shape, d.centre);
    const int w = d.shape.width();
    const auto clear = [&](int x, int y) {
        // Inside, with no outline pixel next to it.
        if (!in[static_cast<std::size_t>(y * w + x)]) return false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (d.shape.pixel(x + dx, y + dy) != kPaper) return false;
        return true;
    };
    PaintOptions o;
    o.zoomX = o.zoomY = zoom;
    const PlacedCaption c =
        placeCaption(d.symbol, Scale(o), picture, false, *chartFonts(zoom, zoom));
    std::string out;
    std::vector<QRect> boxes;
    for (int i = 0; i < c.count; ++i) {
        const QRect box = c.ink(i);
        if (box.isEmpty()) continue;
        boxes.push_back(box);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (!clear(x, y)) {
                    out += " line " + std::to_string(i + 1) + " box reaches the outline at " +
                           std::to_string(x - d.centre.x()) + "," +
                           std::to_string(y - d.centre.y()) + ";";
                    y = box.bottom() + 1;
                    break;
                }
    }
    for (int y = 0; y < d.caption.height(); ++y)
        for (int x = 0; x < w; ++x) {
            if (d.caption.pixel(x, y) == d.shape.pixel(x, y)) continue;
            if (std::none_of(boxes.begin(), boxes.end(),
                             [&](const QRect& b) { return b.contains(x, y); })) {
                out += " ink outside the text boxes at " + std::to_string(x - d.centre.x()) + "," +
                       std::to_string(y - d.centre.y()) + ";";
                return out;
            }
        }
    return out;
}

std::string describe(const FlowSymbol& s)
{
    return "'" + symbolCaption(s.kind, s.text.view()) + "' (" + s.text.str() + ")";
}

std::vector<FlowSymbol> symbolsToCheck()
{
    std::vector<FlowSymbol> all;
    for (const auto& example : examples::makeExampleCharts())
        for (int i = 0; i < example.doc.symbolCount(); ++i) all.push_back(example.doc.symbol(i));
    // Long captions of every kind, and a sub head too long to break.
    const std::pair<SymbolKind, const char*> more[] = {
        {SymbolKind::Output, "Turn Output 1 on"},
        {SymbolKind::Output, "Output 1,2,3 on 4 off"},
        {SymbolKind::Output, "Turn Motor A fd B rev "},
        {SymbolKind::Output, "Sound ALARMA.WAV"},
        {SymbolKind::Decision, "Is Input 1 on"},
        {SymbolKind::Decision, "Is Input 8 off"},
        {SymbolKind::Decision, "Is Val 1 > 500"},
        {SymbolKind::Process, "Let a = b + 3"},
        {SymbolKind::Process, "Sub 12(Semaforo largo) x 10"},
        {SymbolKind::StartStop, "Stop All"},
        {SymbolKind::StartStop, "Sub 12(Semaforo largo)"},
    };
    for (const auto& [kind, text] : more) {
        FlowSymbol s;
        s.kind = kind;
        s.text = text;
        all.push_back(s);
    }
    return all;
}

TEST(CaptionFit, TextBoxesLieInsideTheirShapes)
{
    const std::vector<FlowSymbol> symbols = symbolsToCheck();
    for (const FlowSymbol& s : symbols) {
        // Both parities: at 50 % an odd centre rounds differently.
        for (const int odd : {0, 1}) {
            FlowSymbol at = s;
            at.x += odd;
            at.y += odd;
            for (const int zoom : {10, 5})
                EXPECT_EQ(misfits(at, zoom, false), "")
                    << describe(s) << " at " << zoom * 10 << " %" << (odd ? ", odd centre" : "");
        }
        EXPECT_EQ(misfits(s, 10, true), "") << describe(s) << " in the clipboard picture";
    }
}

TEST(CaptionFit, TheRulesPlaceIsKeptWhereItFitsAndLeftWhereItDoesNot)
{
    PaintOptions o;
    const Scale full(o);
    const ChartFonts& fonts = *chartFonts(10, 10);
    FlowSymbol s;
    s.x = 200;
    s.y = 100;

    // "Tardar 5" fits where the rule puts it: in the box x ± 60, in the band y - 7 .. y + 7.
    s.kind = SymbolKind::Process;
    s.text = "Delay 5";
    PlacedCaption c = placeCaption(s, full, false, false, fonts);
    ASSERT_EQ(c.count, 1);
    EXPECT_EQ(c.font, &fonts.captionFont(0));
    EXPECT_EQ(c.at[0].x(), 140 + (120 - c.lines[0]->width) / 2);
    EXPECT_EQ(c.at[0].y(), 93 + (14 - fonts.captionFont(0).cell) / 2);

    // "Activar salida 3" over "desact 1,2": the rule's break stays; the
    // first line, too wide for the room the slanted edges leave, is set a
    // little narrower (not smaller) and moves right with the edges.
    s.kind = SymbolKind::Output;
    s.text = "Output 3 on 1,2 off";
    c = placeCaption(s, full, false, false, fonts);
    ASSERT_EQ(c.count, 2);
    EXPECT_EQ(c.font->font.pixelSize(), fonts.caption.pixelSize());
    EXPECT_LT(c.font->font.stretch(), fonts.caption.stretch());
    EXPECT_EQ(c.lines[0], &c.font->line("Activar salida 3"));
    EXPECT_EQ(c.lines[1], &c.font->line(" desact 1,2"));
    EXPECT_GT(c.ink(0).center().x(), 200);
    EXPECT_LT(c.ink(1).center().x(), c.ink(0).center().x());

    // The diamond cannot hold "¿Está" over "activada ent 1?" in the symbol
    // font: a narrower one, the lines kept apart and in order.
    s.kind = SymbolKind::Decision;
    s.text = "Is Input 1 on";
    c = placeCaption(s, full, false, false, fonts);
    ASSERT_EQ(c.count, 2);
    EXPECT_NE(c.font, &fonts.captionFont(0));
    EXPECT_GT(c.font->font.pixelSize() * c.font->font.stretch(),
              fonts.caption.pixelSize() * fonts.caption.stretch() / 2);
    EXPECT_LT(c.ink(0).bottom(), c.ink(1).top());
}

// ---- The example charts to look at ---------------------------------------------

TEST(CaptionFit, ExampleChartScreenshots)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    for (const auto& example : examples::makeExampleCharts()) {
        const Rect bounds = FlowPainter(example.doc, ColourSet{}).pictureBounds(false);
        ASSERT_FALSE(bounds.empty()) << example.fileName;
        for (const int zoom : {10, 5}) {
            QImage image((bounds.right + 16) * zoom / 10, (bounds.bottom + 16) * zoom / 10,
                         QImage::Format_RGB32);
            image.fill(Qt::white);
            PaintOptions o;
            o.zoomX = o.zoomY = zoom;
            o.pageGuides = false;
            QPainter p(&image);
            FlowPainter(example.doc, ColourSet{}).paint(p, o);
            p.end();
            if (!dir.isEmpty()) {
                const QString name = QString::fromStdString(example.fileName).section('.', 0, 0);
                image.save(QString::fromUtf8(dir) + "/example-" + name.toLower() + "-" +
                           QString::number(zoom * 10) + ".png");
            }
        }
    }
}

}  // namespace
}  // namespace tarvel
