#pragma once
// The mimic commands of the tool: "tarvel mimic show" prints a set as the
// window reads it, and "tarvel run --mimic DIR/NAME" follows a set through a
// headless run, one line "CS mimic I S" each time object I takes state S, in
// the order the window would redraw them: an object with the redraw-at-once
// flag when it changes, the others when the window repaints what is pending
// (after each pass of the run, after the inputs pressed between ticks, after
// the switching-off of a stop), those in index order.

#include <memory>
#include <string>
#include <vector>

namespace tarvel {
class Clock;
class InterfaceLayer;
class Interpreter;
class SensorChannels;
}  // namespace tarvel

namespace tarvel::tool {

int mimicCommand(std::vector<std::string> args);

class MimicTrace {
public:
    virtual ~MimicTrace() = default;
    // Loads the set DIR/NAME for a run (the chart's numbering adjusts its
    // texts, its sensors give the values); null, with the reason on stderr,
    // when it cannot.
    static std::unique_ptr<MimicTrace> attach(const std::string& dirAndName, InterfaceLayer& io,
                                              Interpreter& run, const Clock& clock,
                                              const SensorChannels& sensors);
    // The window repaints what is pending: the objects that changed since the
    // last repaint and show another state than they were last drawn with.
    virtual void repaint() = 0;
};

}  // namespace tarvel::tool
