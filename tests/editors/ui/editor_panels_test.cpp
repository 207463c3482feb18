// The editor panels in the main window, offscreen: which panel a symbol
// opens, the keys a pupil sees, what "Aceptar", "Borrar" and "Cancelar" do to
// the chart, the sub menu, Sub heads, labels, "Enviar Serie", and the panel
// a run-time error opens.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "app/flow_frame.h"
#include "editors/ui/ed_button.h"
#include "editors/ui/editor_set.h"
#include "editors/ui/keypad_dialogs.h"
#include "editors/ui/send_serial_dialog.h"
#include "engine/chart_builder.h"
#include "flowchart/captions.h"
#include "flowchart/ui/chart_picture.h"
#include "flowchart/ui/flow_window.h"
#include "platform/qt/qt_text.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"

namespace tarvel {
namespace {

using namespace key;

class PanelTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    TFlowFrame frame{FrameServices{messages, clock, files, ports}};
    FlowDocument& doc = frame.state().doc;
    TEditorSet& editors = *frame.editors();

    void SetUp() override
    {
        frame.resize(1000, 700);
        frame.show();
    }
    // Clicks on the chart at document coordinates (100 % zoom).
    void click(Point at)
    {
        TFlowWindow* w = frame.flowWindow();
        const QPointF pos(at.x, at.y);
        QMouseEvent press(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    }
    // Clicks the keys of the visible keypad panel in turn.
    static void keys(TKeypadDialog* panel, const std::vector<int>& bits)
    {
        for (const int b : bits) {
            TEdButton* k = panel->keyButton(b);
            ASSERT_NE(k, nullptr) << b;
            ASSERT_TRUE(k->isEnabled())
                << "key " << b << " after '" << panel->keypad().text() << "'";
            k->click();
        }
    }
    // The bits whose keys show a caption.
    static std::vector<int> shownKeys(TKeypadDialog* panel)
    {
        std::vector<int> shown;
        for (int b = 0; b < 32; ++b)
            if (TEdButton* k = panel->keyButton(b); k && !k->text().isEmpty()) shown.push_back(b);
        return shown;
    }
    // Types on the keyboard into a widget: a key press and release each.
    static void typeKey(QWidget* w, int key, const QString& text = {})
    {
        ASSERT_NE(w, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &release);
    }
    static void typeKeys(QWidget* w, const QString& text)
    {
        for (const QChar c : text)
            typeKey(w, Qt::Key_A + (c.toUpper().unicode() - 'A'), QString(c));
    }
    void keep(QWidget* w, const char* name)
    {
        const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
        if (!dir.isEmpty()) w->grab().save(QString::fromUtf8(dir) + "/" + name);
    }
};

TEST_F(PanelTest, ANewOutputSymbolIsComposedOnItsKeypadAndStoredInTheInterpretersForm)
{
    frame.action(304)->trigger();
    click({320, 196});
    ASSERT_EQ(doc.symbolCount(), 1);
    TEdIoDialog* panel = editors.output();
    ASSERT_EQ(editors.visible(), panel);
    EXPECT_EQ(panel->target(), 0);
    // Step 0: "E / &S" and "S&onido"; every other key disabled and blank.
    EXPECT_EQ(shownKeys(panel), (std::vector<int>{Clear, out::Turn, out::Sound}));
    EXPECT_FALSE(panel->keyButton(out::Output)->isEnabled());
    EXPECT_TRUE(panel->keyButton(out::Output)->text().isEmpty());

    keys(panel, {out::Turn, out::Output, digit(3), out::On});
    // An item once used is not offered again; its caption comes back on "Borrar".
    EXPECT_FALSE(panel->keyButton(digit(3))->isEnabled());
    EXPECT_TRUE(panel->keyButton(digit(3))->text().isEmpty());
    EXPECT_TRUE(panel->keyButton(digit(1))->isEnabled());
    EXPECT_EQ(panel->keyButton(digit(1))->text(), "&1");
    keys(panel, {digit(1), out::Off});
    EXPECT_EQ(panel->keypad().text(), "Turn Output 3 on,1 off");
    EXPECT_EQ(panel->shownCaption(),
              fromCp1252(symbolCaption(SymbolKind::Output, "Turn Output 3 on,1 off")));
    EXPECT_FALSE(panel->shownCaption().isEmpty());
    TEdButton* accept = panel->keyButton(Accept);
    EXPECT_EQ(accept->text(), "Aceptar");
    EXPECT_TRUE(accept->isDefault());
    keep(panel, "editor-output.png");

    doc.setModified(false);
    accept->click();
    EXPECT_EQ(doc.symbol(0).text.view(), "Output 3 on 1 off");
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(editors.visible(), nullptr);
}

// Each word of a symbol's Spanish caption is in the chart's drawing.
void expectDrawn(const FlowDocument& doc, int symbol)
{
    const std::string caption =
        symbolCaption(doc.symbol(symbol).kind, doc.symbol(symbol).text.view());
    ASSERT_FALSE(caption.empty());
    const QByteArray svg = renderChartPicture(doc, ColourSet{}, false).svg;
    for (const QString& word : fromCp1252(caption).split(' ', Qt::SkipEmptyParts))
        EXPECT_TRUE(QString::fromUtf8(svg).contains(word.toHtmlEscaped())) << word.toStdString();
}

TEST_F(PanelTest, SymbolsPlacedWithTheMouseAreComposedStoredAndDrawn)
{
    struct Case {
        int tool;
        Point at;
        std::vector<int> keys;
        const char* stored;
        const char* name;
    };
    const Case cases[] = {
        {304,
         {320, 196},
         {out::Turn, out::Output, digit(3), out::On},
         "Turn Output 3 on",
         "output"},
        {305, {320, 308}, {deci::Is, deci::Input, digit(3), deci::On}, "Is Input 3 on", "decision"},
        {302,
         {320, 420},
         {proc::Let, 22, proc::Equals, 27, proc::Plus, digit(1)},
         "Let a = x + 1",
         "process"},
    };
    for (const Case& c : cases) {
        frame.action(c.tool)->trigger();
        click(c.at);
        const int placed = doc.symbolCount() - 1;
        auto* panel = dynamic_cast<TKeypadDialog*>(editors.visible());
        ASSERT_NE(panel, nullptr) << c.name;
        EXPECT_EQ(panel->target(), placed);
        keep(panel, (std::string("editor-") + c.name + "-first.png").c_str());
        keys(panel, c.keys);
        keep(panel, (std::string("editor-") + c.name + "-complete.png").c_str());
        panel->keyButton(Accept)->click();
        EXPECT_EQ(doc.symbol(placed).text.view(), c.stored);
        expectDrawn(doc, placed);
    }
    EXPECT_EQ(fromCp1252(symbolCaption(SymbolKind::Output, doc.symbol(0).text.view())),
              "Activar salida 3");

    frame.action(306)->trigger();
    click({320, 84});
    ASSERT_EQ(editors.visible(), editors.startStop());
    keep(editors.startStop(), "editor-startstop-first.png");
    editors.startStop()->button(103)->click();
    editors.startStop()->nameField()->setText("luces");
    keep(editors.startStop(), "editor-startstop-complete.png");
    editors.startStop()->button(106)->click();
    EXPECT_EQ(doc.symbol(doc.symbolCount() - 1).text.view(), "Sub 1(luces)");
    expectDrawn(doc, doc.symbolCount() - 1);
}

TEST_F(PanelTest, AFinishedCommandOffersOnlyAceptarAndBorrarAndCancelarChangesNothing)
{
    test::ChartBuilder b(doc);
    const int motor = b.out("Turn Motor a fd");
    const int delay = b.proc("Delay 5");
    editors.openSymbol(motor);
    TEdIoDialog* panel = editors.output();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(shownKeys(panel), (std::vector<int>{Accept, Clear}));
    EXPECT_TRUE(panel->keyButton(Accept)->isDefault());

    // Borrar starts again; Cancelar leaves the symbol as it was.
    panel->keyButton(Clear)->click();
    EXPECT_EQ(panel->keypad().text(), "");
    EXPECT_TRUE(panel->keyButton(out::Turn)->isEnabled());
    keys(panel, {out::Turn, out::Motor});
    panel->findChild<QPushButton*>("cancel")->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(doc.symbol(motor).text.view(), "Turn Motor a fd");
    EXPECT_FALSE(doc.modified());

    // One panel at a time: the process panel replaces the output panel.
    editors.openSymbol(motor);
    editors.openSymbol(delay);
    EXPECT_FALSE(editors.output()->isVisible());
    EXPECT_EQ(editors.visible(), editors.process());
    // It stands across the bottom of the chart's area.
    QWidget* client = frame.centralWidget();
    const QRect area(client->mapToGlobal(QPoint(0, 0)), client->size());
    const QRect outer = editors.process()->frameGeometry();
    EXPECT_EQ(outer.left(), area.left());
    EXPECT_EQ(outer.width(), area.width());
    EXPECT_EQ(outer.bottom(), area.bottom());
}

TEST_F(PanelTest, MotorSpeedsAreCappedOnAceptar)
{
    frame.state().io.settings.model = 1;  // a model that takes motor speeds
    frame.state().io.applySelection();
    test::ChartBuilder b(doc);
    const int motor = b.out("");
    editors.openSymbol(motor);
    TEdIoDialog* panel = editors.output();
    keys(panel, {out::Turn, out::Motor, 22, out::Forward, digit(1), digit(5), digit(0)});
    panel->keyButton(Accept)->click();
    // Past 18 characters the text loses its "Turn ".
    EXPECT_EQ(doc.symbol(motor).text.view(), "Motor a fd 100%");
}

TEST_F(PanelTest, TheSubMenuListsTheHeadsAndAddsARepeatCount)
{
    test::ChartBuilder b(doc);
    b.head("Sub 3");
    b.head("Sub 1(luz)");
    const int call = b.proc("");
    editors.openSymbol(call);
    TEdProcDialog* panel = editors.process();
    QStringList entries;
    std::vector<int> ids;
    for (QAction* a : panel->subMenu()->actions()) {
        entries << a->text();
        ids.push_back(a->data().toInt());
    }
    EXPECT_EQ(entries, (QStringList{"1(luz)", "3"}));
    EXPECT_EQ(ids, (std::vector<int>{6001, 6003}));

    keys(panel, {proc::Sub});
    EXPECT_EQ(shownKeys(panel), (std::vector<int>{Clear}));
    panel->subMenu()->actions().at(0)->trigger();
    EXPECT_EQ(panel->keypad().text(), "Sub 1(luz)");
    EXPECT_FALSE(panel->keyButton(digit(0))->isEnabled());  // a count starts with 1..9
    keys(panel, {digit(1), digit(2)});
    panel->keyButton(Accept)->click();
    EXPECT_EQ(doc.symbol(call).text.view(), "Sub 1(luz) x 12");
}

TEST_F(PanelTest, WithoutSubHeadsTheMenuHoldsNoneWhichCallsNothing)
{
    const int call = test::ChartBuilder(doc).proc("");
    editors.openSymbol(call);
    TEdProcDialog* panel = editors.process();
    ASSERT_EQ(panel->subMenu()->actions().size(), 1);
    EXPECT_EQ(panel->subMenu()->actions().at(0)->text(), "None");
    keys(panel, {proc::Sub});
    panel->subMenu()->actions().at(0)->trigger();
    EXPECT_EQ(panel->keypad().text(), "Sub ");
    EXPECT_EQ(shownKeys(panel), (std::vector<int>{Clear}));
}

TEST_F(PanelTest, SubHeadsTakeTheLowestFreeNumberAndRenameTheirCalls)
{
    test::ChartBuilder b(doc);
    b.head("Sub 1");
    b.head("Sub 3");
    const int head = b.head("Start");
    const int call = b.proc("Sub 2 x 4");
    const int other = b.proc("Sub 3");
    editors.openSymbol(head);
    TEdSTSTDialog* panel = editors.startStop();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->button(106)->isEnabled());
    EXPECT_FALSE(panel->nameField()->isEnabled());
    panel->button(103)->click();
    EXPECT_TRUE(panel->nameField()->isEnabled());
    EXPECT_TRUE(panel->button(106)->isEnabled());
    panel->nameField()->setText("motores");
    panel->button(106)->click();
    EXPECT_EQ(doc.symbol(head).text.view(), "Sub 2(motores)");
    EXPECT_EQ(doc.symbol(call).text.view(), "Sub 2(motores) x 4");
    EXPECT_EQ(doc.symbol(other).text.view(), "Sub 3");
    EXPECT_TRUE(doc.modified());
    EXPECT_FALSE(panel->isVisible());
    // The run-what menu has the new head.
    ASSERT_NE(frame.action(8002), nullptr);
    EXPECT_EQ(frame.action(8002)->text(), "2(motores)");

