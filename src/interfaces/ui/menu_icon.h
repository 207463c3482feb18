#pragma once
// The small sensor-choice button of the sensors window: a pressed-out grey
// box with a down arrow; a press opens its menu at three quarters of its width.

#include <QPointer>
#include <QWidget>

class QMenu;

namespace tarvel {

class TMenuIcon : public QWidget {
    Q_OBJECT
public:
    TMenuIcon(int id, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {22, 22}; }

    void setMenu(QMenu* menu) { menu_ = menu; }
    QMenu* menu() const { return menu_; }
    // Pops the menu up where a press would.
    void openMenu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QMenu> menu_;
};

}  // namespace tarvel
