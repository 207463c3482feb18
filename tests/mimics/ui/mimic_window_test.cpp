// The mimic window in the main window: choosing a set, where the window
// stands, what it draws, clicks on it, the question on opening a chart, the
// directory dialog and the keys its labels press in an open editor.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <filesystem>
#include <fstream>

#include "app/flow_frame.h"
#include "editors/ui/editor_set.h"
#include "editors/ui/keypad_dialogs.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "interfaces/ui/st_icon.h"
#include "mimics/ui/mimic_opt_dialog.h"
#include "mimics/ui/mimic_window.h"
#include "mimics/ui/mimics.h"
#include "mimics/ui/set_mimics_directory_dialog.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

const std::string kShipped = std::string(TARVEL_DATA_DIR) + "/MIMICS";

void send(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button)
{
    QMouseEvent e(type, QPointF(at), QPointF(w.mapToGlobal(at)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

// A press and its release.
void click(QWidget& w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    send(w, QEvent::MouseButtonPress, at, button);
    send(w, QEvent::MouseButtonRelease, at, button);
}

class MimicWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<TFlowFrame>(FrameServices{messages, clock, files, ports});
        AppConfiguration config;
        config.configPath = (dir.path() / "CONFIGUR.FCF").string();
        config.sensorsDir = (dir.path() / "SENSORS").string();
        config.mimicsDir = kShipped;
        ASSERT_TRUE(
            saveInterfaceConfig(config.configPath, InterfaceSettings{}, test::ignoredMessages()));
        frame->startUp(config);
        frame->resize(1000, 700);
        frame->show();
        mimics().setDialogRunner([this](QDialog& d) { return answer(d); });
    }
    TMimics& mimics() { return *frame->mimics(); }
    TMimicWindow& window() { return *mimics().window(); }
    const MimicDisplay& display() { return mimics().display(); }
    const IoImage& image() { return frame->state().io.image(); }

    // The options dialog takes the set `choose` (and the label choice); the
    // directory dialog is handed to `onDirectory`.
    int answer(QDialog& d)
    {
        if (auto* o = qobject_cast<TMimicOptDialog*>(&d)) {
            listed.clear();
            for (int i = 0; i < o->list()->count(); ++i)
                listed.push_back(o->list()->item(i)->text().toStdString());
            preselected = o->chosenName();
            if (choose.empty()) return QDialog::Rejected;
            const auto found =
                o->list()->findItems(QString::fromStdString(choose), Qt::MatchExactly);
            if (!found.isEmpty()) o->list()->setCurrentItem(found.first());
            o->findChild<QCheckBox*>("id101")->setChecked(labels);
            return QDialog::Accepted;
        }
        if (auto* t = qobject_cast<TSetMimicsDirectoryDialog*>(&d)) return onDirectory(*t);
        return QDialog::Rejected;
    }
    void chooseSet(const std::string& name, bool showLabels = false)
    {
        choose = name;
        labels = showLabels;
        frame->action(160)->trigger();
    }
    // The colour the window shows at a point.
    QColor pixel(int x, int y) { return window().grab().toImage().pixelColor(x, y); }
    QPoint middle(int object)
    {
        const MimicObject& o = display().object(object);
        return QPoint((o.left + o.right) / 2, (o.top + o.bottom) / 2);
    }

    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    test::TempDir dir;
    std::unique_ptr<TFlowFrame> frame;
    std::string choose;
    bool labels = false;
    std::vector<std::string> listed;
    std::string preselected;
    std::function<int(TSetMimicsDirectoryDialog&)> onDirectory = [](auto&) {
        return QDialog::Rejected;
    };
};

TEST_F(MimicWindowTest, ChoosingASetShowsItAtTheTopRightOfTheChart)
{
    EXPECT_FALSE(mimics().windowVisible());
    chooseSet("FARO");
    EXPECT_EQ(listed, (std::vector<std::string>{"FARO", "PASONIVEL", "SEMAFORO", "VIVERO"}));
    ASSERT_TRUE(mimics().windowVisible());
    EXPECT_EQ(window().objectName(), "id221");
    EXPECT_EQ(window().windowTitle(), QString::fromUtf8("Mímica"));
    EXPECT_EQ(window().size(), QSize(400, 320));
    EXPECT_EQ(display().objectCount(), 6);
    // Left of the vertical scroll bar, level with the top of the chart's view.
    auto* scroller = qobject_cast<QAbstractScrollArea*>(frame->centralWidget());
    const QRect view(scroller->viewport()->mapToGlobal(QPoint(0, 0)), scroller->viewport()->size());
    EXPECT_EQ(window().frameGeometry().right(), view.right());
    EXPECT_EQ(window().frameGeometry().top(), view.top());
    // The chart keeps the set's name.
    EXPECT_EQ(frame->state().doc.mimicSet.view(), "FARO");
    EXPECT_TRUE(frame->state().doc.modified());
    // The next time the set in use is selected; Cancel changes nothing.
    choose.clear();
    frame->action(160)->trigger();
    EXPECT_EQ(preselected, "FARO");
    EXPECT_EQ(display().objectCount(), 6);
}

TEST_F(MimicWindowTest, TheWindowDrawsTheObjectsStates)
{
    chooseSet("FARO");
    const QPoint lamp(200, 88);
    const QColor dark = pixel(lamp.x(), lamp.y());
    EXPECT_LT(dark.lightness(), 110);
    frame->state().io.setOutput(0, 1);
    // Not at once: after the interpreter's pass.
    EXPECT_TRUE(window().pending());
    frame->passDone();
    EXPECT_FALSE(window().pending());
    EXPECT_GT(pixel(lamp.x(), lamp.y()).lightness(), 180);
    // The beam to the right while motor A runs forward, stopped: gone.
    const QPoint beam(330, 88);
    const QColor sky = pixel(beam.x(), beam.y());
    frame->state().io.setMotor(0, kMotorForward);
    EXPECT_GT(pixel(beam.x(), beam.y()).lightness(), sky.lightness() + 60);
    frame->state().io.setMotor(0, kMotorOff);
    EXPECT_EQ(display().object(2).state, 2);
    EXPECT_EQ(pixel(beam.x(), beam.y()), sky);
    // Labels are drawn only with "Mostrar Etiquetas".
    const QPoint label = middle(4) + QPoint(-20, 0);
    const QColor plain = pixel(label.x(), label.y());
    chooseSet("FARO", true);
    EXPECT_EQ(pixel(label.x(), label.y()), QColor(255, 255, 160));
    EXPECT_NE(plain, QColor(255, 255, 160));
}

TEST_F(MimicWindowTest, ClicksReachTheMonitorsToo)
{
    chooseSet("FARO");
    frame->action(125)->trigger();  // the reduced monitor
    TManualMonitorDialog& strip = *frame->monitors()->reduced();
    click(window(), middle(1), Qt::LeftButton);
    EXPECT_EQ(image().outputs[0], 1);
    EXPECT_EQ(strip.outputLamp(0)->state(), 1);
    EXPECT_EQ(display().object(1).state, 1);
    // A double click is a second click of its button.
    click(window(), middle(1), Qt::LeftButton);
    EXPECT_EQ(image().outputs[0], 0);
    send(window(), QEvent::MouseButtonDblClick, middle(1), Qt::LeftButton);
    send(window(), QEvent::MouseButtonRelease, middle(1), Qt::LeftButton);
    EXPECT_EQ(image().outputs[0], 1);
    EXPECT_EQ(strip.outputLamp(0)->state(), 1);
    // The right button turns a motor in reverse.
    click(window(), middle(3), Qt::RightButton);
    EXPECT_EQ(frame->state().io.motorState(0), kMotorReverse);
    EXPECT_EQ(display().object(3).state, 3);
}

TEST_F(MimicWindowTest, AMomentaryButtonIsLetGoAfterHalfASecond)
{
    chooseSet("SEMAFORO");
    click(window(), middle(7), Qt::LeftButton);
    EXPECT_EQ(image().inputs[0], 1);
    EXPECT_FALSE(window().pending());  // the button is drawn at once
    QTimer& release = mimics().releaseTimer();
    ASSERT_TRUE(release.isActive());
    EXPECT_EQ(release.interval(), 500);
    EXPECT_TRUE(release.isSingleShot());
    release.setInterval(1);
    release.start();
    QElapsedTimer waited;
    waited.start();
    while (image().inputs[0] && waited.elapsed() < 2000) QApplication::processEvents();
    EXPECT_EQ(image().inputs[0], 0);
    EXPECT_EQ(display().object(7).state, 0);
}

TEST_F(MimicWindowTest, AChartThatNamesAnotherSetAsksToLoadIt)
{
    FlowDocument chart;
    test::ChartBuilder b(chart);
    b.chain({b.start(), b.out("Turn Output 1 on"), b.stop()});
    chart.mimicSet = "semaforo";
    const std::string path = (dir.path() / "uno.FLO").string();
    ASSERT_TRUE(saveFlowFile(chart, path, InterfaceSettings{}, test::ignoredMessages()));

    messages.answerNext(MsgAnswer::Cancel);
    ASSERT_TRUE(frame->loadChart(path, true));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text,
              "Este archivo usa la mímica semaforo.  ¿La quiere cargar ahora?");
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_FALSE(display().loaded());
    EXPECT_FALSE(mimics().windowVisible());
    // Declining leaves the chart naming its set.
    EXPECT_EQ(frame->state().doc.mimicSet.view(), "semaforo");

    messages.answerNext(MsgAnswer::Ok);
    ASSERT_TRUE(frame->loadChart(path, true));
    EXPECT_TRUE(display().loaded());
    EXPECT_EQ(display().objectCount(), 15);
    EXPECT_TRUE(mimics().windowVisible());
    // With its set in use the chart opens without a word.
    messages.shown.clear();
    ASSERT_TRUE(frame->loadChart(path, true));
    EXPECT_TRUE(messages.empty());
}

