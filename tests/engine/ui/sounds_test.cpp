// The sounds window and the sound commands of the main window: slots and
// fields kept apart until a run starts, the window is shown again or the
// chart is saved; browsing; the window's resizing; the sounds of a run; the
// recorder; the Qt player's handling of files it cannot play.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSoundEffect>

#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "editors/ui/ed_button.h"
#include "editors/ui/editor_set.h"
#include "editors/ui/keypad_dialogs.h"
#include "engine/chart_builder.h"
#include "engine/ui/sounds_dialog.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "platform/file_io.h"
#include "platform/qt/qt_sound_player.h"
#include "platform/sound_player.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

class RecordingSound final : public SoundPlayer {
public:
    void play(int slot, const std::string& path) override
    {
        played.push_back(std::to_string(slot) + " " + path);
    }
    void stop() override { ++stops; }
    std::vector<std::string> played;
    int stops = 0;
};

class SoundsTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    RecordingSound sound;
    test::TempDir dir;
    std::unique_ptr<TFlowFrame> frame;

    void SetUp() override
    {
        frame = std::make_unique<TFlowFrame>(FrameServices{messages, clock, files, ports, &sound});
        AppConfiguration config;
        config.configPath = path("CONFIGUR.FCF");
        config.fileDir = path("sonidos");
        ASSERT_TRUE(
            saveInterfaceConfig(config.configPath, InterfaceSettings{}, test::ignoredMessages()));
        frame->startUp(config);
    }
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
    FlowDocument& doc() { return frame->state().doc; }
    TFrameExtras& extras() { return *frame->extras(); }
    TSoundsDialog* window() { return extras().soundsDialog(); }
    QString field(int slot) { return window()->field(slot)->text(); }
    void type(int slot, const QString& text)
    {
        window()->field(slot)->setText(text);
        emit window()->field(slot)->textEdited(text);
    }
    // Start, "Sound 2", a delay looping back to the sound.
    void soundChart()
    {
        test::ChartBuilder b(doc());
        const int s = b.start(), play = b.out("Sound 2"), wait = b.proc("Delay 1");
        b.chain({s, play, wait});
        b.join(wait, play);
    }
};

TEST_F(SoundsTest, TheCommandShowsTheSlotsAndTakesTheFieldsWhenShownAgain)
{
    EXPECT_EQ(frame->action(318)->text(), QString("&Sonidos..."));
    EXPECT_EQ(frame->action(340)->text(), QString("Grabadora de S&onido..."));
    EXPECT_EQ(window(), nullptr);  // made on first use
    doc().soundFiles[4] = "bocina.wav";
    frame->action(318)->trigger();
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(window()->windowTitle(), QString("Sonidos"));
    for (int i = 0; i < kSoundSlots; ++i) {
        EXPECT_EQ(window()->findChild<QLineEdit*>(QString("id%1").arg(320 + i)),
                  window()->field(i));
        EXPECT_EQ(window()->findChild<QPushButton*>(QString("id%1").arg(330 + i))->text(),
                  QString("Examinar..."));
    }
    EXPECT_EQ(field(4), QString("bocina.wav"));
    EXPECT_EQ(window()->field(0)->maxLength(), 254);

    // While in sight the command does nothing: the slot keeps its text.
    type(4, "timbre.wav");
    frame->action(318)->trigger();
    EXPECT_EQ(doc().soundFiles[4], "bocina.wav");
    EXPECT_EQ(field(4), QString("timbre.wav"));
    // Hidden and shown again: the slots first take the fields.
    window()->hide();
    frame->action(318)->trigger();
    EXPECT_EQ(doc().soundFiles[4], "timbre.wav");
    EXPECT_EQ(field(4), QString("timbre.wav"));
}

TEST_F(SoundsTest, AFieldEditedDuringARunCountsFromTheNextRunStart)
{
    soundChart();
    doc().soundFiles[2] = "uno.wav";
    frame->action(318)->trigger();
    frame->runCommand();
    ASSERT_TRUE(frame->state().interpreter.running());
    frame->timerTick();
    frame->timerTick();
    ASSERT_EQ(sound.played, (std::vector<std::string>{"2 uno.wav"}));

    type(2, QString::fromUtf8("campaña.wav"));
    clock.advance(1100);
    frame->timerTick();
    frame->timerTick();
    frame->timerTick();
    EXPECT_EQ(sound.played.back(), "2 uno.wav");
    // The stop cuts a sound still playing.
    frame->runCommand();
    EXPECT_EQ(sound.stops, 1);

    frame->runCommand();
    frame->timerTick();
    frame->timerTick();
    EXPECT_EQ(sound.played.back(),
              "2 campa\xF1"
              "a.wav");  // the slot holds Windows-1252
    frame->runCommand();
}

TEST_F(SoundsTest, LoadingAndNewChartsRefreshTheFieldsAndSavingTakesThem)
{
    frame->action(318)->trigger();
    type(1, "pitido.wav");
    EXPECT_TRUE(doc().modified());  // a typed slot is a change not to be lost
    files.answers.push_back(path("con_sonido.FLO"));
    ASSERT_TRUE(frame->saveAsCommand());
    FlowDocument saved;
    FlowLoadContext ctx;
    ASSERT_TRUE(loadFlowFile(saved, path("con_sonido.FLO"), ctx, messages, true).ok());
    EXPECT_EQ(saved.soundFiles[1], "pitido.wav");

    // A file older than the sound slots empties them and the fields.
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path("con_sonido.FLO"), bytes));
    ASSERT_EQ(bytes.substr(bytes.size() - 20),
              std::string("\0pitido.wav\0", 12) + std::string(8, '\0'));
    bytes.resize(bytes.size() - 20);
    bytes[0] = static_cast<char>(131);
    ASSERT_EQ(writeFileReplacing(path("viejo.FLO"), bytes), WriteResult::Ok);
    ASSERT_TRUE(frame->loadChart(path("viejo.FLO"), true));
    EXPECT_EQ(doc().soundFiles[1], "");
    EXPECT_EQ(field(1), QString());

    // A new chart starts with empty fields too, so that its first run does
    // not take the sounds of the chart before.
    ASSERT_TRUE(frame->loadChart(path("con_sonido.FLO"), true));
    EXPECT_EQ(field(1), QString("pitido.wav"));
    frame->newCommand();
    EXPECT_EQ(field(1), QString());
    frame->runCommand();
    EXPECT_EQ(doc().soundFiles[1], "");
    frame->runCommand();
}

