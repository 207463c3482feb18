// The frame's graph commands: enabling and checks, saving and opening the
// captured data through the file dialogs, and the questions that keep data
// from being lost unnoticed.

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/flow_frame.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "support/frame_fixture.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

const char* const kReminder =
    "Es posible que usted desee guardar el data de su Gráfica.  Use el menú Gráficas";

class GraphCommandsTest : public test::FrameFixture {
protected:
    void SetUp() override
    {
        startFrame(localConfig("datos"));
        if (HasFatalFailure()) return;
        // Start, output 1 on, a delay looping back: it runs until stopped.
        test::ChartBuilder b(frame->state().doc);
        const int s = b.start(), on = b.out("Turn Output 1 on"), wait = b.proc("Delay 1");
        b.chain({s, on, wait});
        b.join(wait, on);
    }
    DataCapture& capture() { return frame->state().capture; }
    bool enabled(int id) const { return frame->action(id)->isEnabled(); }

    // Runs for `ticks` ticks of 20 ms; stopped unless asked otherwise.
    void run(int ticks, bool stop = true)
    {
        frame->runCommand();
        for (int i = 0; i < ticks; ++i) {
            clock.advance(20);
            frame->timerTick();
        }
        if (stop) frame->runCommand();
    }
};

TEST_F(GraphCommandsTest, TheMenuEntriesFollowTheCaptureAndTheRun)
{
    QStringList texts;
    for (QAction* a : frame->menuBar()->findChild<QMenu*>("graphMenu")->actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{"&Ver", QString::fromUtf8("Parámetro de &Tiempo..."),
                                  "&Sensores...", QString::fromUtf8("&Abrir Gráfica..."),
                                  QString::fromUtf8("&Guardar como Gráfica..."),
                                  QString::fromUtf8("&Borrar Gráfica"),
                                  QString::fromUtf8("&Comenzar Registro en Ejecutación")}));
    QStringList view;
    for (QAction* a : frame->menuBar()->findChild<QMenu*>("graphViewMenu")->actions())
        view << a->text();
    EXPECT_EQ(view, (QStringList{QString::fromUtf8("&Mostrar Gráfica"),
                                 QString::fromUtf8("&Copiar Gráfica"), "&Valores", "Rejilla &Tosca",
                                 "Rejilla &Fina"}));
    // No data: nothing to save or clear.
    EXPECT_TRUE(enabled(2));
    EXPECT_TRUE(enabled(8));
    EXPECT_FALSE(enabled(3));
    EXPECT_FALSE(enabled(6));
    EXPECT_TRUE(frame->action(4)->isChecked());

    run(30, false);  // 60 hundredths: five samples
    EXPECT_EQ(capture().sampleCount(), 5);
    // The menu looks at the data as it opens.
    emit frame->menuBar()->findChild<QMenu*>("graphMenu")->aboutToShow();
    EXPECT_TRUE(enabled(3));
    EXPECT_FALSE(enabled(6));
    EXPECT_FALSE(enabled(8));
    EXPECT_FALSE(enabled(105));
    frame->runCommand();
    EXPECT_TRUE(enabled(6));
    EXPECT_TRUE(enabled(8));
    capture().setValuesMode(true);
    frame->updateCommands();
    EXPECT_FALSE(enabled(6));
    capture().setValuesMode(false);

    // Logging off: the next run clears the data and records nothing.
    frame->action(4)->trigger();
    EXPECT_FALSE(capture().settings.logOnRun);
    EXPECT_FALSE(frame->action(4)->isChecked());
    run(30);
    EXPECT_EQ(capture().sampleCount(), 0);
    EXPECT_FALSE(enabled(3));
    frame->action(4)->trigger();
    EXPECT_TRUE(frame->action(4)->isChecked());
}

TEST_F(GraphCommandsTest, ClearingAsksFirst)
{
    run(30);
    messages.answerNext(MsgAnswer::Cancel);
    frame->action(6)->trigger();
    EXPECT_EQ(messages.last().text, "¿Está seguro que quiere borrar su data?");
    EXPECT_EQ(capture().sampleCount(), 5);
    frame->action(6)->trigger();
    EXPECT_EQ(capture().sampleCount(), 0);
    EXPECT_FALSE(enabled(6));
}

