// The row of "Aceptar" and "Cancelar" the dialogs share: the buttons, their
// order and default, and that "Aceptar" reaches a dialog's own accept().

#include <gtest/gtest.h>

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/grey_dialog.h"

namespace tarvel {
namespace {

// A dialog whose accept() may refuse, as the ones that check their fields do.
class CheckingDialog final : public QDialog {
public:
    CheckingDialog()
    {
        auto* column = new QVBoxLayout(this);
        row = makeOkCancelRow(*this, "okName", "cancelName");
        column->addLayout(row);
    }
    void accept() override
    {
        ++accepts;
        if (allow) QDialog::accept();
    }

    QHBoxLayout* row = nullptr;
    int accepts = 0;
    bool allow = true;
};

TEST(OkCancelRow, AceptarIsTheDefaultAndStandsBeforeCancelarOnTheRight)
{
    CheckingDialog dialog;
    auto* ok = dialog.findChild<QPushButton*>("okName");
    auto* cancel = dialog.findChild<QPushButton*>("cancelName");
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("Aceptar"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancelar"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    ASSERT_EQ(dialog.row->count(), 3);
    EXPECT_NE(dialog.row->itemAt(0)->spacerItem(), nullptr);
    EXPECT_EQ(dialog.row->itemAt(1)->widget(), ok);
    EXPECT_EQ(dialog.row->itemAt(2)->widget(), cancel);
}

TEST(OkCancelRow, AceptarGoesThroughTheDialogsOwnAcceptAndCancelarRejects)
{
    CheckingDialog dialog;
    auto* ok = dialog.findChild<QPushButton*>("okName");
    auto* cancel = dialog.findChild<QPushButton*>("cancelName");

    dialog.allow = false;
    dialog.setResult(-1);
    ok->click();
    EXPECT_EQ(dialog.accepts, 1);
    EXPECT_EQ(dialog.result(), -1);  // refused: nothing closed it

    dialog.allow = true;
    ok->click();
    EXPECT_EQ(dialog.accepts, 2);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    cancel->click();
    EXPECT_EQ(dialog.accepts, 2);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace tarvel
