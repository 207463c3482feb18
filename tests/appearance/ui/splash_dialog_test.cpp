// The splash screen: its picture, version text and messages, its closing by
// a click or the timer, the about box, and the start-up options that skip it.

#include "appearance/ui/splash_dialog.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <filesystem>

#include "app/configuration.h"
#include "app/flow_app.h"
#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "app/startup_arguments.h"
#include "appearance/bitmap_info.h"
#include "interfaces/interface_config.h"
#include "platform/file_io.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/frame_fixture.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

const std::string kShippedSensors = std::string(TARVEL_DATA_DIR) + "/SENSORS";

void keep(QWidget& w, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + name);
}

// Dark pixels in the box where the version text stands.
int inkInVersionBox(const QImage& img)
{
    int ink = 0;
    for (int y = img.height() - 20; y < img.height() - 6; ++y)
        for (int x = img.width() - 110; x < img.width() - 18; ++x)
            ink += qGray(img.pixel(x, y)) < 100;
    return ink;
}

TEST(SplashDialog, ShowsTheShippedPictureWithItsFrameAndTheVersionText)
{
    test::FakeMessages messages;
    TSplashDialog splash(kShippedSensors, splashVersionText(false), messages);
    EXPECT_TRUE(messages.empty());
    ASSERT_TRUE(splash.hasPicture());
    EXPECT_EQ(splash.size(), QSize(450, 300));
    EXPECT_EQ(splash.versionText(), QString::fromUtf8("2.92 Español"));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    const QImage img = splash.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(449, 150), QColor(Qt::black));
    EXPECT_GT(inkInVersionBox(img), 30);
    keep(splash, "splash.png");

    // The shipped picture carries its own colour table.
    std::string bytes;
    ASSERT_TRUE(readWholeFile(kShippedSensors + "/SPLASH.BMP", bytes));
    BitmapInfo info;
    ASSERT_TRUE(readBitmapInfo(bytes, info));
    EXPECT_EQ(info.bitsPerPixel, 8);
    EXPECT_EQ(info.tableColours, 256);
}

TEST(SplashDialog, WithoutAPictureItSaysSoAndShowsOnlyTheVersionText)
{
    test::TempDir dir;
    test::FakeMessages messages;
    TSplashDialog splash(dir.path().string(), splashVersionText(true), messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "No se puede abrir mapa de bits");
    EXPECT_FALSE(splash.hasPicture());
    EXPECT_GT(splash.width(), 200);
    EXPECT_GT(splash.height(), 120);
    const QImage img = splash.grab().toImage();
    EXPECT_GT(inkInVersionBox(img), 30);
    EXPECT_NE(img.pixelColor(0, 0), QColor(Qt::black));  // no frame without a picture
    keep(splash, "splash_without_picture.png");

    // A file of that name that is no bitmap is no picture either.
    ASSERT_EQ(writeFileReplacing((dir.path() / "Splash.bmp").string(), "BMnot really"),
              WriteResult::Ok);
    messages.shown.clear();
    TSplashDialog damaged(dir.path().string(), splashVersionText(true), messages);
    EXPECT_FALSE(damaged.hasPicture());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "No se puede abrir mapa de bits");
}

TEST(SplashDialog, APictureWithoutAColourTableIsShownAfterTheMessage)
{
    test::TempDir dir;
    QImage deep(120, 80, QImage::Format_RGB32);
    deep.fill(QColor(10, 200, 30));
    ASSERT_TRUE(deep.save(QString::fromStdString((dir.path() / "splash.BMP").string()), "BMP"));
    test::FakeMessages messages;
    TSplashDialog splash(dir.path().string(), QString(), messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "DIB no tiene tabla de color, usando paleta predeterminada");
    ASSERT_TRUE(splash.hasPicture());
    EXPECT_EQ(splash.size(), QSize(120, 80));
    EXPECT_EQ(splash.grab().toImage().pixelColor(60, 40), QColor(10, 200, 30));
}