TEST_F(GraphCommandsTest, SavingTakesTheFormatOfTheFilterAndItsExtension)
{
    std::filesystem::create_directory(path("datos"));
    run(30);
    files.answers = {path("datos/datos.txt")};
    files.dataFilter = 1;
    frame->action(3)->trigger();
    EXPECT_EQ(files.lastDirectory, path("datos"));
    const std::string csv = test::slurp(path("datos/datos.CSV"));
    EXPECT_EQ(csv.rfind("\"Tiempo (segundos)\"", 0), 0u);
    EXPECT_TRUE(capture().holdsUnsavedData());  // an export keeps the data unsaved

    files.answers = {path("datos/datos.SID")};
    files.dataFilter = 0;
    frame->action(3)->trigger();
    EXPECT_EQ(test::slurp(path("datos/datos.SID")).rfind("%%identifier,SID\r\r\n", 0), 0u);
    EXPECT_FALSE(capture().holdsUnsavedData());
    EXPECT_TRUE(messages.empty());

    // Cancelled: nothing is written.
    files.dataFilter = 2;
    frame->action(3)->trigger();
    EXPECT_FALSE(std::filesystem::exists(path("datos/datos.TSV")));
}

TEST_F(GraphCommandsTest, OpeningAsksBeforeUnsavedDataGoes)
{
    run(30);
    files.answers = {path("uno.SID")};
    frame->action(3)->trigger();
    run(60);  // a longer capture, not saved
    ASSERT_EQ(capture().sampleCount(), 10);

    messages.answerNext(MsgAnswer::Cancel);
    frame->action(8)->trigger();
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(messages.last().text, "Su gráfica previa se perderá");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(files.dataOpens, 0);
    EXPECT_EQ(capture().sampleCount(), 10);

    files.answers = {path("uno.SID")};
    frame->action(8)->trigger();
    EXPECT_EQ(files.dataOpens, 1);
    EXPECT_EQ(capture().sampleCount(), 5);
    EXPECT_FALSE(capture().holdsUnsavedData());

    // Read from a file: no question the next time.
    messages.shown.clear();
    files.answers = {path("nada.SID")};
    frame->action(8)->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "No se puede abrir archivo");
    EXPECT_EQ(capture().sampleCount(), 5);
}

TEST_F(GraphCommandsTest, SavingTheChartOrClosingRemindsOfUnsavedData)
{
    run(30);
    files.answers = {path("faro.FLO")};
    ASSERT_TRUE(frame->saveAsCommand());
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");
    EXPECT_EQ(messages.last().text, kReminder);

    // From the save-changes question no reminder comes; closing asks about the data.
    frame->state().doc.setModified();
    messages.shown.clear();
    messages.answerNext(MsgAnswer::Yes);     // save the chart
    messages.answerNext(MsgAnswer::Cancel);  // keep the program for the data
    frame->show();
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "¿Quiere guardar?");
    EXPECT_EQ(messages.shown[1].text, kReminder);
    EXPECT_EQ(messages.shown[1].buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(capture().sampleCount(), 5);

    // Saved data: the chart saves and the program closes without a word.
    files.answers = {path("datos.SID")};
    frame->action(3)->trigger();
    messages.shown.clear();
    EXPECT_TRUE(frame->saveCommand());
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(messages.empty());
}

TEST_F(GraphCommandsTest, ANewChartClearsTheDataAfterTheQuestion)
{
    run(30);
    messages.answerNext(MsgAnswer::No);  // do not save the chart
    messages.answerNext(MsgAnswer::Cancel);
    frame->state().doc.setModified();
    frame->newCommand();
    EXPECT_EQ(messages.last().text, "¿Está seguro que quiere borrar su data?");
    EXPECT_EQ(capture().sampleCount(), 5);
    EXPECT_EQ(frame->state().doc.symbolCount(), 0);
    frame->newCommand();
    EXPECT_EQ(capture().sampleCount(), 0);
}

}  // namespace
}  // namespace tarvel
