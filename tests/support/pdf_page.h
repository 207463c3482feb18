#pragma once
// Printed pages in tests: the main window printing into PDF files, the first
// page of a PDF rasterised by the distribution's rasteriser, and where the
// ink lies on it.

#include <gtest/gtest.h>
#include <QAction>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <string>

#include "app/frame_extras.h"
#include "support/frame_fixture.h"

namespace tarvel::test {

// The extent of the ink on a page, as fractions of its width and height.
struct InkBox {
    double left = 1, top = 1, right = 0, bottom = 0;
};

// The first page at 60 dots an inch, rasterised to `prefix`.png; kept in
// TARVEL_SCREENSHOT_DIR when that is set.
inline QImage rasterisePdf(const std::string& pdf, const std::string& prefix)
{
    const QString out = QString::fromStdString(prefix);
    QProcess run;
    run.start(QStringLiteral("pdftoppm"), {"-r", "60", "-f", "1", "-l", "1", "-png", "-singlefile",
                                           QString::fromStdString(pdf), out});
    if (!run.waitForFinished(20000) || run.exitCode() != 0) {
        ADD_FAILURE() << "pdftoppm (poppler-utils) could not rasterise " << pdf;
        return {};
    }
    QImage page(out + ".png");
    if (const QByteArray shots = qgetenv("TARVEL_SCREENSHOT_DIR"); !shots.isEmpty())
        page.save(QString::fromUtf8(shots) + "/" +
                  QString::fromStdString(std::filesystem::path(pdf).stem().string()) + ".png");
    return page;
}

inline InkBox inkOf(const QImage& page)
{
    InkBox box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            // Thin lines come out light grey at this resolution.
            if (qGray(page.pixel(x, y)) > 230) continue;
            box.left = std::min(box.left, double(x) / page.width());
            box.right = std::max(box.right, double(x + 1) / page.width());
            box.top = std::min(box.top, double(y) / page.height());
            box.bottom = std::max(box.bottom, double(y + 1) / page.height());
        }
    return box;
}

// The main window on fakes, started on CONFIGUR.FCF alone, printing through
// its commands.
class PrintFixture : public FrameFixture {
protected:
    int dialogs = 0;  // print dialogs shown

    void SetUp() override { startFrame(AppConfiguration{}); }

    // Runs print command `id`; its dialog says OK with the printer set to
    // write `pdf`.
    void printToPdf(int id, const std::string& pdf)
    {
        frame->extras()->setPrintDialogRunner([this, pdf](QPrinter& printer) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return true;
        });
        frame->action(id)->trigger();
    }
    QImage rasterise(const std::string& pdf) { return rasterisePdf(pdf, path("page")); }
};

}  // namespace tarvel::test
