// The graph window in the frame: the empty window and the toolbox, building
// a mixed stack with clicks, the drawing during a run (sample by sample, as a
// full repaint would draw it), values mode and the monitors, the y-limit and
// frequency-type dialogs, the copy, and maximising. With
// TARVEL_SCREENSHOT_DIR set, the pictures are written there to be looked at.

#include "datalog/ui/graph_window.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <cmath>

#include "app/flow_frame.h"
#include "datalog/ui/graph_count_type_dialog.h"
#include "datalog/ui/graph_pane_dialog.h"
#include "datalog/ui/graph_values_dialog.h"
#include "engine/chart_builder.h"
#include "interfaces/interface_config.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "interfaces/ui/test_mode.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

constexpr int kAnalogue1 = 0, kAnalogue2 = 1, kInput1 = 5, kOutput1 = 14, kOutput2 = 15,
              kMotorA = 23, kFrequency1 = 28;

void keep(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

class GraphWindowTest : public ::testing::Test {
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
        config.configPath = (dir.path() / "CONFIGUR.FCF").string();
        ASSERT_TRUE(
            saveInterfaceConfig(config.configPath, InterfaceSettings{}, test::ignoredMessages()));
        frame->startUp(config);
    }
    TGraphWindow& window() { return *frame->graphWindow(); }
    DataCapture& capture() { return frame->state().capture; }
    GraphLayout& layout() { return capture().data.layout; }
    TGraphPaneDialog& toolbox() { return *window().toolbox(); }

    // Picks the icon in the toolbox and clicks at the height y.
    void place(int icon, int y)
    {
        window().iconClicked(icon);
        window().leftClick({200, y});
    }
    PaneBox pane(int slot) { return stackGeometry(layout(), window().height()).panes[slot]; }
    // A y in the gap below the pane in the slot.
    int below(int slot) { return pane(slot).top + pane(slot).height + 2; }

    // Light and temperature sensors on channels 1 and 2.
    void chooseSensors()
    {
        SensorChannels& s = frame->state().sensors;
        s.reloadTable(std::string(TARVEL_DATA_DIR) + "/SENSORS/DSI");
        for (int i = 0; i < s.table().size(); ++i) {
            const std::string& name = s.table().entry(i).fileName;
            if (name == "LUZ.CAL") s.choose(0, i);
            if (name == "TEMP.CAL") s.choose(1, i);
        }
        ASSERT_GE(s.channel(0).sensor, 0);
        ASSERT_GE(s.channel(1).sensor, 0);
    }
    // Six graphs: two analogue, inputs, outputs, a motor and a frequency graph.
    void buildFullStack()
    {
        place(kAnalogue1, 3);
        place(kAnalogue2, below(0));
        place(kInput1, below(1));
        place(kInput1 + 1, pane(2).top + 2);
        place(kOutput1, below(2));
        place(kOutput2, pane(3).top + 2);
        place(kMotorA, below(3));
        place(kFrequency1, below(4));
        place(kFrequency1 + 1, pane(5).top + 2);
        ASSERT_TRUE(messages.empty()) << messages.last().text;
    }
    // A chart that blinks output 1, drives motor A both ways and output 2.
    void blinkingChart()
    {
        test::ChartBuilder b(frame->state().doc);
        const int s = b.start(), on = b.out("Turn Output 1 on"), fd = b.out("Motor a fd 100%"),
                  w1 = b.proc("Delay 1"), off = b.out("Turn Output 1 off"),
                  o2 = b.out("Turn Output 2 on"), rev = b.out("Motor a rev 100%"),
                  w2 = b.proc("Delay 1"), stop = b.out("Motor a off"),
                  o2off = b.out("Turn Output 2 off"), w3 = b.proc("Delay 1");
        b.chain({s, on, fd, w1, off, o2, rev, w2, stop, o2off, w3});
        b.join(w3, on);
    }
    // Runs `ticks` ticks of 30 ms with the inputs and channel 1 moving.
    void runTicks(int ticks)
    {
        InterfaceLayer& io = frame->state().io;
        for (int i = 0; i < ticks; ++i) {
            io.setInput(0, (i / 7) % 2);
            io.setInput(1, (i / 11) % 2);
            io.setAnalogue(0, 512 + static_cast<int>(400 * std::sin(i / 20.0)));
            io.setAnalogue(1, 300 + i % 200);
            clock.advance(30);
            frame->timerTick();
        }
    }
};

