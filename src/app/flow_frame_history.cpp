// The frame's undo and redo, and the breakpoints: the commands, their tool
// bar buttons and status texts, and what a run held at a breakpoint shows.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QScrollArea>
#include <QTimer>

#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "app/tool_pictures.h"
#include "editors/ui/editor_set.h"
#include "engine/ui/speed_dialog.h"
#include "flowchart/breakpoint_file.h"
#include "flowchart/captions.h"
#include "flowchart/ui/flow_window.h"
#include "interfaces/ui/monitor_set.h"
#include "platform/cp1252.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr int kBreakpointCommand = 333;

}  // namespace

void TFlowFrame::addHistoryCommands(QMenu* edit)
{
    QAction* undo = addCommand(edit, kUndoPicture, "&Deshacer", nullptr);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setIcon(toolPicture(kUndoPicture));
    connect(undo, &QAction::triggered, this, &TFlowFrame::undoCommand);
    QAction* redo = addCommand(edit, kRedoPicture, "&Rehacer", nullptr);
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo->setIcon(toolPicture(kRedoPicture));
    connect(redo, &QAction::triggered, this, &TFlowFrame::redoCommand);
    edit->addSeparator();
}

void TFlowFrame::addBreakpointCommand(QMenu* edit)
{
    QAction* a = addCommand(edit, kBreakpointCommand, "Punto de parada",
                            "Pone o quita un punto de parada en el símbolo seleccionado");
    a->setShortcut(QKeySequence(Qt::Key_F9));
    connect(a, &QAction::triggered, this, &TFlowFrame::breakpointCommand);
}

// Edits come from the editor, its panels, the monitors, the sensors window,
// the mimics and the sounds: each sets the chart's modified flag, and the
// step is taken once the event that made it is over, so that an edit made of
// several changes is one step.
void TFlowFrame::scheduleRecord()
{
    if (recordPending_) return;
    recordPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (recordPending_) recordEdit();
    });
}

void TFlowFrame::recordEdit()
{
    recordPending_ = false;
    history_.record(state_->doc, pendingStepName_);
    pendingStepName_.clear();
    updateHistoryCommands();
}

void TFlowFrame::updateHistoryCommands()
{
    QAction* undo = action(kUndoPicture);
    QAction* redo = action(kRedoPicture);
    if (!undo || !redo) return;
    const bool editable = !state_->programRunning() && !state_->downloading();
    undo->setEnabled(editable && history_.canUndo());
    redo->setEnabled(editable && history_.canRedo());
    undo->setStatusTip(history_.canUndo()
                           ? QString::fromStdString("Deshacer: " + history_.undoName())
                           : QString::fromUtf8("No hay nada que deshacer"));
    redo->setStatusTip(history_.canRedo()
                           ? QString::fromStdString("Rehacer: " + history_.redoName())
                           : QString::fromUtf8("No hay nada que rehacer"));
    undo->setToolTip(undo->statusTip());
    redo->setToolTip(redo->statusTip());
    if (QAction* b = action(kBreakpointCommand))
        b->setEnabled(!state_->doc.selectedSymbols().empty());
}

void TFlowFrame::undoCommand()
{
    if (state_->programRunning() || state_->downloading() || flowWindow_->moving()) return;
    // Sound slots typed in reach the chart at the next run, save or undo.
    extras_->takeSoundFields();
    recordEdit();
    const std::string name = history_.undoName();
    if (!history_.undo(state_->doc)) return;
    showRestoredChart();
    services_.messages.status("Deshecho: " + name);
}

void TFlowFrame::redoCommand()
{
    if (state_->programRunning() || state_->downloading() || flowWindow_->moving()) return;
    // Sound slots typed in reach the chart at the next run, save or undo.
    extras_->takeSoundFields();
    recordEdit();
    const std::string name = history_.redoName();
    if (!history_.redo(state_->doc)) return;
    showRestoredChart();
    services_.messages.status("Rehecho: " + name);
}

void TFlowFrame::showRestoredChart()
{
    flowWindow_->documentReplaced();
    extras_->documentReplaced();
    editors_->closeAll();
    state_->sensors.adoptDocument(false);
    monitors_->refreshFromDocument();
    rebuildRunMenu();
    updateCaption();
    updateCommands();
    flowWindow_->update();
}

// ---- Breakpoints -------------------------------------------------------------------------------

void TFlowFrame::toggleBreakpoint(int symbol)
{
    FlowDocument& doc = state_->doc;
    if (symbol < 0 || symbol >= doc.symbolCount()) return;
    doc.toggleBreakpoint(symbol);
    history_.breakpointsChanged(doc);
    // The side file speaks of the symbols of the saved chart: while the chart
    // differs from it, the breakpoints are written with the next save.
    if (!doc.untitled() && !doc.modified() && !recordPending_)
        saveBreakpoints(doc.path(), doc, services_.messages);
    flowWindow_->update();
}

void TFlowFrame::breakpointCommand()
{
    const std::vector<int> selected = state_->doc.selectedSymbols();
    for (const int s : selected) toggleBreakpoint(s);
}

void TFlowFrame::heldAtBreakpoint(int task, int symbol)
{
    speed_->loadFromSettings();
    const FlowDocument& doc = state_->doc;
    std::string where = "el símbolo " + std::to_string(symbol);
    if (symbol >= 0 && symbol < doc.symbolCount()) {
        const FlowSymbol& s = doc.symbol(symbol);
        const std::string caption = cp1252ToUtf8(symbolCaption(s.kind, s.text.view()));
        if (!caption.empty()) where += " '" + caption + "'";
        const QRect r = flowWindow_->deviceRect(FlowDocument::symbolBounds(s));
        scroller_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 20,
                                 r.height() / 2 + 20);
    }
    services_.messages.status("Punto de parada: la tarea " + std::to_string(task + 1) +
                              " se detuvo en " + where);
    flowWindow_->setFocus();
}

}  // namespace tarvel
