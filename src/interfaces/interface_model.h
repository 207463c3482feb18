#pragma once
// The interface model codes, stored in the configuration file and in every
// flowchart's header. Per-model behaviour is a switch on these small integers.

#include <string>

namespace tarvel {

enum InterfaceModel : int {
    ModelNone = 0,
    ModelDeltronics = 1,  // Deltronics / Commotion serial family, subModel 0..3
    ModelSenseControl = 2,
    ModelMfa = 6,                // MFA Serial Computer Module
    ModelContactController = 7,  // subModel 5 Contact Controller, 0 Contact Controller Plus
    ModelMfaAlt = 8,             // not offered; shares the MFA monitor layout
    ModelInert = 9,              // not offered; no live protocol, four inputs
    ModelTolvaChip = 10,         // subModel: index of the chosen chip entry
    ModelLego = 11,
    ModelFischertechnik = 12,
    ModelQuillo = 13,
};

// Sub-models of the Deltronics family.
inline constexpr int kDeltronicsSerial = 0;
inline constexpr int kDeltronicsJunior = 1;
inline constexpr int kDeltronicsSerialPlus = 2;
inline constexpr int kDeltronicsDigitalAdaptor = 3;
// Sub-models of the Contact Controller.
inline constexpr int kContactControllerPlus = 0;
inline constexpr int kContactControllerBasic = 5;

// The chip-entry link kind under which a Tolva Chip talks the Contact
// Controller protocol live.
inline constexpr int kChipLinkContactController = 2;
// The link kind of chips with eight inputs and four channels, tested by the
// bytes that other chips take as motor speeds.
inline constexpr int kChipLinkEightInputs = 1;

// The sub-directory of the sensors directory holding a model's calibration
// files ("DSI", "SAC", "CC", "Lego", "Ft" or "OTHERS").
std::string sensorSubdirectory(int model, int chipLinkKind);

// A Contact Controller type: model 7, model 13, or the chip variant that
// talks that protocol.
bool isContactControllerType(int model, int chipLinkKind);

// Whether a model takes its capabilities (and its compiled program's shape)
// from an entry of the chip data file.
bool usesChipEntry(int model);

// Charts for Quillo and for a chip that talks the Contact Controller protocol
// live compile to the direct dialect; other chips to the skip dialect.
bool compilesToDirectDialect(int model, int chipLinkKind);

// The compiled program's size: a chip entry's size word of 128 gives the small
// image, everything else the full one.
inline constexpr int kSmallProgramSize = 128;
inline constexpr int kFullProgramSize = 256;
int programImageSize(int model, int chipSizeWord);

}  // namespace tarvel
