// The monitors as a pupil meets them: opened from the main window, clicked,
// following a running chart, and placed around the main window.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include "app/flow_frame.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "interfaces/manual_control.h"
#include "interfaces/ui/cl_icon.h"
#include "interfaces/ui/interface_dialog.h"
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

void press(QWidget* w, Qt::MouseButton button = Qt::LeftButton,
           QEvent::Type type = QEvent::MouseButtonPress)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent event(type, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void type(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &event);
    }
}

template <typename T>
T* child(QWidget* parent, int id)
{
    return parent->findChild<T*>(QStringLiteral("id%1").arg(id));
}

// The main window with a tool window drawn where it stands over it.
void keep(QImage shot, const QImage& window, const QPoint& at, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QPainter p(&shot);
    p.drawImage(at, window);
    p.end();
    shot.save(QString::fromUtf8(dir) + "/" + name);
}

class MonitorsTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    test::TempDir dir;
    std::unique_ptr<TFlowFrame> frame;

    void start(const InterfaceSettings& settings)
    {
        frame = std::make_unique<TFlowFrame>(FrameServices{messages, clock, files, ports});
        AppConfiguration config;
        config.configPath = (dir.path() / "CONFIGUR.FCF").string();
        config.sensorsDir = (dir.path() / "SENSORS").string();
        ASSERT_TRUE(saveInterfaceConfig(config.configPath, settings, test::ignoredMessages()));
        frame->startUp(config);
        frame->show();
    }
    void SetUp() override { start(InterfaceSettings{}); }
    static InterfaceSettings model(int code, int subModel, int numbering)
    {
        InterfaceSettings s;
        s.mode = 1;
        s.model = code;
        s.subModel = subModel;
        s.numbering = numbering;
        return s;
    }
    ProgramState& state() { return frame->state(); }
    TMonitorSet& monitors() { return *frame->monitors(); }
    TManualMonitorDialog& reduced() { return *monitors().reduced(); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock.advance(state().speed.interval);
            frame->timerTick();
        }
    }
    // Input 1 lights output 2 while it is on; output 1 stays on throughout.
    void loadFollower()
    {
        FlowDocument chart;
        test::ChartBuilder b(chart);
        const int s = b.start(), first = b.out("Turn Output 1 on"), in = b.decide("Is Input 1 on"),
                  on = b.out("Turn Output 2 on"), off = b.out("Turn Output 2 off");
        b.chain({s, first, in});
        b.join(in, on, LineKind::Yes);
        b.join(in, off, LineKind::No);
        b.join(on, in);
        b.join(off, in);
        const std::string path = (dir.path() / "sigue.FLO").string();
        ASSERT_TRUE(saveFlowFile(chart, path, state().io.settings, test::ignoredMessages()));
        ASSERT_TRUE(frame->loadChart(path, true));
    }
};

