#pragma once
// The open and save file dialogs, behind a small port so the frame's paths
// can be driven without a modal dialog.

#include <string>

class QWidget;

namespace tarvel {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chart to open, or empty when the user cancelled.
    virtual std::string chooseOpen(const std::string& directory) = 0;
    // Where to save, or empty when the user cancelled. `proposed` is the
    // current path of a titled chart.
    virtual std::string chooseSave(const std::string& directory, const std::string& proposed) = 0;

    // The data files of the graph: where to save and in which format (the
    // filter chosen), or an empty path when the user cancelled.
    struct DataChoice {
        std::string path;
        int filter = 0;  // 0 SID, 1 CSV, 2 TSV
    };
    virtual DataChoice chooseDataSave(const std::string& directory) = 0;
    // The SID file to open, or empty.
    virtual std::string chooseDataOpen(const std::string& directory) = 0;
};

// The system's dialogs: "Archivos de Tarvel (*.FLO)", default extension FLO,
// a question before overwriting, existing files only when opening.
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::string chooseOpen(const std::string& directory) override;
    std::string chooseSave(const std::string& directory, const std::string& proposed) override;
    // "Archivo SID (*.SID)", "Archivo CSV(*.CSV)", "Archivo TSV(*.TSV)" for
    // saving, the first alone for opening; default extension SID.
    DataChoice chooseDataSave(const std::string& directory) override;
    std::string chooseDataOpen(const std::string& directory) override;

private:
    QWidget* parent_;
};

}  // namespace tarvel
