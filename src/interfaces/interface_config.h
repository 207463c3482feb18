#pragma once
// The configuration file: the interface record as eight characters, each the
// value plus 'A' (so -1 is '@'), in the order highLow, numbering,
// analogueSource, mode, model, port, motorOption, subModel. Like the program's
// other files its name is matched without regard to case.

#include <optional>
#include <string>
#include <string_view>

#include "interfaces/interface_settings.h"

namespace tarvel {

class Messages;

std::string encodeConfig(const InterfaceSettings& settings);
// Empty when there are fewer than eight characters.
std::optional<InterfaceSettings> decodeConfig(std::string_view text);

// Writes the record; when the file cannot be written shows "No se puede
// guardar Configuración" ("Error de Tarvel") and returns false.
bool writeConfigFile(const std::string& path, const InterfaceSettings& settings,
                     Messages* messages);
std::optional<InterfaceSettings> readConfigFile(const std::string& path);

// What the program runs with when the configuration cannot be read.
InterfaceSettings fallbackSettings();

}  // namespace tarvel
