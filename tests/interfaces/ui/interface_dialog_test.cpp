// The interface dialog and the MFA module dialog, driven by clicks as a user
// would, checked through the settings they leave in the interface layer.

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "interfaces/protocols/protocol_registry.h"
#include "interfaces/ui/interface_dialog.h"
#include "interfaces/ui/mfa_mod_dialog.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

// Three boards, a single chip kept out of the lists, and two single chips (one
// with a Windows-1252 name).
constexpr const char kChipFile[] =
    "1;Standard board;\r\n1,11111111,11111111,1111,1111,1,0,256,\r\n"
    "2;MOTOR BOARD;\r\n1,11110000,11110000,1111,0000,1,0,256,\r\n"
    "3;ADC board;\r\n1,11110000,11110000,0000,1111,0,0,256,\r\n"
    "/4;Prototipo;\r\n2,11000000,11000000,0000,0000,0,0,128,\r\n"
    "5;Vizo 18;\r\n2,11110000,11110000,1100,1000,0,1,128,\r\n"
    "6;Vizo Peque\xF1o;\r\n3,11000000,11100000,0000,0000,0,0,256,\r\n";

InterfaceSettings settingsFor(int mode, int model, int subModel, int numbering = 1, int highLow = 1,
                              int port = 0)
{
    InterfaceSettings s;
    s.mode = mode;
    s.model = model;
    s.subModel = subModel;
    s.numbering = numbering;
    s.highLow = highLow;
    s.port = port;
    return s;
}

class InterfaceDialogTest : public ::testing::Test {
protected:
    InterfaceDialogTest()
    {
        std::ofstream(dir.path() / "tolvachip.dat", std::ios::binary) << kChipFile;
        layer.setSensorsDirectory(dir.path().string());
    }

    // Opens the dialog on the given settings, as the frame does.
    TInterfaceDialog& open(const InterfaceSettings& s, PortPresence present = allPorts())
    {
        layer.settings = s;
        dialog.setPortsPresent(present);
        dialog.loadFromSettings();
        return dialog;
    }

    static PortPresence allPorts()
    {
        PortPresence p;
        p.fill(true);
        return p;
    }

    QRadioButton* radio(int id) const
    {
        auto* r = dialog.findChild<QRadioButton*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(r, nullptr) << "radio " << id;
        return r;
    }
    QPushButton* button(int id) const
    {
        auto* b = dialog.findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(b, nullptr) << "button " << id;
        return b;
    }
    QComboBox* box(int id) const
    {
        return dialog.findChild<QComboBox*>(QStringLiteral("id%1").arg(id));
    }
    bool checked(int id) const { return radio(id)->isChecked(); }
    bool enabled(int id) const { return radio(id)->isEnabled(); }
    void click(int id) { radio(id)->click(); }

    test::TempDir dir;
    InterfaceLayer layer;
    test::FakeMessages messages;
    TInterfaceDialog dialog{layer, messages};
};

constexpr int kModelRadios[] = {106, 125, 124, 127, 107, 108, 109,
                                122, 101, 130, 126, 128, 129, 132};

// ---- The rules a model click applies -----------------------------------------

