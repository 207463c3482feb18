#include "interfaces/model_traits.h"

#include <climits>

#include "interfaces/interface_model.h"

namespace tarvel {

namespace {

constexpr int kLowestSub = INT_MIN;
constexpr int kHighestSub = INT_MAX;

// A row applies to a model's sub-models first..last; the first row that
// applies wins.
struct ModelRow {
    int model;
    int subFirst;
    int subLast;
    ModelTraits traits;
};

// Encodings of Connect with an interface: the motor bank, outputs mirroring
// the motor lines, motors driving outputs, and the two reverse-encoding flags.
constexpr MotorEncoding kPlainEncoding{};
constexpr MotorEncoding kMotorBank{.separateMotorBank = true, .outputsMirrorMotors = false};
constexpr MotorEncoding kContactControllerBank{
    .separateMotorBank = true, .outputsMirrorMotors = false, .encodingFlag = {0, 0}};
constexpr MotorEncoding kChipBank{.separateMotorBank = true, .encodingFlag = {0, 0}};
constexpr MotorEncoding kLegoBank{
    .separateMotorBank = true, .outputsMirrorMotors = false, .motorsDriveOutputs = true};
constexpr MotorEncoding kFischertechnikBank{.separateMotorBank = true,
                                            .outputsMirrorMotors = false,
                                            .motorsDriveOutputs = true,
                                            .encodingFlag = {0, 0}};

// Motors are output pairs; reverse drives the second line only, so a
// motor driver never sees both of its inputs high.
constexpr MotorEncoding kPairsSecondLineReverse{.encodingFlag = {0, 0}};

constexpr ModelTraits deltronics(InterfaceChoice choice)
{
    return {.protocol = ProtocolFamily::Deltronics,
            .serialProfile = &kDeltronicsProfile,
            .sensorSubdirectory = "DSI",
            .encoding = kPlainEncoding,
            .readsAnalogue = true,
            .offersAutomaticSensors = true,
            .reportsSensorIds = true,
            .motorSpeed = true,
            .choice = choice};
}

constexpr ModelTraits contactController(InterfaceChoice choice, CapsOverrides caps = {})
{
    return {.protocol = ProtocolFamily::ContactController,
            .serialProfile = &kContactControllerProfile,
            .sensorSubdirectory = "CC",
            .encoding = kContactControllerBank,
            .sendsMotorByte = true,
            .readsAnalogue = true,
            .motorSpeed = true,
            .caps = caps,
            .choice = choice};
}

// The link of the chosen chip fills in the rest (applyChipLink below).
constexpr ModelTraits tolvaChip(InterfaceChoice choice, bool runCompiles)
{
    return {.encoding = kChipBank,
            .restrictedKeypads = true,
            .usesChipEntry = true,
            .runCompiles = runCompiles,
            .chipPrograms = true,
            .downloadTarget = "TolvaChip",
            .downloadKind = DownloadKind::TolvaChip,
            .choice = choice};
}

constexpr CapsOverrides kFourIoCaps{
    .inputMask = 0x1E00, .outputMask = 0x1E00, .motorMask = 0xC00000};
constexpr CapsOverrides kJuniorCaps{
    .inputMask = 0x1E00, .outputMask = 0xBE00, .motorMask = 0x3000000};

constexpr ModelRow kModelRows[] = {
    {ModelDeltronics, kDeltronicsJunior, kDeltronicsJunior,
     [] {
         ModelTraits t = deltronics(InterfaceChoice::DeltronicsJunior);
         t.automaticSensors = true;
         t.caps = kJuniorCaps;
         return t;
     }()},
    {ModelDeltronics, kDeltronicsSerialPlus, kDeltronicsSerialPlus,
     [] {
         // A motor bank of its own, with a motor byte and a slider per motor.
         ModelTraits t = deltronics(InterfaceChoice::DeltronicsSerialPlus);
         t.encoding = kMotorBank;
         t.sendsMotorByte = true;
         t.fourMotorSliders = true;
         return t;
     }()},
    {ModelDeltronics, kDeltronicsDigitalAdaptor, kDeltronicsDigitalAdaptor,
     [] {
         // The digital adaptor has no analogue inputs, and reports no sensors.
         ModelTraits t = deltronics(InterfaceChoice::DeltronicsDigitalAdaptor);
         t.readsAnalogue = false;
         t.reportsSensorIds = false;
         return t;
     }()},
    {ModelDeltronics, kLowestSub, kHighestSub, deltronics(InterfaceChoice::Deltronics)},
    {ModelSenseControl,
     kLowestSub,
     kHighestSub,
     {.protocol = ProtocolFamily::SenseControl,
      .serialProfile = &kSenseControlProfile,
      .sensorSubdirectory = "SAC",
      .testReconnect = TestReconnect::ReconnectOrStayOff,
      .readsAnalogue = true,
      .offersAutomaticSensors = true,
      .reportsSensorIds = true,
      .automaticSensors = true,
      .choice = InterfaceChoice::SenseControl}},
    {ModelMfa,
     kLowestSub,
     kHighestSub,
     {.protocol = ProtocolFamily::Mfa,
      .serialProfile = &kMfaProfile,
      .motorOptionWiring = true,
      .readsAnalogue = true,  // with the extension board present
      .reversedLamps = true,
      .reducedMonitorWide = true,
      .dacKey = true,
      .choice = InterfaceChoice::Mfa}},
    {ModelContactController, kContactControllerPlus, kContactControllerPlus,
     contactController(InterfaceChoice::ContactControllerPlus)},
    {ModelContactController, kContactControllerBasic, kContactControllerBasic,
     contactController(InterfaceChoice::ContactController, kFourIoCaps)},
    {ModelContactController, kLowestSub, kHighestSub,
     contactController(InterfaceChoice::ContactController)},
    // Not offered: it shares the MFA's lamp order but has no analogue output.
    {ModelMfaAlt, kLowestSub, kHighestSub, {.reversedLamps = true}},
    // Not offered: no live protocol, four inputs.
    {ModelInert, kLowestSub, kHighestSub, {.caps = {.inputMask = 0x1E00}}},
    // The run command interprets a chart only for the third board (sub-model
    // 2); for the other boards and the single chips it compiles it and runs
    // the program in the chip simulator.
    {ModelTolvaChip, 0, 1, tolvaChip(InterfaceChoice::TolvaChipBoard, true)},
    {ModelTolvaChip, 2, 2, tolvaChip(InterfaceChoice::TolvaChipBoard, false)},
    {ModelTolvaChip, kFirstSingleChip, kHighestSub, tolvaChip(InterfaceChoice::Vizo, true)},
    {ModelTolvaChip, kLowestSub, kHighestSub, tolvaChip(InterfaceChoice::TolvaChipBoard, true)},
    {ModelLego,
     kLowestSub,
     kHighestSub,
     {.protocol = ProtocolFamily::Lego,
      .serialProfile = &kLegoProfile,
      .sensorSubdirectory = "Lego",
      .encoding = kLegoBank,
      .readsAnalogue = true,  // from the frame the input poll read
      .motorSpeed = true,
      .choice = InterfaceChoice::Lego}},
    {ModelFischertechnik,
     kLowestSub,
     kHighestSub,
     {.protocol = ProtocolFamily::Fischertechnik,
      .serialProfile = &kFischertechnikProfile,
      .sensorSubdirectory = "Ft",
      .encoding = kFischertechnikBank,
      .testReconnect = TestReconnect::Reconnect,
      .readsAnalogue = true,  // channels 1 and 2, from the input poll
      .fileMayCarryEightLevels = true,
      .caps = {.outputMask = 0x1E00, .valueKeyMask = 0x610},
      .choice = InterfaceChoice::Fischertechnik}},
    {ModelQuillo, kLowestSub, kHighestSub,
     [] {
         ModelTraits t = contactController(InterfaceChoice::Quillo);
         t.sendsSpeedsOnConnect = true;
         t.restrictedKeypads = true;
         t.compilesDirect = true;
         t.chipPrograms = true;
         t.downloadTarget = "Quillo";
         t.downloadKind = DownloadKind::Quillo;
         t.caps = {.inputMask = 0x1E00,
                   .outputMask = 0x7E00,
                   .motorMask = 0xC00000,
                   .valueKeyMask = 0x610,
                   .decisionKeyMask = 0x180000D2,
                   .turnKeyMask = 0xD0,
                   .clearsOptionWord = true};
         return t;
     }()},
    {ModelFirmata,
     kLowestSub,
     kHighestSub,
     {.protocol = ProtocolFamily::Firmata,
      .serialProfile = &kFirmataProfile,
      .sensorSubdirectory = "Arduino",
      .encoding = kPairsSecondLineReverse,
      // The duty cycles of its PWM outputs follow the levels from the start.
      .sendsSpeedsOnConnect = true,
      .readsAnalogue = true,
      .motorSpeed = true,
      .usesPinMap = true,
      // The default pin map has no inputs 7 and 8 (the layer applies the
      // map in use).
      .caps = {.inputMask = 0x7E00},
      .choice = InterfaceChoice::Firmata}},
};

// No interface, and the codes 3, 4, 5 and any other: nothing live, the
// default capabilities.
constexpr ModelTraits kOtherModel{};

// What the link kind of a chip entry makes of a Tolva Chip: kind 2 talks the
// Contact Controller protocol live; the others run on their own.
void applyChipLink(ModelTraits& t, int chipLinkKind)
{
    if (chipLinkKind == kChipLinkContactController) {
        t.protocol = ProtocolFamily::ContactController;
        t.serialProfile = &kContactControllerProfile;
        t.sensorSubdirectory = "CC";
        t.sendsSpeedsOnConnect = true;
        t.readsAnalogue = true;
        t.chipKeys = ChipKeys::LiveLink;
        t.compilesDirect = true;
        t.downloadKind = DownloadKind::Vizo;
    } else {
        t.chipKeys = ChipKeys::TurnOnly;
    }
}

}  // namespace

ModelTraits modelTraits(int model, int subModel, int chipLinkKind)
{
    ModelTraits t = kOtherModel;
    for (const ModelRow& row : kModelRows) {
        if (row.model == model && subModel >= row.subFirst && subModel <= row.subLast) {
            t = row.traits;
            break;
        }
    }
    if (t.usesChipEntry) applyChipLink(t, chipLinkKind);
    // The first variant of every model has the motor monitor with four
    // sliders, and its files keep the four motor levels.
    if (subModel == 0) {
        t.fourMotorSliders = true;
        t.fileKeepsFourMotorLevels = true;
    }
    return t;
}

bool isCompactLayout(int mode, int model, int subModel)
{
    return mode == 0 || modelTraits(model, subModel).encoding.separateMotorBank;
}

std::string_view sensorSubdirectory(int model, int chipLinkKind)
{
    return modelTraits(model, 0, chipLinkKind).sensorSubdirectory;
}

bool isContactControllerType(int model, int chipLinkKind)
{
    return modelTraits(model, 0, chipLinkKind).protocol == ProtocolFamily::ContactController;
}

bool usesChipEntry(int model)
{
    return modelTraits(model, 0).usesChipEntry;
}

bool compilesToDirectDialect(int model, int chipLinkKind)
{
    return modelTraits(model, 0, chipLinkKind).compilesDirect;
}

int programImageSize(int model, int chipSizeWord)
{
    return usesChipEntry(model) && chipSizeWord == kSmallProgramSize ? kSmallProgramSize
                                                                     : kFullProgramSize;
}

// ---- The interface dialog ------------------------------------------------------

namespace {

constexpr int kChosen = ChoiceRule::kChosen;

// Numbering and high/low open to choice.
constexpr ChoiceRule open(InterfaceChoice choice, int model, int subModel)
{
    return {.choice = choice,
            .model = model,
            .subModel = subModel,
            .numberingRadios = true,
            .highLowRadios = true};
}

// Boxes that always number from 1 and need no choice of level.
constexpr ChoiceRule fromOne(InterfaceChoice choice, int model, int subModel, int highLow,
                             bool keepsMotorOption = false, bool usb = false)
{
    return {.choice = choice,
            .model = model,
            .subModel = subModel,
            .numbering = 1,
            .highLow = highLow,
            .keepsMotorOption = keepsMotorOption,
            .checksNumbering = 1,
            .usbAllowed = usb};
}

constexpr ChoiceRule kChoiceRules[] = {
    {.choice = InterfaceChoice::Unoffered,
     .keepsMotorOption = true,
     .numberingRadios = true,
     .highLowRadios = true},
    open(InterfaceChoice::Deltronics, ModelDeltronics, kDeltronicsSerial),
    open(InterfaceChoice::DeltronicsSerialPlus, ModelDeltronics, kDeltronicsSerialPlus),
    {.choice = InterfaceChoice::DeltronicsJunior,
     .model = ModelDeltronics,
     .subModel = kDeltronicsJunior,
     .numbering = 1,
     .highLowRadios = true,
     .checksHighLow = 2},
    open(InterfaceChoice::DeltronicsDigitalAdaptor, ModelDeltronics, kDeltronicsDigitalAdaptor),
    open(InterfaceChoice::SenseControl, ModelSenseControl, 0),
    {.choice = InterfaceChoice::Mfa,
     .model = ModelMfa,
     .numbering = 2,
     .highLow = 0,
     .keepsMotorOption = true,
     .mfaButton = true,
     .checksNumbering = 2},
    fromOne(InterfaceChoice::ContactController, ModelContactController, kContactControllerBasic, 1),
    fromOne(InterfaceChoice::ContactControllerPlus, ModelContactController, kContactControllerPlus,
            1),
    {.choice = InterfaceChoice::TolvaChipBoard,
     .model = ModelTolvaChip,
     .numbering = 1,
     .highLow = 1,
     .boardBox = true},
    {.choice = InterfaceChoice::Vizo,
     .model = ModelTolvaChip,
     .subModel = kFirstSingleChip,
     .numbering = 1,
     .highLow = 1,
     .chipBox = true,
     .usbAllowed = true},
    // The LEGO and Fischertechnik boxes leave the motor option as it was.
    fromOne(InterfaceChoice::Lego, ModelLego, 0, 0, true),
    fromOne(InterfaceChoice::Fischertechnik, ModelFischertechnik, 0, 0, true),
    fromOne(InterfaceChoice::Quillo, ModelQuillo, 0, 1, false, true),
    // The board reads its inputs with the pull-ups, pressed as on: no inversion.
    fromOne(InterfaceChoice::Firmata, ModelFirmata, 0, 0),
};

}  // namespace

const ChoiceRule& choiceRule(InterfaceChoice choice)
{
    for (const ChoiceRule& rule : kChoiceRules)
        if (rule.choice == choice) return rule;
    return kChoiceRules[0];
}

InterfaceSettings settingsForChoice(InterfaceChoice choice, const InterfaceSettings& current,
                                    int chosenNumbering, int chosenHighLow, int board, int chip)
{
    const ChoiceRule& rule = choiceRule(choice);
    InterfaceSettings s = current;
    if (rule.choice != InterfaceChoice::Unoffered) {
        s.model = rule.model;
        s.subModel = rule.subModel + (rule.boardBox ? board : 0) + (rule.chipBox ? chip : 0);
    }
    s.numbering = rule.numbering == kChosen ? chosenNumbering : rule.numbering;
    s.highLow = rule.highLow == kChosen ? chosenHighLow : rule.highLow;
    if (!rule.keepsMotorOption) s.motorOption = 0;
    return s;
}

int boardIndexOf(const InterfaceSettings& s)
{
    const ModelTraits t = modelTraits(s);
    return t.usesChipEntry && t.choice == InterfaceChoice::TolvaChipBoard ? s.subModel : 0;
}

int singleChipIndexOf(const InterfaceSettings& s)
{
    const ModelTraits t = modelTraits(s);
    return t.usesChipEntry && t.choice == InterfaceChoice::Vizo ? s.subModel - kFirstSingleChip : 0;
}

}  // namespace tarvel
