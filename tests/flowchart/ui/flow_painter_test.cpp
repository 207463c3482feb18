// The chart painter, checked on the pixels it leaves in a white image. With
// TARVEL_SCREENSHOT_DIR set, a representative chart is written there at
// 100 % and 50 % to be looked at.

#include "flowchart/ui/flow_painter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <initializer_list>
#include <memory>
#include <string>

#include "flowchart/ui/chart_picture.h"

namespace tarvel {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kSilver(192, 192, 192);
const QColor kLightYellow(255, 255, 160);

PaintOptions plain(int zoom = 10)
{
    PaintOptions o;
    o.zoomX = o.zoomY = zoom;
    o.pageGuides = false;
    return o;
}

QImage render(const FlowDocument& doc, const PaintOptions& o = plain(),
              const ColourSet& colours = ColourSet{}, QSize size = {640, 480},
              const QRect& dirty = QRect())
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    if (!dirty.isEmpty()) p.setClipRect(dirty);
    FlowPainter(doc, colours).paint(p, o, dirty);
    return image;
}

int ink(const QImage& image, const QRect& area)
{
    int n = 0;
    const QRect a = area.intersected(image.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            if (image.pixelColor(x, y) != kWhite) ++n;
    return n;
}

bool inked(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) != kWhite;
}

QRect inkBounds(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != kWhite) r = r.united(QRect(x, y, 1, 1));
    return r;
}

int addSymbol(FlowDocument& doc, SymbolKind kind, int x, int y, const std::string& text = {})
{
    const int i = doc.appendSymbol(kind, {x, y});
    doc.setSymbolText(i, text);
    return i;
}

int addLine(FlowDocument& doc, std::initializer_list<Point> points, LineKind kind = LineKind::Plain,
            int origin = 0, int destination = 0, Point tag = {-1, -1})
{
    LineGeometry g;
    g.tag = tag;
    std::size_t k = 0;
    for (const Point& p : points) g.points[k++] = p;
    return doc.appendLine(origin, destination, kind, g);
}

int addLabel(FlowDocument& doc, int x, int y, int size, const std::string& text)
{
    const int i = doc.appendLabel({x, y});
    doc.labelRef(i).size = size;
    doc.setLabelText(i, text);
    return i;
}

// Every symbol kind, a two-line caption, a YES and a NO line with their tags,
// a connector pair, labels of the three sizes, a running symbol and a
// followed line.
void fillRepresentative(FlowDocument& doc)
{
    const int start = addSymbol(doc, SymbolKind::StartStop, 128, 56, "Start");
    const int out = addSymbol(doc, SymbolKind::Output, 128, 140, "Turn Output 3 on");
    const int ask = addSymbol(doc, SymbolKind::Decision, 128, 252, "Is Input 2 on");
    const int wait = addSymbol(doc, SymbolKind::Process, 320, 252, "Delay 2.5");
    const int call = addSymbol(doc, SymbolKind::Process, 128, 364, "Sub 2(Luz)");
    const int stop = addSymbol(doc, SymbolKind::StartStop, 128, 448, "Stop");
    const int head = addSymbol(doc, SymbolKind::StartStop, 480, 56, "Sub 2(Luz)");
    const int let = addSymbol(doc, SymbolKind::Process, 480, 140, "Let a = a + 1");
    addLine(doc, {{128, 69}, {128, 115}}, LineKind::Plain, start, out);
    addLine(doc, {{128, 165}, {128, 227}}, LineKind::Plain, out, ask);
    addLine(doc, {{128, 277}, {128, 339}}, LineKind::Yes, ask, call, {132, 294});
    addLine(doc, {{189, 252}, {271, 252}}, LineKind::No, ask, wait, {191, 244});
    addLine(doc, {{320, 227}, {320, 196}, {32, 196}, {32, 140}, {79, 140}}, LineKind::Plain, wait,
            out);
    addLine(doc, {{128, 389}, {128, 435}}, LineKind::Plain, call, stop);
    addLine(doc, {{480, 69}, {480, 115}}, LineKind::Plain, head, let);
    addLine(doc, {{529, 140}, {553, 140}, {kConnectorMarkX, 'A'}, {407, 448}, {431, 448}},
            LineKind::Plain, let, stop);
    addLabel(doc, 400, 300, 1,
             "Etiqueta peque\xF1"
             "a");
    addLabel(doc, 400, 330, 2, "Mediana");
    addLabel(doc, 400, 370, 3, "Grande");
    doc.symbolRef(wait).selected = 3;
    doc.lineRef(1).selected = 4;
}