TEST_F(InterfaceDialogTest, ModelClicksEnableAndForceTheDependentControls)
{
    // Which of numbering, level, MFA button, board box and chip box can be used.
    auto usable = [this] {
        std::string s;
        for (const QWidget* w :
             {static_cast<QWidget*>(radio(115)), static_cast<QWidget*>(radio(117)),
              static_cast<QWidget*>(button(121)), static_cast<QWidget*>(box(123)),
              static_cast<QWidget*>(box(131))})
            s += w->isEnabled() ? '+' : '-';
        return s;
    };
    // The dialog shows 0-7 and "Bajo" for a Deltronics box.
    open(settingsFor(1, ModelDeltronics, 0, 2, 2));
    EXPECT_EQ(usable(), "++---");

    // Contact Controller numbers from 1 and reads high, whatever was shown.
    click(109);
    EXPECT_EQ(usable(), "-----");
    EXPECT_TRUE(checked(115));
    button(1)->click();
    EXPECT_EQ(layer.settings,
              settingsFor(1, ModelContactController, kContactControllerBasic, 1, 1));

    // The MFA module numbers from 0 and has its wiring button.
    open(settingsFor(1, ModelDeltronics, 0, 1, 2));
    click(108);
    EXPECT_EQ(usable(), "--+--");
    EXPECT_TRUE(checked(116));

    // The Junior numbers from 1 (even with 0-7 still checked) and suggests "Bajo".
    open(settingsFor(1, ModelDeltronics, 0, 2, 1));
    click(124);
    EXPECT_EQ(usable(), "-+---");
    EXPECT_TRUE(checked(118));
    EXPECT_TRUE(checked(116));
    click(117);  // the level stays the user's
    button(1)->click();
    EXPECT_EQ(layer.settings, settingsFor(1, ModelDeltronics, kDeltronicsJunior, 1, 1));

    open(settingsFor(1, ModelDeltronics, 0));
    click(101);
    EXPECT_EQ(usable(), "---+-");
    click(130);
    EXPECT_EQ(usable(), "----+");
    click(126);
    EXPECT_EQ(usable(), "-----");
    click(107);
    EXPECT_EQ(usable(), "++---");
}

// What "Aceptar" stores for every model radio, starting from a dialog that
// shows 0-7, "Bajo", COM3 and MFA wiring 2.
TEST_F(InterfaceDialogTest, EveryModelRadioGivesItsRecord)
{
    struct Row {
        int id, model, subModel, numbering, highLow, motorOption;
    };
    const Row rows[] = {
        {106, 1, 0, 2, 2, 0},  {125, 1, 2, 2, 2, 0},  {124, 1, 1, 1, 2, 0},  {127, 1, 3, 2, 2, 0},
        {107, 2, 0, 2, 2, 0},  {109, 7, 5, 1, 1, 0},  {122, 7, 0, 1, 1, 0},  {108, 6, 0, 2, 0, 2},
        {101, 10, 2, 1, 1, 0}, {130, 10, 4, 1, 1, 0}, {126, 11, 0, 1, 0, 2}, {128, 12, 0, 1, 0, 2},
        {129, 13, 0, 1, 1, 0}, {132, 14, 0, 1, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        InterfaceSettings start = settingsFor(1, ModelSenseControl, 0, 2, 2, 2);
        start.motorOption = 2;
        start.analogueSource = 1;
        open(start);
        layer.flags.simulate = false;
        click(r.id);
        // The rules above checked 1-8 for some; the user's 0-7 is shown again.
        if (enabled(116)) click(116);
        box(123)->setCurrentIndex(2);
        box(131)->setCurrentIndex(1);
        button(1)->click();

        InterfaceSettings expected = settingsFor(1, r.model, r.subModel, r.numbering, r.highLow, 2);
        expected.motorOption = r.motorOption;
        EXPECT_EQ(layer.settings, expected);
        // The Tolva Chip system is only simulated; a box whose family can be
        // driven stays driven; a family without a protocol falls back to simulation.
        if (r.model == ModelTolvaChip)
            EXPECT_TRUE(layer.flags.simulate);
        else
            EXPECT_EQ(layer.flags.simulate,
                      !hasProtocol(modelTraits(r.model, r.subModel).protocol));
        if (r.model == ModelDeltronics) EXPECT_FALSE(layer.flags.simulate);
    }
}

// ---- Ports --------------------------------------------------------------------

TEST_F(InterfaceDialogTest, AbsentPortsCannotBeChosen)
{
    const PortPresence present{false, true, true, false, false, true};
    open(settingsFor(1, ModelDeltronics, 0), present);
    std::string usable;  // COM1..COM6, then USB (only for Quillo and Vizo)
    for (int id : {110, 111, 112, 113, 114, 104, 103}) usable += enabled(id) ? '+' : '-';
    EXPECT_EQ(usable, "-++--+-");

    // COM4 was the stored port but is gone: it shows checked and greyed, and
    // the record falls back to port 0.
    open(settingsFor(1, ModelDeltronics, 0, 1, 1, 3), present);
    EXPECT_TRUE(checked(113));
    button(1)->click();
    EXPECT_EQ(layer.settings.port, 0);

    open(settingsFor(1, ModelDeltronics, 0, 1, 1, 5), present);
    EXPECT_TRUE(checked(104));
    button(1)->click();
    EXPECT_EQ(layer.settings.port, 5);
}

TEST_F(InterfaceDialogTest, UsbMovesToTheFirstPresentComPortWhenNoLongerAllowed)
{
    const PortPresence present{false, false, true, true, false, false};
    open(settingsFor(1, ModelQuillo, 0, 1, 1, kUsbPort), present);
    EXPECT_TRUE(checked(103));
    EXPECT_TRUE(enabled(103));

    click(130);  // the Vizo chips are reached over USB as well
    EXPECT_TRUE(checked(103));

    click(109);
    EXPECT_FALSE(enabled(103));
    EXPECT_TRUE(checked(112));  // COM3, the first one present

    click(129);  // USB is offered again, but the check stays where it went
    EXPECT_TRUE(enabled(103));
    EXPECT_TRUE(checked(112));
    button(1)->click();
    EXPECT_EQ(layer.settings.port, 2);
}

// ---- No interface -------------------------------------------------------------

TEST_F(InterfaceDialogTest, NoInterfaceKeepsTheChosenNumberingAndLocksTheModels)
{
    InterfaceSettings start = settingsFor(1, ModelMfa, 0, 2, 0);
    start.motorOption = 2;
    open(start);
    click(105);
    for (int id : kModelRadios) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(115));
    EXPECT_FALSE(enabled(117));
    EXPECT_FALSE(button(121)->isEnabled());
    EXPECT_TRUE(checked(116));

    button(1)->click();
    EXPECT_EQ(layer.settings, settingsFor(0, ModelNone, 0, 2, 2));
    EXPECT_TRUE(layer.flags.simulate);
}

