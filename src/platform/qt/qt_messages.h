#pragma once
// Message boxes and the status line for the running program.

#include <QPointer>

#include "platform/messages.h"
#include "platform/qt/message_bar.h"

class QWidget;

namespace tarvel {

class QtMessages final : public Messages {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void setStatusBar(TMessageBar* bar) { statusBar_ = bar; }

    MsgAnswer show(std::string_view caption, std::string_view text, MsgIcon icon,
                   MsgButtons buttons) override;
    void status(std::string_view text) override;

private:
    QPointer<QWidget> parent_;
    QPointer<TMessageBar> statusBar_;
};

}  // namespace tarvel
