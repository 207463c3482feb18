// The tool bar button that changes its picture: the delete button swaps
// between its two pictures as the chart gets something to delete, and the
// tool bar keeps the very same button.

#include "app/flex_button_gadget.h"

#include <gtest/gtest.h>
#include <QToolBar>
#include <QToolButton>

#include "app/flow_frame.h"
#include "app/tool_pictures.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/interface_config.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"

namespace tarvel {
namespace {

QImage pictureOf(const QIcon& icon)
{
    return icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(FlexButtonGadget, KeepsItsPictureNumberAndShowsThatPicture)
{
    QObject owner;
    TFlexButtonGadget gadget(123, 121, QStringLiteral("Ejecutar"), &owner);
    EXPECT_EQ(gadget.objectName(), QString("id121"));
    EXPECT_EQ(gadget.picture(), 123);
    EXPECT_EQ(gadget.command(), 121);
    EXPECT_EQ(pictureOf(gadget.icon()), pictureOf(toolPicture(123)));
    int changes = 0;
    QObject::connect(&gadget, &QAction::changed, [&changes] { ++changes; });
    gadget.setPicture(124);
    EXPECT_EQ(gadget.picture(), 124);
    EXPECT_EQ(pictureOf(gadget.icon()), pictureOf(toolPicture(124)));
    EXPECT_NE(pictureOf(toolPicture(123)), pictureOf(toolPicture(124)));
    EXPECT_EQ(changes, 1);
    gadget.setPicture(124);  // already shown: the button is not redrawn
    EXPECT_EQ(changes, 1);
}

TEST(FlexButtonGadget, TheDeleteButtonSwapsPicturesInTheSameToolBarButton)
{
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    TFlowFrame frame(FrameServices{messages, clock, files, ports});
    TFlexButtonGadget* del = frame.deleteButton();
    ASSERT_NE(del, nullptr);
    EXPECT_EQ(frame.action(312), del);
    auto* bar = frame.findChild<QToolBar*>(QStringLiteral("toolBar"));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().first(), del);
    QWidget* button = bar->widgetForAction(del);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(del->picture(), 313);

    FlowDocument& doc = frame.state().doc;
    doc.selectSymbol(doc.appendSymbol(SymbolKind::Process, {300, 300}));
    frame.updateCommands();
    EXPECT_EQ(del->picture(), 312);
    EXPECT_TRUE(del->isEnabled());
    EXPECT_EQ(bar->widgetForAction(del), button);
    EXPECT_EQ(pictureOf(static_cast<QToolButton*>(button)->icon()), pictureOf(toolPicture(312)));

    doc.clearSelection();
    frame.updateCommands();
    EXPECT_EQ(del->picture(), 313);
    EXPECT_EQ(bar->widgetForAction(del), button);
}

}  // namespace
}  // namespace tarvel