// ---- Lines ------------------------------------------------------------------

TEST(FlowPainterLines, ArrowheadsOnLongInnerSegmentsAndAtTheEnd)
{
    FlowDocument doc;
    addLine(doc, {{100, 100}, {300, 100}});                          // one segment of 200
    addLine(doc, {{100, 200}, {140, 200}, {140, 280}, {170, 280}});  // 40, 80, 30
    addLine(doc, {{300, 200}, {375, 200}, {375, 276}, {400, 276}});  // 75, 76, 25
    addLine(doc, {{600, 100}, {400, 100}, {400, 20}, {450, 20}});    // leftwards, then up 80
    const QImage img = render(doc);

    // The only segment is the last: no arrow at its middle, one at its end.
    EXPECT_FALSE(inked(img, 198, 97));
    EXPECT_FALSE(inked(img, 198, 103));
    EXPECT_TRUE(inked(img, 297, 98));
    EXPECT_TRUE(inked(img, 297, 102));
    EXPECT_FALSE(inked(img, 303, 100));  // the tip is the end point

    // 40 and 30 get none; the 80-unit middle segment points down at its midpoint.
    EXPECT_FALSE(inked(img, 120, 197));
    EXPECT_TRUE(inked(img, 138, 237));
    EXPECT_TRUE(inked(img, 142, 237));
    EXPECT_FALSE(inked(img, 138, 243));
    EXPECT_TRUE(inked(img, 167, 278));

    // Longer than 75, not 75.
    EXPECT_FALSE(inked(img, 336, 198));
    EXPECT_TRUE(inked(img, 373, 235));

    // Arrowheads turn with the line: left at the middle of y 100, up on the way to y 20.
    EXPECT_TRUE(inked(img, 503, 98));
    EXPECT_FALSE(inked(img, 498, 98));
    EXPECT_TRUE(inked(img, 398, 63));
    EXPECT_FALSE(inked(img, 398, 58));
    EXPECT_TRUE(inked(img, 447, 18));

    // Pictures draw true triangles rather than the screen's strips: the same
    // arrowheads, give or take a pixel at their edges.
    PaintOptions picture = plain();
    picture.picture = true;
    const QImage pic = render(doc, picture);
    int differing = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) differing += img.pixel(x, y) != pic.pixel(x, y);
    EXPECT_LT(differing, ink(img, img.rect()) / 10);
}

TEST(FlowPainterLines, ConnectorShowsItsLetterAtBothStubs)
{
    FlowDocument doc;
    addLine(doc, {{100, 100}, {124, 100}, {kConnectorMarkX, 'C'}, {376, 300}, {400, 300}});
    const QImage img = render(doc);

    // The stubs are not joined.
    EXPECT_EQ(ink(img, QRect(150, 120, 200, 160)), 0);
    // Arrows at the end of each stub.
    EXPECT_TRUE(inked(img, 121, 98));
    EXPECT_TRUE(inked(img, 397, 298));
    // The circles beyond the first stub's end and before the second's start
    // hold the same letter: the two boxes are pixel for pixel alike.
    const QRect first(125, 91, 19, 19), second(357, 291, 19, 19);
    const QRect inner(5, 5, 10, 10);
    EXPECT_GT(ink(img, inner.translated(first.topLeft())), 5);
    EXPECT_EQ(img.copy(first), img.copy(second));
}

TEST(FlowPainterLines, TagsBesideTheirLines)
{
    FlowDocument doc;
    addLine(doc, {{100, 100}, {100, 200}}, LineKind::Yes, 0, 0, {102, 92});
    addLine(doc, {{300, 100}, {300, 200}}, LineKind::No, 0, 0, {302, 92});
    addLine(doc, {{500, 100}, {500, 200}}, LineKind::Plain, 0, 0, {502, 92});
    const QImage img = render(doc);
    // Tag text is written from (tag x, tag y - 10), right of the line.
    EXPECT_GT(ink(img, QRect(102, 82, 16, 14)), 10);
    EXPECT_GT(ink(img, QRect(302, 82, 16, 14)), 10);
    EXPECT_NE(img.copy(QRect(102, 82, 16, 14)), img.copy(QRect(302, 82, 16, 14)));
    EXPECT_EQ(ink(img, QRect(502, 82, 16, 14)), 0);
}