TEST_F(InterfaceDialogTest, NoInterfaceKeepsAUsbPort)
{
    // From Quillo on USB to no interface: the port stays USB.
    open(settingsFor(1, ModelQuillo, 0, 1, 1, kUsbPort));
    click(105);
    EXPECT_TRUE(checked(103));
    button(1)->click();
    EXPECT_EQ(layer.settings, settingsFor(0, ModelNone, 0, 1, 1, kUsbPort));

    // Saved so, it opens with USB checked and "Aceptar" keeps it.
    open(layer.settings);
    EXPECT_TRUE(checked(103));
    button(1)->click();
    EXPECT_EQ(layer.settings.port, kUsbPort);

    // Choosing a box again applies the rule: the Contact Controller has no USB.
    open(layer.settings);
    click(119);
    EXPECT_TRUE(checked(109));
    EXPECT_TRUE(checked(110));
    button(1)->click();
    EXPECT_EQ(layer.settings.port, 0);
}

TEST_F(InterfaceDialogTest, ComPortAgainReappliesTheCheckedModel)
{
    open(settingsFor(1, ModelMfa, 0, 2, 0));
    click(105);
    click(115);
    click(119);
    for (int id : kModelRadios) EXPECT_TRUE(enabled(id)) << id;
    EXPECT_TRUE(checked(108));
    EXPECT_TRUE(checked(116));  // the MFA rule is back
    EXPECT_TRUE(button(121)->isEnabled());

    // Opened without an interface, no model is checked: Contact Controller it is.
    open(settingsFor(0, ModelNone, 0, 2, 2));
    for (int id : kModelRadios) EXPECT_FALSE(checked(id)) << id;
    click(119);
    EXPECT_TRUE(checked(109));
    EXPECT_TRUE(checked(115));
    EXPECT_FALSE(enabled(117));
}

