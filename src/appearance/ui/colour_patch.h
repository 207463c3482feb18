#pragma once
// The sample of the colour window: a rectangle outlined in black and filled
// with the colour (its flag bits ignored), or, for a colour that is not
// drawn, a black cross from corner to corner on the window's grey.

#include <QAbstractButton>
#include <cstdint>

namespace tarvel {

class TColourPatch : public QAbstractButton {
    Q_OBJECT
public:
    explicit TColourPatch(QWidget* parent = nullptr);

    void setColour(std::uint32_t colour);
    std::uint32_t colour() const { return colour_; }
    QSize sizeHint() const override { return {64, 40}; }

    // A colour value (red in the low byte) as Qt's colour.
    static QColor toQColor(std::uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t colour_ = 0;
};

}  // namespace tarvel
