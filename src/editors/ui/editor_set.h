#pragma once
// The five editor panels of the main window, created hidden with it: which
// one a symbol or label opens, where it stands, and that only one is in
// sight at a time.

#include <QObject>
#include <QRect>

#include "editors/ui/other_panels.h"

class QMainWindow;

namespace tarvel {

class Messages;
class TEdDeciDialog;
class TEdIoDialog;
class TEdProcDialog;

class TEditorSet : public QObject {
    Q_OBJECT
public:
    TEditorSet(ProgramState& state, Messages& messages, TEdTextDialog::LabelAreaFn labelArea,
               QMainWindow* frame);

    // Opens the panel of a symbol's kind, or the label panel.
    void openSymbol(int symbol);
    void openLabel(int label);
    // Hides the panel in sight, if any (the chart it edits is going away or
    // being renumbered).
    void closeAll();
    // The panel in sight, or nullptr.
    TEditorDialog* visible() const;

    TEdSTSTDialog* startStop() const { return startStop_; }
    TEdIoDialog* output() const { return output_; }
    TEdProcDialog* process() const { return process_; }
    TEdDeciDialog* decision() const { return decision_; }
    TEdTextDialog* label() const { return label_; }

signals:
    // A panel stored its text: the chart changed.
    void stored();

private:
    void open(TEditorDialog* panel, int index);
    std::vector<TEditorDialog*> panels() const;

    ProgramState& state_;
    QMainWindow* frame_;
    TEdSTSTDialog* startStop_;
    TEdIoDialog* output_;
    TEdProcDialog* process_;
    TEdDeciDialog* decision_;
    TEdTextDialog* label_;
};

}  // namespace tarvel