TEST_F(MimicWindowTest, ARefusedSetLeavesTheOneOnScreen)
{
    namespace fs = std::filesystem;
    for (const auto& e : fs::directory_iterator(kShipped))
        if (e.path().filename().string().rfind("FARO", 0) == 0)
            fs::copy_file(e.path(), dir.path() / e.path().filename());
    {
        std::ofstream bad(dir.path() / "MALA");
        bad << "31;0;\r\n";
    }
    mimics().setDirectory(dir.path().string());
    chooseSet("FARO");
    ASSERT_EQ(display().objectCount(), 6);
    messages.shown.clear();
    chooseSet("MALA");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de archivo");
    EXPECT_EQ(display().objectCount(), 6);
    EXPECT_EQ(mimics().library().setName(), "FARO");
    EXPECT_EQ(frame->state().doc.mimicSet.view(), "FARO");
    // A picture that cannot be read is said once, and its slot never drawn.
    fs::remove(dir.path() / "FARO_LAMPARA1.BMP");
    messages.shown.clear();
    mimics().setDirectory(dir.path().string());
    chooseSet("FARO");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "No se puede abrir el archivo de mapa de bits");
    frame->state().io.setOutput(0, 1);
    frame->passDone();
    EXPECT_EQ(display().shownPicture(1), -1);
}