// ---- Opening state ------------------------------------------------------------

TEST_F(InterfaceDialogTest, OpensOnTheSettingsInForce)
{
    struct Case {
        InterfaceSettings settings;
        int connection, model, numbering, level;
    };
    const Case cases[] = {
        {settingsFor(0, ModelNone, 0, 2, 2), 105, -1, 116, 118},
        {settingsFor(1, ModelDeltronics, 0, 1, 1), 119, 106, 115, 117},
        {settingsFor(1, ModelDeltronics, 1, 1, 1), 119, 124, 115, 117},
        {settingsFor(1, ModelDeltronics, 2, 2, 2), 119, 125, 116, 118},
        {settingsFor(1, ModelDeltronics, 3, 1, 2), 119, 127, 115, 118},
        {settingsFor(1, ModelMfa, 0, 2, 0), 119, 108, 116, 118},
        {settingsFor(1, ModelContactController, 5), 119, 109, 115, 117},
        {settingsFor(1, ModelContactController, 0), 119, 122, 115, 117},
        {settingsFor(1, ModelContactController, 3), 119, 109, 115, 117},
        {settingsFor(1, ModelQuillo, 0, 1, 1, kUsbPort), 119, 129, 115, 117},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "model " << c.settings.model << " sub " << c.settings.subModel);
        open(c.settings);
        EXPECT_TRUE(checked(c.connection));
        for (int id : kModelRadios) EXPECT_EQ(checked(id), id == c.model) << id;
        EXPECT_TRUE(checked(c.numbering));
        EXPECT_TRUE(checked(c.level));
    }

    // A Junior set to "Alto": a click would suggest "Bajo", opening must not.
    open(settingsFor(1, ModelDeltronics, kDeltronicsJunior, 1, 1));
    EXPECT_TRUE(checked(117));
    EXPECT_TRUE(enabled(117));
    EXPECT_FALSE(enabled(115));
}

TEST_F(InterfaceDialogTest, ChipBoxesComeFromTheChipDataFile)
{
    open(settingsFor(1, ModelTolvaChip, 1));
    EXPECT_TRUE(checked(101));
    QComboBox* boards = box(123);
    QComboBox* chips = box(131);
    auto items = [](QComboBox* b) {
        QStringList list;
        for (int i = 0; i < b->count(); ++i) list << b->itemText(i);
        return list.join('|').toStdString();
    };
    EXPECT_EQ(items(boards), "Tablero estánder|Tablero del motor|Tablero del ADC");
    EXPECT_EQ(items(chips), "Vizo 18|Vizo Pequeño");  // the entry marked '/' is not offered
    EXPECT_EQ(boards->currentIndex(), 1);
    EXPECT_TRUE(boards->isEnabled());
    EXPECT_FALSE(chips->isEnabled());

    open(settingsFor(1, ModelTolvaChip, 4));
    EXPECT_TRUE(checked(130));
    EXPECT_EQ(chips->currentIndex(), 1);
    EXPECT_TRUE(chips->isEnabled());
    EXPECT_FALSE(boards->isEnabled());

    // Reopening does not pile the names up.
    open(settingsFor(1, ModelTolvaChip, 0));
    EXPECT_EQ(boards->count(), 3);
}

TEST_F(InterfaceDialogTest, WithoutAChipFileTheSingleChipsStayAfterTheBoards)
{
    fs::remove(dir.path() / "tolvachip.dat");
    open(settingsFor(1, ModelContactController, 5));
    EXPECT_EQ(box(123)->count(), 0);
    EXPECT_EQ(box(131)->count(), 0);
    click(130);
    button(1)->click();
    // An empty box must not turn the Vizo choice into board number 2.
    EXPECT_EQ(layer.settings.model, ModelTolvaChip);
    EXPECT_EQ(layer.settings.subModel, 3);
}

