#pragma once
// Helpers shared by the commands of the tool.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "datalog/capture_data.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_settings.h"
#include "platform/scripted_messages.h"

namespace tarvel {
class ByteLink;
class InterfaceLayer;
class ProgramState;
}  // namespace tarvel

namespace tarvel::tool {

// Boxes become lines on stderr; questions take their default answer.
ScriptedMessages stderrMessages();

int usage();
// The sensors folder used when none is given: the one installed with the tool,
// else the one of the source tree it was built from.
std::string defaultSensorsDir();
std::optional<int> parseInt(const std::string& s);
// "M" or "M:SUB" (the sub-model 0 when not given); false when malformed.
bool parseModel(const std::string& value, int& model, int& subModel);
// Splits "--numbering N" off the arguments; false when it is malformed.
bool takeNumbering(std::vector<std::string>& args, std::optional<int>& numbering);
// The interface settings a chart's header holds (with the numbering given,
// if any); a refusal prints its message.
bool readChartSettings(const std::string& path, std::optional<int> numbering,
                       InterfaceSettings& settings);
// Loads a chart as the program does when these are its interface settings.
bool loadChart(const std::string& path, const InterfaceSettings& settings, FlowDocument& doc,
               FlowFileInfo& info);
// Both: a chart loaded under its own header settings.
bool loadAsProgram(const std::string& path, std::optional<int> numbering, FlowDocument& doc,
                   FlowFileInfo& info, InterfaceSettings& settings);

// Settings for the box at `device` (a serial device, or kUsbDevice): the
// interface live, on the first serial port or on the USB one.
void setLivePort(InterfaceSettings& settings, const std::string& device);
// The interface of the program on the box at `device` through `link`, with
// `settings` (their port chosen by setLivePort) and the sensor files of
// `sensorsDir`. The caller applies the selection.
void attachLiveInterface(InterfaceLayer& io, ByteLink& link, const InterfaceSettings& settings,
                         const std::string& device, const std::string& sensorsDir);

// The capture options of `tarvel run`: "--capture OUT.SID", "--first-span CS",
// "--end-time CS" (hundredths of a second).
struct RunCapture {
    std::string out;
    std::optional<std::uint64_t> firstSpan, endTime;

    // Takes the option at args[i] (and its value) when it is one of these;
    // `bad` when its value is missing or not a number.
    bool take(const std::vector<std::string>& args, std::size_t& i, bool& bad);
    // Sets the capture's times as the time dialog does; a refusal is printed.
    bool apply(CaptureSettings& settings) const;
    // Saves the run's capture as the window saves it (when asked for).
    bool save(ProgramState& state) const;
};

int runCommand(std::vector<std::string> args);
int sidCommand(const std::vector<std::string>& args);
int sensorsCommand(const std::vector<std::string>& args);
int calibrateCommand(const std::vector<std::string>& args);
int compileCommand(std::vector<std::string> args);
int boxCommand(const std::vector<std::string>& args);
int downloadCommand(const std::vector<std::string>& args);

}  // namespace tarvel::tool
