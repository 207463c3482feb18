// The time dialog as a pupil uses it: what it shows, the check box that
// greys the end time, and "Aceptar" refusing an end before the first span.

#include "datalog/ui/graph_time_dialog.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include "support/fake_messages.h"

namespace tarvel {
namespace {

class TimeDialogTest : public ::testing::Test {
protected:
    CaptureSettings settings;
    test::FakeMessages messages;

    template <class W>
    static W* control(QWidget& dialog, int id)
    {
        W* w = dialog.findChild<W*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
};

TEST_F(TimeDialogTest, OpensWithTheEndTimeGreyedWhileLoggingGoesOnForEver)
{
    TGraphTimeDialog dialog(settings, messages);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Ajustar parámetros de tiempo"));
    auto* first = control<QLineEdit>(dialog, 101);
    auto* end = control<QLineEdit>(dialog, 102);
    auto* firstUnit = control<QComboBox>(dialog, 103);
    auto* endUnit = control<QComboBox>(dialog, 104);
    auto* endless = control<QCheckBox>(dialog, 105);
    EXPECT_EQ(first->text(), "2");
    EXPECT_EQ(firstUnit->currentText(), "Minutos");
    ASSERT_EQ(endUnit->count(), 4);
    EXPECT_EQ(endUnit->itemText(3), QString::fromUtf8("Días"));
    EXPECT_TRUE(endless->isChecked());
    EXPECT_EQ(end->text(), "10");
    EXPECT_EQ(endUnit->currentText(), "Minutos");
    EXPECT_FALSE(end->isEnabled());
    EXPECT_FALSE(endUnit->isEnabled());
    endless->click();
    EXPECT_TRUE(end->isEnabled());
    EXPECT_TRUE(endUnit->isEnabled());
    endless->click();
    EXPECT_FALSE(end->isEnabled());

    // A picture of the dialog as it opens.
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    dialog.show();
    const QImage shot = dialog.grab().toImage();
    if (!dir.isEmpty()) shot.save(QString::fromUtf8(dir) + "/graph-time-dialog.png");
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(192, 192, 192));
}

TEST_F(TimeDialogTest, AcceptRefusesAnEndBeforeTheFirstSpanAndStaysOpen)
{
    settings.endTime = 30000;
    settings.endTimeUnit = TimeUnit::Seconds;
    TGraphTimeDialog dialog(settings, messages);
    auto* end = control<QLineEdit>(dialog, 102);
    EXPECT_EQ(end->text(), "300");
    EXPECT_FALSE(control<QCheckBox>(dialog, 105)->isChecked());
    end->setText("1");
    control<QComboBox>(dialog, 104)->setCurrentIndex(1);  // one minute
    dialog.show();
    dialog.findChild<QPushButton*>("okButton")->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");
    EXPECT_EQ(messages.last().text,
              "La duración total debe ser más que o igual al primer registro de duración");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(settings.endTime, 30000u);
    EXPECT_EQ(settings.endTimeUnit, TimeUnit::Minutes);  // the unit choice is kept

    end->setText("5");
    dialog.findChild<QPushButton*>("okButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.endTime, 30000u);
    EXPECT_EQ(settings.firstSpan, 12000u);
}

TEST_F(TimeDialogTest, AFirstSpanOfNothingReopensAsSixtySeconds)
{
    {
        TGraphTimeDialog dialog(settings, messages);
        control<QLineEdit>(dialog, 101)->setText("0");
        dialog.show();
        dialog.findChild<QPushButton*>("okButton")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(settings.firstSpan, 6000u);
    TGraphTimeDialog again(settings, messages);
    EXPECT_EQ(control<QLineEdit>(again, 101)->text(), "60");
    EXPECT_EQ(control<QComboBox>(again, 103)->currentText(), "Segundos");

    // "Cancelar" keeps everything.
    control<QLineEdit>(again, 101)->setText("9");
    again.show();
    again.findChild<QPushButton*>("cancelButton")->click();
    EXPECT_EQ(settings.firstSpan, 6000u);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace tarvel
