#pragma once
// The graph window ("Gráfica de Tarvel"): the stack of graphs of the capture,
// drawn whole into a picture kept beside the window and then sample by sample
// while a run captures. Clicks place the channel picked in the toolbox, pick
// the axis channel of an analogue graph or open the y-limit and frequency-type
// dialogs; the values cursor reads the samples back into the value displays.
// Closing only hides the window and its toolbox.

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

#include "datalog/data_capture.h"
#include "datalog/ui/graph_painter.h"
#include "sensors/sensor_channels.h"

class QDialog;

namespace tarvel {

class Messages;
class ProgramState;
class TGraphPaneDialog;

class TGraphWindow final : public QWidget, public CaptureObserver, public SensorObserver {
    Q_OBJECT
public:
    TGraphWindow(ProgramState& state, Messages& messages, QWidget* parent = nullptr);
    ~TGraphWindow() override;

    TGraphPaneDialog* toolbox() const { return toolbox_; }
    // Where the window maximises to (the main window's frame).
    void setMainWindow(QWidget* main) { main_ = main; }

    // ShowGraph: the window and, against its left edge, the toolbox.
    void showGraph();
    void hideToolbox() override;
    // The inputs, outputs and frequency icons follow the numbering.
    void relabel();

    // ---- Commands ---------------------------------------------------------------
    // "&Valores": the values cursor on or off.
    void setValuesMode(bool on);
    bool valuesMode() const;
    // "Rejilla &Tosca" / "Rejilla &Fina".
    void toggleGrid(int mode);
    // "Copiar &gráfica": the stack as SVG and PNG on the clipboard, 400 wide
    // and 60 a unit of weight high. False when there was nothing to copy.
    bool copyGraph();
    // The size the clipboard copy is drawn at.
    QSize copySize() const;
    // DrawGraph for the printout and the copy.
    void drawGraph(QPainter& p, int width, int height, GraphPainter::Pens pens) const;

    // ---- Clicks (also the tests' way in) -------------------------------------------
    void leftClick(QPoint at);
    void rightClick(QPoint at);
    void moveCursorTo(QPoint at);
    // A toolbox icon was clicked.
    void iconClicked(int icon);
    // The values cursor's x (from the window's left), or -1.
    int cursorX() const { return cursorX_; }

    // The window system's maximise and minimise commands.
    void systemMaximise();
    void systemMinimise();

    // Runs the y-limit and frequency-type dialogs; tests answer them.
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    // ---- CaptureObserver ------------------------------------------------------------
    void repaintGraph() override;
    void drawNewest(bool frequencyOnly) override;
    void repaintFrequencyPanes(int g) override;
    void valuesModeEnded() override;
    void captureReplaced() override;
    // ---- SensorObserver ---------------------------------------------------------------
    void sensorChanged(int channel) override;

signals:
    // Values mode went on or off (the monitors stop testing, or clear their texts).
    void valuesModeChanged(bool on);
    // The cursor moved to a new time: the value displays show the sensors' values.
    void valuesShown();
    // The layout or the data changed: the menus look again.
    void graphChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Samples taken while hidden were not drawn.
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    GraphLabels labels() const;
    SensorLimits limits() const;
    // Draws the whole stack into the kept picture and the window.
    void redraw();
    void placeToolbox();
    // Where the values cursor's time is written.
    QRect timeBox(const QString& text) const;
    void layoutChanged();

    ProgramState& state_;
    DataCapture& capture_;
    Messages& messages_;
    TGraphPaneDialog* toolbox_ = nullptr;
    QWidget* main_ = nullptr;
    QImage canvas_;
    GraphLabels labels_;
    int cursorX_ = -1;
    int cursorOffset_ = -1;  // the last x' from the time origin
    std::uint32_t cursorTime_ = 0;
    QRect remembered_;  // the window's own place before it covered the main window
    bool insertionCursor_ = false;
    // The sensor each channel had when last seen: only a new sensor brings new limits.
    std::array<int, kSensorChannels> sensorOf_{};
    DialogRunner runDialog_;
};

}  // namespace tarvel
