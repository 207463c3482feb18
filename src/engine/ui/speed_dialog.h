#pragma once
// The speed control ("Control de Velocidad"): how fast the interpreter runs,
// single stepping with the space bar, and whether running symbols and followed
// lines are marked. Modeless and usable while a chart runs.

#include <QDialog>

class QCheckBox;
class QSlider;

namespace tarvel {

struct ColourSet;
struct SpeedSettings;

class TSpeedDialog : public QDialog {
    Q_OBJECT
public:
    TSpeedDialog(SpeedSettings& speed, ColourSet& colours, QWidget* parent = nullptr);

    // Shows the settings in force without changing them. Runs whenever the
    // window is shown.
    void loadFromSettings();
    // Checks "Líneas" and "Símbolos" when their colours are drawn; the colour
    // settings call it after accepting new colours.
    void refreshMarks();

signals:
    // Interval or multiplicity changed: a run in progress restarts its timer.
    void intervalChanged();
    // Single stepping began: the space bar must reach the flowchart window.
    void chartFocusRequested();
    // A mark was switched on or off: a running chart redraws its marks.
    void marksChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void sliderMoved(int position);
    void singleStepClicked(bool on);

    SpeedSettings& speed_;
    ColourSet& colours_;
    QSlider* slider_ = nullptr;
    QCheckBox* singleStep_ = nullptr;
    QCheckBox* lines_ = nullptr;
    QCheckBox* symbols_ = nullptr;
    int lastPosition_ = -1;
};

}  // namespace tarvel