TEST_F(MimicWindowTest, TheDirectoryDialogChoosesTheFolder)
{
    onDirectory = [&](TSetMimicsDirectoryDialog& d) {
        EXPECT_EQ(d.directory().toStdString(), kShipped);
        d.setFolderChooser([&](QWidget*, const QString& start) {
            EXPECT_EQ(start.toStdString(), kShipped);
            return QString::fromStdString(dir.path().string());
        });
        d.findChild<QPushButton*>("id104")->click();
        EXPECT_EQ(d.directory().toStdString(), dir.path().string());
        d.findChild<QPushButton*>("id103")->click();
        EXPECT_TRUE(d.directory().endsWith("/MIMICS"));
        d.edit()->setText(QString::fromStdString(dir.path().string()));
        return int(QDialog::Accepted);
    };
    chooseSet("VIVERO");
    frame->action(350)->trigger();
    EXPECT_EQ(mimics().library().directory(), dir.path().string());
    EXPECT_EQ(mimics().library().selectedIndex(), kSetToFind);
    // The new folder has no sets; the one in use stays until another is chosen.
    choose.clear();
    frame->action(160)->trigger();
    EXPECT_TRUE(listed.empty());
    EXPECT_TRUE(display().loaded());
}

TEST_F(MimicWindowTest, LabelsPressTheKeysOfTheOpenOutputEditor)
{
    FlowDocument& doc = frame->state().doc;
    const int symbol = doc.appendSymbol(SymbolKind::Output, {200, 200});
    chooseSet("FARO", true);
    frame->editors()->openSymbol(symbol);
    TEdIoDialog& editor = *frame->editors()->output();
    ASSERT_TRUE(editor.isVisible());
    editor.pressKey(key::out::Turn);
    click(window(), middle(4), Qt::LeftButton);  // "sal 1"
    EXPECT_EQ(editor.keypad().text(), "Turn Output 1");
    EXPECT_EQ(image().outputs[0], 0);  // a label is not the lamp
    // "mot A" is no key after an output number.
    click(window(), middle(5), Qt::LeftButton);
    EXPECT_EQ(editor.keypad().text(), "Turn Output 1");
}

TEST_F(MimicWindowTest, ARunWithTheWindowInSightLeavesTheMonitorsClosed)
{
    FlowDocument& doc = frame->state().doc;
    test::ChartBuilder b(doc);
    const int wait = b.proc("Delay 9");
    b.chain({b.start(), wait});
    b.join(wait, wait);
    chooseSet("FARO");
    frame->runCommand();
    ASSERT_TRUE(frame->state().interpreter.running());
    EXPECT_FALSE(frame->monitors()->anyVisible());
    EXPECT_FALSE(frame->action(160)->isEnabled());
    frame->runCommand();
    EXPECT_TRUE(frame->action(160)->isEnabled());
}

}  // namespace
}  // namespace tarvel
