#pragma once
// Undo and redo of the chart: every change of the document is one step,
// kept as the content before it. The shell records once an edit is over;
// the history compares the document with the content it holds, so a call
// after an edit that changed nothing makes no step. Names say what a step
// did ("mover 3 símbolos"), for the status bar.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "flowchart/flow_document.h"

namespace tarvel {

inline constexpr int kHistorySteps = 100;

// What a change did, told from the content before and after it, and which
// field it touched when repeated changes of it make one step (typing a name,
// dragging a slider): 0 when it stands alone.
struct ChangeName {
    std::string text;
    int mergeKey = 0;
};
ChangeName describeChange(const ChartContent& before, const ChartContent& after);

class EditHistory {
public:
    explicit EditHistory(int limit = kHistorySteps) : limit_(limit < 1 ? 1 : limit) {}

    // A new, opened or dropped chart: no steps, and the document as it is
    // counts as saved unless it is marked modified.
    void reset(const FlowDocument& doc);
    // After an edit: when the document differs from the last content, one
    // step (named by `name`, or told from the change when empty). A change of
    // the same field as the step before joins it. A change marks the chart
    // modified; undo and redo set the flag by whether the saved state is
    // reached. Returns whether the document had changed.
    bool record(FlowDocument& doc, std::string_view name = {});
    // The breakpoints changed: they are kept with the content, but are no step.
    void breakpointsChanged(const FlowDocument& doc);
    // The chart was saved as it is now.
    void markSaved();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    const std::string& undoName() const;
    const std::string& redoName() const;
    // Puts the document back as before the last step (or after the step
    // undone last); false when there is none.
    bool undo(FlowDocument& doc);
    bool redo(FlowDocument& doc);

    int undoCount() const { return static_cast<int>(undo_.size()); }
    int redoCount() const { return static_cast<int>(redo_.size()); }
    bool atSaved() const { return stateId_ == savedId_; }
    // The bytes the kept steps take, besides the current content.
    std::size_t memoryUse() const;

private:
    struct Step {
        ChartContent content;
        std::uint64_t stateId = 0;
        std::string name;
        int mergeKey = 0;
    };
    void follow(FlowDocument& doc) const { doc.setModifiedFlag(!atSaved()); }
    bool travel(std::deque<Step>& from, std::deque<Step>& to, FlowDocument& doc);

    int limit_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    ChartContent current_;
    std::uint64_t stateId_ = 0;
    std::uint64_t nextId_ = 1;
    std::uint64_t savedId_ = 0;
    // A step may take the next change of its field until an undo, a redo or a save.
    bool mayMerge_ = false;
};

}  // namespace tarvel
