// The colour window driven through its controls, and the main window taking
// its colours: the chart repaints in them and the speed control's check
// boxes follow the running marks.

#include "appearance/ui/colour_pref_dialog.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "appearance/ui/colour_patch.h"
#include "engine/chart_builder.h"
#include "engine/ui/speed_dialog.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/interface_config.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/frame_fixture.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

void keep(QWidget& w, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + name);
}

class ColourDialogTest : public ::testing::Test {
protected:
    template <typename T>
    T* child(int id)
    {
        return dialog.findChild<T*>(QStringLiteral("id%1").arg(id));
    }
    QSlider* slider(int id) { return child<QSlider>(id); }
    QString value(int id) { return child<QLabel>(id)->text(); }
    QCheckBox* noColour() { return child<QCheckBox>(106); }
    TColourPatch* patch() { return child<TColourPatch>(107); }
    void choose(int radio) { child<QRadioButton>(radio)->click(); }
    // Red, green and blue as the value texts show them.
    QStringList shown() { return {value(110), value(109), value(108)}; }

    ColourSet start;
    TColourPrefDialog dialog{start};
};

TEST_F(ColourDialogTest, OpensOnTheActiveSymbolColourWithItsComponents)
{
    EXPECT_EQ(dialog.windowTitle(), QString("Colores"));
    EXPECT_TRUE(child<QRadioButton>(101)->isChecked());
    EXPECT_EQ(child<QRadioButton>(101)->text(), QString::fromUtf8("Color de símbolo activo"));
    EXPECT_TRUE(noColour()->isEnabled());
    EXPECT_FALSE(noColour()->isChecked());
    EXPECT_EQ(slider(3008)->value(), 255);  // light yellow 255, 255, 160
    EXPECT_EQ(slider(3007)->value(), 255);
    EXPECT_EQ(slider(3006)->value(), 160);
    EXPECT_EQ(slider(3008)->maximum(), 255);
    EXPECT_EQ(shown(), (QStringList{"255", "255", "160"}));
    EXPECT_EQ(patch()->colour(), 0x80A0FFFFu);

    // A slider replaces its component and shows it; the sample follows.
    slider(3006)->setValue(7);
    EXPECT_EQ(value(108), QString("7"));
    EXPECT_EQ(patch()->colour() & 0xFFFFFFu, 0x07FFFFu);
    EXPECT_EQ(dialog.colours().colours[0], 0x8007FFFFu);
}

TEST_F(ColourDialogTest, SinColorSwitchesTheMarkOffAndKeepsItsComponents)
{
    choose(102);
    slider(3007)->setValue(100);
    noColour()->click();
    EXPECT_TRUE(noColour()->isChecked());
    EXPECT_FALSE(slider(3008)->isEnabled());
    EXPECT_EQ(shown(), (QStringList{"XXX", "XXX", "XXX"}));
    EXPECT_TRUE(patch()->colour() & kNoColour);
    EXPECT_FALSE(dialog.colours().drawn(ColourSet::ActiveLine));

    // Another colour and back: the state is the colour's own.
    choose(101);
    EXPECT_FALSE(noColour()->isChecked());
    EXPECT_TRUE(slider(3008)->isEnabled());
    choose(102);
    EXPECT_TRUE(noColour()->isChecked());
    EXPECT_EQ(shown(), (QStringList{"XXX", "XXX", "XXX"}));
    // A slider moved by other means while switched off changes nothing.
    slider(3008)->setValue(3);
    EXPECT_EQ(dialog.colours().colours[1] & 0xFFFFFFu, 0x00C064C0u);

    noColour()->click();  // back on, with the components it had
    EXPECT_TRUE(slider(3008)->isEnabled());
    EXPECT_EQ(shown(), (QStringList{"192", "100", "192"}));
    EXPECT_TRUE(dialog.colours().drawn(ColourSet::ActiveLine));
    keep(dialog, "colour_dialog.png");
}

TEST_F(ColourDialogTest, TheOtherColoursGreyOutSinColorEvenWhenTheFirstIsOff)
{
    noColour()->click();
    ASSERT_TRUE(noColour()->isChecked());
    for (const int radio : {103, 104, 105}) {
        choose(radio);
        EXPECT_FALSE(noColour()->isEnabled()) << radio;
        EXPECT_FALSE(noColour()->isChecked()) << radio;
        EXPECT_TRUE(slider(3008)->isEnabled()) << radio;
    }
    // 104, the selected object, is the selection's red.
    choose(104);
    EXPECT_EQ(shown(), (QStringList{"255", "0", "0"}));
    choose(101);
    EXPECT_TRUE(noColour()->isEnabled());
    EXPECT_TRUE(noColour()->isChecked());
    keep(dialog, "colour_dialog_sin_color.png");
}

