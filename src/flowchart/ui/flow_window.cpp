#include "flowchart/ui/flow_window.h"

#include <QMenu>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>
#include <memory>

#include "engine/program_state.h"
#include "flowchart/ui/drawn_state.h"
#include "flowchart/ui/flow_painter.h"
#include "platform/messages.h"

namespace tarvel {

namespace {
// A press becomes a drag beyond 4 pixels.
constexpr int kDragDistanceSquared = 16;
constexpr int kEditorDelayMs = 500;
constexpr int kAutoScrollBand = 10;
constexpr int kAutoScrollUnit = 10;
}  // namespace

TFlowWindow::TFlowWindow(ProgramState& state, Messages& messages, QWidget* parent)
    : QWidget(parent), state_(state), messages_(messages)
{
    setObjectName("flowWindow");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMouseTracking(true);
    state_.doc.setObserver(this);
    state_.interpreter.setMarks(this);
    state_.chip.setMarks(this);
    editor_ = std::make_unique<ChartEditor>(state_.doc, messages_, [this](const FlowLabel& l) {
        return FlowPainter(state_.doc, state_.colours).labelWidth(l);
    });
    setFixedSize(drawingSize());
    updateCursor();

    editorTimer_.setSingleShot(true);
    connect(&editorTimer_, &QTimer::timeout, this, [this] {
        if (moving() || (buttonDown_ && dragging_)) return;
        if (pendingEditor_.kind == PressOutcome::DelayedSymbolEditor)
            emit symbolEditorRequested(pendingEditor_.index);
        else if (pendingEditor_.kind == PressOutcome::DelayedLabelEditor)
            emit labelEditorRequested(pendingEditor_.index);
        pendingEditor_ = {};
    });
    autoScrollDelay_.setSingleShot(true);
    autoScrollDelay_.setInterval(251);
    autoScrollRepeat_.setInterval(100);
    connect(&autoScrollDelay_, &QTimer::timeout, this, [this] {
        autoScrollStep();
        autoScrollRepeat_.start();
    });
    connect(&autoScrollRepeat_, &QTimer::timeout, this, &TFlowWindow::autoScrollStep);
}

TFlowWindow::~TFlowWindow() = default;

FlowDocument& TFlowWindow::document()
{
    return state_.doc;
}

const FlowDocument& TFlowWindow::document() const
{
    return state_.doc;
}

bool TFlowWindow::running() const
{
    return state_.programRunning();
}

bool TFlowWindow::moving() const
{
    return editor_->moving();
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

QRect TFlowWindow::deviceRect(const Rect& r) const
{
    PaintOptions o;
    o.zoomX = o.zoomY = zoom_;
    return FlowPainter::toDevice(r, o);
}

Point TFlowWindow::toDocument(const QPoint& p) const
{
    return {p.x() * 10 / zoom_, p.y() * 10 / zoom_};
}

void TFlowWindow::setLoading(bool loading)
{
    loading_ = loading;
    if (!loading) update();
}

void TFlowWindow::invalidate(const Rect& area)
{
    update(deviceRect(area));
}

void TFlowWindow::subroutinesChanged()
{
    emit runMenuChanged();
}

void TFlowWindow::edited()
{
    emit chartEdited();
}

QMenu* TFlowWindow::symbolMenu(int symbol)
{
    auto* menu = new QMenu(this);
    menu->setObjectName("symbolMenu");
    QAction* a = menu->addAction(QString::fromUtf8("Punto de parada"));
    a->setObjectName("id333");
    a->setCheckable(true);
    a->setChecked(symbol >= 0 && symbol < state_.doc.symbolCount() &&
                  state_.doc.symbol(symbol).breakpoint);
    connect(a, &QAction::triggered, this, [this, symbol] { emit breakpointRequested(symbol); });
    return menu;
}

// ---- Running marks ---------------------------------------------------------------

void TFlowWindow::markSymbol(int symbol, Mark mark)
{
    FlowDocument& doc = state_.doc;
    if (symbol < 0 || symbol >= doc.symbolCount()) return;
    std::int32_t s = draw::Normal;
    switch (mark) {
        case Mark::Active:
            s = draw::Active;
            break;
        case Mark::Calling:
            s = draw::Calling;
            break;
        case Mark::Error:
            s = draw::Selected;
            break;
        default:
            break;
    }
    FlowSymbol& sym = doc.symbolRef(symbol);
    if (sym.selected == s) return;
    sym.selected = s;
    invalidate(FlowPainter(doc, state_.colours).drawnArea(sym));
}

void TFlowWindow::markLine(int line, Mark mark)
{
    FlowDocument& doc = state_.doc;
    if (line < 0 || line >= doc.lineCount()) return;
    const std::int32_t s = mark == Mark::ActiveLine ? draw::ActiveLine : draw::Normal;
    FlowLine& l = doc.lineRef(line);
    if (l.selected == s) return;
    l.selected = s;
    // All the line draws, connector circles included.
    invalidate(FlowPainter(doc, state_.colours).drawnArea(l));
}

// ---- Painting ---------------------------------------------------------------------------

void TFlowWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintOptions o;
    o.zoomX = o.zoomY = zoom_;
    o.loading = loading_;
    o.movingSomething = moving();
    o.breakpoints = true;
    o.drawGhosts = [this](QPainter& p) { drawEditing(p); };
    o.drawHandLine = [this, &o](QPainter& p) {
        const auto& path = editor_->handPath();
        if (path.size() < 2) return;
        const std::uint32_t c = ColourSet::rgb(state_.colours.colours[ColourSet::OriginMark]);
        p.setPen(QPen(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF), 1));
        for (std::size_t i = 1; i < path.size(); ++i)
            p.drawLine(path[i - 1].x * o.zoomX / 10, path[i - 1].y * o.zoomY / 10,
                       path[i].x * o.zoomX / 10, path[i].y * o.zoomY / 10);
    };
    FlowPainter(state_.doc, state_.colours).paint(painter, o, event->rect());
}