    // Reopened, the head shows its name; "&Alto" stores at once and the
    // menu loses the head.
    editors.openSymbol(head);
    EXPECT_EQ(panel->nameField()->text(), "motores");
    panel->button(102)->click();
    EXPECT_EQ(doc.symbol(head).text.view(), "Stop");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(frame.action(8002), nullptr);
}

TEST_F(PanelTest, LabelsTakeTheirTextAndSize)
{
    frame.action(301)->trigger();
    click({200, 300});
    ASSERT_EQ(doc.labelCount(), 1);
    TEdTextDialog* panel = editors.label();
    ASSERT_EQ(editors.visible(), panel);
    EXPECT_EQ(panel->windowTitle(), "Editar etiqueta");
    EXPECT_TRUE(panel->sizeOption(1)->isChecked());
    EXPECT_EQ(panel->sizeOption(2)->text(), "Mediano");
    panel->textField()->setText(QString::fromUtf8("Señal de salida"));
    panel->sizeOption(3)->click();
    keep(panel, "editor-label.png");
    panel->accept();
    EXPECT_EQ(doc.label(0).text.view(), toCp1252(QString::fromUtf8("Señal de salida")));
    EXPECT_EQ(doc.label(0).size, 3);
    EXPECT_TRUE(doc.modified());
    EXPECT_FALSE(panel->isVisible());

    editors.openLabel(0);
    EXPECT_EQ(panel->textField()->text(), QString::fromUtf8("Señal de salida"));
    EXPECT_TRUE(panel->sizeOption(3)->isChecked());
}

// Each panel opens with the keyboard where the pupil goes on: the label's
// text field, "&Inicio", the first key offered, or "Aceptar" on a finished
// command; Space presses the key that has it.
TEST_F(PanelTest, PanelsOpenWithTheFocusWhereThePupilGoesOn)
{
    frame.action(301)->trigger();
    click({200, 300});
    TEdTextDialog* label = editors.label();
    ASSERT_EQ(editors.visible(), label);
    typeKeys(label->focusWidget(), "Hola");
    EXPECT_EQ(label->textField()->text(), "Hola");
    typeKey(label->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(doc.label(0).text.view(), "Hola");

    frame.action(306)->trigger();
    click({320, 84});
    TEdSTSTDialog* startStop = editors.startStop();
    ASSERT_EQ(editors.visible(), startStop);
    EXPECT_EQ(startStop->focusWidget(), startStop->button(101));
    typeKey(startStop->focusWidget(), Qt::Key_Space);
    EXPECT_EQ(doc.symbol(0).text.view(), "Start");

    frame.action(304)->trigger();
    click({320, 196});
    TEdIoDialog* output = editors.output();
    ASSERT_EQ(editors.visible(), output);
    EXPECT_EQ(output->focusWidget(), output->keyButton(out::Turn));
    typeKey(output->focusWidget(), Qt::Key_Space);
    EXPECT_EQ(output->keypad().text(), "Turn");
    // The pressed key is no longer offered; the keyboard moves on to one that is.
    ASSERT_NE(output->focusWidget(), nullptr);
    EXPECT_TRUE(output->focusWidget()->isEnabled());
    typeKey(output->focusWidget(), Qt::Key_Escape);

    // A finished command opens on "Aceptar".
    doc.setSymbolText(1, "Turn Output 1 on");
    editors.openSymbol(1);
    EXPECT_EQ(output->focusWidget(), output->keyButton(Accept));
    // Opened again on a new symbol, it does not keep the old key.
    frame.action(304)->trigger();
    click({320, 308});
    EXPECT_EQ(output->focusWidget(), output->keyButton(out::Turn));
}

// Keys not offered keep no caption and lie flat in the panel's grey; offered
// keys stand raised. Mnemonic underlines show only while Alt is held, so
// "&+" reads "+", not "±".
TEST_F(PanelTest, AbsentKeysLieFlatAndMnemonicsWaitForAlt)
{
    frame.action(302)->trigger();
    click({320, 196});
    TEdProcDialog* panel = editors.process();
    ASSERT_EQ(editors.visible(), panel);
    keys(panel, {proc::Let, 22, proc::Equals, 23});  // Let a = b

    const QColor grey(192, 192, 192);
    const QImage shot = panel->grab().toImage();
    keep(panel, "editor-process-flat-keys.png");
    auto greyOnly = [&](QWidget* key) {
        const QRect r = key->geometry();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (shot.pixelColor(x, y) != grey) return false;
        return true;
    };
    TEdButton* absent = panel->keyButton(digit(5));
    ASSERT_FALSE(absent->isEnabled());
    EXPECT_TRUE(absent->text().isEmpty());
    EXPECT_TRUE(greyOnly(absent));
    EXPECT_TRUE(greyOnly(panel->keyButton(proc::Delay)));
    TEdButton* plus = panel->keyButton(proc::Plus);
    ASSERT_TRUE(plus->isEnabled());
    EXPECT_FALSE(greyOnly(plus));
    EXPECT_FALSE(greyOnly(panel->keyButton(Accept)));

    // "&+" drawn as a plain "+" until Alt is held.
    QPushButton plain(QStringLiteral("+"), panel);
    plain.setAutoDefault(false);
    plain.setGeometry(plus->geometry());
    auto looksPlain = [&] { return plus->grab().toImage() == plain.grab().toImage(); };
    EXPECT_EQ(plus->text(), QStringLiteral("&+"));  // Alt and "+" still press it
    EXPECT_TRUE(looksPlain());
    QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(panel->focusWidget(), &altDown);
    EXPECT_TRUE(plus->mnemonicShown());
    EXPECT_FALSE(looksPlain());
    keep(panel, "editor-process-alt.png");
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(panel->focusWidget(), &altUp);
    EXPECT_TRUE(looksPlain());
    // A panel hidden while Alt is down does not reopen underlined.
    QApplication::sendEvent(panel->focusWidget(), &altDown);
    panel->hide();
    EXPECT_FALSE(plus->mnemonicShown());
}

TEST_F(PanelTest, SendSerialWarnsAndStaysOpenThenRemembersTheChoice)
{
    TSendSerialDialog::remembered() = {};
    {
        TSendSerialDialog d(messages);
        d.findChild<QRadioButton*>("id101")->click();
        EXPECT_TRUE(d.findChild<QLineEdit*>("id104")->isEnabled());
        EXPECT_FALSE(d.findChild<QLineEdit*>("id103")->isEnabled());
        d.findChild<QRadioButton*>("id106")->click();
        d.findChild<QLineEdit*>("id104")->setText("256");
        d.accept();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
        EXPECT_EQ(messages.last().text, "Debe incorporar un número entre 0 y 255");
        EXPECT_NE(d.QDialog::result(), QDialog::Accepted);
        d.findChild<QRadioButton*>("id105")->click();
        d.findChild<QLineEdit*>("id104")->setText("f");
        d.accept();
        EXPECT_EQ(d.sendText(), "0Fh");
        EXPECT_EQ(d.QDialog::result(), QDialog::Accepted);
        EXPECT_EQ(messages.shown.size(), 1u);
    }
    // The next opening starts on a hexadecimal number.
    TSendSerialDialog again(messages);
    EXPECT_TRUE(again.findChild<QRadioButton*>("id101")->isChecked());
    EXPECT_TRUE(again.findChild<QRadioButton*>("id105")->isChecked());
    again.findChild<QRadioButton*>("id107")->click();
    EXPECT_TRUE(again.findChild<QRadioButton*>("id110")->isEnabled());
    again.findChild<QRadioButton*>("id110")->click();
    again.accept();
    EXPECT_EQ(again.sendText(), "y");
    TSendSerialDialog::remembered() = {};
}

TEST_F(PanelTest, EnvieAppendsTheDialogsResultOrStartsAgainOnCancel)
{
    const int send = test::ChartBuilder(doc).out("");
    editors.openSymbol(send);
    TEdIoDialog* panel = editors.output();
    // A chip whose link runs the serial protocol offers "&SAL" and "&Envie".
    KeypadContext chip = TKeypadDialog::contextFrom(frame.state());
    chip.model = 10;
    chip.chipLinkKind = 2;
    panel->keypad().setContext(chip);
    panel->keyButton(Clear)->click();
    EXPECT_EQ(shownKeys(panel),
              (std::vector<int>{out::Sal, out::Send, Clear, out::Turn, out::Sound}));

    std::optional<std::string> answer;
    panel->setSendChooser([&] { return answer; });
    keys(panel, {out::Send});
    EXPECT_EQ(panel->keypad().text(), "");
    EXPECT_TRUE(panel->keyButton(out::Send)->isEnabled());
    answer = "'c'";
    keys(panel, {out::Send});
    EXPECT_EQ(panel->keypad().text(), "Send 'c'");
    EXPECT_EQ(shownKeys(panel), (std::vector<int>{Accept, Clear}));
    panel->keyButton(Accept)->click();
    EXPECT_EQ(doc.symbol(send).text.view(), "Send 'c'");
}

// The open panel spans the bottom of the chart's area and keeps to it when
// the window is zoomed or resized.
TEST_F(PanelTest, TheOpenPanelFollowsTheChartsArea)
{
    frame.action(302)->trigger();
    click({320, 196});
    QWidget* panel = editors.visible();
    ASSERT_NE(panel, nullptr);
    const QWidget* client = frame.centralWidget();
    auto spansBottom = [&] {
        const QPoint top = client->mapToGlobal(QPoint(0, 0));
        const QRect p = panel->frameGeometry();
        return p.left() == top.x() && p.width() == client->width() &&
               p.bottom() == top.y() + client->height() - 1;
    };
    EXPECT_TRUE(spansBottom());
    frame.resize(900, 560);
    EXPECT_TRUE(spansBottom());
    frame.applyZoom(5);
    EXPECT_TRUE(spansBottom());
}

TEST_F(PanelTest, ARunTimeErrorOpensTheFailingSymbolsPanel)
{
    test::ChartBuilder b(doc);
    const int s = b.start(), divide = b.proc("Let a = a / b"), stop = b.stop();
    b.chain({s, divide, stop});
    frame.runCommand();
    for (int i = 0; i < 4 && frame.state().interpreter.running(); ++i) {
        clock.advance(20);
        frame.timerTick();
    }
    EXPECT_FALSE(frame.state().interpreter.running());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().text, "Divide por cero cuando ejecute este símbolo");
    ASSERT_EQ(editors.visible(), editors.process());
    EXPECT_EQ(editors.process()->target(), divide);
    EXPECT_EQ(editors.process()->keypad().text(), "Let a = a / b");

    // Deleting the symbol closes the panel that edits it.
    frame.action(312)->trigger();
    EXPECT_EQ(editors.visible(), nullptr);
}

TEST_F(PanelTest, DecisionPanelComposesAComparison)
{
    const int ask = test::ChartBuilder(doc).decide("");
    editors.openSymbol(ask);
    TEdDeciDialog* panel = editors.decision();
    ASSERT_EQ(editors.visible(), panel);
    EXPECT_EQ(shownKeys(panel), (std::vector<int>{Clear, deci::Is}));
    keys(panel, {deci::Is, deci::Margin, deci::Less, deci::Point, digit(5)});
    keep(panel, "editor-decision.png");
    panel->keyButton(Accept)->click();
    EXPECT_EQ(doc.symbol(ask).text.view(), "Is Margin < 0.5");
}

}  // namespace
}  // namespace tarvel
