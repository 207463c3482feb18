#include "datalog/ui/graph_window.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "datalog/capture_time.h"
#include "datalog/graph_stack.h"
#include "datalog/ui/graph_count_type_dialog.h"
#include "datalog/ui/graph_pane_dialog.h"
#include "datalog/ui/graph_values_dialog.h"
#include "engine/program_state.h"
#include "interfaces/interface_settings.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

// Where the window first stands, and its first size.
const QRect kFirstPlace(250, 100, 400, 400);
// The clipboard copy: this wide, and so high for each unit of weight.
constexpr int kCopyWidth = 400;
constexpr int kCopyHeightPerWeight = 60;
// The box of the values cursor's time, at the top right.
constexpr int kTimeBoxWidth = 100;
constexpr int kTimeBoxHeight = 24;

bool isAnalogue(int graphKind)
{
    return kindIn(graphKind, GraphKind::FirstAnalogue, GraphKind::LastAnalogue);
}

}  // namespace

TGraphWindow::TGraphWindow(ProgramState& state, Messages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), capture_(state.capture), messages_(messages)
{
    setObjectName("graphWindow");
    setWindowTitle(QString::fromUtf8("Gráfica de Tarvel"));
    setGeometry(kFirstPlace);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    toolbox_ = new TGraphPaneDialog(parent);
    toolbox_->hide();
    connect(toolbox_, &TGraphPaneDialog::iconClicked, this, &TGraphWindow::iconClicked);
    runDialog_ = [](QDialog& d) { return d.exec(); };
    for (int c = 0; c < kSensorChannels; ++c)
        sensorOf_[static_cast<std::size_t>(c)] = state_.sensors.channel(c).sensor;
    capture_.setObserver(this);
    state_.sensors.addObserver(this);
    hide();
}

TGraphWindow::~TGraphWindow()
{
    capture_.setObserver(nullptr);
    state_.sensors.removeObserver(this);
}

GraphLabels TGraphWindow::labels() const
{
    return GraphLabels::of(state_.sensors, numberingFromZero(state_.io.settings.numbering));
}

SensorLimits TGraphWindow::limits() const
{
    SensorLimits l{};
    for (int c = 0; c < kSensorChannels; ++c) {
        const ChannelSensor& s = state_.sensors.channel(c);
        if (s.sensor < 0) continue;
        l[static_cast<std::size_t>(c)] = {true, s.calibration.minimum, s.calibration.maximum};
    }
    return l;
}

// ---- Showing -------------------------------------------------------------------------

void TGraphWindow::showGraph()
{
    show();
    raise();
    relabel();
    toolbox_->showStates(capture_.data.layout);
    // Shown first, so that its frame counts in its width.
    toolbox_->show();
    placeToolbox();
}

void TGraphWindow::placeToolbox()
{
    const QRect me = frameGeometry();
    const int x = std::max(0, me.left() - toolbox_->frameGeometry().width());
    toolbox_->move(x, me.top());
}

void TGraphWindow::hideToolbox()
{
    toolbox_->hide();
}

void TGraphWindow::relabel()
{
    toolbox_->relabel(numberingFromZero(state_.io.settings.numbering));
}

void TGraphWindow::closeEvent(QCloseEvent* event)
{
    toolbox_->hide();
    hide();
    event->ignore();
}

void TGraphWindow::systemMaximise()
{
    if (!main_) return;
    const QRect target = main_->frameGeometry();
    if (frameGeometry() != target) remembered_ = geometry();
    // The frame of this window over the main window's frame.
    const QSize edges = frameGeometry().size() - size();
    move(target.topLeft());
    resize(target.size() - edges);
    if (toolbox_->isVisible()) placeToolbox();
}

void TGraphWindow::systemMinimise()
{
    if (remembered_.width() > 0)
        setGeometry(remembered_);
    else
        showMinimized();
    if (toolbox_->isVisible()) placeToolbox();
}

void TGraphWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    // The window system's maximise covers the main window instead; its
    // minimise goes back to the window's own place when it has one.
    if (windowState() & Qt::WindowMaximized) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        systemMaximise();
    } else if ((windowState() & Qt::WindowMinimized) && remembered_.width() > 0) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        systemMinimise();
    }
}

// ---- Drawing ----------------------------------------------------------------------------

