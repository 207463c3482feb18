#include "flowchart/ui/flow_window.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QUrl>

#include "engine/program_state.h"
#include "flowchart/ui/flow_painter.h"

namespace tarvel {

namespace {
// Draw states of the running marks.
constexpr std::int32_t kStateNormal = 0;
constexpr std::int32_t kStateCalling = 2;
constexpr std::int32_t kStateActive = 3;
constexpr std::int32_t kStateActiveLine = 4;
constexpr std::int32_t kStateSelected = 5;
}  // namespace

TFlowWindow::TFlowWindow(ProgramState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName("flowWindow");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    state_.doc.setObserver(this);
    state_.interpreter.setMarks(this);
    setFixedSize(drawingSize());
}

FlowDocument& TFlowWindow::document()
{
    return state_.doc;
}

const FlowDocument& TFlowWindow::document() const
{
    return state_.doc;
}

QSize TFlowWindow::drawingSize() const
{
    return {kDrawingWidth * zoom_ / 10, kDrawingHeight * zoom_ / 10};
}

void TFlowWindow::setZoom(int tenths)
{
    if (tenths < 1) tenths = 1;
    zoom_ = tenths;
    setFixedSize(drawingSize());
    update();
}

void TFlowWindow::setLoading(bool loading)
{
    loading_ = loading;
    if (!loading) update();
}

QRect TFlowWindow::deviceRect(const Rect& r) const
{
    PaintOptions o;
    o.zoomX = o.zoomY = zoom_;
    return FlowPainter::toDevice(r, o);
}

void TFlowWindow::invalidate(const Rect& area)
{
    update(deviceRect(area));
}

void TFlowWindow::subroutinesChanged()
{
    emit runMenuChanged();
}

void TFlowWindow::markSymbol(int symbol, Mark mark)
{
    FlowDocument& doc = state_.doc;
    if (symbol < 0 || symbol >= doc.symbolCount()) return;
    std::int32_t s = kStateNormal;
    switch (mark) {
        case Mark::Active:
            s = kStateActive;
            break;
        case Mark::Calling:
            s = kStateCalling;
            break;
        case Mark::Error:
            s = kStateSelected;
            break;
        default:
            break;
    }
    FlowSymbol& sym = doc.symbolRef(symbol);
    if (sym.selected == s) return;
    sym.selected = s;
    invalidate(FlowDocument::symbolBounds(sym));
}

void TFlowWindow::markLine(int line, Mark mark)
{
    FlowDocument& doc = state_.doc;
    if (line < 0 || line >= doc.lineCount()) return;
    const std::int32_t s = mark == Mark::ActiveLine ? kStateActiveLine : kStateNormal;
    FlowLine& l = doc.lineRef(line);
    if (l.selected == s) return;
    l.selected = s;
    invalidate(FlowDocument::lineBounds(l));
}

void TFlowWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintOptions o;
    o.zoomX = o.zoomY = zoom_;
    o.loading = loading_;
    FlowPainter(state_.doc, state_.colours).paint(painter, o, event->rect());
}

void TFlowWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        emit runKeyPressed();
    else if (event->key() == Qt::Key_Space)
        emit stepKeyPressed();
    else
        QWidget::keyPressEvent(event);
}

void TFlowWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFlowWindow::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

}  // namespace tarvel
