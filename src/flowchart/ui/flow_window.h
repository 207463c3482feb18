#pragma once
// The flowchart window: the client of the main frame. It owns the one
// flowchart document for the whole run of the program.

#include <QWidget>

#include "flowchart/flow_document.h"

namespace tarvel {

class Messages;

class TFlowWindow : public QWidget, public DocumentObserver {
    Q_OBJECT
public:
    explicit TFlowWindow(Messages& messages, QWidget* parent = nullptr);

    FlowDocument& document() { return document_; }
    const FlowDocument& document() const { return document_; }

    // Zoom in tenths (10 is 100 %), horizontal and vertical.
    int zoomX() const { return zoomX_; }
    int zoomY() const { return zoomY_; }

    void invalidate(const Rect& area) override;
    void subroutinesChanged() override;

signals:
    void runMenuChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FlowDocument document_;
    int zoomX_ = 10;
    int zoomY_ = 10;
};

}  // namespace tarvel