TEST_F(SoundsTest, BrowsingWritesTheChosenFileAndCancelChangesNothing)
{
    frame->action(318)->trigger();
    QStringList asked;
    QString answer = path("sonidos/gong.WAV").c_str();
    window()->setWavChooser([&](int, const QString& title, const QString& dir) {
        asked << title << dir;
        return answer;
    });
    window()->browseButton(3)->click();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], QString("Escoje archivo para sonido 3"));
    EXPECT_EQ(asked[1], QString::fromStdString(path("sonidos")));
    EXPECT_EQ(field(3), answer);
    EXPECT_TRUE(doc().modified());
    EXPECT_EQ(doc().soundFiles[3], "");  // the slot follows at the next run or save

    doc().setModified(false);
    answer.clear();
    window()->browseButton(5)->click();
    EXPECT_EQ(field(5), QString());
    EXPECT_FALSE(doc().modified());
}

TEST_F(SoundsTest, TheWindowNeverGrowsTallerAndItsFieldsFollowItsWidth)
{
    frame->action(318)->trigger();
    TSoundsDialog* w = window();
    const QSize opened = w->size();
    const int fieldMargin = w->width() - w->field(0)->geometry().right();
    const int buttonDistance = w->width() - w->browseButton(0)->geometry().left();

    w->resize(opened.width() + 120, opened.height() + 80);
    QApplication::processEvents();
    EXPECT_EQ(w->height(), opened.height());
    EXPECT_EQ(w->width(), opened.width() + 120);
    for (int i = 0; i < kSoundSlots; ++i) {
        EXPECT_EQ(w->width() - w->field(i)->geometry().right(), fieldMargin);
        EXPECT_EQ(w->width() - w->browseButton(i)->geometry().left(), buttonDistance);
    }
    w->resize(10, opened.height());
    QApplication::processEvents();
    EXPECT_EQ(w->width(), 2 * buttonDistance);

    w->resize(opened);
    doc().soundFiles[0] = "..\\SONIDOS\\PITIDO.WAV";
    doc().soundFiles[1] = "..\\SONIDOS\\CAMPANA.WAV";
    w->loadFields();
    QApplication::processEvents();
    if (const QByteArray shots = qgetenv("TARVEL_SCREENSHOT_DIR"); !shots.isEmpty())
        w->grab().save(QString::fromUtf8(shots) + "/sounds_window.png");
}

TEST_F(SoundsTest, TheOutputPanelsSoundKeyShowsTheWindow)
{
    const int s = doc().appendSymbol(SymbolKind::Output, {300, 200});
    frame->editors()->openSymbol(s);
    TEdIoDialog* panel = frame->editors()->output();
    ASSERT_TRUE(panel->isVisible());
    panel->pressKey(key::out::Sound);
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(panel->keypad().text(), "Sound ");
    EXPECT_TRUE(panel->keyButton(key::digit(7))->isEnabled());
}

TEST_F(SoundsTest, TheRecorderCommandStartsTheFirstFoundOrSaysSo)
{
    std::vector<std::string> started;
    extras().setRecorderStarter([&started](const RecorderCommand& c) {
        started.push_back(c.program);
        return true;
    });
    extras().setProgramFinder([](const std::string&) { return false; });
    frame->action(340)->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "No se ejecutó grabadora de sonidos");
    EXPECT_TRUE(started.empty());

    extras().setProgramFinder([](const std::string& p) { return p == "gnome-sound-recorder"; });
    frame->action(340)->trigger();
    EXPECT_EQ(started, (std::vector<std::string>{"gnome-sound-recorder"}));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(QtSoundPlayer, AFileThatCannotBeFoundPlaysNothingAndAStopForgetsTheSound)
{
    test::TempDir dir;
    const std::string wav = (dir.path() / "PITIDO.WAV").string();
    ASSERT_EQ(writeFileReplacing(wav, std::string(TARVEL_DATA_DIR) + "x"), WriteResult::Ok);
    std::string chartDir = dir.path().string();
    QtSoundPlayer player([&chartDir] { return chartDir; });
    player.play(0, "falta.wav");
    EXPECT_TRUE(player.source().isEmpty());
    player.play(1, "..\\SONIDOS\\pitido.wav");  // found beside the chart by its name
    EXPECT_EQ(player.source().toLocalFile().toStdString(), wav);
    player.play(1, "");
    EXPECT_TRUE(player.source().isEmpty());
    player.play(0, "PITIDO.WAV");
    player.stop();
    EXPECT_TRUE(player.source().isEmpty());
    // The effect reads its file on a thread of its own: a read still going
    // when the program ends is never finished, so let it end first.
    QElapsedTimer waited;
    waited.start();
    while (player.loading() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(player.loading());
}

}  // namespace
}  // namespace tarvel