void TGraphWindow::redraw()
{
    labels_ = labels();
    if (canvas_.size() != size()) canvas_ = QImage(size(), QImage::Format_RGB32);
    if (!canvas_.isNull()) {
        QPainter p(&canvas_);
        GraphPainter(capture_.data, labels_).paintWindow(p, width(), height());
    }
    update();
}

void TGraphWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    cursorOffset_ = -1;
    redraw();
}

void TGraphWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    redraw();
}

void TGraphWindow::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    if (canvas_.size() != size()) {
        labels_ = labels();
        canvas_ = QImage(size(), QImage::Format_RGB32);
        QPainter c(&canvas_);
        GraphPainter(capture_.data, labels_).paintWindow(c, width(), height());
    }
    p.drawImage(event->rect(), canvas_, event->rect());
    if (!capture_.valuesMode() || cursorX_ < 0) return;
    // The cursor inverts what lies under it.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(cursorX_, 10, cursorX_, height() - 10);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    p.setFont(f);
    const QString time = fromCp1252(formatDuration(cursorTime_));
    p.fillRect(timeBox(time), kGraphGrey);
    p.setPen(Qt::black);
    p.drawText(timeBox(time), Qt::AlignCenter, time);
}

QRect TGraphWindow::timeBox(const QString& text) const
{
    // The box grows to the left for times wider than it.
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    const int w = std::max(kTimeBoxWidth, QFontMetrics(f).horizontalAdvance(text) + 8);
    return {width() - w, 0, w, kTimeBoxHeight};
}

void TGraphWindow::repaintGraph()
{
    redraw();
}

void TGraphWindow::drawNewest(bool frequencyOnly)
{
    if (!isVisible() || capture_.data.layout.totalWeight <= 0) return;
    if (canvas_.size() != size()) {
        redraw();
        return;
    }
    QPainter p(&canvas_);
    const QRect area =
        GraphPainter(capture_.data, labels_).drawNewest(p, width(), height(), frequencyOnly);
    update(area);
}

void TGraphWindow::repaintFrequencyPanes(int)
{
    redraw();
}

void TGraphWindow::drawGraph(QPainter& p, int width, int height, GraphPainter::Pens pens) const
{
    const GraphLabels l = labels();
    GraphPainter(capture_.data, l).drawGraph(p, width, height, pens);
}

// ---- The capture and the sensors ------------------------------------------------------

void TGraphWindow::captureReplaced()
{
    if (!isVisible()) showGraph();
    toolbox_->showStates(capture_.data.layout);
    redraw();
    emit graphChanged();
}

void TGraphWindow::sensorChanged(int channel)
{
    if (channel < 0 || channel >= kSensorChannels) return;
    const ChannelSensor& s = state_.sensors.channel(channel);
    // A new name or unit only changes the legend; a new sensor brings its limits.
    int& known = sensorOf_[static_cast<std::size_t>(channel)];
    if (known != s.sensor) {
        known = s.sensor;
        capture_.data.layout.sensorChanged(channel, s.sensor >= 0, s.calibration.minimum,
                                           s.calibration.maximum);
    }
    redraw();
}

void TGraphWindow::layoutChanged()
{
    toolbox_->showStates(capture_.data.layout);
    redraw();
    emit graphChanged();
}

// ---- Clicks ------------------------------------------------------------------------------

void TGraphWindow::iconClicked(int icon)
{
    GraphStack(capture_.data).iconClicked(icon);
    layoutChanged();
}

void TGraphWindow::leftClick(QPoint at)
{
    GraphLayout& l = capture_.data.layout;
    const StackTarget target = targetAt(l, height(), at.y());
    if (target.kind == StackTarget::Nothing) return;
    GraphStack stack(capture_.data);
    if (l.selectedIcon == kNoIcon) {
        // A click on an analogue graph's y axis hands the axis to its next channel.
        if (target.kind == StackTarget::Pane && at.x() < kPlotLeft) {
            const int graphKind = l.paneKind[static_cast<std::size_t>(target.slot)];
            if (isAnalogue(graphKind) && stack.cycleAxisChannel(graphKind)) redraw();
        }
        return;
    }
    if (stack.place(target, limits(), messages_)) layoutChanged();
}

