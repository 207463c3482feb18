#pragma once
// The Messages port of the tests: the program's scripted sink, which records
// every box and status text and answers questions from a script (or with the
// default answer when the script is empty).

#include "platform/scripted_messages.h"

namespace tarvel::test {

using FakeMessages = ScriptedMessages;
using tarvel::ShownMessage;

// A sink for saves and loads whose messages a test does not look at.
inline ScriptedMessages& ignoredMessages()
{
    static ScriptedMessages sink = [] {
        ScriptedMessages m;
        m.recording = false;
        return m;
    }();
    return sink;
}

}  // namespace tarvel::test
