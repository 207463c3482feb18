#pragma once
// Which program records sounds for the pupils: the first of a short list of
// recorders that this machine has. A desktop recorder comes first; failing
// that, a command-line recorder in a terminal window writes a new WAV file
// into the chart folder (the pupil ends it with Ctrl+C). On Windows the
// system's own recorders are tried in the Windows directory.

#include <functional>
#include <string>
#include <vector>

namespace tarvel {

// A program and its arguments, ready to be started.
struct RecorderCommand {
    std::string program;
    std::vector<std::string> arguments;
    bool operator==(const RecorderCommand&) const = default;
};

struct RecorderContext {
    bool windows = false;
    std::string windowsDir;  // the Windows directory (Windows only; empty: unknown)
    std::string recordDir;   // where a command-line recorder writes (UTF-8)
    std::string stamp;       // makes its file name new, e.g. "20260108-093000"
    // A program given by the user ($TARVEL_RECORDER), tried before the list; empty: none.
    std::string configured;
};

// The recorders to try, in order.
std::vector<RecorderCommand> recorderCandidates(const RecorderContext& context);

// Starts the first candidate that `exists` finds (given a program, it answers
// whether this machine has it) and `start` starts; a candidate that fails to
// start gives way to the next. False when none started.
bool startRecorder(const RecorderContext& context,
                   const std::function<bool(const std::string&)>& exists,
                   const std::function<bool(const RecorderCommand&)>& start);

inline constexpr const char* kNoRecorderText = "No se ejecutó grabadora de sonidos";

}  // namespace tarvel
