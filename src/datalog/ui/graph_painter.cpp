#include "datalog/ui/graph_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_text.h"
#include "sensors/sensor_channels.h"

namespace tarvel {

namespace {

constexpr int kAxisX = 31;  // the y axes' ticks start here
constexpr int kLegendX = 15;
constexpr int kLabelBox = 70;
// Guards against a file's limits asking for an absurd number of lines.
constexpr int kMostLines = 2000;

const QColor kMajorGrey(128, 128, 128);

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

QFont arial(int weight)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

QString number(double v, int decimals)
{
    return QString::asprintf("%.*f", std::clamp(decimals, 0, kMaxLabelDecimals), v);
}

// The channels of one group that a graph kind shows.
template <std::size_t N>
int channelsOf(const std::array<int, N>& graphOf, int graphKind, std::array<int, N>& out)
{
    int count = 0;
    for (std::size_t c = 0; c < N; ++c)
        if (graphOf[c] == graphKind) out[at(count++)] = static_cast<int>(c);
    return count;
}

}  // namespace

QColor channelColour(int index)
{
    static const std::array<QColor, 8> colours{
        QColor(255, 0, 0), QColor(0, 0, 255),   QColor(0, 255, 0),     QColor(255, 0, 255),
        QColor(0, 0, 0),   QColor(255, 255, 0), QColor(127, 127, 127), QColor(0, 255, 255)};
    return colours[at(std::clamp(index, 0, 7))];
}

GraphLabels GraphLabels::of(const SensorChannels& sensors, bool numbersFromZero)
{
    GraphLabels l;
    l.numbersFromZero = numbersFromZero;
    for (int c = 0; c < kSensorChannels; ++c) {
        const ChannelSensor& s = sensors.channel(c);
        Channel& ch = l.analogue[at(c)];
        if (s.sensor >= 0) {
            ch.sensor = Sensor::Known;
            ch.name = fromCp1252(s.calibration.name);
            ch.unit = fromCp1252(s.calibration.shortUnits);
        } else {
            ch.sensor = s.sensor == kSensorNone ? Sensor::None : Sensor::Percent;
        }
    }
    return l;
}

// The scaling of one analogue channel into a pane.
struct GraphPainter::AnalogueScale {
    double e = 0, p = 0, min = 0, range = 1;
    int top = 0, bottom = 0;

