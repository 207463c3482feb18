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
    // With nobody to answer (a start-up check), each box is written to stderr
    // as one line, "Tarvel2Esp: CAPTION: TEXT", and takes the safe answer that
    // closing it would give.
    void setUnattended(bool unattended) { unattended_ = unattended; }

    MsgAnswer show(std::string_view caption, std::string_view text, MsgIcon icon,
                   MsgButtons buttons) override;
    void status(std::string_view text) override;

private:
    QPointer<QWidget> parent_;
    QPointer<TMessageBar> statusBar_;
    bool unattended_ = false;
};

// The answer of a box closed without choosing a button (Escape, its close
// button): the one that changes nothing.
MsgAnswer safeAnswer(MsgButtons buttons);

}  // namespace tarvel