void TGraphWindow::rightClick(QPoint at)
{
    if (at.x() >= kPlotLeft) {
        showGraph();
        return;
    }
    GraphLayout& l = capture_.data.layout;
    const StackTarget target = targetAt(l, height(), at.y());
    if (target.kind != StackTarget::Pane || l.totalWeight <= 0) return;
    const int graphKind = l.paneKind[static_cast<std::size_t>(target.slot)];
    if (isAnalogue(graphKind)) {
        TGraphValuesDialog dialog(l, graphKind, messages_, this);
        if (runDialog_(dialog) == QDialog::Accepted) redraw();
    } else if (kindIn(graphKind, GraphKind::FirstFrequency, GraphKind::LastFrequency)) {
        TGraphCountTypeDialog dialog(capture_.data.frequency.frequencyMode, this);
        if (runDialog_(dialog) != QDialog::Accepted) return;
        GraphStack stack(capture_.data);
        for (int g = 0; g < kFrequencyGraphs; ++g) stack.recomputeFrequencyMax(g);
        redraw();
    }
}

void TGraphWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) leftClick(event->position().toPoint());
    if (event->button() == Qt::RightButton) rightClick(event->position().toPoint());
}

void TGraphWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    moveCursorTo(at);
    const GraphLayout& l = capture_.data.layout;
    const StackTarget t = targetAt(l, height(), at.y());
    const bool insertion =
        l.selectedIcon != kNoIcon && l.totalWeight > 0 && t.kind == StackTarget::Insertion;
    if (insertion != insertionCursor_) {
        insertionCursor_ = insertion;
        if (insertion)
            setCursor(Qt::SplitVCursor);
        else
            unsetCursor();
    }
}

// ---- Values mode ---------------------------------------------------------------------------

bool TGraphWindow::valuesMode() const
{
    return capture_.valuesMode();
}

void TGraphWindow::setValuesMode(bool on)
{
    if (on == capture_.valuesMode()) return;
    capture_.setValuesMode(on);
    if (on) {
        cursorOffset_ = 0;
        cursorX_ = kPlotLeft;
        cursorTime_ = 0;
        update();
    } else {
        cursorOffset_ = -1;
        cursorX_ = -1;
        state_.sensors.releaseValues();
        redraw();
    }
    emit valuesModeChanged(on);
}

void TGraphWindow::valuesModeEnded()
{
    cursorOffset_ = -1;
    cursorX_ = -1;
    state_.sensors.releaseValues();
    update();
    emit valuesModeChanged(false);
}

void TGraphWindow::moveCursorTo(QPoint at)
{
    if (!capture_.valuesMode()) return;
    const int plot = std::max(0, width() - 2 * kPlotLeft);
    const int offset = std::clamp(at.x() - kPlotLeft, 0, plot);
    if (offset == cursorOffset_) return;
    const int oldX = cursorX_;
    cursorOffset_ = offset;
    cursorX_ = offset + kPlotLeft;
    cursorTime_ = cursorTime(offset, capture_.data.state.span, width());
    const CaptureBuffer& b = capture_.data.buffer;
    const int j = sampleAtTime(b, cursorTime_);
    if (j >= 0) {
        std::array<double, kSensorChannels> values{};
        for (int c = 0; c < kSensorChannels; ++c)
            values[static_cast<std::size_t>(c)] =
                b.analogue[static_cast<std::size_t>(c)][static_cast<std::size_t>(j)];
        state_.sensors.holdValues(values);
    } else {
        state_.sensors.holdUnknown();
    }
    if (oldX >= 0) update(oldX - 1, 0, 3, height());
    update(cursorX_ - 1, 0, 3, height());
    update(0, 0, width(), kTimeBoxHeight);
    emit valuesShown();
}

// ---- Grid and copy ---------------------------------------------------------------------------

void TGraphWindow::toggleGrid(int mode)
{
    const int now = capture_.data.layout.gridMode;
    capture_.setGridMode(now == mode ? kGridNone : mode);
    emit graphChanged();
}

QSize TGraphWindow::copySize() const
{
    return {kCopyWidth, capture_.data.layout.totalWeight * kCopyHeightPerWeight};
}

bool TGraphWindow::copyGraph()
{
    if (capture_.data.layout.totalWeight <= 0) return false;
    const QSize size = copySize();
    QByteArray svg;
    {
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(windowTitle());
        QPainter p(&generator);
        drawGraph(p, size.width(), size.height(), GraphPainter::Pens::Screen);
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        drawGraph(p, size.width(), size.height(), GraphPainter::Pens::Screen);
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), svg);
    data->setImageData(image);
    QApplication::clipboard()->setMimeData(data);
    return true;
}

}  // namespace tarvel
