// Printing the graph: the command's enabling, and the page rules checked on
// the PDF page rasterised: a short stack takes the upper half of a portrait
// page, a taller one the whole page, a landscape page the whole page.

#include "appearance/ui/graph_printout.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QPageLayout>
#include <QPrinter>

#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "datalog/ui/graph_window.h"
#include "engine/chart_builder.h"
#include "interfaces/interface_config.h"
#include "support/pdf_page.h"

namespace tarvel {
namespace {

class GraphPrintTest : public test::PrintFixture {
protected:
    DataCapture& capture() { return frame->state().capture; }

    // An analogue graph over a rising line of 50 samples.
    void analogueGraph()
    {
        TGraphWindow& w = *frame->graphWindow();
        w.iconClicked(0);
        w.leftClick({200, 3});
        CaptureBuffer& b = capture().data.buffer;
        for (int j = 0; j < 50; ++j) {
            b.time[j] = 200u * j;
            b.analogue[0][j] = 2.0 * j;
            b.inputs[j] = (j / 5) % 2;
        }
        b.sampleCount = 50;
        frame->updateCommands();
    }
    void addInputGraph()
    {
        TGraphWindow& w = *frame->graphWindow();
        w.iconClicked(5);
        const PaneBox top = stackGeometry(capture().data.layout, w.height()).panes[0];
        w.leftClick({200, top.top + top.height + 2});
    }
    test::InkBox printTo(const std::string& name)
    {
        printToPdf(9, path(name));
        const QImage page = rasterise(path(name));
        EXPECT_FALSE(page.isNull());
        return test::inkOf(page);
    }
};

TEST_F(GraphPrintTest, ThePrintCommandWaitsForAGraphWithData)
{
    QAction* print = frame->action(9);
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->text(), QString::fromUtf8("Imprimir &Gráfica..."));
    EXPECT_EQ(TGraphPrintout::title(), QString::fromUtf8("Gráfica de Tarvel"));
    EXPECT_FALSE(print->isEnabled());
    analogueGraph();
    EXPECT_TRUE(print->isEnabled());

    frame->extras()->setPrintDialogRunner([this](QPrinter&) {
        ++dialogs;
        return false;
    });
    test::ChartBuilder b(frame->state().doc);
    // It runs until stopped.
    const int s = b.start(), on = b.out("Turn Output 1 on"), w = b.proc("Delay 1");
    b.chain({s, on, w});
    b.join(w, on);
    frame->runCommand();
    ASSERT_TRUE(frame->state().interpreter.running()) << messages.last().text;
    clock.advance(500);
    frame->timerTick();
    EXPECT_FALSE(print->isEnabled());
    frame->extras()->printGraphCommand();
    EXPECT_EQ(dialogs, 0);
    frame->runCommand();
    EXPECT_TRUE(print->isEnabled());
}

TEST_F(GraphPrintTest, APortraitPageGivesAShortStackItsUpperHalf)
{
    analogueGraph();
    test::InkBox box = printTo("grafica_media.pdf");
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_LT(box.bottom, 0.55);
    EXPECT_LT(box.top, 0.15);
    // The graph runs across the page: 800 of the 830 units.
    EXPECT_GT(box.right - box.left, 0.75);

    // An input graph as well (weight 6): the whole page.
    addInputGraph();
    box = printTo("grafica_entera.pdf");
    EXPECT_GT(box.bottom, 0.85);

    // Landscape: the whole page, 640 units high for both graphs.
    frame->extras()->setPageSetupRunner(
        [](QPrinter& printer) { printer.setPageOrientation(QPageLayout::Landscape); });
    frame->action(107)->trigger();
    box = printTo("grafica_apaisada.pdf");
    EXPECT_GT(box.bottom, 0.85);
    EXPECT_GT(box.right - box.left, 0.75);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace tarvel