TEST_F(GraphWindowTest, TheEmptyWindowAndTheToolboxOpenTogether)
{
    ASSERT_NE(frame->action(1), nullptr);
    EXPECT_EQ(frame->action(1)->text(), QString::fromUtf8("&Gráfica..."));
    frame->action(1)->trigger();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().windowTitle(), QString::fromUtf8("Gráfica de Tarvel"));
    EXPECT_EQ(window().size(), QSize(400, 400));
    ASSERT_TRUE(toolbox().isVisible());
    EXPECT_EQ(toolbox().windowTitle(), QString::fromUtf8("Gráfica"));
    // The toolbox stands against the window's left edge, level with its top.
    EXPECT_EQ(toolbox().frameGeometry().right() + 1, window().frameGeometry().left());
    EXPECT_EQ(toolbox().frameGeometry().top(), window().frameGeometry().top());

    const QImage empty = window().grab().toImage();
    keep(empty, "graph-empty.png");
    EXPECT_EQ(empty.pixelColor(5, 5), kGraphGrey);
    EXPECT_EQ(empty.pixelColor(390, 390), kGraphGrey);
    int ink = 0;  // the two instruction lines in black
    for (int y = 20; y < 60; ++y)
        for (int x = 10; x < 390; ++x) ink += qGray(empty.pixel(x, y)) < 64;
    EXPECT_GT(ink, 400);

    // 32 icons numbered 101..132; the inputs follow the numbering.
    for (int id = 101; id <= 132; ++id)
        EXPECT_NE(toolbox().findChild<TGraphPaneIcon*>(QStringLiteral("id%1").arg(id)), nullptr);
    EXPECT_EQ(toolbox().icon(kInput1)->text(), "1");
    EXPECT_EQ(toolbox().icon(kMotorA)->text(), "A");
    frame->state().io.settings.numbering = 2;
    frame->action(1)->trigger();
    EXPECT_EQ(toolbox().icon(kInput1)->text(), "0");
    EXPECT_EQ(toolbox().icon(kAnalogue1)->text(), "1");
    keep(toolbox().grab().toImage(), "graph-toolbox.png");

    // The picked icon shows it; a click anywhere makes the first graph.
    window().iconClicked(kOutput1);
    EXPECT_EQ(toolbox().icon(kOutput1)->state(), IconState::Selected);
    window().leftClick({200, 300});
    EXPECT_EQ(layout().paneKind[0], 6);
    EXPECT_EQ(toolbox().icon(kOutput1)->state(), IconState::Placed);
    // Clicking the placed icon takes the graph away again.
    toolbox().icon(kOutput1)->click();
    EXPECT_EQ(layout().totalWeight, 0);
    EXPECT_EQ(toolbox().icon(kOutput1)->state(), IconState::Free);

    // Closing hides both.
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(toolbox().isVisible());
}

