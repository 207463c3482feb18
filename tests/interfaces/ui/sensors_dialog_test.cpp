// The sensors window as a pupil meets it: opened from the menus, sensors
// chosen from each channel's menu, values in the sensor's units, test mode,
// and a chart that keeps its sensors through a save and a load.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

#include "app/flow_frame.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "interfaces/ui/logo_icon.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/menu_icon.h"
#include "interfaces/ui/monitor_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "interfaces/ui/sensors_dialog.h"
#include "interfaces/ui/test_mode.h"
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

// The shipped table of the Deltronics folder, in name order.
enum ShippedSensor {
    Angle,
    Light,
    Position,
    Pressure,
    Sound,
    Temperature,
    FineTemperature,
    Voltage
};

class SensorsDialogTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    test::TempDir dir;
    std::unique_ptr<TFlowFrame> frame;

    void start(int model)
    {
        frame = std::make_unique<TFlowFrame>(FrameServices{messages, clock, files, ports});
        AppConfiguration config;
        config.configPath = (dir.path() / "CONFIGUR.FCF").string();
        config.sensorsDir = std::string(TARVEL_DATA_DIR) + "/SENSORS";
        InterfaceSettings s;
        s.mode = 1;
        s.model = model;
        s.numbering = 1;
        ASSERT_TRUE(saveInterfaceConfig(config.configPath, s, test::ignoredMessages()));
        frame->startUp(config);
        frame->resize(1000, 700);
        frame->show();
    }
    void SetUp() override { start(ModelDeltronics); }
    ProgramState& state() { return frame->state(); }
    TSensorsDialog& window() { return *frame->monitors()->sensors(); }
    QAction* entry(int channel, int id)
    {
        return window().menu(channel)->findChild<QAction*>(QStringLiteral("id%1").arg(id));
    }
    // Chooses from a channel's menu as a click would, the menu opened first.
    void pick(int channel, int id)
    {
        window().menuButton(channel)->openMenu();
        entry(channel, id)->trigger();
        window().menu(channel)->hide();
    }
};

TEST_F(SensorsDialogTest, OpensFromItsMenuCommandAndBesideTheLargeMonitor)
{
    EXPECT_FALSE(window().isVisible());
    frame->action(105)->trigger();
    ASSERT_TRUE(window().isVisible());
    EXPECT_EQ(window().objectName(), QString("id219"));
    EXPECT_EQ(window().windowTitle(), QString("Sensores"));
    EXPECT_EQ(window().frameGeometry().right(), frame->frameGeometry().right());
    EXPECT_EQ(window().frameGeometry().bottom(), frame->frameGeometry().bottom());
    window().hide();

    frame->action(109)->trigger();
    TMonitorDialog* monitor =
        frame->monitors()->large(largeMonitorFor(state().io.settings, state().io.encoding));
    ASSERT_TRUE(window().isVisible());
    EXPECT_EQ(window().frameGeometry().right() + 1, monitor->frameGeometry().left());
    EXPECT_EQ(window().frameGeometry().bottom(), frame->frameGeometry().bottom());

    // Not while a chart runs, like the other windows of the chart.
    test::ChartBuilder chart(state().doc);
    const int begin = chart.start(), wait = chart.proc("Delay 9");
    chart.join(begin, wait);
    chart.join(wait, wait);
    frame->runCommand();
    ASSERT_TRUE(state().interpreter.running());
    EXPECT_FALSE(frame->action(105)->isEnabled());
    frame->runCommand();
    EXPECT_TRUE(frame->action(105)->isEnabled());
}

TEST_F(SensorsDialogTest, RowsRunBottomUpWithTheirIds)
{
    const int names[] = {164, 165, 166, 169}, buttons[] = {163, 162, 167, 168};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(window().nameEdit(c)->objectName(), QString("id%1").arg(names[c]));
        EXPECT_EQ(window().valueField(c)->objectName(), QString("id%1").arg(158 + c));
        EXPECT_EQ(window().unitLabel(c)->objectName(), QString("id%1").arg(150 + c));
        EXPECT_EQ(window().menuButton(c)->objectName(), QString("id%1").arg(buttons[c]));
        EXPECT_EQ(window().nameEdit(c)->text(), QString("Val %1").arg(c + 1));
        EXPECT_EQ(window().unitLabel(c)->text(), QString("%"));
        EXPECT_EQ(window().nameEdit(c)->maxLength(), 16);
    }
    EXPECT_GT(window().nameEdit(0)->y(), window().nameEdit(3)->y());
    EXPECT_NE(window().findChild<TLogoIcon*>("id141"), nullptr);
    EXPECT_EQ(window().testBox()->objectName(), QString("id116"));
    EXPECT_EQ(window().testBox()->text(), QString("Modo de Probar"));
}