// ---- Symbols ------------------------------------------------------------------

TEST(FlowPainterSymbols, ShapesAndSubroutineBars)
{
    FlowDocument doc;
    addSymbol(doc, SymbolKind::StartStop, 100, 100);
    addSymbol(doc, SymbolKind::Output, 300, 100);
    addSymbol(doc, SymbolKind::Decision, 500, 100);
    addSymbol(doc, SymbolKind::Process, 100, 250, "Delay 5");
    addSymbol(doc, SymbolKind::Process, 300, 250, "Sub 2");
    const QImage img = render(doc);

    // Rounded bar: straight joins at y - 12 and y + 12, round ends out to x ± 60.
    EXPECT_TRUE(inked(img, 100, 88));
    EXPECT_TRUE(inked(img, 100, 112));
    EXPECT_TRUE(inked(img, 40, 100));
    EXPECT_TRUE(inked(img, 159, 100));
    EXPECT_FALSE(inked(img, 41, 89));  // the corners are round
    // Parallelogram leaning right.
    EXPECT_TRUE(inked(img, 240, 124));
    EXPECT_TRUE(inked(img, 360, 76));
    EXPECT_FALSE(inked(img, 241, 77));
    EXPECT_FALSE(inked(img, 359, 123));
    // Diamond.
    EXPECT_TRUE(inked(img, 440, 100));
    EXPECT_TRUE(inked(img, 500, 76));
    EXPECT_TRUE(inked(img, 500, 124));
    EXPECT_FALSE(inked(img, 445, 80));
    // A delay has a plain rectangle; a subroutine call has a bar inside each side.
    EXPECT_TRUE(inked(img, 52, 250));
    EXPECT_FALSE(inked(img, 55, 266));
    EXPECT_FALSE(inked(img, 145, 266));
    EXPECT_TRUE(inked(img, 255, 266));
    EXPECT_TRUE(inked(img, 345, 266));
    // The bars stay inside the rectangle.
    EXPECT_FALSE(inked(img, 255, 274));
}

TEST(FlowPainterSymbols, DrawStatesAndTheirColours)
{
    FlowDocument doc;
    const int states[] = {0, 1, 2, 3, 5, 6, 7};
    for (int k = 0; k < 7; ++k) {
        const int i = addSymbol(doc, SymbolKind::Process, 60 + 110 * (k % 5), 40 + 80 * (k / 5));
        doc.symbolRef(i).selected = states[k];
    }
    ColourSet colours;
    const auto edge = [](const QImage& img, int k) {
        return img.pixelColor(60 + 110 * (k % 5) - 48, 40 + 80 * (k / 5) + 10);
    };
    const auto inside = [](const QImage& img, int k) {
        return img.pixelColor(60 + 110 * (k % 5) - 30, 40 + 80 * (k / 5) + 18);
    };
    QImage img = render(doc, plain(), colours);
    const QColor edges[] = {kBlack, kSilver, kBlack, kBlack, kRed, QColor(0, 255, 0), kBlack};
    const QColor fills[] = {kWhite, kWhite, kSilver, kLightYellow, kWhite, kWhite, kWhite};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(edge(img, k), edges[k]) << "state " << states[k];
        EXPECT_EQ(inside(img, k), fills[k]) << "state " << states[k];
    }

    // Colours keep red in their low byte; the filled bit fills any entry.
    colours.colours[ColourSet::Selected] = 0x00FF0000u | kFilledColour;
    img = render(doc, plain(), colours);
    EXPECT_EQ(edge(img, 4), kBlack);
    EXPECT_EQ(inside(img, 4), QColor(0, 0, 255));

    // A symbol whose state's colour is switched off is not drawn at all,
    // caption included; the others are drawn as before.
    doc.setSymbolText(3, "Delay 5");
    colours.setDrawn(ColourSet::ActiveSymbol, false);
    img = render(doc, plain(), colours);
    const QRect running(60 + 110 * 3 - 49, 40 - 25, 99, 51);
    EXPECT_EQ(ink(img, running), 0);
    EXPECT_EQ(inside(img, 4), QColor(0, 0, 255));
    // The selection colour switched off hides the selected symbol the same way.
    colours.colours[ColourSet::Selected] |= kNoColour;
    EXPECT_EQ(edge(render(doc, plain(), colours), 4), kWhite);

    // A followed line takes the active-line colour, and is not drawn when it is off:
    // neither its segments nor its arrowheads, connector or tag.
    FlowDocument lineDoc;
    lineDoc.lineRef(addLine(lineDoc, {{10, 10}, {200, 10}})).selected = 4;
    lineDoc
        .lineRef(addLine(lineDoc,
                         {{100, 100}, {124, 100}, {kConnectorMarkX, 'B'}, {276, 200}, {300, 200}},
                         LineKind::Yes, 0, 0, {102, 92}))
        .selected = 4;
    colours.colours[ColourSet::ActiveLine] = 0x00FF8000u;
    EXPECT_EQ(render(lineDoc, plain(), colours).pixelColor(100, 10), QColor(0, 128, 255));
    colours.setDrawn(ColourSet::ActiveLine, false);
    EXPECT_EQ(inkBounds(render(lineDoc, plain(), colours)), QRect());
}

