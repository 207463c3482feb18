#pragma once
// Helpers shared by the commands of the tool.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_settings.h"
#include "platform/scripted_messages.h"

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

int runCommand(std::vector<std::string> args);
int sensorsCommand(const std::vector<std::string>& args);
int calibrateCommand(const std::vector<std::string>& args);
int compileCommand(std::vector<std::string> args);
int boxCommand(const std::vector<std::string>& args);

}  // namespace tarvel::tool