TEST_F(MonitorsTest, TheLargeMonitorsCarryTheirIdsRowsAndSliders)
{
    TMonitorDialog* n = monitors().large(LargeMonitor::Outputs);
    EXPECT_EQ(n->objectName(), QString("id214"));
    EXPECT_EQ(n->windowTitle(), QString("Monitor"));
    for (int id : {101, 108, 109, 116}) EXPECT_NE(child<QLineEdit>(n, id), nullptr) << id;
    for (int id : {1010, 1017, 132, 139}) EXPECT_NE(child<TStIcon>(n, id), nullptr) << id;
    // Row 0 is at the bottom: input 1 is edit 108 beside lamp 1010, output 1 is 116 and 139.
    EXPECT_EQ(n->inputEdit(0)->objectName(), QString("id108"));
    EXPECT_EQ(n->inputLamp(0)->objectName(), QString("id1010"));
    EXPECT_EQ(n->outputLamp(0)->objectName(), QString("id139"));
    EXPECT_GT(n->outputLamp(0)->y(), n->outputLamp(7)->y());
    EXPECT_NEAR(n->inputLamp(0)->geometry().center().y(), n->inputEdit(0)->geometry().center().y(),
                1);
    for (int k = 0; k < 8; ++k) {
        QSlider* s = child<QSlider>(n, 3001 + k);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s, n->slider(k));
        EXPECT_EQ(s->minimum(), 0);
        EXPECT_EQ(s->maximum(), 100);
        EXPECT_EQ(s->tickInterval(), 10);
        EXPECT_EQ(s->width(), 100);
        EXPECT_EQ(s->x(), 2 * n->width() / 3 - 10);
        EXPECT_EQ(s->value(), 100);
    }
    EXPECT_GT(n->slider(0)->y(), n->slider(7)->y());

    TMonitorDialog* c = monitors().large(LargeMonitor::Motors);
    EXPECT_EQ(c->objectName(), QString("id215"));
    EXPECT_EQ(c->motorEdit(0)->objectName(), QString("id147"));
    EXPECT_EQ(c->motorButton(3)->objectName(), QString("id154"));
    for (int id : {140, 145, 146, 147}) EXPECT_NE(child<QLineEdit>(c, id), nullptr) << id;
    for (int id : {151, 152, 153, 154}) EXPECT_NE(child<TStIcon>(c, id), nullptr) << id;
    EXPECT_EQ(c->sliderCount(), 4);
    EXPECT_GT(c->slider(0)->y(), c->slider(3)->y());
    EXPECT_EQ(c->slider(0)->x(), 2 * c->width() / 3 - 10);

    TMonitorDialog* cs = monitors().large(LargeMonitor::SmallMotors);
    EXPECT_EQ(cs->objectName(), QString("id220"));
    for (int id : {105, 108, 113, 116, 146, 147}) EXPECT_NE(child<QLineEdit>(cs, id), nullptr);
    for (int id : {1010, 1013, 136, 139, 152, 153}) EXPECT_NE(child<TStIcon>(cs, id), nullptr);
    for (int id : {101, 109, 140}) EXPECT_EQ(child<QLineEdit>(cs, id), nullptr);
    EXPECT_EQ(child<TStIcon>(cs, 1014), nullptr);
}

// Renamed items still read as inputs, outputs or motors: each column has its
// heading above its top row, whole and inside the window.
TEST_F(MonitorsTest, TheLargeMonitorsHeadTheirColumns)
{
    for (const LargeMonitor kind :
         {LargeMonitor::Outputs, LargeMonitor::Motors, LargeMonitor::SmallMotors}) {
        TMonitorDialog* d = monitors().large(kind);
        SCOPED_TRACE(d->objectName().toStdString());
        struct Column {
            const char* name;
            const char* text;
            QWidget* top;
        };
        std::vector<Column> columns{{"headingInputs", "Entradas", d->inputEdit(d->rows() - 1)},
                                    {"headingOutputs", "Salidas", d->outputEdit(d->rows() - 1)}};
        if (d->motors() > 0)
            columns.push_back({"headingMotors", "Motores", d->motorEdit(d->motors() - 1)});
        else
            EXPECT_EQ(d->findChild<QLabel*>("headingMotors"), nullptr);
        for (const Column& c : columns) {
            auto* heading = d->findChild<QLabel*>(c.name);
            ASSERT_NE(heading, nullptr) << c.name;
            EXPECT_EQ(heading->text(), QString(c.text));
            EXPECT_EQ(heading->x(), c.top->x());
            EXPECT_LT(heading->geometry().bottom(), c.top->y());
            EXPECT_GE(heading->width(), heading->sizeHint().width());
            EXPECT_TRUE(d->rect().contains(heading->geometry()));
        }
        // The rows still fill the window below the headings.
        EXPECT_LT(d->inputEdit(0)->geometry().bottom(), d->height());
    }
}

