#include "appearance/ui/graph_printout.h"

#include <QPainter>

#include "datalog/ui/graph_window.h"

namespace tarvel {

namespace {

// A portrait page gives a stack up to this weight only its upper half.
constexpr int kHalfPageWeight = 5;
// The graph's width and its margin in the logical page.
constexpr int kGraphWidth = 800;
constexpr int kPortraitExtentWidth = 830, kPortraitFull = 1000, kPortraitHalf = 500;
constexpr int kLandscapeExtentWidth = 810, kLandscapeHeight = 640;

}  // namespace

TGraphPrintout::PageUse TGraphPrintout::pageUse(const QRect& page) const
{
    PageUse use;
    if (page.width() < page.height()) {
        const bool tall = totalWeight_ > kHalfPageWeight;
        use.viewport = tall ? page : QRect(page.topLeft(), QSize(page.width(), page.height() / 2));
        const int h = tall ? kPortraitFull : kPortraitHalf;
        use.extent = {kPortraitExtentWidth, h};
        use.graph = {kGraphWidth, h};
    } else {
        use.viewport = page;
        use.extent = {kLandscapeExtentWidth, kLandscapeHeight};
        use.graph = {kGraphWidth, kLandscapeHeight};
    }
    return use;
}

void TGraphPrintout::printPage(QPainter& painter, const QRect& page) const
{
    const PageUse use = pageUse(page);
    painter.save();
    painter.setViewport(use.viewport);
    painter.setWindow(QRect(QPoint(0, 0), use.extent));
    window_.drawGraph(painter, use.graph.width(), use.graph.height(), GraphPainter::Pens::Printer);
    painter.restore();
}

}  // namespace tarvel
