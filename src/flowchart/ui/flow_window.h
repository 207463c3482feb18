#pragma once
// The flowchart window: the client of the main frame. It draws the chart at
// the zoom, follows the document's changes by repainting only what changed,
// shows the interpreter's running marks, and passes the run keys and dropped
// files on to the frame.

#include <QStringList>
#include <QWidget>

#include "engine/run_ports.h"
#include "flowchart/flow_document.h"

namespace tarvel {

class ProgramState;

class TFlowWindow : public QWidget, public DocumentObserver, public ChartMarks {
    Q_OBJECT
public:
    explicit TFlowWindow(ProgramState& state, QWidget* parent = nullptr);

    FlowDocument& document();
    const FlowDocument& document() const;

    // Zoom in tenths (10 is 100 %), the same both ways.
    int zoom() const { return zoom_; }
    void setZoom(int tenths);
    // The window's size for the whole drawing at the zoom.
    QSize drawingSize() const;
    // The pixels a document rectangle covers at the zoom.
    QRect deviceRect(const Rect& r) const;

    // Whether a symbol, label or line is being carried or drawn (editing).
    bool moving() const { return false; }
    // Whether a file is being loaded: nothing of the chart is drawn meanwhile.
    void setLoading(bool loading);

    // DocumentObserver
    void invalidate(const Rect& area) override;
    void subroutinesChanged() override;
    // ChartMarks
    void markSymbol(int symbol, Mark mark) override;
    void markLine(int line, Mark mark) override;

signals:
    void runMenuChanged();
    void runKeyPressed();   // Escape: stop a running chart
    void stepKeyPressed();  // Space: single step
    void filesDropped(const QStringList& paths);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    ProgramState& state_;
    int zoom_ = 10;
    bool loading_ = false;
};

}  // namespace tarvel
