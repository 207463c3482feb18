// The main window with a live interface: "&Simular", the test mode's boxes
// after a failure on the line, and a chart run against `tarvel box 1` over a
// real pseudo-terminal (with a picture of it).

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QToolBar>

#include "app/flex_button_gadget.h"
#include "app/flow_frame.h"
#include "app/tool_pictures.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "interfaces/protocols/protocol_context.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "interfaces/ui/sensors_dialog.h"
#include "interfaces/ui/st_icon.h"
#include "interfaces/ui/test_mode.h"
#include "platform/qt/qt_serial_link.h"
#include "support/box_process.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

// The picture the tool bar's "&Simular" button shows; the button keeps its
// place in the tool bar while the picture changes.
int picture(QAction* simulate)
{
    auto* gadget = qobject_cast<TFlexButtonGadget*>(simulate);
    return gadget ? gadget->picture() : -1;
}

constexpr int kSimulate = 123;

InterfaceSettings deltronicsSettings()
{
    InterfaceSettings s;
    s.mode = 1;
    s.model = ModelDeltronics;
    s.numbering = 1;
    s.port = 0;
    return s;
}

// A frame started on the given interface, over the given link.
class LiveFrame {
public:
    LiveFrame(ByteLink& link, const InterfaceSettings& settings, const std::string& com1 = {})
        : frame(FrameServices{messages, clock, files, link})
    {
        AppConfiguration config;
        config.configPath = (dir.path() / "CONFIGUR.FCF").string();
        config.sensorsDir = std::string(TARVEL_DATA_DIR) + "/SENSORS";
        config.fileDir = dir.path().string();
        config.comDevices[0] = com1;
        EXPECT_TRUE(saveInterfaceConfig(config.configPath, settings, test::ignoredMessages()));
        frame.startUp(config);
    }
    QAction* simulate() const { return frame.action(kSimulate); }

    test::TempDir dir;
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    TFlowFrame frame;
};

TEST(LiveInterface, SimulateIsOfferedWhereABoxCanBeDrivenAndShowsItsState)
{
    test::FakeByteLink link;
    LiveFrame f(link, deltronicsSettings());
    QAction* simulate = f.simulate();
    ASSERT_NE(simulate, nullptr);
    EXPECT_TRUE(simulate->isEnabled());
    EXPECT_TRUE(simulate->isChecked());
    EXPECT_TRUE(f.frame.findChild<QToolBar*>("toolBar")->actions().contains(simulate));
    EXPECT_EQ(picture(simulate), kSimulatingPicture);
    EXPECT_TRUE(link.opened.empty());

    // Cleared: the port of COM1 opens (the box tells its sensors), and the
    // button shows the live box.
    link.replyTo({0x18}, {0x18, 1, 2, 3, 248, 0, 0});
    simulate->trigger();
    EXPECT_TRUE(f.messages.empty());
    EXPECT_FALSE(f.frame.state().io.flags.simulate);
    EXPECT_FALSE(simulate->isChecked());
    EXPECT_EQ(picture(simulate), kLivePicture);
    EXPECT_TRUE(f.frame.findChild<QToolBar*>("toolBar")->actions().contains(simulate));
    ASSERT_EQ(link.opened.size(), 1u);
    EXPECT_EQ(link.opened[0], "/dev/ttyS0");

    // Set again: the box is switched off (R8) and let go.
    link.writes.clear();
    simulate->trigger();
    EXPECT_TRUE(f.frame.state().io.flags.simulate);
    ASSERT_FALSE(link.writes.empty());
    EXPECT_EQ(link.writes.back(), (test::Bytes{0x08}));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(picture(simulate), kSimulatingPicture);

    // No interface, or a Tolva Chip board that downloads: nothing to clear.
    for (const auto& [mode, model, sub] :
         {std::tuple{0, ModelNone, 0}, std::tuple{1, ModelTolvaChip, 0}}) {
        InterfaceSettings s = deltronicsSettings();
        s.mode = mode;
        s.model = model;
        s.subModel = sub;
        LiveFrame other(link, s);
        EXPECT_FALSE(other.simulate()->isEnabled()) << model;
        EXPECT_TRUE(other.simulate()->isChecked()) << model;
    }
    InterfaceSettings board = deltronicsSettings();
    board.model = ModelTolvaChip;
    board.subModel = 2;
    LiveFrame third(link, board);
    EXPECT_TRUE(third.simulate()->isEnabled());
}

TEST(LiveInterface, ALinkFailureInTestModeUnchecksBothBoxesWithItsMessage)
{
    test::FakeByteLink link;  // a box that tells its sensors, then nothing more
    LiveFrame f(link, deltronicsSettings());
    link.replyTo({0x18}, {0x18, 1, 2, 3, 248, 0, 0});
    f.simulate()->trigger();
    ASSERT_TRUE(f.messages.empty());
    link.replyTo({0x18}, {0x18, 1, 2, 3, 248, 0, 0});  // identified again as test mode starts
    TMonitorSet& monitors = *f.frame.monitors();
    QCheckBox* probar = monitors.reduced()->testBox();
    probar->click();
    EXPECT_TRUE(monitors.testMode().isOn());
    EXPECT_TRUE(f.frame.state().io.flags.testMode);

    // Timer 666 fires every Interval: I54, and no echo.
    QElapsedTimer waited;
    waited.start();
    while (monitors.testMode().isOn() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(monitors.testMode().isOn());
    EXPECT_FALSE(probar->isChecked());
    auto* sensorsBox = monitors.sensors()->findChild<QCheckBox*>();
    ASSERT_NE(sensorsBox, nullptr);
    EXPECT_FALSE(sensorsBox->isChecked());
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.last().caption, caption::Error);
    EXPECT_EQ(f.messages.last().text, kTestLinkErrorText);
}

