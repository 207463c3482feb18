#pragma once
// The "Colores" window: the five chart colours, one at a time, set with red,
// green and blue sliders, the two running marks also switched off with "Sin
// color". Modal, on a copy: "Aceptar" hands the colours over, "Cancelar"
// changes nothing.

#include <QDialog>
#include <array>

#include "appearance/colour_choice.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace tarvel {

class TColourPatch;

class TColourPrefDialog : public QDialog {
    Q_OBJECT
public:
    TColourPrefDialog(const ColourSet& colours, QWidget* parent = nullptr);

    // The colours as the window leaves them (the active symbol colour filled).
    ColourSet colours() const { return choice_.result(); }

private:
    QLayout* buildSliders();
    // A radio was chosen: its colour's sliders, texts, check box and sample.
    void selectColour(ColourSet::Entry entry);
    void sliderMoved(int component, int value);
    void noColourClicked(bool checked);
    // The sliders and texts of a colour that is drawn.
    void showComponents();
    void showSwitchedOff();

    ColourChoice choice_;
    std::array<QSlider*, kColourComponents> sliders_{};  // red, green, blue
    std::array<QLabel*, kColourComponents> values_{};
    std::array<QRadioButton*, kColourEntries> radios_{};
    QCheckBox* noColour_ = nullptr;
    TColourPatch* patch_ = nullptr;
};

}  // namespace tarvel
