#pragma once
// The toolbox of the graph window (223 "Gráfica"): one icon per channel that
// can be graphed, in five groups. A free icon is picked to be placed with the
// next click in the graph window; an icon on a graph takes its channel off.

#include <QAbstractButton>
#include <QDialog>
#include <array>

#include "datalog/graph_stack.h"

namespace tarvel {

// One owner-drawn channel icon: grey while free, pale yellow while picked,
// dark grey and pressed while on a graph; the label in the channel's colour.
class TGraphPaneIcon final : public QAbstractButton {
    Q_OBJECT
public:
    TGraphPaneIcon(int icon, int colourIndex, QWidget* parent);
    int icon() const { return icon_; }
    IconState state() const { return state_; }
    void setState(IconState state);
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int icon_;
    int colourIndex_;
    IconState state_ = IconState::Free;
};

class TGraphPaneDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TGraphPaneDialog(QWidget* parent = nullptr);

    TGraphPaneIcon* icon(int code) const;
    // The faces follow the layout (placed, picked, free).
    void showStates(const GraphLayout& layout);
    // The input, output and frequency icons read 1..8, or 0..7.
    void relabel(bool numbersFromZero);

signals:
    void iconClicked(int icon);

private:
    std::array<TGraphPaneIcon*, kToolboxIcons> icons_{};
};

}  // namespace tarvel
