#pragma once
// The run flags of the interface layer: whether a box is driven at all, and
// the states that change how a failure on the wire is handled.

namespace tarvel {

struct RunFlags {
    bool simulate = true;      // no live interface is driven
    bool linkFailed = false;   // a communication error stopped the I/O until the next connect
    bool testMode = false;     // a monitor polls the inputs without a run
    bool closing = false;      // the main window is closing: errors are ignored
    bool downloading = false;  // a program is being downloaded
    bool running = false;      // a chart runs (set by the interpreter from its start)
};

}  // namespace tarvel
