#pragma once
// A keypad key. A key that may not be pressed now is disabled, shows no
// caption and lies flat in the panel's grey, so a pupil sees only what may
// follow and reads the rest as absent; enabling it raises it again with its
// caption. The mnemonic's underline shows only while Alt is held: under a
// "+" or "=" it would read as "±" or "≡".

#include <QPushButton>

namespace tarvel {

class TEdButton : public QPushButton {
    Q_OBJECT
public:
    TEdButton(int bit, const QString& caption, QWidget* parent = nullptr);

    int bit() const { return bit_; }
    const QString& caption() const { return caption_; }
    void setKeyEnabled(bool on);

    bool mnemonicShown() const { return mnemonicShown_; }
    void setMnemonicShown(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int bit_;
    QString caption_;
    bool mnemonicShown_ = false;
};

}  // namespace tarvel
