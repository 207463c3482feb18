#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTranslator>

#include "app/flow_app.h"
#include "app/flow_frame.h"
#include "flowchart/ui/flow_window.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

TEST(FlowFrame, StartsWithAnEmptyChartAsItsClient)
{
    test::FakeMessages messages;
    TFlowFrame frame(messages);
    frame.show();
    EXPECT_EQ(frame.windowTitle(), QString("'Tarvel2'"));

    auto* scroller = qobject_cast<QScrollArea*>(frame.centralWidget());
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->widget(), frame.flowWindow());

    const FlowDocument& doc = frame.flowWindow()->document();
    EXPECT_EQ(doc.symbolCount(), 0);
    EXPECT_EQ(doc.lineCount(), 0);
    EXPECT_EQ(doc.labelCount(), 0);
    EXPECT_TRUE(doc.untitled());
    // At 100 % the window spans the whole drawing.
    EXPECT_EQ(frame.flowWindow()->size(), QSize(kDrawingWidth, kDrawingHeight));
}

TEST(FlowFrame, DocumentRefusalsReachTheMessagePort)
{
    test::FakeMessages messages;
    TFlowFrame frame(messages);
    FlowDocument& doc = frame.flowWindow()->document();
    for (int i = 0; i < kMaxLabels; ++i) ASSERT_GE(doc.appendLabel({10, 10}), 0);
    EXPECT_EQ(doc.appendLabel({10, 10}), -1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(messages.last().text, "Solo se puede tener 100 etiquetas");
}

TEST(FlowApp, QtDialogsSpeakSpanish)
{
    QTranslator translator;
    ASSERT_TRUE(TFlowApp::installSpanish(*qApp, translator));
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().remove('&'), QString("Cancelar"));
    EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text().remove('&'), QString::fromUtf8("Sí"));
    QApplication::removeTranslator(&translator);
}

}  // namespace
}  // namespace tarvel
