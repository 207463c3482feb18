// Pictures of the main window as a user sees it: an example chart at 100 %
// and 50 %, idle and running. With TARVEL_SCREENSHOT_DIR set, the PNGs are
// written there to be looked at.

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>

#include "app/flow_frame.h"
#include "editors/ui/editor_set.h"
#include "flowchart/ui/flow_window.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"

namespace tarvel {
namespace {

void keep(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

// How many pixels of the client are neither white nor the background.
int inkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white)) ++ink;
    return ink;
}

TEST(Screenshot, MainWindowWithAnExampleChart)
{
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    TFlowFrame frame(FrameServices{messages, clock, files, ports});
    AppConfiguration config;
    config.configPath = std::string(TARVEL_DATA_DIR) + "/CONFIGUR.FCF";
    config.sensorsDir = std::string(TARVEL_DATA_DIR) + "/SENSORS";
    frame.startUp(config);
    ASSERT_TRUE(frame.loadChart(std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/SEMAFORO.FLO", false));
    frame.resize(1000, 760);
    frame.show();

    const QImage idle = frame.grab().toImage();
    keep(idle, "main-100-idle.png");
    const QRect client(frame.flowWindow()->mapTo(&frame, QPoint(0, 0)), QSize(300, 300));
    EXPECT_GT(inkIn(idle, client), 500);  // the chart is drawn

    frame.runCommand();
    for (int i = 0; i < 3; ++i) {
        clock.advance(20);
        frame.timerTick();
    }
    const QImage running = frame.grab().toImage();
    keep(running, "main-100-running.png");
    EXPECT_NE(running, idle);  // the running marks show
    frame.runCommand();

    frame.applyZoom(5);
    frame.resize(1000, 760);
    const QImage half = frame.grab().toImage();
    keep(half, "main-50-idle.png");
    frame.runCommand();
    for (int i = 0; i < 3; ++i) {
        clock.advance(20);
        frame.timerTick();
    }
    keep(frame.grab().toImage(), "main-50-running.png");
    frame.runCommand();
}

// The main window with the output panel open on a symbol of the example
// chart, the panel drawn where it stands over the window.
TEST(Screenshot, MainWindowWithAnEditorPanel)
{
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::FakeByteLink ports;
    TFlowFrame frame(FrameServices{messages, clock, files, ports});
    ASSERT_TRUE(frame.loadChart(std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/SEMAFORO.FLO", false));
    frame.resize(1000, 760);
    frame.show();
    const FlowDocument& doc = frame.state().doc;
    int output = -1;
    for (int i = 0; i < doc.symbolCount() && output < 0; ++i)
        if (doc.symbol(i).kind == SymbolKind::Output) output = i;
    ASSERT_GE(output, 0);
    frame.editors()->openSymbol(output);
    QWidget* panel = frame.editors()->visible();
    ASSERT_NE(panel, nullptr);

    QImage shot = frame.grab().toImage();
    const QPoint at = panel->mapToGlobal(QPoint(0, 0)) - frame.mapToGlobal(QPoint(0, 0));
    // It covers the bottom of the chart's area, inside the window.
    EXPECT_TRUE(shot.rect().contains(QRect(at, panel->size())))
        << at.x() << "," << at.y() << " " << panel->width() << "x" << panel->height() << " in "
        << shot.width() << "x" << shot.height();
    QPainter p(&shot);
    p.drawImage(at, panel->grab().toImage());
    p.end();
    keep(shot, "main-editor-panel.png");
}

}  // namespace
}  // namespace tarvel
