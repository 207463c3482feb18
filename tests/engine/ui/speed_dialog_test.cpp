// The speed control, driven through its own slider and check boxes, checked
// through the settings and colours it leaves behind and the signals it sends.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSlider>
#include <algorithm>

#include "appearance/colour_set.h"
#include "engine/speed_settings.h"
#include "engine/ui/speed_dialog.h"

namespace tarvel {
namespace {

class SpeedDialogTest : public ::testing::Test {
protected:
    SpeedDialogTest()
    {
        QObject::connect(&dialog, &TSpeedDialog::intervalChanged, [this] { ++intervalSignals; });
        QObject::connect(&dialog, &TSpeedDialog::chartFocusRequested, [this] { ++focusSignals; });
        QObject::connect(&dialog, &TSpeedDialog::marksChanged, [this] { ++markSignals; });
    }

    QSlider* slider() { return dialog.findChild<QSlider*>(QStringLiteral("id3008")); }
    QCheckBox* box(int id) { return dialog.findChild<QCheckBox*>(QStringLiteral("id%1").arg(id)); }
    int held() { return std::count(speed.holdFlags.begin(), speed.holdFlags.end(), true); }

    SpeedSettings speed;
    ColourSet colours;
    TSpeedDialog dialog{speed, colours};
    int intervalSignals = 0;
    int focusSignals = 0;
    int markSignals = 0;
};

TEST_F(SpeedDialogTest, SliderSetsIntervalAndMultiplicity)
{
    struct Case {
        int position, interval, multiplicity;
    };
    for (const Case c : {Case{0, 820, 1}, Case{800, 20, 1}, Case{801, 20, 1}, Case{802, 20, 2},
                         Case{1000, 20, 101}}) {
        slider()->setValue(c.position);
        EXPECT_EQ(speed.interval, c.interval) << c.position;
        EXPECT_EQ(speed.multiplicity, c.multiplicity) << c.position;
    }
    EXPECT_EQ(intervalSignals, 5);

    // A second report of the position last seen neither touches the pace nor
    // restarts the run timer.
    speed.interval = 300;
    emit slider()->valueChanged(1000);
    EXPECT_EQ(speed.interval, 300);
    EXPECT_EQ(intervalSignals, 5);
}

TEST_F(SpeedDialogTest, OpeningShowsThePaceWithoutApplyingIt)
{
    speed.interval = 20;
    speed.multiplicity = 1;
    dialog.show();
    EXPECT_EQ(slider()->value(), 800);
    emit slider()->valueChanged(800);  // the opening position counts as seen

    // A configured interval beyond the slider's reach is kept until the slider moves.
    dialog.hide();
    speed.interval = 1000;
    dialog.show();
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(speed.interval, 1000);
    EXPECT_EQ(intervalSignals, 0);
    slider()->setValue(10);
    EXPECT_EQ(speed.interval, 810);
    EXPECT_EQ(intervalSignals, 1);
}

TEST_F(SpeedDialogTest, SpaceBarHoldsEveryTaskAndLocksTheSlider)
{
    speed.holdFlags[3] = true;
    speed.heldCount = 1;
    box(101)->click();
    EXPECT_TRUE(speed.singleStep);
    EXPECT_EQ(held(), kMaxTasks);
    EXPECT_EQ(speed.heldCount, kMaxTasks);
    EXPECT_FALSE(slider()->isEnabled());
    EXPECT_EQ(focusSignals, 1);

    box(101)->click();
    EXPECT_FALSE(speed.singleStep);
    EXPECT_EQ(held(), 0);
    EXPECT_EQ(speed.heldCount, 0);
    EXPECT_TRUE(slider()->isEnabled());
    EXPECT_EQ(focusSignals, 1);

    // Opening shows single stepping without holding anything, and frees the
    // slider again once single stepping has ended elsewhere.
    speed.singleStep = true;
    dialog.show();
    EXPECT_TRUE(box(101)->isChecked());
    EXPECT_FALSE(slider()->isEnabled());
    EXPECT_EQ(held(), 0);
    dialog.hide();
    speed.singleStep = false;
    dialog.show();
    EXPECT_TRUE(slider()->isEnabled());
    EXPECT_EQ(focusSignals, 1);
    EXPECT_EQ(intervalSignals, 0);
}

TEST_F(SpeedDialogTest, MarkBoxesSwitchTheNoColourBit)
{
    const ColourSet original = colours;
    const auto symbol = colours.colours[ColourSet::ActiveSymbol];
    const auto line = colours.colours[ColourSet::ActiveLine];
    ASSERT_TRUE(box(102)->isChecked() && box(103)->isChecked());

    box(103)->click();
    EXPECT_EQ(colours.colours[ColourSet::ActiveSymbol], symbol | kNoColour);
    EXPECT_EQ(colours.colours[ColourSet::ActiveLine], line);
    box(102)->click();
    EXPECT_EQ(colours.colours[ColourSet::ActiveLine], line | kNoColour);
    EXPECT_EQ(markSignals, 2);
    // Switching back restores each colour whole, the filled flag included.
    box(103)->click();
    box(102)->click();
    EXPECT_EQ(colours.colours, original.colours);
    EXPECT_EQ(markSignals, 4);
}

TEST_F(SpeedDialogTest, MarkBoxesFollowTheColours)
{
    colours.setDrawn(ColourSet::ActiveLine, false);
    dialog.show();
    EXPECT_FALSE(box(102)->isChecked());
    EXPECT_TRUE(box(103)->isChecked());

    // New colours accepted while the window is open.
    colours.setDrawn(ColourSet::ActiveLine, true);
    colours.setDrawn(ColourSet::ActiveSymbol, false);
    const ColourSet accepted = colours;
    dialog.refreshMarks();
    EXPECT_TRUE(box(102)->isChecked());
    EXPECT_FALSE(box(103)->isChecked());
    EXPECT_EQ(colours.colours, accepted.colours);
    EXPECT_EQ(markSignals, 0);
}

TEST_F(SpeedDialogTest, LooksTidyAndGrey)
{
    speed.interval = 220;  // the thumb off centre
    dialog.show();
    const QImage image = dialog.grab().toImage();
    if (const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR"); !dir.isEmpty())
        image.save(QString::fromUtf8(dir) + "/speed-dialog.png");

    EXPECT_EQ(image.pixelColor(2, image.height() - 2), QColor(192, 192, 192));
    EXPECT_EQ(slider()->geometry(), QRect(4, 4, 306, 30));
    EXPECT_NE(slider()->tickPosition(), QSlider::NoTicks);
    EXPECT_NEAR(dialog.width(), 320, 20);
    EXPECT_NEAR(dialog.height(), 110, 30);

    const auto inDialog = [&](QWidget* w) { return QRect(w->mapTo(&dialog, QPoint()), w->size()); };
    QList<QWidget*> controls{slider(), box(101), box(102), box(103)};
    QRect slow, fast;
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        controls.push_back(l);
        if (l->text() == QStringLiteral("Despacio")) slow = inDialog(l);
        if (l->text() == QString::fromUtf8("Rápido")) fast = inDialog(l);
    }
    // The two words stand under the ends of the slider.
    EXPECT_LE(std::abs(slow.left() - slider()->geometry().left()), 2);
    EXPECT_LE(std::abs(fast.right() - slider()->geometry().right()), 2);
    EXPECT_GT(slow.top(), slider()->geometry().bottom());

    // Every control shows its whole text inside the window, none overlapping.
    for (QWidget* w : controls) {
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        EXPECT_TRUE(dialog.rect().contains(inDialog(w))) << w->objectName().toStdString();
        for (QWidget* other : controls)
            EXPECT_TRUE(other == w || !inDialog(w).intersects(inDialog(other)))
                << w->objectName().toStdString() << " / " << other->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tarvel
