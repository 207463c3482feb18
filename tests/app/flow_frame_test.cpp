#include "app/flow_frame.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QTranslator>
#include <fstream>
#include <functional>
#include <map>

#include "app/flow_app.h"
#include "editors/ui/editor_set.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/interface_config.h"
#include "platform/qt/message_bar.h"
#include "platform/qt/qt_messages.h"
#include "support/frame_fixture.h"
#include "support/read_chart.h"

namespace tarvel {
namespace {

class FrameTest : public test::FrameFixture {
protected:
    void SetUp() override { startFrame(localConfig("")); }
    Interpreter& interpreter() { return frame->state().interpreter; }

    // A chart that runs for ever: Start, output 1 on, a delay looping back.
    std::string saveRunningChart(const std::string& name = "faro.FLO")
    {
        FlowDocument chart;
        test::ChartBuilder b(chart);
        const int s = b.start(), on = b.out("Turn Output 1 on"), wait = b.proc("Delay 1");
        b.chain({s, on, wait});
        b.join(wait, on);
        const std::string p = path(name);
        EXPECT_TRUE(saveFlowFile(chart, p, InterfaceSettings{}, test::ignoredMessages()));
        return p;
    }
    QStringList runWhatTexts() const
    {
        QStringList texts;
        for (QAction* a : frame->runWhatMenu()->actions()) texts << a->text();
        return texts;
    }
    QAction* checkedRunWhat() const
    {
        for (QAction* a : frame->runWhatMenu()->actions())
            if (a->isChecked()) return a;
        return nullptr;
    }
};

TEST_F(FrameTest, StartsWithAnEmptyChartInItsScroller)
{
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2'"));
    auto* scroller = qobject_cast<QScrollArea*>(frame->centralWidget());
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->widget(), frame->flowWindow());
    EXPECT_EQ(doc().symbolCount(), 0);
    EXPECT_TRUE(doc().untitled());
    EXPECT_EQ(frame->flowWindow()->size(), QSize(kDrawingWidth, kDrawingHeight));
    EXPECT_TRUE(messages.empty());
    // Menu entries carry their ids and hints.
    ASSERT_NE(frame->action(101), nullptr);
    EXPECT_EQ(frame->action(101)->text(), QString("&Nuevo"));
    EXPECT_EQ(frame->action(102)->statusTip(), QString("Abre un diagrama de flujo que ya existe"));
    EXPECT_EQ(frame->action(22)->text(), QString("&Velocidad..."));
    EXPECT_EQ(frame->action(155)->text(), QString("Interfaz..."));
    EXPECT_FALSE(frame->action(312)->isEnabled());  // nothing to delete
    EXPECT_FALSE(frame->action(7)->isEnabled());
    EXPECT_EQ(frame->action(121)->data().toInt(), 123);
}

TEST_F(FrameTest, StartUpReportsAMissingConfigurationAndNotesSimulation)
{
    TFlowFrame other(FrameServices{messages, clock, files, ports});
    AppConfiguration config;
    config.configPath = path("nowhere/CONFIGUR.FCF");
    other.startUp(config);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "No se puede cargar Configuración");
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    // The fall-back counts from 0.
    EXPECT_EQ(other.state().io.settings.numbering, 2);

