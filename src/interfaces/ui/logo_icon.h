#pragma once
// The program's picture on a light grey button: 96 x 48, centred.

#include <QPixmap>
#include <QWidget>

namespace tarvel {

class TLogoIcon : public QWidget {
    Q_OBJECT
public:
    TLogoIcon(int id, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {104, 56}; }

    // The picture itself, drawn once: a small flowchart beside the name.
    static const QPixmap& picture();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tarvel
