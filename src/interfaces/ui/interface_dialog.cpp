#include "interfaces/ui/interface_dialog.h"

#include "platform/qt/grey_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

#include "chip/chip_data.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "interfaces/model_traits.h"
#include "interfaces/ui/mfa_mod_dialog.h"
#include "interfaces/ui/opt_box.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

// Control ids of the dialog.
enum : int {
    IdOk = 1,
    IdCancel = 2,
    IdTolvaChip = 101,
    IdSave = 102,
    IdUsb = 103,
    IdCom6 = 104,
    IdNoInterface = 105,
    IdDeltronics = 106,
    IdSenseControl = 107,
    IdMfa = 108,
    IdContactController = 109,
    IdCom1 = 110,
    IdNumberFromOne = 115,
    IdNumberFromZero = 116,
    IdHigh = 117,
    IdLow = 118,
    IdComPort = 119,
    IdMfaModule = 121,
    IdContactControllerPlus = 122,
    IdBoards = 123,
    IdJunior = 124,
    IdSerialPlus = 125,
    IdLego = 126,
    IdDigitalAdaptor = 127,
    IdFischertechnik = 128,
    IdQuillo = 129,
    IdVizo = 130,
    IdChips = 131,
    IdFirmata = 132,
};

// Ports 0..4 are the radios 110..114, port 5 is 104 and USB (-1) is 103.
int portRadio(int port)
{
    if (port == kUsbPort) return IdUsb;
    if (port >= 0 && port < 5) return IdCom1 + port;
    if (port == 5) return IdCom6;
    return -1;
}

int portOfRadio(int id)
{
    if (id == IdUsb) return kUsbPort;
    if (id == IdCom6) return 5;
    return id - IdCom1;
}

struct ModelRadio {
    int id;
    InterfaceChoice choice;
    const char* text;
};

// In the order they are laid out: the left column, then the right one.
constexpr ModelRadio kLeftModels[] = {
    {IdDeltronics, InterfaceChoice::Deltronics, "&Deltronics/Commotion Serie"},
    {IdSerialPlus, InterfaceChoice::DeltronicsSerialPlus, "Interfaz &Deltronics Serie +"},
    {IdJunior, InterfaceChoice::DeltronicsJunior, "&Del/Comm Junior Serie"},
    {IdDigitalAdaptor, InterfaceChoice::DeltronicsDigitalAdaptor, "Adaptora &Del Digital Serie"},
    {IdSenseControl, InterfaceChoice::SenseControl, "Interfaz S&ense and Control"},
    {IdMfa, InterfaceChoice::Mfa, "&MFA Serial Computer Module"},
    {IdTolvaChip, InterfaceChoice::TolvaChipBoard, "Sistema &Tolva Chip P.I.C.s"},
    {IdVizo, InterfaceChoice::Vizo, "&Vizo"},
    {IdFirmata, InterfaceChoice::Firmata, "A&rduino (Firmata)"},
};
constexpr ModelRadio kRightModels[] = {
    {IdContactController, InterfaceChoice::ContactController, "&Contact Controller"},
    {IdContactControllerPlus, InterfaceChoice::ContactControllerPlus, "Contact Controller &Plus"},
    {IdLego, InterfaceChoice::Lego, "&LEGO DACTA Control Lab"},
    {IdFischertechnik, InterfaceChoice::Fischertechnik, "&Fischertechnik Interfaz"},
    {IdQuillo, InterfaceChoice::Quillo, "&Quillo"},
};

// The model radio that meets a condition, or null.
template <class Match>
const ModelRadio* findRadio(Match match)
{
    using Column = std::span<const ModelRadio>;
    for (const Column column : {Column(kLeftModels), Column(kRightModels)})
        for (const ModelRadio& m : column)
            if (match(m)) return &m;
    return nullptr;
}

// The radio that shows a model and sub-model, or -1 for codes the dialog
// never produces.
int modelRadio(const InterfaceSettings& s)
{
    const InterfaceChoice choice = modelTraits(s).choice;
    const ModelRadio* radio = findRadio([&](const ModelRadio& m) { return m.choice == choice; });
    return radio ? radio->id : -1;
}

// The choice of a model radio; none checked is a model the dialog does not offer.
InterfaceChoice choiceOfRadio(int id)
{
    const ModelRadio* radio = findRadio([&](const ModelRadio& m) { return m.id == id; });
    return radio ? radio->choice : InterfaceChoice::Unoffered;
}