    // An interface configured: after the splash the note about simulation, then the chart.
    InterfaceSettings live;
    live.mode = 1;
    live.model = 7;
    live.subModel = 5;
    live.port = 4;
    ASSERT_TRUE(saveInterfaceConfig(path("live.FCF"), live, test::ignoredMessages()));
    config.configPath = path("live.FCF");
    ports.present = {"/dev/ttyS1", "/dev/ttyS2"};
    TFlowFrame third(FrameServices{messages, clock, files, ports});
    third.startUp(config);
    EXPECT_EQ(third.state().io.settings.port, 2);  // lowered to the last present port
    EXPECT_TRUE(third.state().io.flags.simulate);
    messages.shown.clear();
    EXPECT_TRUE(third.afterSplash(saveRunningChart()));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");
    EXPECT_EQ(messages.last().text,
              "Para usar el interfaz, haga clic en 'Simular' en el menú 'Control' para quitar la "
              "marca de "
              "verificación.");
    EXPECT_EQ(third.state().doc.symbolCount(), 3);
    EXPECT_EQ(third.windowTitle(), QString("'Tarvel2' - faro.FLO"));
    // A start-up file with another extension is skipped silently.
    messages.shown.clear();
    third.state().doc.setModified(false);
    EXPECT_FALSE(third.afterSplash(path("notas.txt")));
    EXPECT_EQ(messages.shown.size(), 1u);  // only the note again
    EXPECT_EQ(third.state().doc.symbolCount(), 3);
}

TEST_F(FrameTest, OpenSaveAndSaveAs)
{
    const std::string chart = saveRunningChart();
    files.answers = {chart};
    frame->openCommand();
    EXPECT_EQ(files.lastDirectory, path(""));
    EXPECT_EQ(doc().symbolCount(), 3);
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2' - faro.FLO"));
    EXPECT_FALSE(doc().modified());

    // Save writes to the chart's own path without asking.
    doc().setSymbolText(1, "Turn Output 2 on");
    doc().setModified();
    EXPECT_TRUE(frame->saveCommand());
    EXPECT_EQ(files.saves, 0);
    FlowDocument back;
    ASSERT_TRUE(loadFlowFile(back, chart, {}, test::ignoredMessages(), true));
    EXPECT_EQ(back.symbol(1).text, "Turn Output 2 on");

    // Save As proposes the current path; a name without extension gets ".FLO".
    files.answers = {path("copia")};
    EXPECT_TRUE(frame->saveAsCommand());
    EXPECT_EQ(files.lastProposed, chart);
    EXPECT_EQ(doc().path(), path("copia.FLO"));
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2' - copia.FLO"));

    // A cancelled dialog saves nothing.
    EXPECT_FALSE(frame->saveAsCommand());

    // A new chart: empty, untitled, plain caption; Save then goes to Save As.
    frame->newCommand();
    EXPECT_EQ(doc().symbolCount(), 0);
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2'"));
    files.answers = {path("nuevo.FLO")};
    EXPECT_TRUE(frame->saveCommand());
    EXPECT_EQ(files.saves, 3);
    EXPECT_EQ(files.lastProposed, "");
}

TEST_F(FrameTest, OpeningRefusesWhatItCannotRead)
{
    std::ofstream(path("chart.txt")) << "x";
    files.answers = {path("chart.txt")};
    frame->openCommand();
    EXPECT_EQ(messages.last().text, "Debe cargar un archivo de Tarvel con extención .FLO");
    EXPECT_EQ(messages.last().caption, "Error de archivo");

    std::ofstream(path("roto.FLO"), std::ios::binary) << std::string(
        "\x84"
        "AABBHDAAAB",
        11);
    files.answers = {path("roto.FLO")};
    frame->openCommand();
    EXPECT_EQ(messages.last().text, "El archivo está dañado o incompleto");
    EXPECT_TRUE(doc().untitled());
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2'"));

    // Lower-case ".flo" opens through the dialog.
    const std::string lower = saveRunningChart("minusculas.flo");
    files.answers = {lower};
    frame->openCommand();
    EXPECT_EQ(doc().symbolCount(), 3);
}

TEST_F(FrameTest, DroppedFiles)
{
    const std::string chart = saveRunningChart();
    frame->dropFiles({QString::fromStdString(chart), QString::fromStdString(path("otro.FLO"))});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text,
              "Tarvel solo puede mantener un archivo a la vez - solo se abre la primera");
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(doc().symbolCount(), 3);

    frame->newCommand();
    const std::string lower = saveRunningChart("minusculas.flo");
    frame->dropFiles({QString::fromStdString(lower)});
    EXPECT_EQ(messages.last().text, "Tarvel solo puede leer archivos de Tarvel [.FLO]");
    EXPECT_EQ(doc().symbolCount(), 0);
}

