#pragma once
// The records of data capture: the samples of a run, the state of the time
// axis, the settings of the time dialog, the rising-edge counts of the
// frequency graphs and the layout of the graph stack. They exist once, for the
// whole program; a data file carries all of them but the settings.
//
// Times are unsigned 32-bit counts of hundredths of a second.

#include <array>
#include <cstdint>
#include <string>

#include "datalog/graph_layout.h"
#include "flowchart/flow_document.h"

namespace tarvel {

// Samples held, index 0..1000; taking sample 1000 halves the buffer.
inline constexpr int kCaptureCapacity = 1001;
inline constexpr int kCompressIndex = kCaptureCapacity - 1;
// Time bins of the frequency graphs.
inline constexpr int kFrequencyBins = 10;
// The top of a frequency graph's axis moves in these steps.
inline constexpr int kFrequencyStep = 10;
// Two minutes.
inline constexpr std::uint32_t kDefaultSpan = 12000;
// The samples of a span: the interval is the span over this, rounded up.
inline constexpr std::uint32_t kSamplesPerSpan = 1000;

struct CaptureBuffer {
    std::array<std::uint32_t, kCaptureCapacity> time{};
    std::array<std::array<double, kCaptureCapacity>, kSensorChannels> analogue{};
    std::array<std::uint8_t, kCaptureCapacity> inputs{};   // bit i: input i
    std::array<std::uint8_t, kCaptureCapacity> outputs{};  // bit i: output i
    // Motors A..D in percent, -100..100, negative in reverse.
    std::array<std::array<std::int8_t, kCaptureCapacity>, kMotorCount> motors{};
    int sampleCount = 0;

    // Sample `to` takes every value of sample `from`.
    void copySample(int to, int from);
};

struct CaptureState {
    std::uint32_t span = kDefaultSpan;  // time covered by the time axis
    std::uint32_t interval = kDefaultSpan / kSamplesPerSpan;
    std::uint32_t startTime = 0;  // centisecond clock at the start
    std::uint32_t nextSampleTime = 0;
    bool loggingActive = true;
    int binCount = kFrequencyBins;   // bins the frequency graphs show, 1..10
    bool hasFrequencyGraph = false;  // edges are counted between samples
    bool unsaved = false;            // not written to or read from a data file
    // Under the right end and the middle of the time axis (Windows-1252);
    // the start texts until a capture begins.
    std::string endLabel = "2 minutos";
    std::string middleLabel = "1 minuto";
};

// The time units of the time dialog.
enum class TimeUnit { Seconds = 0, Minutes = 1, Hours = 2, Days = 3 };
inline constexpr int kTimeUnits = 4;

struct CaptureSettings {
    std::uint32_t firstSpan = kDefaultSpan;  // the span a capture starts with
    std::uint32_t endTime = 0;               // logging stops after it; 0 continues for ever
    TimeUnit firstSpanUnit = TimeUnit::Minutes;
    TimeUnit endTimeUnit = TimeUnit::Minutes;
    bool logOnRun = true;  // runs record data
};

struct FrequencyCounts {
    // Rising edges of input i in time bin b: counts[b][i].
    std::array<std::array<int, kIoCount>, kFrequencyBins> counts{};
    // The top of the y axis of frequency graphs 14 and 15, a multiple of 10.
    std::array<int, kFrequencyGraphs> frequencyMax{kFrequencyStep, kFrequencyStep};
    int frequencyMode = kSideBySide;

    void clearCounts() { counts = {}; }
};

// Everything a data file restores.
struct CaptureRecord {
    CaptureBuffer buffer;
    CaptureState state;
    FrequencyCounts frequency;
    GraphLayout layout;
};

}  // namespace tarvel