TEST_F(SensorsDialogTest, TheMenuListsTheTableAndChecksTheChoice)
{
    QMenu* menu = window().menu(0);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 8 + 1 + 3);
    EXPECT_EQ(actions[Light]->text(), QString("Luz"));
    EXPECT_EQ(actions[Position]->text(), QString::fromUtf8("Posición"));
    EXPECT_EQ(actions[Light]->objectName(), QString("id%1").arg(5000 + Light));
    EXPECT_TRUE(actions[8]->isSeparator());
    EXPECT_EQ(actions[9]->text(), QString("Porcentaje"));
    EXPECT_EQ(actions[10]->text(), QString::fromUtf8("Automática"));
    EXPECT_EQ(actions[11]->text(), QString("Ningun"));
    EXPECT_TRUE(entry(0, kSensorMenuPercent)->isChecked());

    // "Luz 53 %": a light sensor on channel 1.
    state().io.setAnalogue(0, 543);
    pick(0, 5000 + Light);
    EXPECT_EQ(window().nameEdit(0)->text(), QString("Luz"));
    EXPECT_EQ(window().valueField(0)->text(), QString("53"));
    EXPECT_EQ(window().unitLabel(0)->text(), QString("%"));
    EXPECT_TRUE(entry(0, 5000 + Light)->isChecked());
    EXPECT_FALSE(entry(0, kSensorMenuPercent)->isChecked());
    EXPECT_EQ(state().doc.sensorAssignment[0], 1);
    EXPECT_TRUE(state().doc.modified());

    // Automática: checked alone, the sensors themselves greyed.
    pick(0, kSensorMenuAutomatic);
    EXPECT_TRUE(entry(0, kSensorMenuAutomatic)->isChecked());
    EXPECT_FALSE(entry(0, 5000 + Light)->isChecked());
    EXPECT_FALSE(entry(0, 5000 + Light)->isEnabled());
    EXPECT_TRUE(entry(0, kSensorMenuNone)->isEnabled());

    pick(1, kSensorMenuNone);
    EXPECT_EQ(window().nameEdit(1)->text(), QString("Ningun 2"));
    EXPECT_EQ(window().unitLabel(1)->text(), QString());
    EXPECT_TRUE(entry(1, kSensorMenuNone)->isChecked());
}

TEST_F(SensorsDialogTest, AutomaticIsOfferedOnlyByTheBoxesThatIdentify)
{
    EXPECT_TRUE(entry(2, kSensorMenuAutomatic)->isEnabled());
    start(ModelLego);
    window().menuButton(2)->openMenu();
    EXPECT_FALSE(entry(2, kSensorMenuAutomatic)->isEnabled());
    window().menu(2)->hide();
    start(ModelSenseControl);
    window().menuButton(2)->openMenu();
    EXPECT_TRUE(entry(2, kSensorMenuAutomatic)->isEnabled());
    EXPECT_TRUE(entry(2, kSensorMenuAutomatic)->isChecked());  // on from the connect
    window().menu(2)->hide();
}

