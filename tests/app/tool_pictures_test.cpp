// The tool bar pictures: one for every button number, each with something
// drawn at the sizes the tool bar uses. With TARVEL_SCREENSHOT_DIR set, a strip
// of them is written there to be looked at.

#include "app/tool_pictures.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>

namespace tarvel {
namespace {

int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) ++count;
    return count;
}

TEST(ToolPictures, EveryButtonHasAPictureAtBothSizes)
{
    for (const int id :
         {312, 313, 306, 304, 302, 305, 301, 303, 307, 308, 309, 123, 124, 314, 317, 318, 319}) {
        const QIcon icon = toolPicture(id);
        ASSERT_FALSE(icon.isNull()) << id;
        for (const int size : {16, 24}) {
            const QImage image = icon.pixmap(size, size).toImage();
            EXPECT_EQ(image.size(), QSize(size, size)) << id;
            // Something to see, and not a filled square.
            const int inked = inkedPixels(image);
            EXPECT_GT(inked, size * size / 12) << id << " at " << size;
            EXPECT_LT(inked, size * size * 9 / 10) << id << " at " << size;
        }
    }
    EXPECT_TRUE(toolPicture(0).isNull());
    EXPECT_TRUE(toolPicture(315).isNull());
}

TEST(ToolPictures, SimilarButtonsLookDifferent)
{
    const auto image = [](int id) { return toolPicture(id).pixmap(24, 24).toImage(); };
    const QList<int>& ids = toolPictureIds();
    for (qsizetype a = 0; a < ids.size(); ++a)
        for (qsizetype b = a + 1; b < ids.size(); ++b)
            EXPECT_NE(image(ids[a]), image(ids[b])) << ids[a] << " and " << ids[b];

    // Nothing to delete shows no red.
    const QImage idle = image(313);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const QColor c = idle.pixelColor(x, y);
            EXPECT_LE(std::abs(c.red() - c.green()), 8) << x << "," << y;
        }
}

TEST(ToolPictures, Strip)
{
    const QByteArray dir = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "TARVEL_SCREENSHOT_DIR not set";
    const QList<int>& ids = toolPictureIds();
    constexpr int kCell = 30;
    // The 24 px pictures on the tool bar's grey, the 16 px ones below them.
    QImage strip(kCell * int(ids.size()), 2 * kCell, QImage::Format_ARGB32);
    strip.fill(QColor(240, 240, 240));
    QPainter p(&strip);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const QIcon icon = toolPicture(ids[i]);
        p.drawPixmap(int(i) * kCell + 3, 3, icon.pixmap(24, 24));
        p.drawPixmap(int(i) * kCell + 7, kCell + 7, icon.pixmap(16, 16));
    }
    p.end();
    EXPECT_TRUE(strip.save(QString::fromUtf8(dir) + "/tool-pictures.png"));
}

}  // namespace
}  // namespace tarvel