// ---- Accepting, saving, cancelling ----------------------------------------------

TEST_F(InterfaceDialogTest, SaveWritesTheConfigurationFile)
{
    const fs::path config = dir.path() / "CONFIGUR.FCF";
    dialog.setConfigPath(config.string());
    open(settingsFor(1, ModelContactController, 5));
    click(129);
    click(103);
    button(1)->click();
    EXPECT_FALSE(fs::exists(config)) << "plain Aceptar only changes the session";

    open(layer.settings);
    button(102)->click();
    std::ifstream in(config, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, "BBABN@AA");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(InterfaceDialogTest, FailedSaveIsReportedAndTheChoiceStillApplies)
{
    dialog.setConfigPath((dir.path() / "missing" / "CONFIGUR.FCF").string());
    open(settingsFor(1, ModelDeltronics, 0));
    click(109);
    button(102)->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "No se puede guardar Configuración");
    EXPECT_EQ(layer.settings.model, ModelContactController);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(InterfaceDialogTest, CancelChangesNothing)
{
    const fs::path config = dir.path() / "CONFIGUR.FCF";
    dialog.setConfigPath(config.string());
    InterfaceSettings start = settingsFor(1, ModelMfa, 0, 2, 0, 3);
    start.motorOption = 1;
    open(start);
    layer.flags.simulate = false;
    int applied = 0;
    QObject::connect(&dialog, &TInterfaceDialog::selectionApplied, [&] { ++applied; });

    click(105);
    click(115);
    click(111);
    button(2)->click();
    EXPECT_EQ(layer.settings, start);
    EXPECT_FALSE(layer.flags.simulate);
    EXPECT_EQ(applied, 0);
    EXPECT_FALSE(fs::exists(config));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(InterfaceDialogTest, TellsTheFrameWhatToRedraw)
{
    std::vector<int> numberings;
    std::vector<bool> mfa;
    int applied = 0;
    QObject::connect(&dialog, &TInterfaceDialog::numberingChanged,
                     [&](int n) { numberings.push_back(n); });
    QObject::connect(&dialog, &TInterfaceDialog::mfaModelChanged,
                     [&](bool on) { mfa.push_back(on); });
    QObject::connect(&dialog, &TInterfaceDialog::selectionApplied, [&] { ++applied; });

    open(settingsFor(1, ModelDeltronics, 0, 1, 1));
    click(108);  // to MFA: numbering 0-7 as well
    button(1)->click();
    open(layer.settings);
    button(1)->click();  // nothing changed
    open(layer.settings);
    click(109);  // away from MFA, back to 1-8
    button(1)->click();

    EXPECT_EQ(numberings, (std::vector<int>{2, 1}));
    EXPECT_EQ(mfa, (std::vector<bool>{true, false}));
    EXPECT_EQ(applied, 3);
}

// ---- The MFA module dialog ----------------------------------------------------

// Answers the module dialog that opens next: notes which wiring it opened
// with, then clicks an option and one of its buttons.
void answerNextModal(int& openedWith, int optionId, int buttonId)
{
    QTimer::singleShot(0, [&openedWith, optionId, buttonId] {
        auto* modal = qobject_cast<TMfaModDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->windowTitle(), QString::fromUtf8("Módulo de Motor"));
        openedWith = 0;
        for (int id : {101, 102, 103})
            if (modal->findChild<QRadioButton*>(QStringLiteral("id%1").arg(id))->isChecked())
                openedWith = id;
        modal->findChild<QRadioButton*>(QStringLiteral("id%1").arg(optionId))->click();
        modal->findChild<QPushButton*>(QStringLiteral("id%1").arg(buttonId))->click();
    });
}

TEST_F(InterfaceDialogTest, MfaModuleChoiceIsStoredByItsOwnAceptar)
{
    InterfaceSettings start = settingsFor(1, ModelMfa, 0, 2, 0);
    start.motorOption = 1;
    layer.settings = start;
    layer.applySelection();
    int openedWith = 0;

    // "Aceptar" of the module dialog stores the wiring there and then: the
    // motors read with it at once, and the interface dialog's "Cancelar"
    // does not take it back.
    open(start);
    answerNextModal(openedWith, 103, 1);
    button(121)->click();
    EXPECT_EQ(openedWith, 102);
    EXPECT_EQ(layer.settings.motorOption, 2);
    EXPECT_EQ(layer.encoding.encodingFlag, (std::array<int, 2>{0, 0}));
    button(2)->click();
    EXPECT_EQ(layer.settings.motorOption, 2);

    // Its own "Cancelar" stores nothing; the interface dialog's "Aceptar" keeps it.
    open(layer.settings);
    answerNextModal(openedWith, 101, 2);
    button(121)->click();
    EXPECT_EQ(openedWith, 103);
    EXPECT_EQ(layer.settings.motorOption, 2);
    button(1)->click();
    EXPECT_EQ(layer.settings.motorOption, 2);
    EXPECT_EQ(layer.encoding.encodingFlag, (std::array<int, 2>{0, 0}));
}

// ---- Look -----------------------------------------------------------------------

void keep(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

// Every control fits its own text and none overlaps a sibling.
void expectTidy(QWidget& dialog)
{
    QList<QWidget*> controls;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QGroupBox*>(w) || qobject_cast<QLabel*>(w))
            controls.push_back(w);
    }
    for (QWidget* w : controls) {
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
        const QRect r(w->mapTo(&dialog, QPoint(0, 0)), w->size());
        EXPECT_TRUE(dialog.rect().contains(r)) << w->objectName().toStdString();
        for (QWidget* other : controls) {
            if (other == w || other->parentWidget() != w->parentWidget()) continue;
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << w->objectName().toStdString() << " / " << other->objectName().toStdString();
        }
    }
}