TEST(ColourPatch, DrawsACrossForNoColourAndAnOutlinedSampleOtherwise)
{
    TColourPatch patch;
    patch.resize(40, 30);
    QPalette grey = patch.palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    patch.setPalette(grey);
    patch.setColour(0x000000FFu | kNoColour);
    QImage img = patch.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(20, 15), QColor(Qt::black));     // where the diagonals cross
    EXPECT_EQ(img.pixelColor(20, 3), QColor(192, 192, 192));  // between them, the grey
    patch.setColour(0x80102030u);                             // the flag bits play no part
    img = patch.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 15), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(20, 15), QColor(0x30, 0x20, 0x10));
}

class FrameColoursTest : public test::FrameFixture {
protected:
    void SetUp() override
    {
        AppConfiguration config;
        startFrame(config);
    }
    ColourSet& colours() { return frame->state().colours; }
    QCheckBox* speedBox(int id)
    {
        return frame->speedDialog()->findChild<QCheckBox*>(QStringLiteral("id%1").arg(id));
    }
};

TEST_F(FrameColoursTest, CancelChangesNothingAndAcceptedColoursReachTheSpeedControl)
{
    EXPECT_EQ(frame->action(10)->text(), QString("&Colores..."));
    const ColourSet before = colours();
    frame->extras()->setColourChooser([](const ColourSet&) { return std::nullopt; });
    frame->action(10)->trigger();
    EXPECT_EQ(colours().colours, before.colours);

    frame->speedDialog()->show();
    ASSERT_TRUE(speedBox(102)->isChecked());
    ColourSet chosen;
    chosen.setDrawn(ColourSet::ActiveLine, false);
    frame->extras()->setColourChooser([&chosen](const ColourSet&) { return chosen; });
    frame->action(10)->trigger();
    EXPECT_FALSE(colours().drawn(ColourSet::ActiveLine));
    EXPECT_FALSE(speedBox(102)->isChecked());
    EXPECT_TRUE(speedBox(103)->isChecked());
    // The colours last while the program runs: the next window starts from them.
    ColourSet offered;
    frame->extras()->setColourChooser([&offered](const ColourSet& c) {
        offered = c;
        return std::nullopt;
    });
    frame->action(10)->trigger();
    EXPECT_FALSE(offered.drawn(ColourSet::ActiveLine));
}

TEST_F(FrameColoursTest, TheChartRepaintsInTheNewColours)
{
    ASSERT_TRUE(frame->loadChart(std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/TIMBRE.FLO", true));
    FlowDocument& doc = frame->state().doc;
    ColourSet chosen;
    chosen.colours[ColourSet::Selected] = 0x00FF00FFu;      // magenta selection
    chosen.colours[ColourSet::PageGuide] = 0x00FF8000u;     // blue page guides
    chosen.colours[ColourSet::ActiveSymbol] = 0x8000C0FFu;  // orange running symbols
    frame->extras()->setColourChooser([&chosen](const ColourSet&) { return chosen; });
    frame->action(10)->trigger();
    TFlowWindow* w = frame->flowWindow();
    w->resize(kDrawingWidth, kDrawingHeight);
    doc.selectSymbol(3);
    w->update();
    QImage img = w->grab().toImage();
    // The page guide at x 654 is blue now, the selected symbol's outline magenta.
    EXPECT_EQ(img.pixelColor(654, 900), QColor(0, 0x80, 0xFF));
    const FlowSymbol& selected = doc.symbol(3);
    EXPECT_EQ(img.pixelColor(selected.x, selected.y + 24), QColor(0xFF, 0, 0xFF));
    keep(*w, "chart_new_colours.png");

    frame->runCommand();
    for (int k = 0; k < 4; ++k) frame->timerTick();
    img = w->grab().toImage();
    // Both tasks wait at their decisions, filled orange.
    int orange = 0;
    for (int i = 0; i < doc.symbolCount(); ++i) {
        const FlowSymbol& d = doc.symbol(i);
        if (d.kind != SymbolKind::Decision) continue;
        int filled = 0;
        for (int y = d.y - 20; y <= d.y + 20; ++y)
            for (int x = d.x - 50; x <= d.x + 50; ++x)
                filled += img.pixelColor(x, y) == QColor(0xFF, 0xC0, 0);
        orange += filled > 1000;
    }
    EXPECT_EQ(orange, 2);
    keep(*w, "chart_new_colours_running.png");
    frame->runCommand();
}

}  // namespace
}  // namespace tarvel
