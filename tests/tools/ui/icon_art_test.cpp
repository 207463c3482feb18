// The program's icons at every size a desktop asks for: each fills its square
// without running off it, stays readable when small, and the three differ.
// With TARVEL_SCREENSHOT_DIR set they are written there to be looked at.

#include "icon_art.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QRect>
#include <cstdlib>
#include <map>
#include <utility>

namespace tarvel::icons {
namespace {

// The smallest rectangle that holds every pixel that is not (almost) transparent.
QRect drawnArea(const QImage& image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 32) area |= QRect(x, y, 1, 1);
    return area;
}

double coveredShare(const QImage& image)
{
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) covered += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    return double(covered) / (image.width() * image.height());
}

// The commonest opaque colour, by coarse shades so that a gradient counts as
// one: the tile or the paper.
QRgb mainColour(const QImage& image)
{
    std::map<QRgb, std::pair<int, QRgb>> shades;  // shade -> count, a pixel of it
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 255) continue;
            auto& shade = shades[qRgb(qRed(p) >> 5, qGreen(p) >> 5, qBlue(p) >> 5)];
            if (shade.first++ == 0) shade.second = p;
        }
    std::pair<int, QRgb> best{0, 0};
    for (const auto& entry : shades) best = std::max(best, entry.second);
    return best.second;
}

// How many pixels in the middle of the icon stand out from its main colour:
// the chart or graph drawn there, not the tile or the sheet's edge.
int detailPixels(const QImage& image)
{
    const QRgb background = mainColour(image);
    const int from = image.width() / 4, to = image.width() * 3 / 4;
    int count = 0;
    for (int y = from; y < to; ++y)
        for (int x = from; x < to; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 200) continue;
            const int distance = std::abs(qRed(p) - qRed(background)) +
                                 std::abs(qGreen(p) - qGreen(background)) +
                                 std::abs(qBlue(p) - qBlue(background));
            count += distance > 200 ? 1 : 0;
        }
    return count;
}

TEST(IconArt, EveryIconFillsItsSquareAtEverySizeWithoutRunningOffIt)
{
    const QByteArray shots = qgetenv("TARVEL_SCREENSHOT_DIR");
    for (const IconName& icon : kIcons) {
        for (const int pixels : kIconSizes) {
            const std::string what = std::string(icon.name) + " " + std::to_string(pixels);
            const QImage image = renderIcon(icon.kind, pixels);
            ASSERT_EQ(image.size(), QSize(pixels, pixels)) << what;
            if (!shots.isEmpty())
                image.save(QDir(QString::fromLocal8Bit(shots))
                               .filePath(QString("icono-%1-%2.png")
                                             .arg(QString::fromLatin1(icon.name.data(),
                                                                      qsizetype(icon.name.size())))
                                             .arg(pixels)));

            // Drawn across most of the square, and clear of its corners (a
            // drawing scaled wrongly runs off one side or shrinks to a corner).
            const QRect area = drawnArea(image);
            EXPECT_GE(area.width(), pixels * 6 / 10) << what;
            EXPECT_GE(area.height(), pixels * 8 / 10) << what;
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << what;
            EXPECT_EQ(qAlpha(image.pixel(pixels - 1, pixels - 1)), 0) << what;
            EXPECT_GT(coveredShare(image), icon.kind == IconKind::Application ? 0.7 : 0.45) << what;

            // The chart or graph on it still shows when the icon is tiny.
            EXPECT_GE(detailPixels(image), pixels * pixels / 40) << what;
        }
    }
}

TEST(IconArt, TheApplicationChartAndDataIconsCanBeToldApart)
{
    for (const int pixels : kIconSizes) {
        const QImage app = renderIcon(IconKind::Application, pixels);
        const QImage chart = renderIcon(IconKind::Chart, pixels);
        const QImage data = renderIcon(IconKind::Data, pixels);
        const auto differing = [pixels](const QImage& a, const QImage& b) {
            int count = 0;
            for (int y = 0; y < pixels; ++y)
                for (int x = 0; x < pixels; ++x) count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
            return count;
        };
        const int enough = pixels * pixels / 20;
        EXPECT_GT(differing(app, chart), enough) << pixels;
        EXPECT_GT(differing(chart, data), enough) << pixels;
        EXPECT_GT(differing(app, data), enough) << pixels;
    }
}

}  // namespace
}  // namespace tarvel::icons
