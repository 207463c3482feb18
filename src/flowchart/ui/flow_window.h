#pragma once
// The flowchart window: the client of the main frame. It draws the chart at
// the zoom, repaints only what changed, shows the interpreter's running
// marks, and turns mouse and keys into the editor's operations: tools,
// placing, carrying, rubber bands, lines, ghosts, auto-scroll.

#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "engine/run_ports.h"
#include "flowchart/chart_editor.h"
#include "flowchart/flow_document.h"

class QMenu;
class QScrollArea;

namespace tarvel {

class DrawnState;
class Messages;
class ProgramState;

class TFlowWindow : public QWidget, public DocumentObserver, public ChartMarks {
    Q_OBJECT
public:
    TFlowWindow(ProgramState& state, Messages& messages, QWidget* parent = nullptr);
    ~TFlowWindow() override;

    FlowDocument& document();
    const FlowDocument& document() const;
    ChartEditor& editor() { return *editor_; }

    // Zoom in tenths (10 is 100 %), the same both ways.
    int zoom() const { return zoom_; }
    void setZoom(int tenths);
    // The window's size for the whole drawing at the zoom.
    QSize drawingSize() const;
    // The pixels a document rectangle covers at the zoom.
    QRect deviceRect(const Rect& r) const;
    // A window point in document units.
    Point toDocument(const QPoint& p) const;

    // Whether a symbol, label or line is being carried or drawn.
    bool moving() const;
    // Whether a file is being loaded: nothing of the chart is drawn meanwhile.
    void setLoading(bool loading);

    // The document was replaced (New, Open, a drop, any load): whatever was
    // being drawn, carried or about to open on the old chart is dropped.
    void documentReplaced();

    // Chooses an editing tool (301..309 commands); false when refused.
    bool chooseTool(EditorTool tool);

    // Auto-scroll near the edges of the view.
    void setScroller(QScrollArea* scroller) { scroller_ = scroller; }
    bool autoScroll() const { return autoScroll_; }
    void setAutoScroll(bool on);
    // Whether the view is scrolling, or about to, near an edge.
    bool autoScrolling() const
    {
        return autoScrollDelay_.isActive() || autoScrollRepeat_.isActive();
    }

    // DocumentObserver
    void invalidate(const Rect& area) override;
    void subroutinesChanged() override;
    void edited() override;
    // The menu of a symbol (a right click on it): "Punto de parada".
    QMenu* symbolMenu(int symbol);
    // ChartMarks
    void markSymbol(int symbol, Mark mark) override;
    void markLine(int line, Mark mark) override;

signals:
    void runMenuChanged();
    void runKeyPressed();   // Escape: stop a running chart
    void stepKeyPressed();  // Space: single step
    void filesDropped(const QStringList& paths);
    // The selection or the tool changed (the frame enables its commands).
    void editingChanged();
    // A symbol's or label's property editor is to open.
    void symbolEditorRequested(int symbol);
    void labelEditorRequested(int label);
    // The chart was changed by an edit.
    void chartEdited();
    // A symbol's breakpoint is to go on or off.
    void breakpointRequested(int symbol);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool running() const;
    void handleOutcome(const PressOutcome& outcome);
    void updateCursor(bool copying = false);
    void autoScrollCheck(const QPoint& pos);
    void autoScrollStep();
    void stopAutoScroll();
    void drawEditing(QPainter& p) const;
    void repaintChanges(const DrawnState& before, bool chart);

    ProgramState& state_;
    Messages& messages_;
    std::unique_ptr<ChartEditor> editor_;
    QScrollArea* scroller_ = nullptr;
    int zoom_ = 10;
    bool loading_ = false;
    // Drag detection: where the left (or right) button went down.
    QPoint pressPoint_{-1, -1};
    bool buttonDown_ = false;
    bool dragging_ = false;
    // The hover prompt last written to the status line.
    std::string hoverPrompt_;
    // The editor opening half a second after a selection click.
    QTimer editorTimer_;
    PressOutcome pendingEditor_;
    // Auto-scroll: one-shot 251 ms, then every 100 ms while in the band.
    bool autoScroll_ = true;
    QTimer autoScrollDelay_;
    QTimer autoScrollRepeat_;
    QPoint autoScrollPos_;
};

}  // namespace tarvel