TEST_F(FrameTest, ANewChartAbandonsALineInProgressAndADropWaitsForAHandDrawnOne)
{
    // Five delays down the page; the line tool takes the second as its origin.
    FlowDocument five;
    test::ChartBuilder b(five);
    for (int i = 0; i < 5; ++i) b.proc("Delay 1");
    const std::string fivePath = path("cinco.FLO");
    ASSERT_TRUE(saveFlowFile(five, fivePath, InterfaceSettings{}, test::ignoredMessages()));
    files.answers = {fivePath};
    frame->openCommand();
    ChartEditor& editor = frame->flowWindow()->editor();
    ASSERT_TRUE(frame->flowWindow()->chooseTool(EditorTool::Line));
    editor.press({five.symbol(1).x, five.symbol(1).y}, false);
    ASSERT_EQ(editor.lineOrigin(), 1);

    // Another chart dropped, whose second symbol has its line already: empty
    // space, then a symbol.
    const std::string chart = saveRunningChart();
    frame->dropFiles({QString::fromStdString(chart)});
    ASSERT_EQ(doc().symbolCount(), 3);
    const int lines = doc().lineCount();
    editor.press({600, 600}, false);
    EXPECT_EQ(messages.statusTexts.back(), "Línea: Debe hacer clic sobre un símbolo");
    editor.press({doc().symbol(2).x, doc().symbol(2).y}, false);
    EXPECT_EQ(messages.statusTexts.back(), "Línea: Ya hay una línea que comienza en este símbolo");
    EXPECT_EQ(doc().lineCount(), lines);
    // The chart saves and opens again.
    doc().setModified();
    ASSERT_TRUE(frame->saveCommand());
    FlowDocument back;
    ASSERT_TRUE(loadFlowFile(back, chart, {}, test::ignoredMessages(), true));
    EXPECT_EQ(back.lineCount(), lines);

    // A new chart drops the chosen origin too.
    frame->newCommand();
    EXPECT_EQ(editor.lineOrigin(), -1);
    EXPECT_EQ(editor.lineStep(), 1);

    // While a line is drawn by hand, a drop is refused and changes nothing.
    files.answers = {chart};
    frame->openCommand();
    const int free = doc().appendSymbol(SymbolKind::Process, {416, 392});
    editor.press({416, 392}, false);
    ASSERT_EQ(editor.lineOrigin(), free);
    editor.press({600, 392}, false);
    ASSERT_EQ(editor.moveState(), kMoveHandLine);
    messages.shown.clear();
    frame->dropFiles({QString::fromStdString(fivePath)});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "No se puede abrir un archivo nuevo mientras hay movimiento");
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(doc().symbolCount(), 4);
    EXPECT_EQ(editor.moveState(), kMoveHandLine);
}

// New, Open and a drop each refresh everything that shows the chart: the
// symbol panel editing the old one closes, the run menu lists the new heads,
// the caption names the new file.
TEST_F(FrameTest, EveryReplacementOfTheChartRefreshesWhatShowsIt)
{
    FlowDocument withSub;
    test::ChartBuilder(withSub).head("Sub 2");
    const std::string subPath = path("sub.FLO");
    ASSERT_TRUE(saveFlowFile(withSub, subPath, InterfaceSettings{}, test::ignoredMessages()));
    const std::string plainPath = saveRunningChart();
    const QStringList plainMenu{"&Iniciar Todo", QString::fromUtf8("&Selección"), "Ninguno"};

    files.answers = {subPath};
    frame->openCommand();
    EXPECT_EQ(runWhatTexts(), (QStringList{"&Iniciar Todo", QString::fromUtf8("&Selección"), "2"}));
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2' - sub.FLO"));
    frame->editors()->openSymbol(0);
    ASSERT_NE(frame->editors()->visible(), nullptr);

    frame->newCommand();
    EXPECT_EQ(frame->editors()->visible(), nullptr);
    EXPECT_EQ(runWhatTexts(), plainMenu);
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2'"));

    frame->dropFiles({QString::fromStdString(subPath)});
    EXPECT_EQ(runWhatTexts(), (QStringList{"&Iniciar Todo", QString::fromUtf8("&Selección"), "2"}));
    frame->editors()->openSymbol(0);
    ASSERT_NE(frame->editors()->visible(), nullptr);

    files.answers = {plainPath};
    frame->openCommand();
    EXPECT_EQ(frame->editors()->visible(), nullptr);
    EXPECT_EQ(runWhatTexts(), plainMenu);
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2' - faro.FLO"));
}

