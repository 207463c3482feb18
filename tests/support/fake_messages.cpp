#include "support/fake_messages.h"

namespace tarvel::test {

MsgAnswer FakeMessages::show(std::string_view caption, std::string_view text, MsgIcon icon,
                             MsgButtons buttons)
{
    shown.push_back({std::string(caption), std::string(text), icon, buttons});
    if (!answers.empty()) {
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
        case MsgButtons::Ok:
        case MsgButtons::OkCancel:
            return MsgAnswer::Ok;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Yes;
    }
    return MsgAnswer::Ok;
}

void FakeMessages::status(std::string_view text)
{
    statusTexts.emplace_back(text);
}

}  // namespace tarvel::test
