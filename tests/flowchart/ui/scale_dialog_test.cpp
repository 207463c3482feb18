// The zoom dialog driven through its buttons and field.

#include "flowchart/ui/scale_dialog.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>

namespace tarvel {
namespace {

class ScaleDialogTest : public ::testing::Test {
protected:
    QLineEdit* field() { return dialog.findChild<QLineEdit*>(QStringLiteral("zoomField")); }
    void click(const char* name)
    {
        auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    TScaleDialog dialog{8};
};

TEST_F(ScaleDialogTest, OpensWithTheCurrentPercentage)
{
    EXPECT_EQ(dialog.windowTitle(), "Vista Zoom");
    ASSERT_NE(field(), nullptr);
    EXPECT_EQ(field()->text(), "80");
    EXPECT_EQ(field()->maxLength(), 4);
    EXPECT_EQ(dialog.chosenZoom(), 8);

    dialog.setZoom(12);
    EXPECT_EQ(field()->text(), "120");
}

TEST_F(ScaleDialogTest, StepsInTensBetween20And120)
{
    click("smaller");
    EXPECT_EQ(field()->text(), "70");
    for (int i = 0; i < 10; ++i) click("smaller");
    EXPECT_EQ(field()->text(), "20");
    EXPECT_EQ(dialog.chosenZoom(), 2);

    field()->setText("25");
    click("smaller");  // 15 would be below the floor
    EXPECT_EQ(field()->text(), "20");

    field()->setText("105");
    click("larger");
    EXPECT_EQ(field()->text(), "115");
    EXPECT_EQ(dialog.chosenZoom(), 11);
    click("larger");
    EXPECT_EQ(field()->text(), "120");
    click("larger");
    EXPECT_EQ(field()->text(), "120");
    EXPECT_EQ(dialog.chosenZoom(), 12);

    // With no number in the field the steps start from the opening zoom.
    field()->clear();
    click("larger");
    EXPECT_EQ(field()->text(), "90");
}

TEST_F(ScaleDialogTest, PresetsOnlyWriteTheField)
{
    int accepted = 0;
    QObject::connect(&dialog, &QDialog::accepted, [&] { ++accepted; });
    for (const auto& [name, text] : {std::pair{"preset100", "100"}, std::pair{"preset80", "80"},
                                     std::pair{"preset50", "50"}, std::pair{"preset30", "30"}}) {
        click(name);
        EXPECT_EQ(field()->text(), text);
    }
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(dialog.chosenZoom(), 3);
}

TEST_F(ScaleDialogTest, ZoomAcceptsAndCancelRejects)
{
    dialog.open();
    click("preset50");
    click("zoomButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenZoom(), 5);

    dialog.open();
    click("cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(ScaleDialogTest, TypedNumbersAreKeptWithinTheZoomRange)
{
    struct Case {
        const char* text;
        int want;
    };
    for (const Case c : {Case{"9999", 12}, Case{"0", 2}, Case{"15", 2}, Case{"66", 6}, Case{"", 8},
                         Case{"abc", 8}, Case{" 40", 4}}) {
        field()->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(dialog.chosenZoom(), c.want) << c.text;
    }
}

}  // namespace
}  // namespace tarvel