    AnalogueScale(const GraphLayout& l, int channel, int a, int b)
        : e(a + b - 30), p(b - 60), min(l.yMin[at(channel)]), top(a), bottom(a + b)
    {
        range = l.yMax[at(channel)] - min;
        if (range == 0.0 || !std::isfinite(range)) range = 1.0;
    }
    // The y of a value before clamping.
    double raw(double v) const { return e + p * min / range - p * v / range; }
    int y(double v) const
    {
        const double r = raw(v);
        if (!std::isfinite(r)) return bottom;
        return static_cast<int>(std::clamp(r, double(top), double(bottom)));
    }
};

GraphPainter::GraphPainter(const CaptureRecord& record, const GraphLabels& labels)
    : r_(record), labels_(labels), normal_(arial(400)), bold_(arial(700))
{
}

int GraphPainter::x(std::uint32_t t, int width) const
{
    return xOfTime(t, r_.state.span, width);
}

void GraphPainter::paintWindow(QPainter& p, int width, int height) const
{
    const GraphLayout& l = r_.layout;
    if (l.totalWeight <= 0) {
        p.fillRect(0, 0, width, height, kGraphGrey);
        p.setFont(bold_);
        p.setPen(Qt::black);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
        p.drawText(QRect(10, 20, width, 20), flags,
                   QString::fromUtf8("Haga clic en un icono en la caja de herramientas"));
        p.drawText(QRect(10, 40, width, 20), flags,
                   QString::fromUtf8("Luego haga clic en la Ventana Gráficas"));
        return;
    }
    p.fillRect(0, 0, width, height, Qt::white);
    const StackGeometry g = stackGeometry(l, height);
    int strip = 0;
    for (int k = 0; k < g.count; ++k) {
        const PaneBox& box = g.panes[at(k)];
        p.fillRect(0, strip, width, box.top - strip, kGraphGrey);
        strip = box.top + box.height;
    }
    p.fillRect(0, strip, width, kSeparator, kGraphGrey);
    drawGraph(p, width, height, Pens::Screen);
}

void GraphPainter::drawGraph(QPainter& p, int width, int height, Pens pens) const
{
    const GraphLayout& l = r_.layout;
    if (l.totalWeight <= 0) return;
    const StackGeometry g = stackGeometry(l, height);
    for (int k = 0; k < g.count; ++k) {
        const PaneBox& box = g.panes[at(k)];
        drawPane(p, Pane{box.kind, box.top, box.height}, width, pens);
    }
    if (l.analogueShown == 0) drawTimeAxis(p, width, height);
}

void GraphPainter::drawPane(QPainter& p, const Pane& pane, int width, Pens pens) const
{
    p.save();
    if (kindIn(pane.kind, GraphKind::FirstAnalogue, GraphKind::LastAnalogue))
        drawAnalogue(p, pane, width, pens);
    else if (kindIn(pane.kind, GraphKind::FirstInput, GraphKind::LastOutput))
        drawBits(p, pane, width);
    else if (kindIn(pane.kind, GraphKind::FirstMotor, GraphKind::LastMotor))
        drawMotors(p, pane, width);
    else if (kindIn(pane.kind, GraphKind::FirstFrequency, GraphKind::LastFrequency))
        drawFrequency(p, pane, width);
    p.restore();
}

// ---- Analogue graphs ----------------------------------------------------------------

void GraphPainter::drawAnalogue(QPainter& p, const Pane& pane, int width, Pens pens) const
{
    const GraphLayout& l = r_.layout;
    const int g = pane.kind;
    drawAnalogueAxis(p, pane, g, width, pens);
    drawAnalogueLegend(p, pane, g);
    const CaptureBuffer& b = r_.buffer;
    const int n = std::min(b.sampleCount, kCaptureCapacity);
    if (n <= 0) return;
    QPolygon line(n);
    for (int c = 0; c < kSensorChannels; ++c) {
        if (l.analogueGraph[at(c)] != g) continue;
        const AnalogueScale s(l, c, pane.top, pane.height);
        const auto& values = b.analogue[at(c)];
        line.setPoint(0, kPlotLeft, s.y(values[0]));
        for (int j = 1; j < n; ++j) line.setPoint(j, x(b.time[at(j)], width), s.y(values[at(j)]));
        p.setPen(QPen(channelColour(c), 1));
        p.drawPolyline(line);
    }
}

void GraphPainter::drawAnalogueAxis(QPainter& p, const Pane& pane, int g, int width,
                                    Pens pens) const
{
    const GraphLayout& l = r_.layout;
    const int c = std::clamp(l.axisChannel[at(g)], 0, kSensorChannels - 1);
    const int a = pane.top;
    const AnalogueScale s(l, c, a, pane.height);
    const int e = static_cast<int>(s.e);
    const double yMin = l.yMin[at(c)], yMax = l.yMax[at(c)];
    const int zero = static_cast<int>(std::clamp(s.raw(0.0), double(a + 30), double(e)));
    const bool printing = pens == Pens::Printer;
    const QPen axisPen(Qt::black, 0);
    const QPen minorGrid = printing ? QPen(Qt::black, 0, Qt::DotLine) : QPen(kGraphGrey, 0);
    const QPen majorGrid = printing ? QPen(Qt::black, 0, Qt::DashLine) : QPen(kMajorGrey, 0);
    const bool grid = l.gridMode != kGridNone;

    // Horizontal ticks at the multiples of the step within the limits.
    const double step = std::max(1, l.yStep[at(g)]);
    double v = std::ceil(yMin / step) * step;
    if (v == yMin) v += step;
    for (int lines = 0; v < yMax && lines < kMostLines; v += step, ++lines) {
        if (v == 0.0) continue;
        const int y = static_cast<int>(s.raw(v));
        p.setPen(axisPen);
        p.drawLine(kAxisX, y, kPlotLeft, y);
        if (!grid) continue;
        p.setPen(minorGrid);
        p.drawLine(kPlotLeft + 1, y, width - kPlotLeft, y);
    }
    // Vertical grid lines at the time grid's steps, every so many darker.
    if (grid && l.gridStep > 0) {
        const std::uint32_t lines = std::min<std::uint32_t>(r_.state.span / l.gridStep, kMostLines);
        for (std::uint32_t i = 1; i <= lines; ++i) {
            const bool major = l.gridMajorEvery > 0 && i % std::uint32_t(l.gridMajorEvery) == 0;
            p.setPen(major ? majorGrid : minorGrid);
            const int gx = x(i * l.gridStep, width);
            p.drawLine(gx, a + 30, gx, e);
        }
    }
    p.setPen(axisPen);
    p.drawPolyline(QPolygon({QPoint(kAxisX, a + 30), QPoint(kPlotLeft, a + 30),
                             QPoint(kPlotLeft, e), QPoint(kAxisX, e)}));
    p.drawLine(kAxisX, zero, width - kPlotLeft, zero);
    p.drawLine(width - kPlotLeft, zero, width - kPlotLeft, zero + 4);
    p.drawLine(width / 2, zero, width / 2, zero + 4);

    const int decimals = l.labelDecimals[at(g)];
    const int right = Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip;
    const int centre = Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip;
    p.setFont(normal_);
    drawTimeLabel(p, width - kLabelBox / 2, zero + 4, width, fromCp1252(r_.state.endLabel));
    drawTimeLabel(p, width / 2, zero + 4, width, fromCp1252(r_.state.middleLabel));
    p.drawText(QRect(0, a + 20, kAxisX, 20), right, number(yMax, decimals));
    if (e - zero > 10) p.drawText(QRect(0, e - 10, kAxisX, 20), right, number(yMin, decimals));
    if (zero - a > 40)
        p.drawText(QRect(0, zero - 10, kAxisX, 20), right,
                   yMin > 0 ? number(yMin, decimals) : QStringLiteral("0"));
    p.setFont(bold_);
    p.drawText(QRect(3 * width / 4 - 38, zero + 4, 40, 18), centre, QStringLiteral("Tiempo"));
}

void GraphPainter::drawAnalogueLegend(QPainter& p, const Pane& pane, int g) const
{
    const GraphLayout& l = r_.layout;
    const int axis = l.axisChannel[at(g)];
    int lx = kLegendX;
    auto piece = [&](int c, bool first) {
        const GraphLabels::Channel& ch = labels_.analogue[at(c)];
        const QString lead = first ? QString() : QStringLiteral("  ");
        QString text;
        if (ch.sensor == GraphLabels::Sensor::Known)
            text = lead + QStringLiteral("%1 %2 (%3)").arg(c + 1).arg(ch.name, ch.unit);
        else
            text = lead + QStringLiteral("%1 %2").arg(c + 1).arg(
                              ch.sensor == GraphLabels::Sensor::None ? "Ninguno" : "Porcentaje");
        p.setFont(first ? bold_ : normal_);
        p.setPen(channelColour(c));
        const QFontMetrics m(p.font());
        p.drawText(QPoint(lx, pane.top + 1 + m.ascent()), text);
        lx += m.horizontalAdvance(text);
    };
    if (axis >= 0 && axis < kSensorChannels && l.analogueGraph[at(axis)] == g) piece(axis, true);
    for (int c = 0; c < kSensorChannels; ++c)
        if (c != axis && l.analogueGraph[at(c)] == g) piece(c, false);
}

// ---- Inputs, outputs and motors --------------------------------------------------------

void GraphPainter::drawIoAxis(QPainter& p, const Pane& pane) const
{
    const int a = pane.top, b = pane.height;
    p.setPen(QPen(Qt::black, 0));
    p.drawPolyline(QPolygon({QPoint(kAxisX, a + 20), QPoint(kPlotLeft, a + 20),
                             QPoint(kPlotLeft, a + b - 10), QPoint(kAxisX, a + b - 10)}));
}

void GraphPainter::drawChannelLegend(QPainter& p, const Pane& pane, const char* word) const
{
    const GraphLayout& l = r_.layout;
    const bool motors = kindIn(pane.kind, GraphKind::FirstMotor, GraphKind::LastMotor);
    const bool outputs = kindIn(pane.kind, GraphKind::FirstOutput, GraphKind::LastOutput);
    const bool frequency = kindIn(pane.kind, GraphKind::FirstFrequency, GraphKind::LastFrequency);
    std::array<int, kIoCount> channels{};
    int count = 0;
    if (motors) {
        std::array<int, kMotorCount> m{};
        count = channelsOf(l.motorGraph, pane.kind, m);
        std::copy(m.begin(), m.end(), channels.begin());
    } else {
        count = channelsOf(frequency ? l.frequencyGraph
                           : outputs ? l.outputGraph
                                     : l.inputGraph,
                           pane.kind, channels);
    }
    p.setFont(bold_);
    const QFontMetrics m(bold_);
    const int baseline = pane.top + 1 + m.ascent();
    int lx = kLegendX;
    p.setPen(Qt::black);
    const QString head = QString::fromUtf8(word);
    p.drawText(QPoint(lx, baseline), head);
    lx += m.horizontalAdvance(head);
    for (int i = 0; i < count; ++i) {
        const int c = channels[at(i)];
        const QString name =
            motors ? QString(QChar('A' + c)) : QString::number(labels_.numbersFromZero ? c : c + 1);
        const QString text = (i == 0 ? QStringLiteral(" ") : QStringLiteral(", ")) + name;
        p.setPen(channelColour(c));
        p.drawText(QPoint(lx, baseline), text);
        lx += m.horizontalAdvance(text);
    }
}

void GraphPainter::drawBits(QPainter& p, const Pane& pane, int width) const
{
    const GraphLayout& l = r_.layout;
    const bool outputs = kindIn(pane.kind, GraphKind::FirstOutput, GraphKind::LastOutput);
    const int a = pane.top, b = pane.height, base = a + b - 10;
    drawIoAxis(p, pane);
    p.drawLine(kPlotLeft, base, width - kPlotLeft, base);
    p.drawLine(width - kPlotLeft, base, width - kPlotLeft, base + 4);
    p.drawLine(width / 2, base, width / 2, base + 4);
    drawChannelLegend(p, pane, outputs ? "Salida" : "Entrada");

    const CaptureBuffer& buf = r_.buffer;
    const auto& bytes = outputs ? buf.outputs : buf.inputs;
    const auto& graphOf = outputs ? l.outputGraph : l.inputGraph;
    const int n = std::min(buf.sampleCount, kCaptureCapacity);
    for (int c = 0; c < kIoCount; ++c) {
        if (graphOf[at(c)] != pane.kind) continue;
        const unsigned bit = 1u << c;
        const QColor colour = channelColour(c);
        p.setPen(QPen(colour, 0));
        // Runs of samples with the bit set make one block.
        int runStart = -1;
        for (int j = 1; j <= n; ++j) {
            const bool both = j < n && (bytes[at(j - 1)] & bit) && (bytes[at(j)] & bit);
            if (both && runStart < 0) runStart = j;
            if (!both && runStart >= 0) {
                const int x0 = runStart == 1 ? kPlotLeft : x(buf.time[at(runStart - 1)], width);
                const int x1 = x(buf.time[at(j - 1)], width);
                p.fillRect(QRect(QPoint(x0, a + 20), QPoint(x1, base)), colour);
                runStart = -1;
            }
            if (j < n && !(bytes[at(j - 1)] & bit) && (bytes[at(j)] & bit)) {
                const int xr = x(buf.time[at(j)], width);
                p.drawLine(xr, base, xr, a + 19);
            }
        }
    }
}

void GraphPainter::drawMotors(QPainter& p, const Pane& pane, int width) const
{
    const GraphLayout& l = r_.layout;
    const int a = pane.top, b = pane.height;
    const int z = (2 * a + b) / 2 + 5;
    drawIoAxis(p, pane);
    p.drawLine(kPlotLeft, z, width - kPlotLeft, z);
    p.drawLine(width - kPlotLeft, z, width - kPlotLeft, z + 6);
    p.drawLine(width / 2, z, width / 2, z + 6);
    drawChannelLegend(p, pane, "Motor");

    const CaptureBuffer& buf = r_.buffer;
    const int n = std::min(buf.sampleCount, kCaptureCapacity);
    const int half = (b - 30) / 2;
    for (int m = 0; m < kMotorCount; ++m) {
        if (l.motorGraph[at(m)] != pane.kind) continue;
        const auto& v = buf.motors[at(m)];
        const QColor colour = channelColour(m);
        // Runs of one value make one block, from the sample that set it.
        int j = 1;
        while (j < n) {
            const int value = v[at(j - 1)];
            int end = j;
            while (end + 1 < n && v[at(end)] == value) ++end;
            if (value != 0) {
                const int x0 = x(buf.time[at(j - 1)], width);
                const int x1 = x(buf.time[at(end)], width);
                p.fillRect(QRect(QPoint(x0, z), QPoint(x1, z - value * half / 100)).normalized(),
                           colour);
            }
            j = end + 1;
        }
    }
}

// ---- Frequency graphs --------------------------------------------------------------------

void GraphPainter::drawFrequency(QPainter& p, const Pane& pane, int width) const
{
    const int f = pane.kind - kind(GraphKind::FirstFrequency);
    const int a = pane.top, b = pane.height, base = a + b - 10;
    const int bins = std::clamp(r_.state.binCount, 1, kFrequencyBins);
    drawIoAxis(p, pane);
    p.drawLine(kPlotLeft, base, width - kPlotLeft, base);
    for (int i = 1; i < bins; ++i) {
        const int bx = kPlotLeft + i * (width - 2 * kPlotLeft) / bins;
        p.drawLine(bx, base, bx, base + 4);
    }
    p.drawLine(width - kPlotLeft, base, width - kPlotLeft, base + 4);
    p.setFont(normal_);
    p.drawText(QRect(0, a + 15, kAxisX, 20), Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip,
               QString::number(r_.frequency.frequencyMax[at(f)]));
    drawChannelLegend(p, pane, "Frecuencia de entrada");
    for (int bin = 0; bin < bins; ++bin) drawFrequencyBin(p, pane, bin, bins, width);
}

void GraphPainter::drawFrequencyBin(QPainter& p, const Pane& pane, int bin, int binCount,
                                    int width) const
{
    const int f = pane.kind - kind(GraphKind::FirstFrequency);
    std::array<int, kIoCount> inputs{};
    const int count = channelsOf(r_.layout.frequencyGraph, pane.kind, inputs);
    if (count == 0 || bin < 0 || bin >= kFrequencyBins) return;
    const int plot = width - 2 * kPlotLeft;
    const int x0 = plot * bin / binCount + kPlotLeft;
    const int w = plot / binCount;
    const int base = pane.top + pane.height - 10;
    const int scale = pane.height - 30;
    const int top = std::max(r_.frequency.frequencyMax[at(f)], 1);
    const auto& counts = r_.frequency.counts[at(bin)];
    const bool stacked = r_.frequency.frequencyMode == kStacked;
    int stackTop = base;
    for (int i = 0; i < count; ++i) {
        const int c = inputs[at(i)];
        const int value = counts[at(c)];
        if (value <= 0) continue;
        const int h = value * scale / top;
        if (stacked) {
            p.fillRect(QRect(x0, stackTop - h, w, h), channelColour(c));
            stackTop -= h;
        } else {
            const int slot = w / count;
            p.fillRect(QRect(x0 + i * slot, base - h, slot, h), channelColour(c));
        }
    }
}

QRect GraphPainter::frequencyArea(int g, int width, int height) const
{
    QRect area;
    const StackGeometry geo = stackGeometry(r_.layout, height);
    for (int k = 0; k < geo.count; ++k) {
        const PaneBox& box = geo.panes[at(k)];
        if (box.kind != kind(GraphKind::FirstFrequency) + g) continue;
        area |= QRect(0, box.top + 16, width, std::max(0, box.height - 24));
    }
    return area;
}

void GraphPainter::drawTimeLabel(QPainter& p, int centreX, int top, int width,
                                 const QString& text) const
{
    // Centred under its place, but never past the window's edges: the end
    // label of a long span is wider than its box.
    const int w = QFontMetrics(p.font()).horizontalAdvance(text);
    const int left = std::clamp(centreX - w / 2, 0, std::max(0, width - w - 1));
    p.drawText(QRect(left, top, w + 1, 13), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

// ---- The window's time axis ----------------------------------------------------------------

void GraphPainter::drawTimeAxis(QPainter& p, int width, int height) const
{
    p.save();
    p.setPen(QPen(Qt::black, 0));
    p.drawPolyline(
        QPolygon({QPoint(kPlotLeft, height - 14), QPoint(kPlotLeft, height - 18),
                  QPoint(width - kPlotLeft, height - 18), QPoint(width - kPlotLeft, height - 14)}));
    p.drawLine(width / 2, height - 18, width / 2, height - 14);
    p.setFont(normal_);
    drawTimeLabel(p, kPlotLeft, height - 14, width, QStringLiteral("0"));
    drawTimeLabel(p, width / 2, height - 14, width, fromCp1252(r_.state.middleLabel));
    drawTimeLabel(p, width - kPlotLeft, height - 14, width, fromCp1252(r_.state.endLabel));
    p.restore();
}

// ---- The newest sample ---------------------------------------------------------------------

void GraphPainter::newestOfPane(QPainter& p, const Pane& pane, int width, int n) const
{
    const GraphLayout& l = r_.layout;
    const CaptureBuffer& buf = r_.buffer;
    const int xPrev = x(buf.time[at(n - 1)], width), xNew = x(buf.time[at(n)], width);
    const int a = pane.top, b = pane.height;
    if (kindIn(pane.kind, GraphKind::FirstAnalogue, GraphKind::LastAnalogue)) {
        for (int c = 0; c < kSensorChannels; ++c) {
            if (l.analogueGraph[at(c)] != pane.kind) continue;
            const AnalogueScale s(l, c, a, b);
            const auto& v = buf.analogue[at(c)];
            p.setPen(QPen(channelColour(c), 1));
            p.drawLine(n == 1 ? kPlotLeft : xPrev, s.y(v[at(n - 1)]), xNew, s.y(v[at(n)]));
        }
    } else if (kindIn(pane.kind, GraphKind::FirstInput, GraphKind::LastOutput)) {
        const bool outputs = kindIn(pane.kind, GraphKind::FirstOutput, GraphKind::LastOutput);
        const auto& bytes = outputs ? buf.outputs : buf.inputs;
        const auto& graphOf = outputs ? l.outputGraph : l.inputGraph;
        const int base = a + b - 10;
        for (int c = 0; c < kIoCount; ++c) {
            if (graphOf[at(c)] != pane.kind) continue;
            const unsigned bit = 1u << c;
            if (!(bytes[at(n)] & bit)) continue;
            if (bytes[at(n - 1)] & bit) {
                p.fillRect(QRect(QPoint(n == 1 ? kPlotLeft : xPrev, a + 20), QPoint(xNew, base)),
                           channelColour(c));
            } else {
                p.setPen(QPen(channelColour(c), 0));
                p.drawLine(xNew, base, xNew, a + 19);
            }
        }
    } else if (kindIn(pane.kind, GraphKind::FirstMotor, GraphKind::LastMotor)) {
        // The interval takes the value of the sample that began it, as the
        // full drawing does, so a repaint changes nothing.
        const int z = (2 * a + b) / 2 + 5, half = (b - 30) / 2;
        for (int m = 0; m < kMotorCount; ++m) {
            if (l.motorGraph[at(m)] != pane.kind) continue;
            const int value = buf.motors[at(m)][at(n - 1)];
            if (value == 0) continue;
            p.fillRect(QRect(QPoint(xPrev, z), QPoint(xNew, z - value * half / 100)).normalized(),
                       channelColour(m));
        }
    }
}

QRect GraphPainter::drawNewest(QPainter& p, int width, int height, bool frequencyOnly) const
{
    const CaptureBuffer& buf = r_.buffer;
    const int n = buf.sampleCount;
    if (r_.layout.totalWeight <= 0 || n < 1 || n >= kCaptureCapacity) return {};
    const std::uint32_t span = std::max<std::uint32_t>(r_.state.span, 1);
    const std::uint32_t t = frequencyOnly ? buf.time[at(n - 1)] : buf.time[at(n)];
    const int bin = static_cast<int>(
        std::min<std::uint64_t>(std::uint64_t{t} * kFrequencyBins / span, kFrequencyBins - 1));
    const StackGeometry geo = stackGeometry(r_.layout, height);
    QRect area;
    for (int k = 0; k < geo.count; ++k) {
        const PaneBox& box = geo.panes[at(k)];
        const Pane pane{box.kind, box.top, box.height};
        if (kindIn(pane.kind, GraphKind::FirstFrequency, GraphKind::LastFrequency)) {
            drawFrequencyBin(p, pane, bin, kFrequencyBins, width);
            const int plot = width - 2 * kPlotLeft;
            area |= QRect(plot * bin / kFrequencyBins + kPlotLeft, box.top,
                          plot / kFrequencyBins + 1, box.height);
        } else if (!frequencyOnly) {
            newestOfPane(p, pane, width, n);
        }
    }
    if (!frequencyOnly) {
        const int xPrev = n == 1 ? kPlotLeft : x(buf.time[at(n - 1)], width);
        area |= QRect(xPrev - 1, 0, x(buf.time[at(n)], width) - xPrev + 3, height);
    }
    return area;
}

}  // namespace tarvel