TEST_F(MonitorsTest, CommandsOpenTheFittingMonitorInItsPlace)
{
    QAction* large = frame->action(109);
    QAction* small = frame->action(125);
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(large->text(), QString("Monitor &Amplio..."));
    EXPECT_EQ(large->statusTip(), QString("Abre la ventana Monitor"));
    EXPECT_EQ(small->text(), QString("Monitor &Reducido..."));
    EXPECT_EQ(small->statusTip(), QString("Esto abre la monitor reducido"));

    // No interface: a motor bank, so the motor monitor.
    large->trigger();
    TMonitorDialog* c = monitors().large(LargeMonitor::Motors);
    EXPECT_TRUE(c->isVisible());
    const QRect screen = frame->screen()->availableGeometry();
    EXPECT_EQ(c->frameGeometry().right(), screen.right());
    EXPECT_EQ(c->frameGeometry().bottom(), frame->frameGeometry().bottom());

    small->trigger();
    EXPECT_TRUE(reduced().isVisible());
    EXPECT_FALSE(reduced().mfaLayoutShown());
    EXPECT_EQ(reduced().width(), TManualMonitorDialog::kFullWidth * 47 / 50 + 1);
    EXPECT_FALSE(reduced().dacButton()->isVisible());
    const QWidget* client = frame->centralWidget();
    const QPoint clientTop = client->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(reduced().x(), clientTop.x());
    EXPECT_EQ(reduced().geometry().bottom(),
              std::min(clientTop.y() + client->height() - 1, screen.bottom()));
    press(reduced().closeButton());
    EXPECT_FALSE(reduced().isVisible());

    // Choosing the Contact Controller swaps the large monitor in sight.
    state().io.settings = model(ModelContactController, kContactControllerBasic, 1);
    state().io.applySelection();
    emit frame->interfaceDialog()->selectionApplied();
    EXPECT_FALSE(c->isVisible());
    TMonitorDialog* cs = monitors().large(LargeMonitor::SmallMotors);
    EXPECT_TRUE(cs->isVisible());
    // A Deltronics box has no motor bank: the output monitor.
    state().io.settings = model(ModelDeltronics, kDeltronicsSerial, 1);
    state().io.applySelection();
    large->trigger();
    EXPECT_TRUE(monitors().large(LargeMonitor::Outputs)->isVisible());
    EXPECT_FALSE(cs->isVisible());
}

// The reduced monitor stands on the bottom of the chart's area and stays
// there whatever happens to the main window, so it never covers the status
// bar where refusals are written; at 50 % it does not stick out.
TEST_F(MonitorsTest, TheReducedMonitorKeepsToTheBottomOfTheChartsArea)
{
    const QWidget* client = frame->centralWidget();
    auto onBottom = [&] {
        const QPoint top = client->mapToGlobal(QPoint(0, 0));
        const QRect m = reduced().frameGeometry();
        return m.left() == top.x() && m.bottom() == top.y() + client->height() - 1;
    };
    auto inside = [&] {
        const QRect f = frame->geometry();
        const QRect m = reduced().frameGeometry();
        return m.left() >= f.left() && m.right() <= f.right();
    };
    frame->resize(800, 560);
    frame->action(125)->trigger();
    ASSERT_TRUE(reduced().isVisible());
    EXPECT_TRUE(onBottom());

    frame->applyZoom(10);  // the window takes another height
    EXPECT_TRUE(onBottom());
    frame->resize(780, 500);
    EXPECT_TRUE(onBottom());
    frame->move(frame->x() + 7, frame->y() + 3);
    EXPECT_TRUE(onBottom());
    frame->applyZoom(5);
    EXPECT_TRUE(onBottom());
    EXPECT_TRUE(inside()) << frame->width() << " " << reduced().width();
    keep(frame->grab().toImage(), reduced().grab().toImage(),
         reduced().mapToGlobal(QPoint(0, 0)) - frame->mapToGlobal(QPoint(0, 0)),
         "main-50-reduced-monitor.png");

    // A run opens it in its place too.
    reduced().hide();
    frame->applyZoom(3);
    loadFollower();
    frame->runCommand();
    ASSERT_TRUE(reduced().isVisible());
    EXPECT_TRUE(onBottom());
    EXPECT_TRUE(inside());
    frame->runCommand();
}

