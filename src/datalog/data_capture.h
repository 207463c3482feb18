#pragma once
// Data capture during a run: the interpreter starts a capture when a run
// starts, lets it take the samples that are due at the start of every tick,
// and fits the time axis when the run stops. The buffer never overflows: when
// it is full, or a sample reaches the end of the time axis, every second
// sample goes and the axis doubles. Between samples, while a frequency graph
// is on screen, rising edges of the inputs are counted in ten time bins.

#include <cstdint>

#include "datalog/capture_data.h"
#include "engine/run_ports.h"

namespace tarvel {

class CaptureSource;
class Clock;
class Messages;

// What the graph window follows.
class CaptureObserver {
public:
    virtual ~CaptureObserver() = default;
    // The whole window must be drawn again.
    virtual void repaintGraph() {}
    // The newest sample was stored (before it is counted), or, with
    // frequencyOnly, edges were counted between samples: draw what it adds.
    virtual void drawNewest(bool /*frequencyOnly*/) {}
    // The top of frequency graph g (kind 14 + g) rose: its panes' bars change.
    virtual void repaintFrequencyPanes(int /*g*/) {}
    virtual void hideToolbox() {}
    // Values mode was switched off by a capture starting.
    virtual void valuesModeEnded() {}
    // A data file replaced the capture: the window shows (with its toolbox)
    // when hidden, the toolbox's icons follow the layout, and all is drawn.
    virtual void captureReplaced() {}
};

class DataCapture final : public CaptureHook {
public:
    DataCapture(Clock& clock, CaptureSource& source);

    void setObserver(CaptureObserver* observer) { observer_ = observer; }

    // The samples, the time axis, the counts and the graph layout.
    CaptureRecord data;
    // What the time dialog and the menu set; read at the start of a capture.
    CaptureSettings settings;

    const CaptureBuffer& buffer() const { return data.buffer; }
    const CaptureState& state() const { return data.state; }
    int sampleCount() const { return data.buffer.sampleCount; }
    // There are samples that no data file holds.
    bool holdsUnsavedData() const { return data.buffer.sampleCount > 0 && data.state.unsaved; }

    // ---- The interpreter's calls (CaptureHook) ------------------------------------
    // StartCapture: the previous capture is discarded without a question.
    void reset() override { start(); }
    // SamplingStep; true when the inputs were read from the interface.
    bool sample() override { return samplingStep(); }
    void fitTimeAxis() override;

    void start();
    bool samplingStep();

    // ---- Commands ------------------------------------------------------------------
    // ClearCapture after "¿Está seguro que quiere borrar su data?"; false
    // when the user cancelled.
    bool askAndClear(Messages& messages);
    // ClearCapture itself: no samples, the first span; the layout stays.
    void clear();
    // The record read from a data file takes the place of the capture.
    void replace(CaptureRecord record);
    // A data file now holds the capture.
    void markSaved() { data.state.unsaved = false; }
    void setGridMode(int mode);

    bool valuesMode() const { return valuesMode_; }
    void setValuesMode(bool on) { valuesMode_ = on; }

    // ---- The steps, open to tests and benchmarks ----------------------------------
    void takeSample();
    void countEdges();
    void compressBuffer();
    void growFrequencyMax(int bin);
    // The bin of a time: a tenth of the span each; times at or past the end of
    // the span count in the last bin.
    int binOf(std::uint32_t t) const;
    // The largest count (side by side) or the sum (stacked) in a bin over the
    // inputs that frequency graph g shows.
    int frequencyValue(int g, int bin) const;

private:
    std::uint32_t now() const;
    // Counts the inputs that rose; true when one did.
    bool countRises(std::uint8_t previous, std::uint8_t current, int bin);
    void readMotorsAndValues(int n);
    void repaint();

    Clock& clock_;
    CaptureSource& source_;
    CaptureObserver* observer_ = nullptr;
    // The input byte as last read, against which rises are seen.
    std::uint8_t inputByte_ = 0;
    // The end time in force since the capture started.
    std::uint32_t endTime_ = 0;
    bool valuesMode_ = false;
};

}  // namespace tarvel
