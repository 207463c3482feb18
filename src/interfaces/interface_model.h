#pragma once
// The interface model codes, stored in the configuration file and in every
// flowchart's header. What each model does is in its row of the model traits
// table (model_traits.h).

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
    ModelFirmata = 14,  // an Arduino board running the standard Firmata firmware
};

// Sub-models of the Deltronics family.
inline constexpr int kDeltronicsSerial = 0;
inline constexpr int kDeltronicsJunior = 1;
inline constexpr int kDeltronicsSerialPlus = 2;
inline constexpr int kDeltronicsDigitalAdaptor = 3;
// Sub-models of the Contact Controller.
inline constexpr int kContactControllerPlus = 0;
inline constexpr int kContactControllerBasic = 5;

// Sub-models of the Tolva Chip system: the three boards, then the single chips.
inline constexpr int kFirstSingleChip = 3;

// The chip-entry link kind under which a Tolva Chip talks the Contact
// Controller protocol live.
inline constexpr int kChipLinkContactController = 2;
// The link kind of chips with eight inputs and four channels, tested by the
// bytes that other chips take as motor speeds.
inline constexpr int kChipLinkEightInputs = 1;

// The sizes of a compiled program image: a chip entry's size word of 128
// gives the small one.
inline constexpr int kSmallProgramSize = 128;
inline constexpr int kFullProgramSize = 256;

}  // namespace tarvel
