#pragma once
// What the program knows about each interface model, in one table: a row per
// model (and per sub-model where that matters) and a row per chip link kind
// of the Tolva Chip system. The rest of the code asks these rows; no other
// file compares model codes.

#include <cstdint>
#include <optional>
#include <string_view>

#include "interfaces/interface_settings.h"
#include "interfaces/io_image.h"
#include "platform/byte_link.h"

namespace tarvel {

// The command protocols a box may speak (none: nothing live is driven).
enum class ProtocolFamily {
    None,
    Deltronics,
    SenseControl,
    Mfa,
    ContactController,
    Lego,
    Fischertechnik,
    Firmata,
};

// What checking test mode does after a link failure: nothing more, connect
// again, or connect again and stay off when that fails.
enum class TestReconnect { None, Reconnect, ReconnectOrStayOff };

// The choices of the interface dialog, one per model radio button.
enum class InterfaceChoice {
    Unoffered,  // a code from an old configuration file
    Deltronics,
    DeltronicsSerialPlus,
    DeltronicsJunior,
    DeltronicsDigitalAdaptor,
    SenseControl,
    Mfa,
    ContactController,
    ContactControllerPlus,
    TolvaChipBoard,
    Vizo,
    Lego,
    Fischertechnik,
    Quillo,
    Firmata,
};

// Which chip keys the output and decision keypads add.
enum class ChipKeys {
    None,
    TurnOnly,  // a chip that runs on its own: the output keypad starts with "Turn" alone
    LiveLink,  // a chip that talks live: "SAL", "Envie" and the decision's "IN" besides
};

// Whose downloader takes a compiled program, which decides the texts of its
// messages; the single chips that talk live are asked which chip they are.
enum class DownloadKind { None, Quillo, Vizo, TolvaChip };

// Capability masks a model sets over the defaults (none: the default stands).
struct CapsOverrides {
    std::optional<std::uint32_t> inputMask, outputMask, motorMask, valueKeyMask, decisionKeyMask,
        turnKeyMask;
    bool clearsOptionWord = false;
};

struct ModelTraits {
    ProtocolFamily protocol = ProtocolFamily::None;
    // The serial profile its box is opened with (none without a protocol).
    const SerialProfile* serialProfile = nullptr;
    // The sub-directory of the sensors directory with its calibration files.
    std::string_view sensorSubdirectory = "OTHERS";
    // How Connect wires motors to lines and outputs when an interface is in
    // use; a separate motor bank also gives the chart file its compact layout.
    MotorEncoding encoding;
    // The module wiring of the MFA dialog sets the encoding flags.
    bool motorOptionWiring = false;
    // A motor byte of its own besides the output byte.
    bool sendsMotorByte = false;
    // Connect sends all eight speed levels once the port is open.
    bool sendsSpeedsOnConnect = false;
    TestReconnect testReconnect = TestReconnect::None;
    bool readsAnalogue = false;
    // The sensor menus offer "Automática", and a chart's automatic channels
    // stay automatic.
    bool offersAutomaticSensors = false;
    // The box reports which sensor sits on each channel.
    bool reportsSensorIds = false;
    // New charts and every Connect let the channels identify their sensors.
    bool automaticSensors = false;
    // The keypads offer only what the chips run (variables x and y, ...).
    bool restrictedKeypads = false;
    ChipKeys chipKeys = ChipKeys::None;
    // Capabilities (and compiled programs) come from a chip data file entry.
    bool usesChipEntry = false;
    // The run command compiles the chart and runs the program as the chip
    // runs it (in the chip simulator) instead of interpreting it.
    bool runCompiles = false;
    // Charts compile to a program image: the chip simulator runs it and the
    // download sends it.
    bool chipPrograms = false;
    // Charts compile to the direct dialect (else the skip dialect).
    bool compilesDirect = false;
    // Downloads go to this target ("TolvaChip", "Quillo"), empty when none.
    std::string_view downloadTarget;
    DownloadKind downloadKind = DownloadKind::None;
    // Its chart files may carry eight level bytes where four belong.
    bool fileMayCarryEightLevels = false;
    // In the compact file layout, the levels of all four motors; the other
    // variants keep motors A and B and two full levels.
    bool fileKeepsFourMotorLevels = false;
    // Inputs and outputs addressed the other way round on the monitors.
    bool reversedLamps = false;
    // The reduced monitor at full width, with the analogue output.
    bool reducedMonitorWide = false;
    // With a separate motor bank, the motor monitor with a slider for each of
    // motors A to D (the first variant of every model has it too).
    bool fourMotorSliders = false;
    // Capabilities: motors take a speed; the output keypad offers "DAC".
    bool motorSpeed = false;
    bool dacKey = false;
    // Its lines are board pins chosen by the [FIRMATA] pin map of the
    // initialisation file; the map also gives the capabilities.
    bool usesPinMap = false;
    CapsOverrides caps;
    // The radio of the interface dialog that shows it.
    InterfaceChoice choice = InterfaceChoice::Unoffered;
};

// The traits of a model as the sub-model and, for the Tolva Chip system, the
// chosen chip's link kind make it.
ModelTraits modelTraits(int model, int subModel, int chipLinkKind = 0);
inline ModelTraits modelTraits(const InterfaceSettings& s, int chipLinkKind = 0)
{
    return modelTraits(s.model, s.subModel, chipLinkKind);
}

// Files of interfaces with a separate motor bank (and every file saved without
// an interface) keep 4 level bytes and add the motor names.
bool isCompactLayout(int mode, int model, int subModel);

// The calibration sub-directory ("DSI", "SAC", "CC", "Lego", "Ft" or "OTHERS").
std::string_view sensorSubdirectory(int model, int chipLinkKind);

// A Contact Controller type: model 7, model 13, or the chip variant that talks
// that protocol.
bool isContactControllerType(int model, int chipLinkKind);

// Whether a model takes its capabilities (and its compiled program's shape)
// from an entry of the chip data file.
bool usesChipEntry(int model);

// Charts for Quillo and for a chip that talks the Contact Controller protocol
// live compile to the direct dialect; other chips to the skip dialect.
bool compilesToDirectDialect(int model, int chipLinkKind);

// The compiled program's size: a chip entry's size word of 128 gives the small
// image, everything else the full one.
int programImageSize(int model, int chipSizeWord);

// ---- The interface dialog ------------------------------------------------------

// What a choice of the interface dialog takes and how the dialog follows a
// click on it.
struct ChoiceRule {
    static constexpr int kChosen = -1;  // the value the radios show

