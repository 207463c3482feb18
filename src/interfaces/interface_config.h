#pragma once
// The configuration file CONFIGUR.FCF: the interface record as eight
// characters, each the value plus 'A' (so -1 is '@'), in the order highLow,
// numbering, analogueSource, mode, model, port, motorOption, subModel. Like the
// program's other files its name is matched without regard to case.

#include <string>
#include <string_view>

#include "interfaces/interface_settings.h"
#include "platform/result.h"

namespace tarvel {

class Messages;

std::string serializeInterfaceConfig(const InterfaceSettings& settings);
// Refused ("No se puede cargar Configuración") when there are fewer than
// eight characters.
Result<InterfaceSettings> parseInterfaceConfig(std::string_view bytes);

// Reads the record; a file that cannot be read or holds no record shows "No
// se puede cargar Configuración" ("Error de Tarvel").
Result<InterfaceSettings> loadInterfaceConfig(const std::string& path, Messages& messages);
// Writes the record; when the file cannot be written shows "No se puede
// guardar Configuración" ("Error de Tarvel").
Status saveInterfaceConfig(const std::string& path, const InterfaceSettings& settings,
                           Messages& messages);

// What the program runs with when the configuration cannot be read.
InterfaceSettings fallbackSettings();

}  // namespace tarvel
