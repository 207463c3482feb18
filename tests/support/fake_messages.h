#pragma once
// A Messages port for tests: records every box and status text, and answers
// questions from a script (or with a default when the script is empty).

#include <deque>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace tarvel::test {

struct ShownMessage {
    std::string caption;
    std::string text;
    MsgIcon icon;
    MsgButtons buttons;
};

class FakeMessages final : public Messages {
public:
    MsgAnswer show(std::string_view caption, std::string_view text, MsgIcon icon,
                   MsgButtons buttons) override;
    void status(std::string_view text) override;

    void answerNext(MsgAnswer a) { answers.push_back(a); }

    std::vector<ShownMessage> shown;
    std::vector<std::string> statusTexts;
    std::deque<MsgAnswer> answers;

    const ShownMessage& last() const { return shown.back(); }
    bool empty() const { return shown.empty(); }
};

}  // namespace tarvel::test