TEST(FlowPainterSymbols, CaptionsCentredInTheirBands)
{
    FlowDocument doc;
    addSymbol(doc, SymbolKind::Process, 100, 100, "Delay 5");        // "Tardar 5": one line
    addSymbol(doc, SymbolKind::Process, 300, 100, "Let a = b + 3");  // two lines
    const QImage img = render(doc);

    const QRect single = inkBounds(img.copy(QRect(53, 77, 94, 46))).translated(53, 77);
    EXPECT_GE(single.top(), 100 - 7 - 1);
    EXPECT_LE(single.bottom(), 100 + 7 + 1);
    EXPECT_LE(std::abs((single.left() + single.right()) / 2 - 100), 2);

    const QImage two = img.copy(QRect(253, 77, 94, 46));
    EXPECT_GT(ink(two, QRect(0, 23 - 19, 94, 12)), 20);  // first band y - 19 .. y - 5
    EXPECT_GT(ink(two, QRect(0, 23 - 1, 94, 10)), 20);   // second band y - 2 .. y + 8

    // Laid-out texts are kept between paints: an edited text must still show.
    doc.setSymbolText(0, "Delay 7");
    const int label = addLabel(doc, 400, 20, 2, "Antes");
    render(doc);
    doc.setLabelText(label, "Despu\xE9s");
    const QImage edited = render(doc);
    FlowDocument fresh;
    addSymbol(fresh, SymbolKind::Process, 100, 100, "Delay 7");
    addSymbol(fresh, SymbolKind::Process, 300, 100, "Let a = b + 3");
    addLabel(fresh, 400, 20, 2, "Despu\xE9s");
    EXPECT_NE(edited, img);
    EXPECT_EQ(edited, render(fresh));
}

// ---- Labels -------------------------------------------------------------------

TEST(FlowPainterLabels, SizesWidthsAndSelectionFrames)
{
    FlowDocument doc;
    const int small = addLabel(doc, 20, 20, 1, "Puerta");
    const int medium = addLabel(doc, 20, 60, 2, "Puerta");
    const int large = addLabel(doc, 20, 120, 3, "Puerta");
    const int empty = addLabel(doc, 300, 20, 1, "");
    const FlowPainter painter(doc, ColourSet{});
    const int ws = painter.labelWidth(doc.label(small));
    const int wm = painter.labelWidth(doc.label(medium));
    const int wl = painter.labelWidth(doc.label(large));
    EXPECT_GT(ws, 20);
    EXPECT_GT(wm, ws);
    EXPECT_GT(wl, wm);
    EXPECT_EQ(painter.labelWidth(doc.label(empty)), 4);

    QImage img = render(doc);
    const QRect largeInk = inkBounds(img.copy(QRect(0, 110, 300, 60))).translated(0, 110);
    EXPECT_GE(largeInk.top(), 120);
    EXPECT_LE(largeInk.bottom(), 120 + 28);
    const QRect smallInk = inkBounds(img.copy(QRect(0, 10, 200, 30))).translated(0, 10);
    EXPECT_GE(smallInk.top(), 20);
    EXPECT_LE(smallInk.bottom(), 20 + 14);
    EXPECT_GT(largeInk.height() * 2, smallInk.height() * 3);

    // Selected labels get a frame in the selection colour, from x - 1 to the
    // text's end + 1, 14, 21 or 28 high; an empty text counts 4 wide.
    doc.selectLabel(medium);
    doc.selectLabel(empty);
    img = render(doc);
    EXPECT_EQ(img.pixelColor(19, 70), kRed);
    EXPECT_EQ(img.pixelColor(20 + wm, 70), kRed);
    EXPECT_EQ(img.pixelColor(30, 60), kRed);
    EXPECT_EQ(img.pixelColor(30, 80), kRed);
    EXPECT_NE(img.pixelColor(30, 81), kRed);
    EXPECT_EQ(img.pixelColor(299, 25), kRed);
    EXPECT_EQ(img.pixelColor(304, 25), kRed);
    EXPECT_NE(img.pixelColor(19, 30), kRed);  // the small one is not selected

    // No frames while something moves, nor in pictures.
    PaintOptions o = plain();
    o.movingSomething = true;
    EXPECT_NE(render(doc, o).pixelColor(19, 70), kRed);
    o = plain();
    o.picture = true;
    EXPECT_NE(render(doc, o).pixelColor(19, 70), kRed);
}

