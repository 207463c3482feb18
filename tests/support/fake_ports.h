#pragma once
// Fakes for the frame's file dialogs and its byte link.

#include <deque>
#include <set>
#include <string>

#include "app/file_chooser.h"
#include "support/fake_byte_link.h"

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
    DataChoice chooseDataSave(const std::string& directory) override
    {
        lastDirectory = directory;
        ++dataSaves;
        return {next(), dataFilter};
    }
    std::string chooseDataOpen(const std::string& directory) override
    {
        lastDirectory = directory;
        ++dataOpens;
        return next();
    }
    // The paths the next dialogs return; empty means the user cancelled.
    std::deque<std::string> answers;
    std::string lastDirectory, lastProposed;
    int opens = 0, saves = 0, dataSaves = 0, dataOpens = 0;
    // The filter the data save dialog reports: 0 SID, 1 CSV, 2 TSV.
    int dataFilter = 0;

private:
    std::string next()
    {
        if (answers.empty()) return {};
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace tarvel::test
