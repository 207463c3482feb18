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
std::optional<int> parseInt(const std::string& s);
// Splits "--numbering N" off the arguments; false when it is malformed.
bool takeNumbering(std::vector<std::string>& args, std::optional<int>& numbering);
// Loads a chart as the program does when its interface settings are the
// file's own header settings (with the numbering given, if any).
bool loadAsProgram(const std::string& path, std::optional<int> numbering, FlowDocument& doc,
                   FlowFileInfo& info, InterfaceSettings& settings);

int runCommand(std::vector<std::string> args);
int compileCommand(std::vector<std::string> args);

}  // namespace tarvel::tool