TEST_F(MonitorsTest, MfaLayoutRunsBackwardsAndShowsTheAnalogueOutput)
{
    start(model(ModelMfa, 0, 2));
    frame->action(125)->trigger();
    EXPECT_TRUE(reduced().mfaLayoutShown());
    EXPECT_EQ(reduced().width(), TManualMonitorDialog::kFullWidth);
    EXPECT_TRUE(reduced().dacButton()->isVisible());
    EXPECT_EQ(reduced().outputLamp(0)->label(), QString("7"));
    EXPECT_EQ(reduced().outputLamp(7)->label(), QString("0"));
    // The DAC button toggles the analogue output by hand; field 300 shows it.
    reduced().dacButton()->click();
    EXPECT_EQ(state().io.image().dacValue, 255);
    EXPECT_EQ(reduced().findChild<QLineEdit*>("id300")->text(), QString("255"));

    frame->action(109)->trigger();
    TMonitorDialog* n = monitors().large(LargeMonitor::Outputs);
    ASSERT_TRUE(n->isVisible());
    EXPECT_EQ(n->outputLamp(0)->label(), QString("7"));
    // The bottom lamp is output 8 (index 7), in both monitors at once.
    press(n->outputLamp(0));
    EXPECT_EQ(state().io.image().outputs[7], 1);
    EXPECT_EQ(state().io.image().outputs[0], 0);
    EXPECT_EQ(n->outputLamp(0)->state(), 1);
    EXPECT_EQ(reduced().outputLamp(0)->state(), 1);
    // Its name box is output 8's name.
    n->outputEdit(0)->setFocus();
    n->outputEdit(0)->selectAll();
    type(n->outputEdit(0), "Luz");
    EXPECT_EQ(state().doc.outputNames[7].str(), "Luz");
    EXPECT_EQ(state().doc.outputNames[0].str(), "Salida");
    EXPECT_TRUE(state().doc.modified());
}

TEST_F(MonitorsTest, OnlyTheMfaWidensTheReducedMonitor)
{
    // Model 8 addresses its lamps as the MFA does but has no analogue output.
    start(model(ModelMfaAlt, 0, 2));
    frame->action(125)->trigger();
    EXPECT_FALSE(reduced().mfaLayoutShown());
    EXPECT_EQ(reduced().width(), TManualMonitorDialog::kFullWidth * 47 / 50 + 1);
    EXPECT_FALSE(reduced().dacButton()->isVisible());
    EXPECT_EQ(reduced().outputLamp(0)->label(), QString("7"));
    EXPECT_TRUE(
        QRect(QPoint(0, 0), reduced().size()).contains(reduced().closeButton()->geometry()));
}

TEST_F(MonitorsTest, ABoardOfTheChipSystemShowsOnlyTheSlidersThatDriveIt)
{
    start(model(ModelTolvaChip, 1, 1));
    frame->action(109)->trigger();
    TMonitorDialog* cs = monitors().large(LargeMonitor::SmallMotors);
    ASSERT_TRUE(cs->isVisible());
    EXPECT_FALSE(monitors().large(LargeMonitor::Motors)->isVisible());
    EXPECT_EQ(cs->sliderCount(), 2);
    cs->slider(1)->setValue(35);
    EXPECT_EQ(state().doc.outputLevels[2], 35);
    EXPECT_EQ(state().doc.outputLevels[3], 35);
    EXPECT_EQ(state().io.image().outputPower[3], 35);
}