TEST_F(SensorsDialogTest, ValuesUseTheSensorsDecimalsAndAreWrittenOnlyWhenTheyChange)
{
    pick(0, 5000 + FineTemperature);
    pick(1, 5000 + Temperature);
    state().io.setAnalogue(0, 1023);
    state().io.setAnalogue(1, 512);
    EXPECT_EQ(window().valueField(0)->text(), QString("45.00"));
    EXPECT_EQ(window().valueField(1)->text(), QString("25.0"));
    EXPECT_EQ(window().unitLabel(1)->text(), QString::fromUtf8("°C"));
    // The reduced monitor: one decimal for two, none otherwise.
    frame->monitors()->openReduced();
    TManualMonitorDialog& reduced = *frame->monitors()->reduced();
    EXPECT_EQ(reduced.valueField(0)->text(), QString("45.0"));
    EXPECT_EQ(reduced.valueField(1)->text(), QString("25"));

    int rewrites = 0;
    QObject::connect(window().valueField(1), &QLineEdit::textChanged, [&] { ++rewrites; });
    state().io.setAnalogue(1, 512);  // the same reading
    EXPECT_EQ(rewrites, 0);
    state().io.setAnalogue(1, 0);  // below the rated range: the minimum, -20.0
    EXPECT_EQ(window().valueField(1)->text(), QString("-20.0"));
    state().io.setAnalogue(1, 1);  // still below: the text stays
    EXPECT_EQ(rewrites, 1);
}

TEST_F(SensorsDialogTest, TestModePollsOnTimer666UntilUnchecked)
{
    frame->action(105)->trigger();
    window().testBox()->setChecked(true);
    TTestMode& mode = frame->monitors()->testMode();
    EXPECT_TRUE(state().io.flags.testMode);
    EXPECT_TRUE(mode.timer().isActive());
    EXPECT_EQ(mode.timer().interval(), state().speed.interval);
    EXPECT_EQ(mode.timer().objectName(), QString("timer666"));

    window().testBox()->setChecked(false);
    EXPECT_FALSE(state().io.flags.testMode);
    EXPECT_FALSE(mode.timer().isActive());

    // Stopped from elsewhere (a failed link), the box unchecks itself.
    window().testBox()->setChecked(true);
    mode.setOn(false);
    EXPECT_FALSE(window().testBox()->isChecked());
}

TEST_F(SensorsDialogTest, AChartKeepsItsSensorsAndNamesThroughSaveAndLoad)
{
    pick(1, 5000 + Sound);
    window().nameEdit(2)->selectAll();
    for (const QChar ch : QString("Ruido")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(window().nameEdit(2), &key);
    }
    ASSERT_TRUE(state().doc.modified());
    const std::string path = (dir.path() / "ruido.FLO").string();
    files.answers.push_back(path);
    ASSERT_TRUE(frame->saveAsCommand());

    frame->newCommand();
    EXPECT_EQ(window().nameEdit(1)->text(), QString("Val 2"));
    EXPECT_EQ(state().sensors.channel(1).sensor, kSensorPercent);

    ASSERT_TRUE(frame->loadChart(path, true));
    EXPECT_EQ(state().sensors.channel(1).sensor, Sound);
    EXPECT_EQ(window().nameEdit(1)->text(), QString("Sonido"));
    EXPECT_EQ(window().unitLabel(1)->text(), QString("dB"));
    EXPECT_EQ(window().nameEdit(2)->text(), QString("Ruido"));
}

TEST_F(SensorsDialogTest, ScreenshotsWithThreeSensorsAndTheMenuOpen)
{
    frame->action(105)->trigger();
    pick(0, 5000 + Light);
    pick(1, 5000 + Temperature);
    pick(2, 5000 + Sound);
    pick(3, kSensorMenuNone);
    // During a run in simulation; the readings go into the image as the
    // monitors' value buttons and the mimics put them there.
    test::ChartBuilder chart(state().doc);
    const int begin = chart.start(), wait = chart.proc("Delay 9");
    chart.join(begin, wait);
    chart.join(wait, wait);
    frame->runCommand();
    ASSERT_TRUE(state().interpreter.running());
    clock.advance(20);
    frame->timerTick();
    state().io.setAnalogue(0, 543);
    state().io.setAnalogue(1, 600);
    state().io.setAnalogue(2, 300);
    EXPECT_EQ(window().valueField(0)->text(), QString("53"));
    EXPECT_EQ(window().valueField(1)->text(), QString("33.1"));
    EXPECT_EQ(window().valueField(2)->text(), QString("99.4"));
    keep(window().grab().toImage(), "sensors-three.png");

    window().menuButton(1)->openMenu();
    QMenu* menu = window().menu(1);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(entry(1, 5000 + Temperature)->isChecked());
    keep(menu->grab().toImage(), "sensors-menu.png");
    menu->hide();
    frame->runCommand();
}

}  // namespace
}  // namespace tarvel
