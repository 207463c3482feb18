#pragma once
// The main window's status bar. The editing prompt is its lasting text, so it
// always says what the next click will do: the hint of a menu entry or tool
// button under the pointer covers it only while the pointer rests there.

#include <QStatusBar>

class QLabel;

namespace tarvel {

class TMessageBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TMessageBar(QWidget* parent = nullptr);

    // Replaces the prompt (empty clears it). A hint in sight gives way to it.
    void setPrompt(const QString& text);
    QString prompt() const;
    // What the bar shows now: the hint in sight, else the prompt.
    QString shownText() const;

private:
    QLabel* prompt_;
};

}  // namespace tarvel
