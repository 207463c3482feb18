#pragma once
// The main frame: caption, the flowchart window as its client inside a
// scroller, and the status bar.

#include <QMainWindow>

namespace tarvel {

class Messages;
class TFlowWindow;

inline constexpr const char* kProgramTitle = "'Tarvel2'";

class TFlowFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit TFlowFrame(Messages& messages, QWidget* parent = nullptr);

    TFlowWindow* flowWindow() const { return flowWindow_; }

private:
    TFlowWindow* flowWindow_ = nullptr;
};

}  // namespace tarvel
