#include "app/flow_frame.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTranslator>
#include <fstream>

#include "app/flow_app.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/interface_config.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

class FrameTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    test::TempDir dir;
    std::unique_ptr<TFlowFrame> frame;

    void SetUp() override
    {
        frame = std::make_unique<TFlowFrame>(FrameServices{messages, clock, files, ports});
        AppConfiguration config;
        config.configPath = path("CONFIGUR.FCF");
        config.sensorsDir = path("SENSORS");
        config.fileDir = path("");
        InterfaceSettings s;  // simulation, numbering 1-8
        writeConfigFile(config.configPath, s, nullptr);
        frame->startUp(config);
    }
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
    FlowDocument& doc() { return frame->state().doc; }
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
        EXPECT_EQ(saveFlowFile(chart, p, InterfaceSettings{}, nullptr), FlowFileStatus::Ok);
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
    writeConfigFile(path("live.FCF"), live, nullptr);
    config.configPath = path("live.FCF");
    ports.present = {"/dev/ttyS1", "/dev/ttyS2"};
    TFlowFrame third(FrameServices{messages, clock, files, ports});
    third.startUp(config);
    EXPECT_EQ(third.state().io.settings.port, 2);  // lowered to the last present port
    EXPECT_TRUE(third.state().io.flags.simulate);
    messages.shown.clear();
    third.afterSplash(saveRunningChart());
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
    third.afterSplash(path("notas.txt"));
    EXPECT_EQ(messages.shown.size(), 1u);  // only the note again
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
    ASSERT_EQ(loadFlowFile(back, chart, {}, nullptr, true), FlowFileStatus::Ok);
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
    EXPECT_EQ(frame->windowTitle(), QString("'Tarvel 2' Ejecutando - faro.FLO"));
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
    EXPECT_EQ(frame->state().io.image.outputs[0], 1);

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
    EXPECT_EQ(frame->state().io.image.outputs[0], 1);
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
    frame->rebuildRunMenu(false);
    EXPECT_EQ(runWhatTexts(),
              (QStringList{"&Iniciar Todo", QString::fromUtf8("&Selección"), "2", "5(Luz)"}));
    ASSERT_NE(frame->action(8005), nullptr);
    EXPECT_EQ(frame->action(146), nullptr);
    frame->action(8005)->trigger();
    EXPECT_EQ(interpreter().runMode.code(), 6);
    EXPECT_EQ(checkedRunWhat(), frame->action(8005));

    // The chosen sub stays chosen while its head is there.
    frame->rebuildRunMenu(false);
    EXPECT_EQ(checkedRunWhat(), frame->action(8005));
    doc().selectSymbol(0);
    messages.answerNext(MsgAnswer::Yes);
    doc().deleteSelection();  // the document asks the menu to follow
    EXPECT_EQ(runWhatTexts(), (QStringList{"&Iniciar Todo", QString::fromUtf8("&Selección"), "2"}));
    EXPECT_EQ(checkedRunWhat(), frame->action(106));
    EXPECT_EQ(interpreter().runMode.code(), 0);
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