// A chart that switches a lamp and a motor and then waits for input 3.
std::string saveLiveChart(const std::filesystem::path& dir)
{
    FlowDocument chart;
    test::ChartBuilder b(chart);
    const int s = b.start(), lamp = b.out("Turn Output 1 on"), motor = b.out("Turn Motor b fd 60"),
              wait = b.decide("Is Input 3 on"), off = b.out("Turn Output 1 off"), stop = b.stop();
    b.chain({s, lamp, motor, wait});
    b.join(wait, off, LineKind::Yes);
    b.join(wait, wait, LineKind::No);
    b.chain({off, stop});
    const std::string path = (dir / "CAJA.FLO").string();
    EXPECT_TRUE(saveFlowFile(chart, path, deltronicsSettings(), test::ignoredMessages()));
    return path;
}

bool waitForLine(test::BoxProcess& box, const std::string& line, std::vector<std::string>& seen)
{
    for (int round = 0; round < 20; ++round) {
        for (std::string& l : box.readLines(500)) seen.push_back(std::move(l));
        if (std::find(seen.begin(), seen.end(), line) != seen.end()) return true;
    }
    return false;
}

TEST(LiveInterface, ARunEndsAfterAFailureOnTheLineWithOneMessage)
{
    test::FakeByteLink link;  // tells its sensors, then answers nothing
    LiveFrame f(link, deltronicsSettings());
    ASSERT_TRUE(f.frame.loadChart(saveLiveChart(f.dir.path()), true));
    link.replyTo({0x18}, {0x18, 1, 2, 3, 248, 0, 0});
    f.simulate()->trigger();
    ASSERT_TRUE(f.messages.empty());
    f.frame.runCommand();
    Interpreter& run = f.frame.state().interpreter;
    ASSERT_TRUE(run.running());
    f.clock.advance(20);
    f.frame.timerTick();  // output 1: no echo
    EXPECT_FALSE(f.frame.runTimer().isActive());
    QCoreApplication::processEvents();
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.lastStopReason(), StopReason::LinkFailed);
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.last().caption, caption::SerialError);
    EXPECT_EQ(f.frame.action(121)->text(), QString("Ejecutar"));
}

TEST(LiveInterface, AChartRunsAgainstTheSimulatedBox)
{
    test::BoxProcess box(TARVEL_TOOL_PATH, {"1"});
    ASSERT_FALSE(box.device().empty());
    box.send("val 1 700");
    QtSerialLink link;
    LiveFrame f(link, deltronicsSettings(), box.device());
    ASSERT_TRUE(f.frame.loadChart(saveLiveChart(f.dir.path()), true));
    f.frame.resize(1000, 700);
    f.frame.show();
    f.simulate()->trigger();
    ASSERT_FALSE(f.simulate()->isChecked());

    f.frame.runCommand();
    ASSERT_TRUE(f.frame.state().interpreter.running());
    for (int i = 0; i < 6; ++i) {
        f.clock.advance(20);
        f.frame.timerTick();
    }
    std::vector<std::string> seen;
    EXPECT_TRUE(waitForLine(box, "output 1 on", seen));
    EXPECT_TRUE(waitForLine(box, "output 3 on", seen));  // motor B forward
    EXPECT_TRUE(waitForLine(box, "power 3 58", seen));
    EXPECT_TRUE(f.messages.empty());

    // The window running, with the strip of the reduced monitor where it stands.
    QImage shot = f.frame.grab().toImage();
    TManualMonitorDialog* strip = f.frame.monitors()->reduced();
    if (strip->isVisible()) {
        QPainter p(&shot);
        p.drawImage(strip->mapToGlobal(QPoint(0, 0)) - f.frame.mapToGlobal(QPoint(0, 0)),
                    strip->grab().toImage());
    }
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) shot.save(QString::fromUtf8(dir) + "/main-live-box.png");
    EXPECT_TRUE(strip->outputLamp(0)->isVisible());

    // The box's input ends the chart; the stop switches everything off.
    box.send("in 3 on");
    ASSERT_TRUE(waitForLine(box, "in 3 on", seen));
    for (int i = 0; i < 10 && f.frame.state().interpreter.running(); ++i) {
        f.clock.advance(20);
        f.frame.timerTick();
    }
    EXPECT_FALSE(f.frame.state().interpreter.running());
    EXPECT_TRUE(waitForLine(box, "output 1 off", seen));
    for (std::string& l : box.readLines(1000)) seen.push_back(std::move(l));
    EXPECT_EQ(seen.back(), "reset");
    EXPECT_TRUE(f.messages.empty());
}

}  // namespace
}  // namespace tarvel
