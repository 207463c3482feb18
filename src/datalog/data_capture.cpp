#include "datalog/data_capture.h"

#include <algorithm>
#include <limits>

#include "datalog/capture_source.h"
#include "datalog/capture_time.h"
#include "datalog/graph_stack.h"
#include "platform/clock.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr std::uint32_t kMaxTime = std::numeric_limits<std::uint32_t>::max();
// Compression keeps the first half of the bins, each the sum of two.
constexpr int kKeptBins = kFrequencyBins / 2;

}  // namespace

void CaptureBuffer::copySample(int to, int from)
{
    const auto t = static_cast<std::size_t>(to), f = static_cast<std::size_t>(from);
    time[t] = time[f];
    for (auto& channel : analogue) channel[t] = channel[f];
    inputs[t] = inputs[f];
    outputs[t] = outputs[f];
    for (auto& motor : motors) motor[t] = motor[f];
}

DataCapture::DataCapture(Clock& clock, CaptureSource& source) : clock_(clock), source_(source) {}

std::uint32_t DataCapture::now() const
{
    // The centisecond clock as the capture's unsigned 32-bit times count it.
    return static_cast<std::uint32_t>(clock_.nowCentiseconds());
}

void DataCapture::repaint()
{
    if (observer_) observer_->repaintGraph();
}

void DataCapture::start()
{
    CaptureState& s = data.state;
    data.frequency.clearCounts();
    if (valuesMode_) {
        valuesMode_ = false;
        if (observer_) observer_->valuesModeEnded();
    }
    data.frequency.frequencyMax = {kFrequencyStep, kFrequencyStep};
    data.buffer.sampleCount = 0;
    s.unsaved = true;
    s.span = settings.firstSpan;
    s.interval = intervalOfSpan(s.span);
    s.loggingActive = settings.logOnRun;
    endTime_ = settings.endTime;
    s.startTime = now();
    s.nextSampleTime = s.startTime + s.interval;
    s.binCount = kFrequencyBins;
    s.hasFrequencyGraph = data.layout.hasFrequencyGraph();
    // The run starts with every input cleared.
    inputByte_ = 0;
    relabelTimeAxis(s, data.layout);
    repaint();
    if (observer_) observer_->hideToolbox();
}

bool DataCapture::samplingStep()
{
    CaptureState& s = data.state;
    if (!s.loggingActive) return false;
    // Due once the clock has reached the due time (wrapping counts alike).
    if (static_cast<std::int32_t>(now() - s.nextSampleTime) >= 0) {
        // One interval per sample: samples missed in a slow tick are caught
        // up one per tick.
        s.nextSampleTime += s.interval;
        takeSample();
        return true;
    }
    if (!s.hasFrequencyGraph) return false;
    countEdges();
    return true;
}

int DataCapture::binOf(std::uint32_t t) const
{
    const std::uint64_t span = std::max<std::uint32_t>(data.state.span, 1);
    const std::uint64_t bin = std::uint64_t{t} * kFrequencyBins / span;
    return static_cast<int>(std::min<std::uint64_t>(bin, kFrequencyBins - 1));
}

bool DataCapture::countRises(std::uint8_t previous, std::uint8_t current, int bin)
{
    const unsigned rose = static_cast<unsigned>(current & ~previous) & 0xFFu;
    if (rose == 0) return false;
    auto& counts = data.frequency.counts[static_cast<std::size_t>(bin)];
    for (int i = 0; i < kIoCount; ++i)
        if (rose & (1u << i)) ++counts[static_cast<std::size_t>(i)];
    return true;
}

void DataCapture::readMotorsAndValues(int n)
{
    CaptureBuffer& b = data.buffer;
    const auto k = static_cast<std::size_t>(n);
    for (int c = 0; c < kSensorChannels; ++c)
        b.analogue[static_cast<std::size_t>(c)][k] = source_.analogue(c);
    for (int m = 0; m < kMotorCount; ++m)
        b.motors[static_cast<std::size_t>(m)][k] = source_.motor(m);
}

void DataCapture::takeSample()
{
    CaptureBuffer& b = data.buffer;
    CaptureState& s = data.state;
    const int n = b.sampleCount;
    const auto k = static_cast<std::size_t>(n);
    const std::uint32_t t = now() - s.startTime;
    b.time[k] = t;
    const std::uint8_t previous = inputByte_;
    inputByte_ = source_.refreshInputs();
    b.inputs[k] = inputByte_;
    b.outputs[k] = source_.outputByte();
    readMotorsAndValues(n);
    const int bin = binOf(t);
    countRises(previous, inputByte_, bin);
    if (endTime_ != 0 && t >= endTime_) {
        // Logging ends here; the run itself goes on.
        s.loggingActive = false;
        return;
    }
    if (t >= s.span || n >= kCompressIndex) {
        compressBuffer();
        return;
    }
    if (s.hasFrequencyGraph) growFrequencyMax(bin);
    if (n > 0 && observer_) observer_->drawNewest(false);
    b.sampleCount = n + 1;
}