// Checks the radio with the given id, or clears the group when there is none.
void checkOnly(QButtonGroup* group, int id)
{
    if (QAbstractButton* b = group->button(id)) {
        b->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

void fillBox(QComboBox* box, const std::vector<std::string>& names, int index)
{
    box->clear();
    for (const std::string& name : names) box->addItem(fromCp1252(name));
    if (box->count() > 0) box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

}  // namespace

TInterfaceDialog::TInterfaceDialog(InterfaceLayer& layer, Messages& messages, QWidget* parent)
    : QDialog(parent), layer_(layer), messages_(messages)
{
    present_.fill(true);
    setWindowTitle(QStringLiteral("Interfaz"));
    paintDialogGrey(*this);
    buildControls();
    loadFromSettings();
}

TOptBox* TInterfaceDialog::option(int id) const
{
    return findChild<TOptBox*>(QStringLiteral("id%1").arg(id));
}

void TInterfaceDialog::buildControls()
{
    auto addOption = [this](QButtonGroup* group, int id, const char* text) {
        auto* box = new TOptBox(id, QString::fromUtf8(text), this);
        group->addButton(box, id);
        return box;
    };
    connection_ = new QButtonGroup(this);
    ports_ = new QButtonGroup(this);
    models_ = new QButtonGroup(this);
    numbering_ = new QButtonGroup(this);
    highLow_ = new QButtonGroup(this);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);

    // An interface on a port: the port, then the model.
    layout->addWidget(addOption(connection_, IdComPort, "&Puerto de Comunicaciones"));
    auto* portRow = new QHBoxLayout;
    portRow->setContentsMargins(24, 0, 0, 0);
    portRow->setSpacing(12);
    for (int port = 0; port < kComPorts; ++port) {
        const QByteArray text = QStringLiteral("Com &%1").arg(port + 1).toUtf8();
        portRow->addWidget(addOption(ports_, portRadio(port), text.constData()));
    }
    portRow->addWidget(addOption(ports_, IdUsb, "&USB"));
    portRow->addStretch();
    layout->addLayout(portRow);

    auto* modelBox = new QGroupBox(QStringLiteral("Modelo de interfaz"), this);
    auto* modelGrid = new QGridLayout(modelBox);
    modelGrid->setHorizontalSpacing(24);
    int row = 0;
    for (const ModelRadio& m : kLeftModels)
        modelGrid->addWidget(addOption(models_, m.id, m.text), row++, 0);
    row = 0;
    for (const ModelRadio& m : kRightModels)
        modelGrid->addWidget(addOption(models_, m.id, m.text), row++, 1);

    // The MFA button and the two chip boxes stand beside the radio they serve.
    mfaButton_ = new QPushButton(QString::fromUtf8("módulo MFA..."), modelBox);
    mfaButton_->setObjectName(QStringLiteral("id%1").arg(IdMfaModule));
    modelGrid->addWidget(mfaButton_, 5, 1, Qt::AlignLeft);
    boards_ = new QComboBox(modelBox);
    boards_->setObjectName(QStringLiteral("id%1").arg(IdBoards));
    chips_ = new QComboBox(modelBox);
    chips_->setObjectName(QStringLiteral("id%1").arg(IdChips));
    for (QComboBox* box : {boards_, chips_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setMinimumContentsLength(18);
    }
    modelGrid->addWidget(boards_, 6, 1);
    modelGrid->addWidget(chips_, 7, 1);
    auto* modelRow = new QHBoxLayout;
    modelRow->setContentsMargins(24, 0, 0, 0);
    modelRow->addWidget(modelBox);
    layout->addLayout(modelRow);

    layout->addWidget(addOption(connection_, IdNoInterface, "&No Interfaz"));

    // How inputs and outputs are labelled, and whether the inputs read inverted.
    auto* labels = new QGroupBox(QStringLiteral("Etiquetas"), this);
    auto* labelsRow = new QHBoxLayout(labels);
    labelsRow->addWidget(addOption(numbering_, IdNumberFromOne, "1-&8 o 1-4"));
    labelsRow->addWidget(addOption(numbering_, IdNumberFromZero, "0-&7 o 0-3"));
    auto* levels = new QGroupBox(QStringLiteral("Alto o Bajo"), this);
    auto* levelsRow = new QHBoxLayout(levels);
    levelsRow->addWidget(addOption(highLow_, IdHigh, "&Alto"));
    levelsRow->addWidget(addOption(highLow_, IdLow, "&Bajo"));
    auto* choices = new QHBoxLayout;
    choices->addWidget(labels, 1);
    choices->addWidget(levels, 1);
    layout->addLayout(choices);

    auto* note = new QLabel(QString::fromUtf8("'Aceptar y Guardar' cambiará la configuración "
                                              "predeterminada, 'Aceptar' solamente hará un "
                                              "cambio temporario."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* save = new QPushButton(QStringLiteral("Aceptar y &Guardar"), this);
    save->setObjectName(QStringLiteral("id%1").arg(IdSave));
    auto* ok = new QPushButton(QStringLiteral("&Aceptar"), this);
    ok->setObjectName(QStringLiteral("id%1").arg(IdOk));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("id%1").arg(IdCancel));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(models_, &QButtonGroup::idClicked, this, &TInterfaceDialog::modelClicked);
    connect(connection_, &QButtonGroup::idClicked, this, &TInterfaceDialog::connectionClicked);
    connect(mfaButton_, &QPushButton::clicked, this, &TInterfaceDialog::openMfaDialog);
    connect(save, &QPushButton::clicked, this, [this] { takeChoice(true); });
    connect(ok, &QPushButton::clicked, this, [this] { takeChoice(false); });
    connect(cancel, &QPushButton::clicked, this, &TInterfaceDialog::reject);
}

void TInterfaceDialog::setPortsPresent(const PortPresence& present)
{
    present_ = present;
    refreshPorts();
}

void TInterfaceDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) loadFromSettings();
    QDialog::showEvent(event);
}

void TInterfaceDialog::loadFromSettings()
{
    const InterfaceSettings& s = layer_.settings;

    // Without the chip data file the two boxes stay empty.
    const Result<ChipData> read = loadChipData(layer_.sensorsDirectory());
    const ChipData chipData = read ? read.value() : ChipData{};
    fillBox(boards_, chipData.boardNames(), boardIndexOf(s));
    fillBox(chips_, chipData.singleChipNames(), singleChipIndexOf(s));

    checkOnly(ports_, portRadio(s.port));
    checkOnly(numbering_, numberingFromZero(s.numbering) ? IdNumberFromZero : IdNumberFromOne);
    checkOnly(highLow_, s.highLow == 1 ? IdHigh : IdLow);

    if (s.mode == 0) {
        checkOnly(connection_, IdNoInterface);
        checkOnly(models_, -1);
        applyNoInterface();
    } else {
        checkOnly(connection_, IdComPort);
        const int id = modelRadio(s);
        checkOnly(models_, id);
        setModelRadiosEnabled(true);
        // Show the choice as it stands: the forced checks only come with a click.
        applyModelRule(id, false);
    }
    refreshPorts();
}

void TInterfaceDialog::modelClicked(int id)
{
    applyModelRule(id, true);
    refreshPorts();
}

void TInterfaceDialog::connectionClicked(int id)
{
    if (id == IdNoInterface) {
        applyNoInterface();
    } else {
        setModelRadiosEnabled(true);
        int radio = models_->checkedId();
        if (radio < 0) {
            radio = IdContactController;
            option(radio)->setChecked(true);
        }
        applyModelRule(radio, true);
    }
    refreshPorts();
}

void TInterfaceDialog::applyModelRule(int id, bool check)
{
    const ChoiceRule& rule = choiceRule(choiceOfRadio(id));
    for (QAbstractButton* b : numbering_->buttons()) b->setEnabled(rule.numberingRadios);
    for (QAbstractButton* b : highLow_->buttons()) b->setEnabled(rule.highLowRadios);
    mfaButton_->setEnabled(rule.mfaButton);
    boards_->setEnabled(rule.boardBox);
    chips_->setEnabled(rule.chipBox);
    if (!check) return;
    if (rule.checksNumbering != 0)
        option(rule.checksNumbering == 1 ? IdNumberFromOne : IdNumberFromZero)->setChecked(true);
    if (rule.checksHighLow != 0) option(rule.checksHighLow == 1 ? IdHigh : IdLow)->setChecked(true);
}

void TInterfaceDialog::applyNoInterface()
{
    for (QAbstractButton* b : numbering_->buttons()) b->setEnabled(true);
    for (QAbstractButton* b : highLow_->buttons()) b->setEnabled(false);
    mfaButton_->setEnabled(false);
    boards_->setEnabled(false);
    chips_->setEnabled(false);
    setModelRadiosEnabled(false);
}

void TInterfaceDialog::setModelRadiosEnabled(bool on)
{
    for (QAbstractButton* b : models_->buttons()) b->setEnabled(on);
}

void TInterfaceDialog::refreshPorts()
{
    for (int port = 0; port < kComPorts; ++port)
        ports_->button(portRadio(port))->setEnabled(present_[static_cast<std::size_t>(port)]);
    // Only some boxes are reached over USB. Without an interface no port is
    // used, and the one chosen stays, USB included.
    const bool usbAllowed = choiceRule(choiceOfRadio(models_->checkedId())).usbAllowed;
    QAbstractButton* usb = ports_->button(IdUsb);
    usb->setEnabled(usbAllowed);
    if (usb->isChecked() && !usbAllowed && connection_->checkedId() != IdNoInterface) {
        const int first = firstPresentPort(present_);
        if (first >= 0) ports_->button(portRadio(first))->setChecked(true);
    }
}

void TInterfaceDialog::openMfaDialog()
{
    // The module dialog's own "Aceptar" stores the wiring; this dialog's
    // "Cancelar" does not take it back.
    TMfaModDialog dialog(layer_.settings.motorOption, this);
    if (dialog.exec() == QDialog::Accepted) layer_.setMotorOption(dialog.motorOption());
}

InterfaceSettings TInterfaceDialog::chosenSettings() const
{
    InterfaceSettings s = layer_.settings;
    // A port that is checked but cannot be used (absent, or USB for a model
    // without it) gives COM1; without an interface a USB port is kept for
    // when the box is chosen again.
    const QAbstractButton* port = ports_->checkedButton();
    const bool keptUsb = connection_->checkedId() == IdNoInterface && ports_->checkedId() == IdUsb;
    s.port = keptUsb || (port && port->isEnabled()) ? portOfRadio(ports_->checkedId()) : 0;
    s.analogueSource = 0;
    const int chosenNumbering = numbering_->checkedId() == IdNumberFromOne ? 1 : 2;
    const int chosenHighLow = highLow_->checkedId() == IdHigh ? 1 : 2;

    if (connection_->checkedId() == IdNoInterface) {
        s.model = ModelNone;
        s.mode = 0;
        s.subModel = 0;
        s.numbering = chosenNumbering;
        s.highLow = chosenHighLow;
        s.motorOption = 0;
        return s;
    }

    s.mode = 1;
    // An empty chip box still names its first entry rather than an index
    // before it: for the single chips that would fall among the boards.
    const int board = std::max(boards_->currentIndex(), 0);
    const int chip = std::max(chips_->currentIndex(), 0);
    return settingsForChoice(choiceOfRadio(models_->checkedId()), s, chosenNumbering, chosenHighLow,
                             board, chip);
}

void TInterfaceDialog::takeChoice(bool save)
{
    const InterfaceSettings before = layer_.settings;
    const InterfaceSettings chosen = chosenSettings();
    // "No Interfaz" and the Tolva Chip system are only ever simulated; the
    // box in use is switched off and let go before the choice changes.
    const ModelTraits traits = modelTraits(chosen);
    if (chosen.mode == 0 || traits.usesChipEntry) layer_.setSimulate(true);
    layer_.settings = chosen;
    // A failed write has shown its message; the new settings still apply.
    if (save) static_cast<void>(saveInterfaceConfig(configPath_, layer_.settings, messages_));
    layer_.applySelection();
    // A family without a protocol cannot be driven: back to simulation.
    if (!layer_.flags.simulate && !layer_.canGoLive()) layer_.setSimulate(true);

    const InterfaceSettings& after = layer_.settings;
    if (after.numbering != before.numbering) emit numberingChanged(after.numbering);
    const bool wide = modelTraits(after).reducedMonitorWide;
    if (wide != modelTraits(before).reducedMonitorWide) emit mfaModelChanged(wide);
    emit selectionApplied();
    accept();
}

}  // namespace tarvel
