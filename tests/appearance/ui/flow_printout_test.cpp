// Printing the chart: to PDF through the printer object, checked on the
// page rasterised by the distribution's PDF rasteriser; the settings that
// stay between jobs, the enabling and the failure messages.

#include "appearance/ui/flow_printout.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>

#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "engine/chart_builder.h"
#include "interfaces/interface_config.h"
#include "support/pdf_page.h"

namespace tarvel {
namespace {

using test::InkBox;

class PrintTest : public test::PrintFixture {
protected:
    // Prints through the command into a PDF file; the dialog says OK.
    void printTo(const std::string& pdf) { printToPdf(154, pdf); }
    static InkBox ink(const QImage& page) { return test::inkOf(page); }
    void process(Point at)
    {
        doc().setSymbolText(doc().appendSymbol(SymbolKind::Process, at), "Delay 1");
    }
};

TEST_F(PrintTest, TheExtentRuleDecidesHowLargeTheChartPrints)
{
    EXPECT_EQ(frame->action(154)->text(), QString("&Imprimir..."));
    EXPECT_EQ(frame->action(107)->text(), QString::fromUtf8("&Configurar impresión..."));
    EXPECT_EQ(TFlowPrintout::title(), QString("Diagrama de flujo"));
    // One symbol near the middle of the first page: the page is one printed
    // page wide, so the box (x 252..348) stands near the middle of the paper.
    process({300, 400});
    printTo(path("una_hoja.pdf"));
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages.empty());
    QImage page = rasterise(path("una_hoja.pdf"));
    ASSERT_FALSE(page.isNull());
    EXPECT_LT(page.width(), page.height());  // portrait, as the printer stands
    InkBox box = ink(page);
    // The printable area lies within small margins; the symbol keeps its place in it.
    EXPECT_NEAR((box.left + box.right) / 2, 300 / 654.0, 0.05);
    EXPECT_NEAR(box.right - box.left, 96 / 654.0, 0.03);

    // A symbol at x 600 takes the width of two pages: both halve.
    process({600, 400});
    printTo(path("dos_hojas.pdf"));
    page = rasterise(path("dos_hojas.pdf"));
    box = ink(page);
    EXPECT_NEAR(box.right - box.left, (660 - 252) / 1308.0, 0.04);
    EXPECT_LT(box.right, 0.6);  // the right half of the extent is empty paper
    // One at y 900 takes four pages: the chart shrinks to the upper left quarter.
    process({300, 900});
    printTo(path("cuatro_hojas.pdf"));
    box = ink(rasterise(path("cuatro_hojas.pdf")));
    EXPECT_LT(box.bottom, 0.6);
    EXPECT_NEAR(box.bottom - box.top, (924 - 376) / 1836.0, 0.04);
}

TEST_F(PrintTest, AnExampleChartFillsOnePage)
{
    ASSERT_TRUE(frame->loadChart(std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/TIMBRE.FLO", true));
    printTo(path("timbre.pdf"));
    const QImage page = rasterise(path("timbre.pdf"));
    ASSERT_FALSE(page.isNull());
    const InkBox box = ink(page);
    // From the title at x 48 to the horn's loop at x 608 of the 654 units.
    EXPECT_NEAR(box.left, 48 / 654.0, 0.04);
    EXPECT_NEAR(box.right, 608 / 654.0, 0.04);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PrintTest, ThePageSetUpStaysForTheNextJobAndCancelPrintsNothing)
{
    process({300, 300});
    frame->extras()->setPageSetupRunner(
        [](QPrinter& printer) { printer.setPageOrientation(QPageLayout::Landscape); });
    frame->action(107)->trigger();
    printTo(path("apaisada.pdf"));
    const QImage page = rasterise(path("apaisada.pdf"));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());

    frame->extras()->setPrintDialogRunner([](QPrinter& printer) {
        printer.setOutputFileName(QStringLiteral("/nowhere/never.pdf"));
        return false;
    });
    frame->action(154)->trigger();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(QFile::exists("/nowhere/never.pdf"));
}

TEST_F(PrintTest, AJobThatCannotStartIsReportedWithItsTitle)
{
    process({300, 300});
    printTo(path("no/such/folder/x.pdf"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "'Diagrama de flujo' no impreso. Error de la impresión.");
}

TEST_F(PrintTest, PrintingWaitsForTheRunToEnd)
{
    test::ChartBuilder b(doc());
    const int s = b.start(), w = b.proc("Delay 9");
    b.chain({s, w});
    frame->runCommand();
    ASSERT_TRUE(frame->state().interpreter.running());
    EXPECT_FALSE(frame->action(154)->isEnabled());
    EXPECT_FALSE(frame->action(107)->isEnabled());
    frame->extras()->printCommand();
    EXPECT_EQ(dialogs, 0);
    frame->runCommand();
    EXPECT_TRUE(frame->action(154)->isEnabled());
}

}  // namespace
}  // namespace tarvel
