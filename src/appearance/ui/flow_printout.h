#pragma once
// The printed chart ("Diagrama de flujo"): the whole document at 100 %, by
// the picture rules of the chart painter, with the printer's start/stop
// boxes, scaled so that its print extent fills the printable page.

#include <QRect>
#include <QString>

#include "appearance/colour_set.h"
#include "appearance/print_extent.h"
#include "flowchart/flow_document.h"

class QPainter;

namespace tarvel {

class TFlowPrintout {
public:
    TFlowPrintout(const FlowDocument& doc, const ColourSet& colours)
        : doc_(doc), colours_(colours), extent_(flowPrintExtent(doc))
    {
    }

    static QString title() { return QString::fromUtf8("Diagrama de flujo"); }
    PrintExtent extent() const { return extent_; }

    // Draws the page into `page` (device pixels of the painter); the
    // painter's mapping is as it was afterwards.
    void printPage(QPainter& painter, const QRect& page) const;

private:
    const FlowDocument& doc_;
    const ColourSet& colours_;
    PrintExtent extent_;
};

}  // namespace tarvel
