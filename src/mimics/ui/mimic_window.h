#pragma once
// The mimic window (221 "Mímica"): the set in use in a client area of
// 400 x 320, following the I/O image, and the pupil's clicks on it. An object
// flagged to be redrawn at once, or a new analogue value, is drawn at once;
// any other change waits for the window's next paint or for the end of the
// interpreter's pass (repaintIfPending), so a pass that changes many objects
// paints once.

#include <QRegion>
#include <QWidget>
#include <array>

#include "mimics/mimic_display.h"
#include "mimics/ui/mimic_painter.h"

namespace tarvel {

class MimicClicks;
class QtMimicPictures;

class TMimicWindow final : public QWidget, public MimicView {
    Q_OBJECT
public:
    TMimicWindow(MimicDisplay& display, const QtMimicPictures& pictures, MimicClicks& clicks,
                 QWidget* parent);
    ~TMimicWindow() override;

    static constexpr int kWidth = kMimicWidth;
    static constexpr int kHeight = kMimicHeight;

    // Stands with its top right corner on the top right of `client` (global
    // coordinates): the part of the main window the chart is seen through.
    void placeAt(const QRect& client);
    // RepaintIfPending: what changed during the pass is painted now.
    void repaintIfPending();
    bool pending() const { return !pending_.isEmpty(); }
    const MimicPainter& painter() const { return painter_; }

    // MimicView
    void objectChanged(int object, MimicChange change) override;
    void setReplaced() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void clickAt(QMouseEvent* event);
    void measureAll();

    MimicDisplay& display_;
    MimicClicks& clicks_;
    MimicPainter painter_;
    // Where each object was last drawn, so that a change also clears what it leaves.
    std::array<QRect, kMimicObjectMax> drawn_{};
    QRegion pending_;
};

}  // namespace tarvel