// ---- Scaling and partial painting ---------------------------------------------

TEST(FlowPainterScaling, HalfZoomHalvesEverything)
{
    FlowDocument doc;
    fillRepresentative(doc);
    const QImage full = render(doc, plain(10), ColourSet{}, {640, 520});
    const QImage half = render(doc, plain(5), ColourSet{}, {640, 520});
    const QRect a = inkBounds(full), b = inkBounds(half);
    EXPECT_NEAR(b.left(), a.left() / 2, 1);
    EXPECT_NEAR(b.top(), a.top() / 2, 1);
    EXPECT_NEAR(b.right(), a.right() / 2, 1);
    EXPECT_NEAR(b.bottom(), a.bottom() / 2, 1);
    // Caption text shrinks with it: the two-line output caption's height halves.
    const QRect capFull = inkBounds(full.copy(QRect(80, 120, 96, 40)));
    const QRect capHalf = inkBounds(half.copy(QRect(40, 60, 48, 20)));
    EXPECT_NEAR(capHalf.height(), capFull.height() / 2, 2);

    // The page guides follow the zoom and the scroll offset.
    PaintOptions o = plain(5);
    o.pageGuides = true;
    o.offset = {-100, -200};
    const QImage guides = render(FlowDocument{}, o, ColourSet{}, {640, 760});
    EXPECT_EQ(guides.pixelColor(227, 100), QColor(0, 255, 0));
    EXPECT_EQ(guides.pixelColor(300, 259), QColor(0, 255, 0));
    EXPECT_EQ(guides.pixelColor(300, 718), QColor(64, 64, 64));
}

TEST(FlowPainterScaling, OffsetShiftsAndDirtyAreasPaintTheSame)
{
    FlowDocument doc;
    fillRepresentative(doc);
    const QImage full = render(doc, plain(), ColourSet{}, {640, 520});
    PaintOptions shifted = plain();
    shifted.offset = {-30, -40};
    EXPECT_EQ(render(doc, shifted, ColourSet{}, {640, 520}).copy(0, 0, 600, 470),
              full.copy(30, 40, 600, 470));

    // Repainting a part, as the window does for an invalidated area, gives
    // exactly the pixels of a full paint there, whatever the part cuts through.
    for (const QRect dirty :
         {QRect(0, 0, 100, 100), QRect(120, 130, 40, 30), QRect(180, 240, 100, 20),
          QRect(430, 130, 60, 330), QRect(545, 130, 20, 20), QRect(600, 0, 40, 520)}) {
        const QImage part = render(doc, plain(), ColourSet{}, {640, 520}, dirty);
        EXPECT_EQ(part.copy(dirty), full.copy(dirty))
            << dirty.x() << "," << dirty.y() << " " << dirty.width() << "x" << dirty.height();
    }
    // Loading: nothing of the chart is drawn.
    PaintOptions loading = plain();
    loading.loading = true;
    EXPECT_EQ(inkBounds(render(doc, loading)), QRect());
}

// ---- Pictures -----------------------------------------------------------------