TEST_F(GraphWindowTest, ARunDrawsSampleBySampleWhatAFullRepaintDraws)
{
    chooseSensors();
    blinkingChart();
    capture().settings.firstSpan = 3000;  // 30 seconds, a sample every 30 ms
    frame->action(1)->trigger();
    window().resize(560, 720);
    buildFullStack();
    EXPECT_EQ(layout().totalWeight, 18);
    EXPECT_EQ(layout().analogueShown, 2);

    frame->runCommand();
    EXPECT_FALSE(toolbox().isVisible());  // a capture start hides it
    runTicks(500);
    const CaptureBuffer& b = capture().buffer();
    ASSERT_GT(b.sampleCount, 400);
    bool motorBothWays[2] = {false, false};
    for (int j = 0; j < b.sampleCount; ++j) {
        motorBothWays[0] |= b.motors[0][j] > 0;
        motorBothWays[1] |= b.motors[0][j] < 0;
    }
    EXPECT_TRUE(motorBothWays[0] && motorBothWays[1]);

    const QImage live = window().grab().toImage();
    keep(live, "graph-run.png");
    window().repaintGraph();
    const QImage full = window().grab().toImage();
    ASSERT_EQ(live.size(), full.size());
    int differ = 0, plotted = 0;
    for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x) {
            differ += live.pixel(x, y) != full.pixel(x, y);
            plotted += qGray(full.pixel(x, y)) < 250;
        }
    // Line joins may fall a pixel apart; nothing else may.
    EXPECT_LT(differ, full.width() * full.height() / 200) << differ << " pixels differ";
    EXPECT_GT(plotted, full.width() * full.height() / 10);

    // Every channel's colour made it into the picture.
    const auto shows = [&](const QColor& c) {
        for (int y = 0; y < full.height(); ++y)
            for (int x = 40; x < full.width() - 40; ++x)
                if (full.pixelColor(x, y) == c) return true;
        return false;
    };
    EXPECT_TRUE(shows(channelColour(0)));
    EXPECT_TRUE(shows(channelColour(1)));
    frame->runCommand();
}

TEST_F(GraphWindowTest, ValuesModeShowsTheSampleUnderTheCursorInTheMonitors)
{
    chooseSensors();
    place(kAnalogue1, 3);
    CaptureBuffer& b = capture().data.buffer;
    // Ten samples over the first second of the two minutes.
    for (int j = 0; j < 10; ++j) {
        b.time[j] = 10u * j;
        b.analogue[0][j] = 100.0 + j;
    }
    b.sampleCount = 10;
    frame->action(1)->trigger();
    window().resize(400, 400);
    frame->state().io.setAnalogue(0, 1000);
    TManualMonitorDialog& reduced = *frame->monitors()->reduced();
    const QString live = reduced.valueField(0)->text();

    frame->monitors()->testMode().setOn(true);
    frame->updateCommands();
    EXPECT_FALSE(frame->action(5)->isEnabled());  // not while testing
    frame->monitors()->testMode().setOn(false);
    frame->updateCommands();
    ASSERT_TRUE(frame->action(5)->isEnabled());
    frame->action(5)->trigger();
    ASSERT_TRUE(window().valuesMode());
    EXPECT_TRUE(frame->action(5)->isChecked());
    EXPECT_EQ(window().cursorX(), 35);
    EXPECT_FALSE(frame->action(6)->isEnabled());  // no clearing meanwhile

    // At x 36 the time is 12000 / 330 = 36 hundredths: sample 3 (time 30).
    window().moveCursorTo({36, 200});
    EXPECT_EQ(window().cursorX(), 36);
    EXPECT_EQ(frame->state().sensors.value(0), 103.0);
    EXPECT_EQ(reduced.valueField(0)->text(), "103");
    keep(window().grab().toImage(), "graph-values.png");
    // Past the newest sample (time 90) by more than 5 hundredths: "?".
    window().moveCursorTo({300, 200});
    EXPECT_EQ(reduced.valueField(0)->text(), "?");
    EXPECT_EQ(reduced.valueField(1)->text(), "?");

    frame->action(5)->trigger();
    EXPECT_FALSE(window().valuesMode());
    EXPECT_EQ(window().cursorX(), -1);
    EXPECT_EQ(reduced.valueField(0)->text(), "");
    EXPECT_FALSE(frame->state().sensors.valuesHeld());
    frame->state().io.setAnalogue(0, 900);
    EXPECT_NE(reduced.valueField(0)->text(), "");
    EXPECT_NE(reduced.valueField(0)->text(), "?");
    (void)live;

    // A run start ends values mode by itself.
    frame->action(5)->trigger();
    ASSERT_TRUE(window().valuesMode());
    frame->runCommand();
    EXPECT_FALSE(window().valuesMode());
    EXPECT_FALSE(frame->state().sensors.valuesHeld());
    frame->runCommand();
}

