#include "appearance/ui/flow_printout.h"

#include <QPainter>

#include "flowchart/ui/flow_painter.h"

namespace tarvel {

void TFlowPrintout::printPage(QPainter& painter, const QRect& page) const
{
    painter.save();
    // The extent's units stretched over the page, each way on its own.
    painter.setViewport(page);
    painter.setWindow(0, 0, extent_.width, extent_.height);
    PaintOptions o;
    o.picture = true;
    o.printer = true;
    o.background = false;
    o.pageGuides = false;
    FlowPainter(doc_, colours_).paint(painter, o);
    painter.restore();
}

}  // namespace tarvel
