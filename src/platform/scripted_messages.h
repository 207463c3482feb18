#pragma once
// The one message sink that is not a window: it records every box and status
// text, answers questions from a script or else with the default answer (OK,
// or Yes; or Cancel, when told), and may hand each box on as it is shown. Tests read what it
// recorded; the command-line tool prints each box as it comes; places where
// nothing is to be shown (look-ahead parsing, benchmarks) switch recording off.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace tarvel {

struct ShownMessage {
    std::string caption;
    std::string text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

class ScriptedMessages final : public Messages {
public:
    using Echo = std::function<void(const ShownMessage&)>;

    ScriptedMessages() = default;
    // Every box is also passed to `echo` as it is shown.
    explicit ScriptedMessages(Echo echo) : echo_(std::move(echo)) {}

    MsgAnswer show(std::string_view caption, std::string_view text, MsgIcon icon,
                   MsgButtons buttons) override;
    void status(std::string_view text) override;

    // The answer to the next question (scripted answers are used in order).
    void answerNext(MsgAnswer a) { answers.push_back(a); }

    const ShownMessage& last() const { return shown.back(); }
    bool empty() const { return shown.empty(); }

    std::vector<ShownMessage> shown;
    std::vector<std::string> statusTexts;
    std::deque<MsgAnswer> answers;
    // Off: nothing is kept (answers are still given and echoed).
    bool recording = true;
    // On: OK/Cancel questions without a scripted answer are answered Cancel
    // (a run with nobody to ask).
    bool cancelQuestions = false;

private:
    Echo echo_;
};

}  // namespace tarvel
