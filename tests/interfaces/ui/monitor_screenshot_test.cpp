// Pictures of every monitor, idle and while a chart runs. With
// TARVEL_SCREENSHOT_DIR set, the PNGs are written there to be looked at.

#include <gtest/gtest.h>
#include <QImage>
#include <QPixmap>

#include "app/flow_frame.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "interfaces/manual_control.h"
#include "interfaces/ui/logo_icon.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/monitor_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "interfaces/ui/st_icon.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/read_chart.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

void keep(const QImage& image, const QString& name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

struct Case {
    const char* name;
    int mode, model, subModel, numbering;
    bool large;
};

class MonitorScreenshot : public ::testing::TestWithParam<Case> {};

TEST_P(MonitorScreenshot, IdleAndRunning)
{
    const Case& c = GetParam();
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    test::TempDir dir;
    TFlowFrame frame(FrameServices{messages, clock, files, ports});
    AppConfiguration config;
    config.configPath = (dir.path() / "CONFIGUR.FCF").string();
    config.sensorsDir = (dir.path() / "SENSORS").string();
    InterfaceSettings s;
    s.mode = c.mode;
    s.model = c.model;
    s.subModel = c.subModel;
    s.numbering = c.numbering;
    ASSERT_TRUE(saveInterfaceConfig(config.configPath, s, test::ignoredMessages()));
    frame.startUp(config);
    frame.resize(1000, 700);
    frame.show();

    // Outputs 1 and 3 on, motor A forward and B in reverse at 60 %, then wait.
    FlowDocument chart;
    test::ChartBuilder b(chart);
    const int start = b.start(), lamps = b.out("Turn Output 1,3 on"),
              motors = b.out("Motor a fd b rev 60"), wait = b.proc("Delay 9");
    b.chain({start, lamps, motors, wait});
    b.join(wait, wait);
    chart.inputNames[0] = "Pulsador";
    chart.outputNames[0] = "Luz roja";
    chart.motorNames[0] = "Cinta";
    const std::string path = (dir.path() / "muestra.FLO").string();
    ASSERT_TRUE(saveFlowFile(chart, path, s, test::ignoredMessages()));
    ASSERT_TRUE(frame.loadChart(path, true));

    TMonitorSet& monitors = *frame.monitors();
    QWidget* shown = nullptr;
    if (c.large) {
        frame.action(109)->trigger();
        shown =
            monitors.large(largeMonitorFor(frame.state().io.settings, frame.state().io.encoding));
    } else {
        frame.action(125)->trigger();
        shown = monitors.reduced();
    }
    ASSERT_TRUE(shown->isVisible());
    const QImage idle = shown->grab().toImage();
    keep(idle, QString("monitor-%1-idle.png").arg(c.name));

    // The chip boards run the compiled chart in the chip simulator.
    frame.runCommand();
    ASSERT_TRUE(frame.state().programRunning());
    for (int i = 0; i < 4; ++i) {
        clock.advance(20);
        frame.timerTick();
        frame.state().chip.timerTick();
    }
    // A pupil presses input 2 and sets channel 1 to full scale.
    monitors.control().clickInput(1);
    monitors.control().clickValue(0);
    const QImage running = shown->grab().toImage();
    keep(running, QString("monitor-%1-running.png").arg(c.name));
    EXPECT_NE(running, idle);
    frame.runCommand();
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, MonitorScreenshot,
    ::testing::Values(
        Case{"salidas", 1, ModelDeltronics, kDeltronicsSerial, 1, true},
        Case{"motores", 0, ModelNone, 0, 1, true},
        Case{"motores-cc", 1, ModelContactController, kContactControllerBasic, 1, true},
        Case{"motores-placa", 1, ModelTolvaChip, 1, 1, true},
        Case{"reducido", 0, ModelNone, 0, 1, false}, Case{"reducido-mfa", 1, ModelMfa, 0, 2, false},
        Case{"reducido-cc", 1, ModelContactController, kContactControllerBasic, 1, false}),
    [](const ::testing::TestParamInfo<Case>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == '-') ch = '_';
        return name;
    });

TEST(MonitorScreenshotLogo, ProgramPicture)
{
    TLogoIcon logo(141);
    logo.resize(logo.sizeHint());
    const QImage image = logo.grab().toImage();
    keep(image, "logo.png");
    EXPECT_EQ(image.size(), logo.sizeHint());
}

}  // namespace
}  // namespace tarvel