// Ghost outlines, the rubber band and a group on the move, drawn with an
// exclusive-or pen in light grey over the chart.
void TFlowWindow::drawEditing(QPainter& p) const
{
    PaintOptions o;
    o.zoomX = o.zoomY = zoom_;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(QColor(192, 192, 192), 1));
    p.setBrush(Qt::NoBrush);
    if (const auto g = editor_->ghost())
        FlowPainter::drawSymbolOutline(p, editor_->ghostKind(), *g, o);
    if (const auto band = editor_->rubberBand())
        p.drawRect(deviceRect(*band).adjusted(0, 0, -1, -1));
    if (const auto offset = editor_->groupOffset()) {
        const FlowDocument& doc = state_.doc;
        for (const int i : doc.selectedSymbols()) {
            if (i < 0 || i >= doc.symbolCount()) continue;
            const FlowSymbol& s = doc.symbol(i);
            FlowPainter::drawSymbolOutline(p, s.kind, {s.x + offset->x, s.y + offset->y}, o);
        }
    }
    p.restore();
}

// Repaints where the chart or the editor's outlines are drawn differently
// now than when `before` was taken; the rest of the window stays as it is.
void TFlowWindow::repaintChanges(const DrawnState& before, bool chart)
{
    const DrawnState after(state_.doc, *editor_, chart);
    const FlowPainter painter(state_.doc, state_.colours);
    for (const Rect& r : DrawnState::changes(before, after, painter)) invalidate(r);
}

// ---- Keys, mouse, drops ---------------------------------------------------------------------

void TFlowWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        emit runKeyPressed();
    else if (event->key() == Qt::Key_Space)
        emit stepKeyPressed();
    else
        QWidget::keyPressEvent(event);
}

void TFlowWindow::documentReplaced()
{
    editor_->documentReplaced();
    editorTimer_.stop();
    pendingEditor_ = {};
    buttonDown_ = false;
    dragging_ = false;
    hoverPrompt_.clear();
    updateCursor();
    update();
    emit editingChanged();
}

bool TFlowWindow::chooseTool(EditorTool tool)
{
    const DrawnState before(state_.doc, *editor_, true);
    if (!editor_->chooseTool(tool, running())) return false;
    updateCursor();
    repaintChanges(before, true);
    emit editingChanged();
    return true;
}

void TFlowWindow::updateCursor(bool copying)
{
    if (copying)
        setCursor(Qt::DragCopyCursor);
    else if (editor_->tool() == EditorTool::MoveEdit)
        setCursor(Qt::SizeAllCursor);
    else
        setCursor(Qt::ArrowCursor);
}

void TFlowWindow::handleOutcome(const PressOutcome& outcome)
{
    editorTimer_.stop();
    pendingEditor_ = {};
    switch (outcome.kind) {
        case PressOutcome::OpenSymbolEditor:
            emit symbolEditorRequested(outcome.index);
            break;
        case PressOutcome::OpenLabelEditor:
            emit labelEditorRequested(outcome.index);
            break;
        case PressOutcome::DelayedSymbolEditor:
        case PressOutcome::DelayedLabelEditor:
            pendingEditor_ = outcome;
            editorTimer_.start(kEditorDelayMs);
            break;
        case PressOutcome::None:
            break;
    }
}

