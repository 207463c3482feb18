#pragma once
// A lamp button of the monitors: a coloured box with a one-character label.
// State 0 is off (light grey), 1 red, 2 yellow, 3 green; motors show forward
// green and reverse red, inputs and outputs on in red (yellow in the motor
// monitors). A press acts at once, and a double click counts as a second press.

#include <QColor>
#include <QString>
#include <QWidget>

namespace tarvel {

class TStIcon : public QWidget {
    Q_OBJECT
public:
    TStIcon(int id, QWidget* parent = nullptr);

    int state() const { return state_; }
    void setState(int state);
    QString label() const { return label_; }
    void setLabel(const QString& label);
    // The first output of a motor's pair, or -1 for inputs and outputs.
    int motorOutput() const { return motorOutput_; }
    void setMotorOutput(int output) { motorOutput_ = output; }

    static QColor stateColour(int state);
    QSize sizeHint() const override { return {26, 22}; }

signals:
    void clicked();
    void rightClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int state_ = 0;
    QString label_;
    int motorOutput_ = -1;
};

}  // namespace tarvel
