#include "platform/scripted_messages.h"

namespace tarvel {

namespace {

MsgAnswer defaultAnswer(MsgButtons buttons)
{
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

}  // namespace

MsgAnswer ScriptedMessages::show(std::string_view caption, std::string_view text, MsgIcon icon,
                                 MsgButtons buttons)
{
    const ShownMessage box{std::string(caption), std::string(text), icon, buttons};
    if (echo_) echo_(box);
    if (recording) shown.push_back(box);
    if (!answers.empty()) {
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    if (cancelQuestions && buttons == MsgButtons::OkCancel) return MsgAnswer::Cancel;
    return defaultAnswer(buttons);
}

void ScriptedMessages::status(std::string_view text)
{
    if (recording) statusTexts.emplace_back(text);
}

}  // namespace tarvel
