#pragma once
// Draws a mimic set: every object in index order (a label object only with
// "Mostrar Etiquetas"): its frame, then its text in the caption rules'
// Spanish, centred on one line and not clipped, or its picture at the
// picture's own size with its bottom-left corner on the object's.

#include <QColor>
#include <QFont>
#include <QRect>

class QPainter;

namespace tarvel {

class MimicDisplay;
class QtMimicPictures;

class MimicPainter {
public:
    MimicPainter(const MimicDisplay& display, const QtMimicPictures& pictures);

    // The whole window, or only what meets `dirty` when it is not empty;
    // without a set, the window colour.
    void paint(QPainter& p, const QColor& windowColour, const QRect& dirty = QRect()) const;

    // Where an object draws now: its rectangle, and its text or picture where
    // they reach beyond it.
    QRect extent(int object) const;

    // The text objects' font: "Arial" 16 pixels high, 8 wide.
    static QFont textFont();

private:
    void paintObject(QPainter& p, int object) const;

    const MimicDisplay& display_;
    const QtMimicPictures& pictures_;
    QFont font_;
};

}  // namespace tarvel
