#pragma once
// The zoom dialog ("Vista Zoom"): a percentage typed or stepped in tens from
// 20 % to 120 %, four presets, and "Zoom" to apply it.

#include <QDialog>

class QLineEdit;

namespace tarvel {

inline constexpr int kMinZoomTenths = 2;
inline constexpr int kMaxZoomTenths = 12;

class TScaleDialog : public QDialog {
    Q_OBJECT
public:
    // zoomTenths: the current zoom factor in tenths (10 is 100 %).
    explicit TScaleDialog(int zoomTenths, QWidget* parent = nullptr);

    // Shows the current zoom again before the dialog is reopened.
    void setZoom(int zoomTenths);

    // The percentage in the field in tenths, within 2..12; the zoom the dialog
    // opened with when the field holds no number.
    int chosenZoom() const;

private:
    // The field's number, or the opening percentage when it holds none.
    int fieldPercent() const;
    void setPercent(int percent);

    int zoomTenths_;
    QLineEdit* field_ = nullptr;
};

}  // namespace tarvel
