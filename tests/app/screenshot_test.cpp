// Pictures of the main window as a user sees it. With TARVEL_SCREENSHOT_DIR
// set, the PNGs are written there to be looked at.

#include <gtest/gtest.h>
#include <QImage>
#include <QPixmap>

#include "app/flow_frame.h"
#include "flowchart/ui/flow_window.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

void keep(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

TEST(Screenshot, MainWindowAtStartUp)
{
    test::FakeMessages messages;
    TFlowFrame frame(messages);
    frame.resize(800, 600);
    frame.show();
    const QImage image = frame.grab().toImage();
    keep(image, "main-window-empty.png");
    ASSERT_EQ(image.size(), QSize(800, 600));
    // The client shows an empty white chart.
    const QPoint inside = frame.flowWindow()->mapTo(&frame, QPoint(200, 200));
    EXPECT_EQ(image.pixelColor(inside), QColor(Qt::white));
}

}  // namespace
}  // namespace tarvel
