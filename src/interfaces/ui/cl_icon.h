#pragma once
// The closing cross of the reduced monitor: a light grey box with a black
// outline and both diagonals.

#include <QWidget>

namespace tarvel {

class TClIcon : public QWidget {
    Q_OBJECT
public:
    TClIcon(int id, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {16, 16}; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tarvel