void TFlowWindow::mousePressEvent(QMouseEvent* event)
{
    const Point p = toDocument(event->position().toPoint());
    const DrawnState before(state_.doc, *editor_, true);
    if (event->button() == Qt::LeftButton) {
        handleOutcome(editor_->press(p, running()));
    } else if (event->button() == Qt::RightButton) {
        handleOutcome(editor_->rightPress(p, running()));
    } else {
        return;
    }
    pressPoint_ = event->position().toPoint();
    buttonDown_ = true;
    dragging_ = false;
    updateCursor();
    repaintChanges(before, true);
    emit editingChanged();
}

void TFlowWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const Point p = toDocument(pos);
    if (buttonDown_ && !dragging_ && !running()) {
        const QPoint d = pos - pressPoint_;
        if (d.x() * d.x() + d.y() * d.y() > kDragDistanceSquared) {
            dragging_ = true;
            editorTimer_.stop();
            const bool copy = event->modifiers() & Qt::ShiftModifier;
            const DrawnState before(state_.doc, *editor_, true);
            editor_->startDrag(toDocument(pressPoint_), copy, running());
            updateCursor(copy && editor_->moveState() == kMoveGroupCopy);
            repaintChanges(before, true);
        }
    }
    // A move changes only the editor's outlines.
    const DrawnState before(state_.doc, *editor_, false);
    editor_->pointerMoved(p);
    repaintChanges(before, false);
    if (!buttonDown_ && editor_->tool() == EditorTool::MoveEdit && !running()) {
        // Rewritten only when what lies under the pointer changes.
        std::string prompt = editor_->hoverPrompt(p);
        if (prompt != hoverPrompt_) {
            hoverPrompt_ = std::move(prompt);
            messages_.status(hoverPrompt_);
        }
    }
    if (autoScroll_) autoScrollCheck(pos);
}

void TFlowWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (!buttonDown_) return;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
    buttonDown_ = false;
    const DrawnState before(state_.doc, *editor_, true);
    const bool dragged = dragging_;
    if (dragging_ || editor_->moving()) editor_->release(toDocument(event->position().toPoint()));
    dragging_ = false;
    updateCursor();
    repaintChanges(before, true);
    emit editingChanged();
    // A right click on a symbol offers its menu instead of its editor.
    if (event->button() == Qt::RightButton && !dragged && !editor_->moving()) {
        const int s = editor_->symbolUnder(toDocument(event->position().toPoint()));
        if (s < 0) return;
        editorTimer_.stop();
        pendingEditor_ = {};
        // Shown without a loop of its own: the window goes on as it was.
        QMenu* menu = symbolMenu(s);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPosition().toPoint());
    }
}

void TFlowWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click acts as a second press.
    mousePressEvent(event);
}

void TFlowWindow::autoScrollCheck(const QPoint& pos)
{
    if (!scroller_) return;
    const QPoint inView = pos - QPoint(scroller_->horizontalScrollBar()->value(),
                                       scroller_->verticalScrollBar()->value());
    const QSize view = scroller_->viewport()->size();
    // A pointer outside the view (held there by a pressed button) is out of
    // the band as well.
    const bool inBand = QRect(QPoint(0, 0), view).contains(inView) &&
                        (inView.x() < kAutoScrollBand || inView.y() < kAutoScrollBand ||
                         inView.x() >= view.width() - kAutoScrollBand ||
                         inView.y() >= view.height() - kAutoScrollBand);
    autoScrollPos_ = inView;
    if (!inBand) {
        stopAutoScroll();
        return;
    }
    if (!autoScrollDelay_.isActive() && !autoScrollRepeat_.isActive()) autoScrollDelay_.start();
}

void TFlowWindow::stopAutoScroll()
{
    autoScrollDelay_.stop();
    autoScrollRepeat_.stop();
}

void TFlowWindow::leaveEvent(QEvent* event)
{
    // Leaving the window through the band ends the scrolling too.
    stopAutoScroll();
    QWidget::leaveEvent(event);
}

void TFlowWindow::autoScrollStep()
{
    if (!scroller_) return;
    const QSize view = scroller_->viewport()->size();
    const QPoint p = autoScrollPos_;
    QScrollBar* h = scroller_->horizontalScrollBar();
    QScrollBar* v = scroller_->verticalScrollBar();
    if (p.x() >= 1 && p.x() < kAutoScrollBand) h->setValue(h->value() - kAutoScrollUnit);
    if (p.y() >= 1 && p.y() < kAutoScrollBand) v->setValue(v->value() - kAutoScrollUnit);
    if (p.x() >= view.width() - kAutoScrollBand) h->setValue(h->value() + kAutoScrollUnit);
    if (p.y() >= view.height() - kAutoScrollBand) v->setValue(v->value() + kAutoScrollUnit);
}

void TFlowWindow::setAutoScroll(bool on)
{
    autoScroll_ = on;
    if (!on) stopAutoScroll();
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