TEST_F(GraphWindowTest, TheAxisClicksAndTheirDialogs)
{
    chooseSensors();
    frame->action(1)->trigger();
    place(kAnalogue1, 3);
    place(kAnalogue2, pane(0).top + 40);
    place(kFrequency1, below(0));
    ASSERT_EQ(layout().axisChannel[0], 0);
    const double lightMax = layout().yMax[0];

    // A left click on the y axis hands it to the other channel.
    window().leftClick({20, pane(0).top + 50});
    EXPECT_EQ(layout().axisChannel[0], 1);

    // A right click there opens the y-limit dialog for the graph.
    int shown = 0;
    window().setDialogRunner([&](QDialog& d) {
        ++shown;
        auto* values = qobject_cast<TGraphValuesDialog*>(&d);
        EXPECT_NE(values, nullptr);
        if (!values) return 0;
        EXPECT_EQ(values->windowTitle(), QString::fromUtf8("Ajustar limites de eje-y"));
        EXPECT_EQ(values->minimumEdit(2)->text(), "-");
        EXPECT_FALSE(values->minimumEdit(2)->isEnabled());
        EXPECT_EQ(values->maximumEdit(0)->text(), QString::asprintf("%.0f", lightMax));
        // Equal limits are refused and the dialog stays open.
        values->minimumEdit(1)->setText("20");
        values->maximumEdit(1)->setText("20");
        values->accept();
        EXPECT_EQ(values->result(), 0);
        EXPECT_EQ(messages.last().text, "Los valores no deben ser iguales");
        // The wrong way round is put right.
        values->minimumEdit(1)->setText("100");
        values->maximumEdit(1)->setText("0");
        values->accept();
        return values->result();
    });
    window().rightClick({10, pane(0).top + 50});
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(layout().yMin[1], 0.0);
    EXPECT_EQ(layout().yMax[1], 100.0);
    EXPECT_EQ(layout().yStep[0], 10);

    // On the frequency graph: the bars stacked, the maximum following.
    capture().data.frequency.counts[2][0] = 7;
    capture().data.frequency.counts[2][1] = 8;
    place(kFrequency1 + 1, pane(1).top + 5);
    EXPECT_EQ(capture().data.frequency.frequencyMax[0], 10);
    window().setDialogRunner([&](QDialog& d) {
        auto* type = qobject_cast<TGraphCountTypeDialog*>(&d);
        EXPECT_NE(type, nullptr);
        if (!type) return 0;
        EXPECT_FALSE(type->stacked()->isChecked());
        type->stacked()->setChecked(true);
        type->accept();
        return type->result();
    });
    window().rightClick({10, pane(1).top + 20});
    EXPECT_EQ(capture().data.frequency.frequencyMode, kStacked);
    EXPECT_EQ(capture().data.frequency.frequencyMax[0], 20);
}

TEST_F(GraphWindowTest, CopyAndTheMaximiseThatCoversTheMainWindow)
{
    place(kAnalogue1, 3);
    place(kInput1, below(0));
    frame->updateCommands();
    EXPECT_FALSE(frame->action(11)->isEnabled());  // no data
    capture().data.buffer.sampleCount = 2;
    capture().data.buffer.time[1] = 50;
    frame->updateCommands();
    ASSERT_TRUE(frame->action(11)->isEnabled());
    frame->action(11)->trigger();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasFormat("image/svg+xml"));
    EXPECT_TRUE(copied->data("image/svg+xml").contains("viewBox=\"0 0 400 360\""));
    const QImage image = qvariant_cast<QImage>(copied->imageData());
    EXPECT_EQ(image.size(), QSize(400, 360));

    frame->setGeometry(100, 80, 900, 700);
    frame->show();
    frame->action(1)->trigger();
    const QRect own = window().geometry();
    window().systemMaximise();
    EXPECT_EQ(window().frameGeometry(), frame->frameGeometry());
    EXPECT_EQ(toolbox().frameGeometry().top(), window().frameGeometry().top());
    window().systemMinimise();
    EXPECT_EQ(window().geometry(), own);
}

}  // namespace
}  // namespace tarvel
