#include "editors/ui/editor_set.h"

#include <QMainWindow>

#include "editors/ui/keypad_dialogs.h"
#include "engine/program_state.h"
#include "platform/qt/window_place.h"

namespace tarvel {

TEditorSet::TEditorSet(ProgramState& state, Messages& messages,
                       TEdTextDialog::LabelAreaFn labelArea, QMainWindow* frame)
    : QObject(frame),
      state_(state),
      frame_(frame),
      startStop_(new TEdSTSTDialog(state, frame)),
      output_(new TEdIoDialog(state, messages, frame)),
      process_(new TEdProcDialog(state, frame)),
      decision_(new TEdDeciDialog(state, frame)),
      label_(new TEdTextDialog(state, std::move(labelArea), frame))
{
    for (TEditorDialog* p : panels()) connect(p, &TEditorDialog::stored, this, &TEditorSet::stored);
    // The panel in sight keeps to the bottom of the chart's area, as wide as it.
    followClientArea(*frame, *this, [this] {
        if (TEditorDialog* p = visible()) p->placeOn(clientAreaOf(*frame_), screenAreaOf(*frame_));
    });
}

std::vector<TEditorDialog*> TEditorSet::panels() const
{
    return {startStop_, output_, process_, decision_, label_};
}

void TEditorSet::openSymbol(int symbol)
{
    if (symbol < 0 || symbol >= state_.doc.symbolCount()) return;
    switch (state_.doc.symbol(symbol).kind) {
        case SymbolKind::StartStop:
            return open(startStop_, symbol);
        case SymbolKind::Output:
            return open(output_, symbol);
        case SymbolKind::Process:
            return open(process_, symbol);
        case SymbolKind::Decision:
            return open(decision_, symbol);
    }
}

void TEditorSet::openLabel(int label)
{
    if (label < 0 || label >= state_.doc.labelCount()) return;
    open(label_, label);
}

void TEditorSet::open(TEditorDialog* panel, int index)
{
    for (TEditorDialog* p : panels())
        if (p != panel && p->isVisible()) p->dismiss();
    panel->openOn(index, clientAreaOf(*frame_), screenAreaOf(*frame_));
}

void TEditorSet::closeAll()
{
    for (TEditorDialog* p : panels())
        if (p->isVisible()) p->dismiss();
}

TEditorDialog* TEditorSet::visible() const
{
    for (TEditorDialog* p : panels())
        if (p->isVisible()) return p;
    return nullptr;
}

}  // namespace tarvel