TEST(FlowPainterPictures, BoundsAndClipboardData)
{
    FlowDocument doc;
    EXPECT_TRUE(FlowPainter(doc, ColourSet{}).pictureBounds(false).empty());
    EXPECT_EQ(makeChartPicture(doc, ColourSet{}, false), nullptr);

    const int a = addSymbol(doc, SymbolKind::Process, 200, 100, "Delay 1");
    const int b = addSymbol(doc, SymbolKind::Process, 200, 300, "Delay 2");
    const int c = addSymbol(doc, SymbolKind::Process, 500, 300, "Delay 3");
    addLine(doc, {{200, 125}, {200, 275}}, LineKind::Plain, a, b);
    addLine(doc, {{249, 300}, {451, 300}}, LineKind::Plain, b, c);
    const FlowPainter painter(doc, ColourSet{});
    const Rect all = painter.pictureBounds(false);
    EXPECT_LE(all.left, 140);
    EXPECT_LE(all.top, 75);
    EXPECT_GE(all.right, 561);
    EXPECT_GE(all.bottom, 326);
    EXPECT_LE(all.right, 566);
    EXPECT_LE(all.bottom, 330);

    // The selection: the two symbols and the line between them, not the line to c.
    EXPECT_TRUE(painter.pictureBounds(true).empty());
    EXPECT_EQ(makeChartPicture(doc, ColourSet{}, true), nullptr);
    doc.selectSymbol(a);
    doc.selectSymbol(b);
    const Rect sel = painter.pictureBounds(true);
    EXPECT_LE(sel.right, 266);

    const ChartPicture picture = renderChartPicture(doc, ColourSet{}, true);
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(picture.image.size(), QSize(sel.right - sel.left, sel.bottom - sel.top));
    // Process a's left edge lands at its place in the picture, in the
    // selection colour as on the screen; the line towards c, whose end is not
    // selected, is left out.
    EXPECT_EQ(picture.image.pixelColor(152 - sel.left, 110 - sel.top), kRed);
    EXPECT_TRUE(picture.svg.contains("#ff0000"));
    EXPECT_EQ(ink(picture.image, QRect(252 - sel.left, 290 - sel.top, 10, 20)), 0);

    const std::unique_ptr<QMimeData> data(makeChartPicture(doc, ColourSet{}, true));
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat("image/svg+xml"));
    EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), picture.image.size());
}

TEST(FlowPainterPictures, BoundsHoldEverythingDrawn)
{
    FlowDocument doc;
    addSymbol(doc, SymbolKind::StartStop, 200, 100, "Sub 12(Semaforo largo)");  // wider than 120
    addSymbol(doc, SymbolKind::Output, 200, 200, "Turn Output 1 on");
    addLine(doc, {{261, 100}, {285, 100}, {kConnectorMarkX, 'B'}, {315, 300}, {339, 300}});
    addLine(doc, {{200, 225}, {200, 280}, {100, 280}}, LineKind::No, 0, 0, {202, 240});
    addLabel(doc, 380, 150, 3, "Grande");
    const Rect r = FlowPainter(doc, ColourSet{}).pictureBounds(false);
    PaintOptions o = plain();
    o.picture = true;
    const QImage img = render(doc, o, ColourSet{}, {500, 400});
    const QRect ink = inkBounds(img);
    const QRect bounds = FlowPainter::toDevice(r, o);
    EXPECT_TRUE(bounds.contains(ink))
        << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    // and hardly looser: text keeps a little white beside its letters.
    EXPECT_LE(ink.left() - bounds.left(), 6);
    EXPECT_LE(ink.top() - bounds.top(), 6);
    EXPECT_LE(bounds.right() - ink.right(), 6);
    EXPECT_LE(bounds.bottom() - ink.bottom(), 6);
}

// ---- A picture to look at -----------------------------------------------------

TEST(FlowPainterScreenshot, RepresentativeChart)
{
    FlowDocument doc;
    fillRepresentative(doc);
    doc.selectLabel(1);
    PaintOptions o;
    const QImage full = render(doc, o, ColourSet{}, {640, 520});
    o.zoomX = o.zoomY = 5;
    const QImage half = render(doc, o, ColourSet{}, {320, 260});
    EXPECT_NE(inkBounds(full), QRect());
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        full.save(QString::fromUtf8(dir) + "/painter-100.png");
        half.save(QString::fromUtf8(dir) + "/painter-50.png");
        // The clipboard picture of the same chart, with its own caption rule.
        const ChartPicture picture = renderChartPicture(doc, ColourSet{}, false);
        picture.image.save(QString::fromUtf8(dir) + "/painter-picture.png");
        QFile svg(QString::fromUtf8(dir) + "/painter-picture.svg");
        if (svg.open(QIODevice::WriteOnly)) svg.write(picture.svg);
    }
}

}  // namespace
}  // namespace tarvel
