// Writes the shipped mimic sets into a folder: make_mimics DIR [--preview]
// Each set's definition file, and its pictures as 24-bit BMP files cut from
// drawings of the whole scene; with --preview also each scene drawing as PNG.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>

#include "mimic_sets.h"
#include "platform/file_io.h"
#include "scene_kit.h"

namespace {

using namespace tarvel::mimicsets;

QImage drawScene(const std::string& set, int variant)
{
    QImage image(tarvel::kMimicWidth, tarvel::kMimicHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (set == "FARO")
        drawLighthouse(p, variant);
    else if (set == "SEMAFORO")
        drawTrafficLights(p, variant);
    else if (set == "PASONIVEL")
        drawLevelCrossing(p, variant);
    else
        drawGreenhouse(p, variant);
    return image;
}

bool writeSet(const ShippedSet& s, const QString& dir, bool preview)
{
    std::map<int, QImage> scenes;
    for (const PictureCut& cut : s.pictures) {
        auto it = scenes.find(cut.variant);
        if (it == scenes.end())
            it = scenes.emplace(cut.variant, drawScene(s.name, cut.variant)).first;
        const QImage piece =
            it->second.copy(cut.area.left, cut.area.top, cut.area.width(), cut.area.height());
        if (!piece.save(dir + "/" + QString::fromStdString(cut.file), "BMP")) return false;
    }
    if (preview)
        for (const auto& [variant, image] : scenes)
            image.save(
                dir +
                QStringLiteral("/%1-%2.png").arg(QString::fromStdString(s.name)).arg(variant));
    const std::string path = dir.toStdString() + "/" + s.name;
    return tarvel::writeFileReplacing(path, tarvel::serializeMimicSet(s.set)) ==
           tarvel::WriteResult::Ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || (args.size() == 3 && args[2] != "--preview") || args.size() > 3) {
        std::fprintf(stderr, "uso: make_mimics CARPETA [--preview]\n");
        return 2;
    }
    for (const ShippedSet& s : shippedSets()) {
        if (!writeSet(s, args[1], args.size() == 3)) {
            std::fprintf(stderr, "No se puede escribir la mímica %s\n", s.name.c_str());
            return 1;
        }
    }
    return 0;
}
