#pragma once
// A keypad key. A key that may not be pressed now is disabled and shows no
// caption, so a pupil sees only what may follow; enabling it brings its
// caption back.

#include <QPushButton>

namespace tarvel {

class TEdButton : public QPushButton {
    Q_OBJECT
public:
    TEdButton(int bit, const QString& caption, QWidget* parent = nullptr);

    int bit() const { return bit_; }
    const QString& caption() const { return caption_; }
    void setKeyEnabled(bool on);

private:
    int bit_;
    QString caption_;
};

}  // namespace tarvel
