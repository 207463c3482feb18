#pragma once
// Draws the graph stack: the panes by their kinds (analogue values on scaled
// y axes, input and output blocks, signed motor blocks, frequency bars), their
// axes, grids and legends, and the window's own time axis while no analogue
// graph carries one. The same drawing serves the window, the clipboard copy
// and the printed page; the window also asks it for the newest sample only.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <array>

#include "datalog/capture_data.h"
#include "datalog/graph_stack.h"

class QPainter;

namespace tarvel {

class SensorChannels;

// The light grey of the separators, the empty window and the dialogs.
inline const QColor kGraphGrey(192, 192, 192);
// The colour of channel index i within its group.
QColor channelColour(int index);

// What the legends write for the analogue channels and the I/O channels.
struct GraphLabels {
    enum class Sensor { Known, Percent, None };
    struct Channel {
        Sensor sensor = Sensor::Percent;
        QString name;
        QString unit;
    };
    std::array<Channel, kSensorChannels> analogue{};
    bool numbersFromZero = false;  // inputs and outputs numbered 0-7

    static GraphLabels of(const SensorChannels& sensors, bool numbersFromZero);
};

class GraphPainter {
public:
    enum class Pens { Screen, Printer };

    GraphPainter(const CaptureRecord& record, const GraphLabels& labels);

    // The window: the grey empty window with its two instruction lines, or
    // the separators, the panes and the time axis.
    void paintWindow(QPainter& p, int width, int height) const;
    // The panes and, while no analogue channel is shown, the time axis; no
    // background or separators.
    void drawGraph(QPainter& p, int width, int height, Pens pens) const;
    // What the newest sample adds (it lies at the index sampleCount, not yet
    // counted), or with frequencyOnly the bars of the newest sample's bin.
    // The area drawn on.
    QRect drawNewest(QPainter& p, int width, int height, bool frequencyOnly) const;
    // The part of frequency graph g's panes that its bars and axis top use.
    QRect frequencyArea(int g, int width, int height) const;

private:
    struct Pane {
        int kind;
        int top;     // a
        int height;  // b
    };
    struct AnalogueScale;

    void drawPane(QPainter& p, const Pane& pane, int width, Pens pens) const;
    void drawAnalogue(QPainter& p, const Pane& pane, int width, Pens pens) const;
    void drawAnalogueAxis(QPainter& p, const Pane& pane, int g, int width, Pens pens) const;
    void drawAnalogueLegend(QPainter& p, const Pane& pane, int g) const;
    void drawBits(QPainter& p, const Pane& pane, int width) const;
    void drawMotors(QPainter& p, const Pane& pane, int width) const;
    void drawFrequency(QPainter& p, const Pane& pane, int width) const;
    void drawFrequencyBin(QPainter& p, const Pane& pane, int bin, int binCount, int width) const;
    void drawTimeAxis(QPainter& p, int width, int height) const;
    void drawTimeLabel(QPainter& p, int centreX, int top, int width, const QString& text) const;
    void drawIoAxis(QPainter& p, const Pane& pane) const;
    // The legend's word and the channels of the pane in their colours.
    void drawChannelLegend(QPainter& p, const Pane& pane, const char* word) const;
    void newestOfPane(QPainter& p, const Pane& pane, int width, int n) const;
    int x(std::uint32_t t, int width) const;

    const CaptureRecord& r_;
    const GraphLabels& labels_;
    QFont normal_;
    QFont bold_;
};

}  // namespace tarvel