    InterfaceChoice choice = InterfaceChoice::Unoffered;
    int model = 0;
    int subModel = 0;  // a board adds the board box's index, a single chip the chip box's
    int numbering = kChosen;
    int highLow = kChosen;
    bool keepsMotorOption = false;  // else the motor option becomes 0
    // The controls a click enables.
    bool numberingRadios = false;
    bool highLowRadios = false;
    bool mfaButton = false;
    bool boardBox = false;
    bool chipBox = false;
    // The radio a click checks: numbering 1 "1-8" or 2 "0-7", high/low 1
    // "Alto" or 2 "Bajo"; 0 checks none.
    int checksNumbering = 0;
    int checksHighLow = 0;
    // Only these boxes are reached over USB.
    bool usbAllowed = false;
};

// The rule of a dialog choice. Unoffered, a code the dialog does not offer
// (an old configuration file): it keeps its model, sub-model and motor
// option, and numbering and level stay open.
const ChoiceRule& choiceRule(InterfaceChoice choice);

// The settings a choice takes over `current`. `chosenNumbering` and
// `chosenHighLow` are the radios' values, `board` and `chip` the indices of
// the two chip boxes.
InterfaceSettings settingsForChoice(InterfaceChoice choice, const InterfaceSettings& current,
                                    int chosenNumbering, int chosenHighLow, int board, int chip);

// The item of the board box or of the single-chip box a Tolva Chip sub-model
// names; 0 when the settings name none of that box.
int boardIndexOf(const InterfaceSettings& s);
int singleChipIndexOf(const InterfaceSettings& s);

}  // namespace tarvel
