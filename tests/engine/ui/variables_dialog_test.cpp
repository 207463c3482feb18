// The variables window as the interpreter feeds it.

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <cstdint>

#include "engine/ui/variables_dialog.h"

namespace tarvel {
namespace {

class VariablesDialogTest : public ::testing::Test {
protected:
    QLineEdit* field(int index)
    {
        return dialog.findChild<QLineEdit*>(QStringLiteral("id%1").arg(801 + index));
    }
    QStringList texts()
    {
        QStringList all;
        for (int i = 0; i < kVariableCount; ++i) all << field(i)->text();
        return all;
    }

    TVariablesDialog dialog;
};

TEST_F(VariablesDialogTest, EightLabelledReadOnlyFieldsStartAtZero)
{
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    EXPECT_EQ(labels.size(), kVariableCount);
    for (QLabel* label : labels) {
        const int index = variableIndex(label->text().toLatin1().at(0));
        ASSERT_GE(index, 0) << label->text().toStdString();
        EXPECT_EQ(label->buddy(), field(index));
    }
    for (int i = 0; i < kVariableCount; ++i) {
        EXPECT_TRUE(field(i)->isReadOnly());
        EXPECT_EQ(field(i)->maxLength(), 10);
    }
    EXPECT_EQ(texts(), QStringList(kVariableCount, QStringLiteral("0")));
}

TEST_F(VariablesDialogTest, ShowsEachValueInItsOwnField)
{
    dialog.showVariable(variableIndex('n'), 42);
    dialog.showVariable(variableIndex('a'), -7);
    dialog.showVariable(variableIndex('z'), 9999999);
    dialog.showVariable(variableIndex('x'), -999999);
    const QStringList expected{"-7", "0", "0", "0", "42", "-999999", "0", "9999999"};
    EXPECT_EQ(texts(), expected);

    // An index outside the eight is no variable and changes nothing.
    dialog.showVariable(-1, 5);
    dialog.showVariable(kVariableCount, 5);
    EXPECT_EQ(texts(), expected);

    // A runaway value longer than the field's ten characters still reads as
    // the number it is, not as its first ten characters.
    dialog.showVariable(1, INT32_MIN);
    EXPECT_EQ(field(1)->text(), QStringLiteral("-2147483648"));

    dialog.clear();
    EXPECT_EQ(texts(), QStringList(kVariableCount, QStringLiteral("0")));
}

TEST_F(VariablesDialogTest, LooksTidyAndGrey)
{
    dialog.showVariable(0, INT32_MIN);
    dialog.showVariable(4, 123);
    dialog.show();
    const QImage image = dialog.grab().toImage();
    if (const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR"); !dir.isEmpty())
        image.save(QString::fromUtf8(dir) + "/variables-dialog.png");

    EXPECT_EQ(image.pixelColor(2, 2), QColor(192, 192, 192));
    // The longest value fits its field without scrolling.
    EXPECT_GT(field(0)->contentsRect().width(),
              field(0)->fontMetrics().horizontalAdvance(field(0)->text()));
    EXPECT_TRUE(dialog.rect().contains(field(kVariableCount - 1)->geometry()));
}

// The window is wide enough for its title "Variables" in a bold title bar
// beside the bar's own buttons, not "Var… les".
TEST_F(VariablesDialogTest, IsWideEnoughForItsTitle)
{
    dialog.show();
    QFont bold = dialog.font();
    bold.setBold(true);
    EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 120);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Variables"));
}

}  // namespace
}  // namespace tarvel