TEST(SplashDialog, AClickClosesIt)
{
    test::FakeMessages messages;
    TSplashDialog splash(kShippedSensors, QString(), messages);
    splash.show();
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(40, 40), QPointF(40, 40), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&splash, &right);
    EXPECT_TRUE(splash.isVisible());
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(40, 40), QPointF(40, 40), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&splash, &left);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(BitmapInfo, ReadsTheHeadersAndRefusesWhatIsNoBitmap)
{
    // An 8-bit picture naming 16 colours, one of 24 bits, one of the oldest kind.
    std::string b(54, '\0');
    b[0] = 'B';
    b[1] = 'M';
    b[14] = 40;
    b[18] = 10;                       // width 10
    b[22] = static_cast<char>(0xF6);  // height -10: top row first
    b[23] = b[24] = b[25] = static_cast<char>(0xFF);
    b[28] = 8;
    b[46] = 16;
    BitmapInfo info;
    ASSERT_TRUE(readBitmapInfo(b, info));
    EXPECT_EQ(info.width, 10);
    EXPECT_EQ(info.height, 10);
    EXPECT_EQ(info.tableColours, 16);
    b[28] = 24;
    b[46] = 0;
    ASSERT_TRUE(readBitmapInfo(b, info));
    EXPECT_FALSE(info.hasColourTable());

    std::string core(26, '\0');
    core[0] = 'B';
    core[1] = 'M';
    core[14] = 12;
    core[18] = 3;
    core[20] = 2;
    core[24] = 4;
    ASSERT_TRUE(readBitmapInfo(core, info));
    EXPECT_EQ(info.tableColours, 16);

    for (std::string bad : {std::string("BM"), std::string(54, 'x'), b.substr(0, 30)})
        EXPECT_FALSE(readBitmapInfo(bad, info));
    b[14] = 20;  // no header has that size
    EXPECT_FALSE(readBitmapInfo(b, info));
    b[14] = 40;
    b[18] = 0;  // no pixels
    EXPECT_FALSE(readBitmapInfo(b, info));
}

class SplashFrameTest : public test::FrameFixture {
protected:
    void SetUp() override
    {
        AppConfiguration config;
        config.sensorsDir = kShippedSensors;
        config.fromSettingsKey = true;
        startFrame(config);
    }
};

TEST_F(SplashFrameTest, TheStartUpSplashClosesByItselfAndTheAboutBoxWaitsForAClick)
{
    frame->extras()->setSplashTime(30);
    QElapsedTimer t;
    t.start();
    frame->extras()->showSplash(true);
    EXPECT_LT(t.elapsed(), 3000);

    EXPECT_EQ(frame->action(122)->text(), QString("&Acerca de..."));
    EXPECT_EQ(frame->action(122)->statusTip(),
              QString::fromUtf8("Abra un cuadrado de información"));
    QString shownVersion;
    bool timedOut = false;
    QTimer::singleShot(200, [&] {
        auto* splash = qobject_cast<TSplashDialog*>(QApplication::activeModalWidget());
        if (!splash) return;
        shownVersion = splash->versionText();
        QMouseEvent left(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(splash, &left);
    });
    // A safety net: were the box not found, the test must not hang.
    QTimer::singleShot(5000, [&] {
        if (auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timedOut = true;
            w->reject();
        }
    });
    frame->action(122)->trigger();
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(shownVersion, QString::fromUtf8("2.92N Español"));
    EXPECT_TRUE(messages.empty());
}

TEST(StartUpOptions, NoSplashWhenAskedOrOffscreenOrOnlyCheckingTheStart)
{
    const StartupArguments plain = parseStartupArguments({"Tarvel2Esp", "FARO.FLO"});
    EXPECT_TRUE(plain.splash);
    const StartupArguments asked = parseStartupArguments({"Tarvel2Esp", "--no-splash", "FARO.FLO"});
    EXPECT_FALSE(asked.splash);
    EXPECT_EQ(asked.chartFile, "FARO.FLO");
    EXPECT_FALSE(TFlowApp::splashWanted(asked));
    EXPECT_FALSE(
        TFlowApp::splashWanted(parseStartupArguments({"Tarvel2Esp", "--quit-after-load"})));
    // These tests run offscreen: no splash there either.
    ASSERT_EQ(QGuiApplication::platformName(), QString("offscreen"));
    EXPECT_FALSE(TFlowApp::splashWanted(plain));
}

TEST(StartUpOptions, TheVersionTextSaysWhereTheConfigurationCameFrom)
{
    SettingsKey key{{"Interval", "20"},
                    {"Mimics", "/m"},
                    {"Configuration", "/c"},
                    {"Sensors", "/s"},
                    {"Multiplicity", "1"}};
    EXPECT_TRUE(parseConfiguration(IniSection{}, key, "/x").value().fromSettingsKey);
    key.erase("Multiplicity");
    EXPECT_FALSE(parseConfiguration(IniSection{}, key, "/x").value().fromSettingsKey);
    EXPECT_EQ(splashVersionText(true), QString::fromUtf8("2.92N Español"));
    EXPECT_EQ(splashVersionText(false), QString::fromUtf8("2.92 Español"));
}

}  // namespace
}  // namespace tarvel