TEST_F(MonitorsTest, AbsentItemsReadDashes)
{
    start(model(ModelContactController, kContactControllerBasic, 1));
    frame->action(125)->trigger();
    QString outputs, inputs, motors;
    for (int p = 0; p < 8; ++p) {
        outputs += reduced().outputLamp(p)->label();
        inputs += reduced().inputLamp(p)->label();
    }
    for (int m = 0; m < 4; ++m) motors += reduced().motorLamp(m)->label();
    EXPECT_EQ(outputs, QString("1234----"));
    EXPECT_EQ(inputs, QString("1234----"));
    EXPECT_EQ(motors, QString("AB--"));

    // Their lamps do nothing when clicked.
    const IoImage before = state().io.image();
    press(reduced().outputLamp(5));
    press(reduced().inputLamp(4));
    press(reduced().motorLamp(2));
    press(reduced().motorLamp(3), Qt::RightButton);
    EXPECT_EQ(state().io.image().outputs, before.outputs);
    EXPECT_EQ(state().io.image().inputs, before.inputs);
    EXPECT_EQ(state().io.image().motorLines, before.motorLines);
    for (int p = 4; p < 8; ++p) {
        EXPECT_EQ(reduced().outputLamp(p)->state(), 0);
        EXPECT_EQ(reduced().inputLamp(p)->state(), 0);
    }
    EXPECT_EQ(reduced().motorLamp(2)->state(), kMotorOff);
    // Those of the items it has still switch.
    press(reduced().outputLamp(3));
    EXPECT_EQ(state().io.image().outputs[3], 1);
}

TEST_F(MonitorsTest, LampClicksSwitchByHandAndARunningChartOwnsThem)
{
    loadFollower();
    frame->action(109)->trigger();
    TMonitorDialog* c = monitors().large(LargeMonitor::Motors);
    // Motor A: forward, off; reverse with the right button; a double click is a second click.
    press(c->motorButton(0));
    EXPECT_EQ(c->motorButton(0)->state(), kMotorForward);
    press(c->motorButton(0), Qt::LeftButton, QEvent::MouseButtonDblClick);
    EXPECT_EQ(c->motorButton(0)->state(), kMotorOff);
    press(c->motorButton(0), Qt::RightButton);
    EXPECT_EQ(c->motorButton(0)->state(), kMotorReverse);
    press(c->motorButton(0));
    EXPECT_EQ(c->motorButton(0)->state(), kMotorOff);
    // Outputs light yellow in the motor monitor.
    press(c->outputLamp(2));
    EXPECT_EQ(c->outputLamp(2)->state(), 2);
    EXPECT_EQ(state().io.image().outputs[2], 1);
    press(c->outputLamp(2));
    // A slider sets the motor's level.
    c->slider(1)->setValue(40);
    EXPECT_EQ(state().doc.outputLevels[2], 40);
    EXPECT_EQ(state().io.image().outputPower[2], 40);

    frame->runCommand();
    ASSERT_TRUE(state().interpreter.running());
    ticks(2);
    EXPECT_EQ(c->outputLamp(0)->state(), 2);  // the chart's output 1
    const IoImage before = state().io.image();
    press(c->outputLamp(5));
    press(c->motorButton(2));
    c->slider(1)->setValue(90);
    EXPECT_EQ(state().io.image().outputs, before.outputs);
    EXPECT_EQ(state().io.image().motorLines, before.motorLines);
    EXPECT_EQ(c->outputLamp(5)->state(), 0);
    EXPECT_EQ(c->slider(1)->value(), 40);  // back to the level in force
    EXPECT_EQ(state().doc.outputLevels[2], 40);
    frame->runCommand();
}

TEST_F(MonitorsTest, ARunOpensTheReducedMonitorAndAnInputClickSteersTheChart)
{
    loadFollower();
    EXPECT_FALSE(monitors().anyVisible());
    frame->runCommand();
    ASSERT_TRUE(state().interpreter.running());
    EXPECT_TRUE(reduced().isVisible());
    ticks(3);
    EXPECT_EQ(reduced().outputLamp(0)->state(), 1);
    EXPECT_EQ(reduced().outputLamp(1)->state(), 0);
    // The pupil presses input 1 in the strip: the decision turns output 2 on.
    press(reduced().inputLamp(0));
    EXPECT_EQ(reduced().inputLamp(0)->state(), 1);
    ticks(3);
    EXPECT_EQ(reduced().outputLamp(1)->state(), 1);
    EXPECT_EQ(state().io.image().outputs[1], 1);
    press(reduced().inputLamp(0));
    ticks(3);
    EXPECT_EQ(reduced().outputLamp(1)->state(), 0);
    frame->runCommand();
    EXPECT_EQ(reduced().outputLamp(0)->state(), 0);

    // With a large monitor in sight, a run opens nothing more.
    press(reduced().closeButton());
    frame->action(109)->trigger();
    frame->runCommand();
    EXPECT_FALSE(reduced().isVisible());
    frame->runCommand();
}

