#pragma once
// The pictures of the mimic set in use, read from BMP files with QImage and
// kept here, ready to be copied onto the window; the core keeps only their
// sizes. It needs no application object, so the command-line tool reads
// pictures with it exactly as the window does.

#include <QImage>
#include <array>

#include "mimics/mimic_library.h"

namespace tarvel {

class QtMimicPictures final : public MimicPictureStore {
public:
    void clear() override;
    std::optional<MimicPicture> load(int slot, const std::string& path) override;

    // The picture of a slot; a null image when the slot holds none.
    const QImage& image(int slot) const;

private:
    std::array<QImage, kMimicPictureMax> images_{};
};

}  // namespace tarvel
