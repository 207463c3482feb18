// The painter stores the screen's opaque strips and straight outlines
// directly into the image it paints; these tests hold it to the pixels the
// painter itself leaves when everything goes through it: the fullest chart,
// every draw state, at several zooms, scrolled, partly repainted, and in the
// flowchart window.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "engine/program_state.h"
#include "flowchart/ui/flow_painter.h"
#include "flowchart/ui/flow_window.h"
#include "flowchart/ui/solid_fill.h"
#include "fullest_chart.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

// Every draw state on some symbols and lines, a start/stop with its round
// ends, a subroutine call with its bars, a connector, and symbols cut by the
// drawing's edges (the tables are full: entries are changed in place).
void addStatesAndEdges(FlowDocument& doc)
{
    for (int state = 1; state < 8; ++state) {
        doc.symbolRef(state * 3).selected = state;
        doc.lineRef(state * 5).selected = state;
    }
    doc.symbolRef(40).kind = SymbolKind::StartStop;
    doc.symbolRef(40).text = "Start";
    doc.symbolRef(41).kind = SymbolKind::Process;
    doc.symbolRef(41).text = "Sub 1(Luz)";
    LineGeometry& g = doc.lineRef(kMaxLines - 1).geometry;
    g.points = {Point{600, 1700}, {624, 1700}, {kConnectorMarkX, 'C'}, {680, 1750}, {704, 1750},
                {-1, -1},         {-1, -1}};
    FlowSymbol& left = doc.symbolRef(kMaxSymbols - 2);
    left.kind = SymbolKind::Decision;
    left.x = 20;
    left.y = 1800;
    left.selected = 5;
    FlowSymbol& corner = doc.symbolRef(kMaxSymbols - 1);
    corner.kind = SymbolKind::Output;
    corner.x = 1300;
    corner.y = 1890;
}

QImage paint(const FlowDocument& doc, int zoom, QPoint offset, const QRect& dirty, bool direct,
             QImage::Format format = QImage::Format_RGB32)
{
    QImage image(kDrawingWidth * zoom / 10, kDrawingHeight * zoom / 10, format);
    image.fill(QColor(200, 100, 50));  // whatever the painter leaves out shows
    PaintOptions o;
    o.zoomX = o.zoomY = zoom;
    o.offset = offset;
    o.directFills = direct;
    QPainter p(&image);
    if (!dirty.isEmpty()) p.setClipRect(dirty);
    FlowPainter(doc, ColourSet{}).paint(p, o, dirty);
    return image;
}

// Where two images differ: the count and the bounds, for the message.
std::string difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return "sizes differ";
    int n = 0;
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++n;
                box |= QRect(x, y, 1, 1);
            }
    if (n == 0) return {};
    return std::to_string(n) + " pixels in " + std::to_string(box.x()) + "," +
           std::to_string(box.y()) + " " + std::to_string(box.width()) + "x" +
           std::to_string(box.height());
}

TEST(FlowPainterPixels, DirectStoresLeaveThePaintersPixels)
{
    FlowDocument doc;
    examples::fillFullestChart(doc);
    addStatesAndEdges(doc);
    struct Case {
        int zoom;
        QPoint offset;
        QRect dirty;
    };
    const Case cases[] = {
        {10, {0, 0}, {}},
        {5, {0, 0}, {}},
        {3, {0, 0}, {}},
        {12, {0, 0}, {}},
        {10, {-37, -53}, {}},  // scrolled: shapes cut by the image's edges
        {5, {-11, -7}, {}},
        {10, {0, 0}, {101, 203, 377, 299}},  // a repaint cutting through everything
        {5, {0, 0}, {60, 40, 90, 200}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(difference(paint(doc, c.zoom, c.offset, c.dirty, true),
                             paint(doc, c.zoom, c.offset, c.dirty, false)),
                  "")
            << "zoom " << c.zoom << " offset " << c.offset.x() << "," << c.offset.y();
    }
    // The window's back buffer may keep an alpha channel.
    EXPECT_EQ(difference(paint(doc, 10, {}, {}, true, QImage::Format_ARGB32_Premultiplied),
                         paint(doc, 10, {}, {}, false, QImage::Format_ARGB32_Premultiplied)),
              "");
}

TEST(FlowPainterPixels, DirectOnlyIntoImagesWithWholePixelShifts)
{
    QImage image(64, 64, QImage::Format_RGB32);
    QPainter p(&image);
    EXPECT_TRUE(SolidFill(p, true).direct());
    EXPECT_FALSE(SolidFill(p, false).direct());
    p.translate(3, 4);
    EXPECT_TRUE(SolidFill(p, true).direct());
    p.translate(0.5, 0);
    EXPECT_FALSE(SolidFill(p, true).direct());
    p.resetTransform();
    p.scale(2, 2);
    EXPECT_FALSE(SolidFill(p, true).direct());
    p.end();
    QImage other(64, 64, QImage::Format_RGB888);
    QPainter q(&other);
    EXPECT_FALSE(SolidFill(q, true).direct());
}

// The window paints through a redirection to another device, clipped to the
// area to repaint.
TEST(FlowPainterPixels, WindowShowsTheSamePixels)
{
    test::FakeMessages messages;
    test::FakeClock clock;
    ProgramState program(messages, clock);
    examples::fillFullestChart(program.doc);
    TFlowWindow window(program, messages);
    for (const int zoom : {10, 5}) {
        window.setZoom(zoom);
        QImage shown(window.size(), QImage::Format_RGB32);
        window.render(&shown);
        EXPECT_EQ(difference(shown, paint(program.doc, zoom, {}, {}, false)), "")
            << "zoom " << zoom;
        // A repaint of a part, over what was there.
        program.doc.symbolRef(12).selected = 5;
        const QRect part = window.deviceRect(FlowDocument::symbolBounds(program.doc.symbol(12)));
        window.render(&shown, part.topLeft(), QRegion(part));
        EXPECT_EQ(difference(shown, paint(program.doc, zoom, {}, {}, false)), "")
            << "zoom " << zoom;
        program.doc.symbolRef(12).selected = 0;
    }
}

}  // namespace
}  // namespace tarvel
