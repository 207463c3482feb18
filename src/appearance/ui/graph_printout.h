#pragma once
// The printed graph ("Gráfica de Tarvel"): the graph window's stack on one
// page. On a landscape page it fills the page; on a portrait page a short
// stack (weight 5 or less) takes the upper half and a taller one the whole.

#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace tarvel {

class TGraphWindow;

class TGraphPrintout {
public:
    TGraphPrintout(const TGraphWindow& window, int totalWeight)
        : window_(window), totalWeight_(totalWeight)
    {
    }

    static QString title() { return QString::fromUtf8("Gráfica de Tarvel"); }

    // How a page of this size is used: the part of it drawn on (device
    // pixels), the logical extent mapped onto that part, and the size the
    // graph is drawn at within the extent.
    struct PageUse {
        QRect viewport;
        QSize extent;
        QSize graph;
    };
    PageUse pageUse(const QRect& page) const;

    // Draws the page into `page` (device pixels of the painter); the
    // painter's mapping is as it was afterwards.
    void printPage(QPainter& painter, const QRect& page) const;

private:
    const TGraphWindow& window_;
    int totalWeight_;
};

}  // namespace tarvel
