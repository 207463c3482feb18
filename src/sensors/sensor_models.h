#pragma once
// What the sensors ask of the interface model, kept in one place.

#include "interfaces/interface_model.h"
#include "interfaces/interface_settings.h"

namespace tarvel {

// The boxes that report their sensors' IDs: the Deltronics family but its
// digital adaptor, and Sense and Control.
inline bool identifiesSensors(const InterfaceSettings& s)
{
    return (s.model == ModelDeltronics && s.subModel != kDeltronicsDigitalAdaptor) ||
           s.model == ModelSenseControl;
}

// The models whose sensor menus offer "Automática".
inline bool offersAutomaticSensors(int model)
{
    return model == ModelDeltronics || model == ModelSenseControl;
}

}  // namespace tarvel
