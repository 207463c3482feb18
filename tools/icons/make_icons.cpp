// Writes the program's icons as an icon theme tree, as installed:
//   make_icons DIR  ->  DIR/hicolor/NxN/{apps,mimetypes}/NAME.png for every
//                       size, and DIR/hicolor/scalable/.../NAME.svg
// The build runs it, so the pictures always match their drawing.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QSvgGenerator>
#include <cstdio>

#include "icon_art.h"

namespace {

using tarvel::icons::IconName;

QString themeFolder(const QString& root, const QString& size, const IconName& icon)
{
    return root + "/hicolor/" + size + "/" +
           QString::fromLatin1(icon.context.data(), qsizetype(icon.context.size()));
}

bool writeSvg(const QString& file, const IconName& icon)
{
    constexpr int kViewBox = 256;
    QSvgGenerator svg;
    QFile::remove(file);  // so that an old file cannot pass for a new one
    svg.setFileName(file);
    svg.setSize(QSize(kViewBox, kViewBox));
    svg.setViewBox(QRect(0, 0, kViewBox, kViewBox));
    svg.setTitle(QString::fromLatin1(icon.name.data(), qsizetype(icon.name.size())));
    tarvel::icons::paintIcon(icon.kind, svg, kViewBox);
    return QFile::exists(file);
}

bool writeAll(const QString& root)
{
    for (const IconName& icon : tarvel::icons::kIcons) {
        const QString name = QString::fromLatin1(icon.name.data(), qsizetype(icon.name.size()));
        for (const int pixels : tarvel::icons::kIconSizes) {
            const QString size = QString("%1x%1").arg(pixels);
            const QString folder = themeFolder(root, size, icon);
            if (!QDir().mkpath(folder)) return false;
            if (!tarvel::icons::renderIcon(icon.kind, pixels).save(folder + "/" + name + ".png"))
                return false;
        }
        const QString folder = themeFolder(root, "scalable", icon);
        if (!QDir().mkpath(folder) || !writeSvg(folder + "/" + name + ".svg", icon)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: make_icons CARPETA\n");
        return 2;
    }
    // The drawing needs no screen; the SVG writer still wants the application's
    // fonts, and a build machine may have no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!writeAll(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "make_icons: no se pueden escribir los iconos en %s\n", argv[1]);
        return 1;
    }
    return 0;
}