TEST_F(FrameTest, ClosingChecksAskBeforeAModifiedChartIsLost)
{
    const std::string chart = saveRunningChart();
    files.answers = {chart};
    frame->openCommand();
    doc().setModified();

    // Cancel keeps everything.
    messages.answerNext(MsgAnswer::Cancel);
    frame->newCommand();
    EXPECT_EQ(messages.last().caption, "El diagrama de flujo ha sido modificado");
    EXPECT_EQ(messages.last().text, "¿Quiere guardar?");
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(doc().symbolCount(), 3);

    // Yes saves, then goes on.
    doc().setSymbolText(0, "Start");
    messages.answerNext(MsgAnswer::Yes);
    frame->newCommand();
    EXPECT_EQ(doc().symbolCount(), 0);

    // Yes on an untitled chart whose Save As is cancelled keeps the chart.
    test::ChartBuilder(doc()).start();
    doc().setModified();
    messages.answerNext(MsgAnswer::Yes);
    files.answers = {""};
    frame->newCommand();
    EXPECT_EQ(doc().symbolCount(), 1);

    // No discards.
    messages.answerNext(MsgAnswer::No);
    frame->newCommand();
    EXPECT_EQ(doc().symbolCount(), 0);

    // Closing the window with Cancel leaves it open.
    test::ChartBuilder(doc()).start();
    doc().setModified();
    frame->show();
    messages.answerNext(MsgAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(FrameTest, RunAndStopFollowCaptionsButtonsAndTimer)
{
    files.answers = {saveRunningChart()};
    frame->openCommand();
    frame->runCommand();
    ASSERT_TRUE(interpreter().running());
    // The running title stands alone; the file name comes back at the stop.
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel 2' Ejecutando"));
    EXPECT_EQ(frame->action(121)->data().toInt(), 124);
    EXPECT_EQ(frame->action(121)->statusTip(), QString("Para el diagrama de flujo"));
    EXPECT_TRUE(frame->runTimer().isActive());
    EXPECT_EQ(frame->runTimer().interval(), 20);
    // Commands that would disturb a run are off.
    for (const int id : {101, 102, 103, 104, 124, 155, 162})
        EXPECT_FALSE(frame->action(id)->isEnabled()) << id;

    // The timer drives the interpreter.
    clock.advance(20);
    frame->timerTick();
    EXPECT_EQ(frame->state().io.image().outputs[0], 1);

    // Escape stops it.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(frame->flowWindow(), &escape);
    EXPECT_FALSE(interpreter().running());
    EXPECT_FALSE(frame->runTimer().isActive());
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel2' - faro.FLO"));
    EXPECT_EQ(frame->action(121)->data().toInt(), 123);
    EXPECT_TRUE(frame->action(101)->isEnabled());

    // Single step: no timer; the space bar moves every task one symbol.
    frame->state().speed.singleStep = true;
    frame->runCommand();
    EXPECT_FALSE(frame->runTimer().isActive());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(frame->flowWindow(), &space);
    EXPECT_EQ(frame->state().io.image().outputs[0], 1);
    frame->runCommand();
    frame->state().speed.singleStep = false;

    // Closing while running stops the run first.
    frame->runCommand();
    ASSERT_TRUE(interpreter().running());
    EXPECT_TRUE(frame->closingChecks());
    EXPECT_FALSE(interpreter().running());
}

TEST_F(FrameTest, ARunTimeErrorSelectsTheFailingSymbol)
{
    test::ChartBuilder b(doc());
    const int s = b.start(), dead = b.out("Turn Output 1 on");
    b.join(s, dead);
    frame->runCommand();
    clock.advance(20);
    frame->timerTick();
    EXPECT_FALSE(interpreter().running());
    EXPECT_EQ(messages.last().text, "No hay una línea de este símbolo");
    EXPECT_EQ(doc().selectedSymbols(), std::vector<int>{dead});
    EXPECT_TRUE(frame->action(312)->isEnabled());
    EXPECT_TRUE(frame->action(7)->isEnabled());
    // The delete button deletes it.
    frame->action(312)->trigger();
    EXPECT_EQ(doc().symbolCount(), 1);
    EXPECT_FALSE(frame->action(312)->isEnabled());
}

TEST_F(FrameTest, RunWhatMenuFollowsTheSubHeads)
{
    EXPECT_EQ(runWhatTexts(),
              (QStringList{"&Iniciar Todo", QString::fromUtf8("&Selección"), "Ninguno"}));
    EXPECT_EQ(checkedRunWhat(), frame->action(106));

    test::ChartBuilder b(doc());
    b.head("Sub 5(Luz)");
    b.head("Sub 2");
    frame->rebuildRunMenu();
    EXPECT_EQ(runWhatTexts(),
              (QStringList{"&Iniciar Todo", QString::fromUtf8("&Selección"), "2", "5(Luz)"}));
    ASSERT_NE(frame->action(8005), nullptr);
    EXPECT_EQ(frame->action(146), nullptr);
    frame->action(8005)->trigger();
    EXPECT_EQ(interpreter().runMode.code(), 6);
    EXPECT_EQ(checkedRunWhat(), frame->action(8005));

    // The chosen sub stays chosen while its head is there.
    frame->rebuildRunMenu();
    EXPECT_EQ(checkedRunWhat(), frame->action(8005));
    doc().selectSymbol(0);
    messages.answerNext(MsgAnswer::Yes);
    doc().deleteSelection();  // the document asks the menu to follow
    EXPECT_EQ(runWhatTexts(), (QStringList{"&Iniciar Todo", QString::fromUtf8("&Selección"), "2"}));
    EXPECT_EQ(checkedRunWhat(), frame->action(106));
    EXPECT_EQ(interpreter().runMode.code(), 0);
}

TEST_F(FrameTest, RunWhatChoiceAcrossLoadsAndRebuilds)
{
    auto chartWithHeads = [&](const std::string& name, std::vector<std::string> heads) {
        FlowDocument chart;
        test::ChartBuilder b(chart);
        for (const std::string& h : heads) b.head(h);
        const std::string p = path(name);
        EXPECT_TRUE(saveFlowFile(chart, p, InterfaceSettings{}, test::ignoredMessages()));
        return p;
    };
    ASSERT_TRUE(frame->loadChart(chartWithHeads("uno.FLO", {"Sub 3(luz)", "Sub 4"}), true));
    frame->action(8003)->trigger();
    // Another chart with a head of the same number keeps the choice ...
    ASSERT_TRUE(frame->loadChart(chartWithHeads("dos.FLO", {"Sub 1", "Sub 3(faro)"}), true));
    EXPECT_EQ(checkedRunWhat(), frame->action(8003));
    EXPECT_EQ(interpreter().runMode.code(), 4);
    // ... one without it runs everything.
    ASSERT_TRUE(frame->loadChart(chartWithHeads("tres.FLO", {"Sub 1"}), true));
    EXPECT_EQ(checkedRunWhat(), frame->action(106));
    EXPECT_EQ(interpreter().runMode.code(), 0);

    // "&Selección" gives way to "&Iniciar Todo" at the next rebuild.
    frame->action(145)->trigger();
    EXPECT_EQ(interpreter().runMode.kind, RunMode::Selection);
    frame->rebuildRunMenu();
    EXPECT_EQ(checkedRunWhat(), frame->action(106));
    EXPECT_EQ(interpreter().runMode.code(), 0);
}

// Within one menu no two entries share a mnemonic, so Alt and a letter never
// lands on the wrong command; the menu texts stay as they are.
TEST_F(FrameTest, EveryMenuEntryHasItsOwnLetter)
{
    std::function<void(QMenu*)> check = [&](QMenu* menu) {
        std::map<QChar, QString> taken;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            const QString text = a->text();
            const qsizetype amp = text.indexOf('&');
            if (amp >= 0 && amp + 1 < text.size()) {
                const QChar letter = text[amp + 1].toLower();
                // Both texts are fixed: the one pair that shares a letter (Qt
                // then steps from one to the other).
                const auto before = taken.find(letter);
                const bool fixedPair = before != taken.end() &&
                                       before->second == QString::fromUtf8("&Deshacer") &&
                                       text == QString::fromUtf8("&Desplazar Automáticamente");
                EXPECT_TRUE(taken.count(letter) == 0 || fixedPair)
                    << menu->title().toStdString() << ": " << text.toStdString() << " and "
                    << taken[letter].toStdString();
                taken[letter] = text;
            }
            if (a->menu()) check(a->menu());
        }
    };
    for (QAction* top : frame->menuBar()->actions())
        if (top->menu()) check(top->menu());
    // The alignment commands are grouped under "&Alinear" with their own texts.
    QMenu* align = frame->findChild<QMenu*>("alignMenu");
    ASSERT_NE(align, nullptr);
    EXPECT_EQ(align->title(), QString("&Alinear"));
    QStringList texts;
    for (QAction* a : align->actions()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{"&Centrar", "&Izquierda", "&Derecha", "&Superficie", "&Fondo"}));
    EXPECT_EQ(frame->action(170)->statusTip(), QString("Junta y centra los etiquetas"));
}