TEST_F(InterfaceDialogTest, LooksTidyAndGrey)
{
    layer.settings = settingsFor(1, ModelTolvaChip, 4, 1, 1, kUsbPort);
    PortPresence present{true, true, false, true, false, false};
    dialog.setPortsPresent(present);
    dialog.show();  // opening reloads from the settings
    ASSERT_TRUE(checked(130));
    const QImage image = dialog.grab().toImage();
    keep(image, "interface-dialog.png");
    EXPECT_EQ(image.pixelColor(3, 3), QColor(192, 192, 192));
    // A greyed-out caption (COM3 is absent) still stands out from the grey.
    const QPalette& palette = radio(112)->palette();
    ASSERT_FALSE(enabled(112));
    EXPECT_GT(std::abs(palette.color(QPalette::Disabled, QPalette::WindowText).lightness() -
                       palette.color(QPalette::Window).lightness()),
              60);
    expectTidy(dialog);
    dialog.hide();

    // The Arduino board: the last choice, on its COM port, numbered from 1.
    layer.settings = settingsFor(1, ModelFirmata, 0, 1, 0, 1);
    dialog.show();
    ASSERT_TRUE(checked(132));
    EXPECT_TRUE(checked(111));
    EXPECT_FALSE(enabled(103));  // no USB
    EXPECT_FALSE(enabled(115));
    EXPECT_EQ(radio(132)->text(), QString("A&rduino (Firmata)"));
    keep(dialog.grab().toImage(), "interface-dialog-arduino.png");
    expectTidy(dialog);
    dialog.hide();

    TMfaModDialog mfa(2);
    mfa.show();
    const QImage mfaImage = mfa.grab().toImage();
    keep(mfaImage, "mfa-dialog.png");
    EXPECT_EQ(mfaImage.pixelColor(3, 3), QColor(192, 192, 192));
    expectTidy(mfa);
}

}  // namespace
}  // namespace tarvel
