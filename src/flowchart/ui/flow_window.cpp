#include "flowchart/ui/flow_window.h"

#include <QPaintEvent>
#include <QPainter>

namespace tarvel {

TFlowWindow::TFlowWindow(Messages& messages, QWidget* parent)
    : QWidget(parent), document_(&messages, this)
{
    setObjectName("flowWindow");
    setAutoFillBackground(false);
    setFixedSize(kDrawingWidth * zoomX_ / 10, kDrawingHeight * zoomY_ / 10);
}

void TFlowWindow::invalidate(const Rect& area)
{
    update(QRect(area.left * zoomX_ / 10, area.top * zoomY_ / 10,
                 (area.right - area.left) * zoomX_ / 10 + 1,
                 (area.bottom - area.top) * zoomY_ / 10 + 1));
}

void TFlowWindow::subroutinesChanged()
{
    emit runMenuChanged();
}

void TFlowWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
}

}  // namespace tarvel
