#pragma once
// The "Sonidos" window: the file of each of the chart's ten sound slots, typed
// or browsed for. The fields are where the pupil changes a slot; the slots
// are taken from them when a run starts, when the window is shown again and
// before a save, and the fields are filled from the slots when a chart is
// loaded or a new one started.

#include <QDialog>
#include <array>
#include <functional>

#include "flowchart/flow_types.h"

class QLineEdit;
class QPushButton;

namespace tarvel {

class FlowDocument;

class TSoundsDialog : public QDialog {
    Q_OBJECT
public:
    TSoundsDialog(FlowDocument& doc, std::string fileDir, QWidget* parent);

    // What "Examinar..." asks: given the slot, the dialog's title and the
    // folder to start in, the chosen file or an empty text for Cancel. The
    // system's file dialog unless a test puts something else here.
    using WavChooser = std::function<QString(int slot, const QString& title, const QString& dir)>;
    void setWavChooser(WavChooser chooser) { chooser_ = std::move(chooser); }

    // Slots from fields, and fields from slots.
    void storeFields();
    void loadFields();
    // "Examinar..." of a slot was pressed.
    void browse(int slot);

    QLineEdit* field(int slot) const { return fields_[static_cast<std::size_t>(slot)]; }
    QPushButton* browseButton(int slot) const { return buttons_[static_cast<std::size_t>(slot)]; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The limits of dragging the frame, taken once from the first layout.
    void recordSizes();

    FlowDocument& doc_;
    std::string fileDir_;
    std::array<QLineEdit*, kSoundSlots> fields_{};
    std::array<QPushButton*, kSoundSlots> buttons_{};
    WavChooser chooser_;
    bool sizesRecorded_ = false;
};

}  // namespace tarvel