void DataCapture::countEdges()
{
    const std::uint32_t t = now() - data.state.startTime;
    const std::uint8_t previous = inputByte_;
    inputByte_ = source_.refreshInputs();
    const int bin = binOf(t);
    if (!countRises(previous, inputByte_, bin)) return;
    growFrequencyMax(bin);
    if (observer_) observer_->drawNewest(true);
}

int DataCapture::frequencyValue(int g, int bin) const
{
    return tarvel::frequencyValue(data, g, bin);
}

void DataCapture::growFrequencyMax(int bin)
{
    for (int g = 0; g < kFrequencyGraphs; ++g) {
        int& top = data.frequency.frequencyMax[static_cast<std::size_t>(g)];
        if (frequencyValue(g, bin) <= top) continue;
        // One step per sample: the axis grows as the bars do.
        top += kFrequencyStep;
        if (observer_) observer_->repaintFrequencyPanes(g);
    }
}

void DataCapture::compressBuffer()
{
    CaptureBuffer& b = data.buffer;
    CaptureState& s = data.state;
    b.sampleCount /= 2;
    // Sample 0 stays; the sample just taken survives when its index was even.
    for (int i = 1; i <= b.sampleCount; ++i) b.copySample(i, 2 * i);
    auto& counts = data.frequency.counts;
    for (int bin = 0; bin < kKeptBins; ++bin)
        for (int i = 0; i < kIoCount; ++i) {
            const auto in = static_cast<std::size_t>(i);
            counts[static_cast<std::size_t>(bin)][in] =
                counts[static_cast<std::size_t>(2 * bin)][in] +
                counts[static_cast<std::size_t>(2 * bin + 1)][in];
        }
    for (int bin = kKeptBins; bin < kFrequencyBins; ++bin)
        counts[static_cast<std::size_t>(bin)] = {};
    s.nextSampleTime = s.startTime + s.span + 2 * s.interval;
    s.span =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(2 * std::uint64_t{s.span}, kMaxTime));
    s.interval = intervalOfSpan(s.span);
    ++b.sampleCount;
    relabelTimeAxis(s, data.layout);
    for (int g = 0; g < kFrequencyGraphs; ++g) {
        int& top = data.frequency.frequencyMax[static_cast<std::size_t>(g)];
        for (int bin = 0; bin < kKeptBins; ++bin)
            while (top < frequencyValue(g, bin)) top += kFrequencyStep;
    }
    repaint();
}

void DataCapture::fitTimeAxis()
{
    CaptureState& s = data.state;
    const CaptureBuffer& b = data.buffer;
    if (endTime_ == 0) {
        // Without a sample there is nothing to fit: the span stays.
        if (b.sampleCount > 0) {
            const std::uint32_t last = b.time[static_cast<std::size_t>(b.sampleCount - 1)];
            // The smallest tenth-multiple of the span that holds the last sample.
            for (s.binCount = 1; s.binCount < kFrequencyBins; ++s.binCount) {
                const std::uint64_t part = std::uint64_t{s.span} * s.binCount / kFrequencyBins;
                if (last < part) {
                    s.span = static_cast<std::uint32_t>(part);
                    break;
                }
            }
        }
        relabelTimeAxis(s, data.layout);
    }
    repaint();
}

bool DataCapture::askAndClear(Messages& messages)
{
    const MsgAnswer a = messages.show(caption::Warning, "¿Está seguro que quiere borrar su data?",
                                      MsgIcon::Exclamation, MsgButtons::OkCancel);
    if (a != MsgAnswer::Ok) return false;
    clear();
    return true;
}

void DataCapture::clear()
{
    CaptureState& s = data.state;
    data.frequency.clearCounts();
    data.frequency.frequencyMax = {kFrequencyStep, kFrequencyStep};
    data.buffer.sampleCount = 0;
    s.binCount = kFrequencyBins;
    s.span = settings.firstSpan;
    endTime_ = settings.endTime;
    relabelTimeAxis(s, data.layout);
    repaint();
}

void DataCapture::replace(CaptureRecord record)
{
    data = std::move(record);
    data.state.unsaved = false;
    if (observer_) observer_->captureReplaced();
}

void DataCapture::setGridMode(int mode)
{
    data.layout.gridMode = mode;
    relabelTimeAxis(data.state, data.layout);
    repaint();
}

}  // namespace tarvel