// The auto-scroll entry's hint says what choosing it will do.
TEST_F(FrameTest, AutoScrollHintFollowsTheCheckMark)
{
    QAction* scroll = frame->action(316);
    ASSERT_TRUE(scroll->isChecked());
    EXPECT_EQ(scroll->statusTip(),
              QString::fromUtf8("No deja que la ventana se desplace automáticamente"));
    scroll->trigger();
    EXPECT_FALSE(frame->flowWindow()->autoScroll());
    EXPECT_EQ(scroll->statusTip(),
              QString::fromUtf8("Hace que la ventana se desplace automáticamente cuando el puntero "
                                "esté cerca a la orilla"));
    scroll->trigger();
    EXPECT_TRUE(frame->flowWindow()->autoScroll());
    EXPECT_EQ(scroll->statusTip(),
              QString::fromUtf8("No deja que la ventana se desplace automáticamente"));
}

// At the smallest zoom the window still holds the whole tool bar: the run
// button is not hidden in the bar's overflow menu.
TEST_F(FrameTest, TheWholeToolBarStaysInSightAtTheSmallestZoom)
{
    frame->show();
    frame->applyZoom(2);
    QApplication::processEvents();
    auto* bar = frame->findChild<QToolBar*>("toolBar");
    ASSERT_NE(bar, nullptr);
    for (const int id : {312, 306, 309, 121}) {
        QWidget* button = bar->widgetForAction(frame->action(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_TRUE(button->isVisible()) << id;
        EXPECT_LE(button->geometry().right(), bar->width()) << id;
    }
    // The user cannot narrow it past that either.
    frame->resize(200, 500);
    EXPECT_GE(frame->width(), bar->sizeHint().width());
}

TEST_F(FrameTest, ZoomScalesTheDrawingWindow)
{
    frame->applyZoom(5);
    EXPECT_EQ(frame->flowWindow()->zoom(), 5);
    EXPECT_EQ(frame->flowWindow()->size(), QSize(kDrawingWidth / 2, kDrawingHeight / 2));
    EXPECT_EQ(frame->flowWindow()->deviceRect(Rect{100, 200, 300, 400}), QRect(50, 100, 101, 101));
    frame->applyZoom(10);
    EXPECT_EQ(frame->flowWindow()->size(), QSize(kDrawingWidth, kDrawingHeight));
}

// The tool's prompt is the status bar's lasting text: the hint of a tool
// button or menu entry under the pointer covers it only while the pointer
// rests there.
TEST(FramePrompt, ToolPromptOutlastsTheHintsOfButtonsAndMenus)
{
    QtMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    TFlowFrame frame(FrameServices{messages, clock, files, ports});
    messages.setStatusBar(frame.messageBar());
    frame.resize(1000, 700);
    frame.show();
    TMessageBar* bar = frame.messageBar();
    const auto* promptLabel = bar->findChild<QLabel*>("statusPrompt");
    ASSERT_NE(promptLabel, nullptr);
    const QString prompt = QString::fromUtf8("Línea: Haga clic en el origen de la línea");

    frame.action(307)->trigger();
    EXPECT_EQ(bar->shownText(), prompt);

    QWidget* output = frame.findChild<QToolBar*>("toolBar")->widgetForAction(frame.action(304));
    ASSERT_NE(output, nullptr);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), output->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(output, &enter);
    EXPECT_EQ(bar->shownText(), QString::fromUtf8("Agrega un símbolo de Salida al diagrama"));
    EXPECT_FALSE(promptLabel->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(output, &leave);
    EXPECT_EQ(bar->shownText(), prompt);
    EXPECT_TRUE(promptLabel->isVisible());
    EXPECT_EQ(promptLabel->text(), prompt);
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) frame.grab().save(QString::fromUtf8(dir) + "/main-prompt-after-hover.png");

    // A menu entry's hint, as the menu shows it and clears it.
    frame.action(101)->showStatusText(frame.menuBar());
    EXPECT_EQ(bar->shownText(),
              QString::fromUtf8("Borra la pantalla para un diagrama de flujo nuevo"));
    QStatusTipEvent cleared{QString()};
    QApplication::sendEvent(frame.menuBar(), &cleared);
    EXPECT_EQ(bar->shownText(), prompt);

    // A new prompt shows at once, even over a hint; an empty one clears the line.
    QApplication::sendEvent(output, &enter);
    frame.action(309)->trigger();
    EXPECT_EQ(bar->shownText(), QString::fromUtf8("Línea NO: Haga clic en el origen de la línea"));
    messages.status("");
    EXPECT_TRUE(bar->shownText().isEmpty());

    // Placing a symbol releases its tool, and its prompt goes with it.
    frame.action(302)->trigger();
    EXPECT_EQ(bar->shownText(), QString::fromUtf8("Proceso: Haga clic donde debe ir el proceso"));
    TFlowWindow* chart = frame.flowWindow();
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const QPointF at(320, 196);
        QMouseEvent e(type, at, chart->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(chart, &e);
    }
    ASSERT_EQ(frame.state().doc.symbolCount(), 1);
    EXPECT_EQ(chart->editor().tool(), EditorTool::None);
    EXPECT_TRUE(bar->shownText().isEmpty());
}

TEST(FlowApp, QtDialogsSpeakSpanish)
{
    QTranslator translator;
    ASSERT_TRUE(TFlowApp::installSpanish(*qApp, translator));
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().remove('&'), QString("Cancelar"));
    EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text().remove('&'), QString::fromUtf8("Sí"));
    QApplication::removeTranslator(&translator);
}

}  // namespace
}  // namespace tarvel