TEST_F(MonitorsTest, ValueButtonsToggleTheChannelShownAsAPercentage)
{
    frame->action(125)->trigger();
    EXPECT_EQ(reduced().valueField(0)->text(), QString("0"));
    reduced().valueButton(2)->click();
    EXPECT_EQ(state().io.image().analogue[2], 1024);
    EXPECT_EQ(reduced().valueField(2)->text(), QString("100"));
    reduced().valueButton(2)->click();
    EXPECT_EQ(reduced().valueField(2)->text(), QString("0"));
    // A channel without sensor shows nothing.
    state().doc.sensorAssignment[3] = kSensorNone;
    reduced().valueButton(3)->click();
    EXPECT_EQ(reduced().valueField(3)->text(), QString());
}

TEST_F(MonitorsTest, NamesFollowTheDocument)
{
    frame->action(109)->trigger();
    TMonitorDialog* c = monitors().large(LargeMonitor::Motors);
    EXPECT_EQ(c->inputEdit(0)->text(), QString("Entrada"));
    EXPECT_EQ(c->motorEdit(0)->text(), QString("Motor"));
    EXPECT_EQ(c->inputEdit(0)->maxLength(), 19);
    c->motorEdit(1)->setFocus();
    c->motorEdit(1)->selectAll();
    type(c->motorEdit(1), QString::fromUtf8("Grúa"));
    EXPECT_EQ(state().doc.motorNames[1].str(),
              "Gr\xFA"
              "a");  // kept as Windows-1252

    // A chart with its own names and levels shows them at once.
    FlowDocument chart;
    chart.inputNames[0] = "Pulsador";
    chart.outputLevels[4] = 30;
    test::ChartBuilder(chart).start();
    const std::string path = (dir.path() / "nombres.FLO").string();
    ASSERT_TRUE(saveFlowFile(chart, path, state().io.settings, test::ignoredMessages()));
    state().doc.setModified(false);
    ASSERT_TRUE(frame->loadChart(path, true));
    EXPECT_EQ(c->inputEdit(0)->text(), QString("Pulsador"));
    EXPECT_EQ(state().doc.outputLevels[4], 30);
    EXPECT_EQ(c->slider(2)->value(), state().doc.outputLevels[4]);
}

TEST(MonitorIcons, LampsCloseCrossAndLogoDrawThemselves)
{
    TStIcon lamp(1010);
    lamp.resize(26, 22);
    lamp.setLabel("3");
    for (int s = 0; s < 4; ++s) {
        lamp.setState(s);
        const QImage image = lamp.grab().toImage();
        EXPECT_EQ(image.pixelColor(4, 4), TStIcon::stateColour(s)) << s;
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(24, 10), QColor(Qt::white));  // the lit right edge
    }
    EXPECT_EQ(TStIcon::stateColour(0), QColor(192, 192, 192));
    EXPECT_EQ(TStIcon::stateColour(1), QColor(255, 0, 0));

    TClIcon cross(127);
    const QImage x = cross.grab().toImage();
    EXPECT_EQ(x.pixelColor(8, 8), QColor(Qt::black));  // the diagonals cross
    EXPECT_EQ(x.pixelColor(8, 3), QColor(192, 192, 192));

    EXPECT_EQ(TLogoIcon::picture().size(), QSize(96, 48));
    TLogoIcon logo(141);
    logo.resize(120, 70);
    const QImage l = logo.grab().toImage();
    EXPECT_EQ(l.pixelColor(2, 2), QColor(192, 192, 192));
    EXPECT_EQ(l.pixelColor(12, 11), QColor(128, 128, 128));  // the picture's frame, centred
}

}  // namespace
}  // namespace tarvel
