#pragma once
// Fakes for the frame's file dialogs and port probe.

#include <deque>
#include <set>
#include <string>

#include "app/file_chooser.h"
#include "platform/byte_link.h"

namespace tarvel::test {

class FakeFileChooser final : public FileChooser {
public:
    std::string chooseOpen(const std::string& directory) override
    {
        lastDirectory = directory;
        ++opens;
        return next();
    }
    std::string chooseSave(const std::string& directory, const std::string& proposed) override
    {
        lastDirectory = directory;
        lastProposed = proposed;
        ++saves;
        return next();
    }
    // The paths the next dialogs return; empty means the user cancelled.
    std::deque<std::string> answers;
    std::string lastDirectory, lastProposed;
    int opens = 0, saves = 0;

private:
    std::string next()
    {
        if (answers.empty()) return {};
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
};

class FakeByteLink final : public ByteLink {
public:
    bool probe(const std::string& device) override { return present.count(device) > 0; }
    std::set<std::string> present;
};

}  // namespace tarvel::test
