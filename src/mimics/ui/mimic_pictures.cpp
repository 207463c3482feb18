#include "mimics/ui/mimic_pictures.h"

#include <QImageReader>

namespace tarvel {

void QtMimicPictures::clear()
{
    for (QImage& image : images_) image = QImage();
}

std::optional<MimicPicture> QtMimicPictures::load(int slot, const std::string& path)
{
    if (slot < 0 || slot >= kMimicPictureMax) return std::nullopt;
    // Device-independent bitmaps only, whatever the file's name says.
    QImageReader reader(QString::fromStdString(path), "BMP");
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    // Copied onto the window many times a second: in the screen's own format.
    images_[static_cast<std::size_t>(slot)] = image.convertToFormat(QImage::Format_RGB32);
    return MimicPicture{true, image.width(), image.height()};
}

const QImage& QtMimicPictures::image(int slot) const
{
    static const QImage none;
    if (slot < 0 || slot >= kMimicPictureMax) return none;
    return images_[static_cast<std::size_t>(slot)];
}

}  // namespace tarvel
