// Pictures of every shipped mimic set, idle and while its example chart runs.
// With TARVEL_SCREENSHOT_DIR set, the PNGs are written there to be looked at.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <functional>

#include "app/flow_frame.h"
#include "interfaces/interface_config.h"
#include "mimics/ui/mimic_window.h"
#include "mimics/ui/mimics.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

void keep(const QImage& image, const QString& name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

struct Case {
    const char* set;
    const char* chart;
    // What the pupil does during the run: clicks on objects, between ticks.
    std::function<void(TMimics&, std::function<void(double)>)> play;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.set;
}

class MimicScreenshot : public ::testing::TestWithParam<Case> {};

void clickObject(TMimics& m, int object, MouseButton b = MouseButton::Left)
{
    const MimicObject& o = m.display().object(object);
    m.clicks().click((o.left + o.right) / 2, (o.top + o.bottom) / 2, b);
}

TEST_P(MimicScreenshot, IdleAndRunning)
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
    config.sensorsDir = std::string(TARVEL_DATA_DIR) + "/SENSORS";
    config.mimicsDir = std::string(TARVEL_DATA_DIR) + "/MIMICS";
    ASSERT_TRUE(
        saveInterfaceConfig(config.configPath, InterfaceSettings{}, test::ignoredMessages()));
    frame.startUp(config);
    frame.resize(1000, 700);
    frame.show();

    // The example chart asks for its set, and gets it.
    messages.answerNext(MsgAnswer::Ok);
    ASSERT_TRUE(frame.loadChart(std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/" + c.chart, true));
    TMimics& mimics = *frame.mimics();
    ASSERT_TRUE(mimics.windowVisible());
    ASSERT_EQ(mimics.library().setName(), c.set);
    TMimicWindow& window = *mimics.window();
    EXPECT_EQ(window.size(), QSize(kMimicWidth, kMimicHeight));

    const QImage idle = window.grab().toImage();
    keep(idle, QString("mimica-%1-reposo.png").arg(c.set));
    mimics.display().setShowLabels(true);
    keep(window.grab().toImage(), QString("mimica-%1-etiquetas.png").arg(c.set));
    mimics.display().setShowLabels(false);

    frame.runCommand();
    ASSERT_TRUE(frame.state().interpreter.running());
    auto runFor = [&](double seconds) {
        for (int i = 0; i < static_cast<int>(seconds * 50); ++i) {
            clock.advance(20);
            frame.timerTick();
        }
    };
    c.play(mimics, runFor);
    EXPECT_FALSE(window.pending());  // painted after the pass
    const QImage running = window.grab().toImage();
    keep(running, QString("mimica-%1-ejecucion.png").arg(c.set));
    EXPECT_NE(running, idle);
    EXPECT_TRUE(messages.shown.size() == 1) << messages.last().text;
    frame.runCommand();
}

INSTANTIATE_TEST_SUITE_P(
    Sets, MimicScreenshot,
    ::testing::Values(
        // The lamp lit and the beam to the right.
        Case{"FARO", "FAROGIRA.FLO", [](TMimics&, auto runFor) { runFor(0.5); }},
        // A walker pressed the button: "ESPERE", amber.
        Case{"SEMAFORO", "PEATONES.FLO",
             [](TMimics& m, auto runFor) {
                 runFor(1);
                 clickObject(m, 7);
                 runFor(2.5);
             }},
        // A train: the lamps flash, the barrier goes down.
        Case{"PASONIVEL", "PASONIVEL.FLO",
             [](TMimics& m, auto runFor) {
                 runFor(0.5);
                 clickObject(m, 7);
                 runFor(0.4);
             }},
        // Warmed by six clicks from -20 to 40 degrees: the fan runs.
        Case{"VIVERO", "VIVERO.FLO",
             [](TMimics& m, auto runFor) {
                 runFor(0.5);
                 for (int k = 0; k < 6; ++k) clickObject(m, 3);
                 runFor(0.5);
             }}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.set); });

}  // namespace
}  // namespace tarvel
