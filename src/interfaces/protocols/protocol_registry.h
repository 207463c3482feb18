#pragma once
// Which protocol speaks for each family: one registration line per family in
// protocol_registry.cpp. The family comes from the chosen model's row of the
// model traits table.

#include <memory>

#include "interfaces/model_traits.h"

namespace tarvel {

class InterfaceProtocol;
class ProtocolContext;

// The protocol of a family, or null while the family has none yet. Models
// with no live protocol (ProtocolFamily::None) get one that sends nothing
// and reads 0.
std::unique_ptr<InterfaceProtocol> makeProtocol(ProtocolFamily family, ProtocolContext& context);
bool hasProtocol(ProtocolFamily family);

}  // namespace tarvel
