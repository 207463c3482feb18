#include "mimics/ui/mimics.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMainWindow>

#include "editors/ui/editor_set.h"
#include "editors/ui/keypad_dialogs.h"
#include "engine/program_state.h"
#include "mimics/ui/mimic_opt_dialog.h"
#include "mimics/ui/mimic_window.h"
#include "mimics/ui/set_mimics_directory_dialog.h"
#include "platform/cp1252.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"
#include "platform/qt/window_place.h"

namespace tarvel {

// The label objects press the keys of the output or decision editor in sight.
class TMimics::EditorKeysOfSet final : public EditorKeys {
public:
    explicit EditorKeysOfSet(TEditorSet& editors) : editors_(editors) {}
    EditorKind openEditor() const override
    {
        TEditorDialog* panel = editors_.visible();
        if (!panel) return EditorKind::None;
        if (qobject_cast<TEdIoDialog*>(panel)) return EditorKind::Output;
        if (qobject_cast<TEdDeciDialog*>(panel)) return EditorKind::Decision;
        return EditorKind::Other;
    }
    void press(int bit) override
    {
        if (auto* keypad = qobject_cast<TKeypadDialog*>(editors_.visible())) keypad->pressKey(bit);
    }

private:
    TEditorSet& editors_;
};

TMimics::TMimics(ProgramState& state, Messages& messages, ManualControl& control,
                 TEditorSet& editors, QMainWindow* frame)
    : state_(state),
      messages_(messages),
      frame_(frame),
      defaultDirectory_(QDir::currentPath().toStdString() + "/MIMICS"),
      channels_(state.sensors),
      display_(state.io, channels_),
      library_(display_, state.io.settings, messages),
      clicks_(display_, state.io, control, channels_, [&state] { return state.programRunning(); }),
      keys_(std::make_unique<EditorKeysOfSet>(editors)),
      runDialog_([](QDialog& d) { return d.exec(); })
{
    library_.setPictureStore(&pictures_);
    library_.setDirectory(defaultDirectory_);
    state_.interpreter.addVariableObserver(&display_);
    state_.chip.addVariableObserver(&display_);
    clicks_.setEditorKeys(keys_.get());
    release_.setSingleShot(true);
    release_.setInterval(kMomentaryMs);
    connect(&release_, &QTimer::timeout, this, [this] { clicks_.releaseMomentary(); });
    clicks_.setReleaseTimer([this] { release_.start(); });
    window_ = new TMimicWindow(display_, pictures_, clicks_, frame);
    window_->hide();
}

TMimics::~TMimics()
{
    // The window is the frame's child but draws from the pieces here.
    delete window_;
    window_ = nullptr;
    state_.interpreter.removeVariableObserver(&display_);
    state_.chip.removeVariableObserver(&display_);
}

void TMimics::setDirectory(const std::string& dir)
{
    library_.setDirectory(dir);
}

bool TMimics::windowVisible() const
{
    return window_ && window_->isVisible();
}

void TMimics::showWindow()
{
    if (!window_->isVisible()) {
        window_->show();
        if (!placed_) {
            // Against the top right of the chart's area, left of its scroll bar.
            QRect client = clientAreaOf(*frame_);
            if (auto* area = qobject_cast<QAbstractScrollArea*>(frame_->centralWidget()))
                client =
                    QRect(area->viewport()->mapToGlobal(QPoint(0, 0)), area->viewport()->size());
            window_->placeAt(client);
            placed_ = true;
        }
    } else {
        window_->update();
    }
    window_->raise();
    window_->activateWindow();
}

void TMimics::nameInChart()
{
    const std::string name = utf8ToCp1252(library_.setName());
    FlowDocument& doc = state_.doc;
    if (doc.mimicSet.view() == name) return;
    doc.mimicSet = name;
    doc.setModified();
}

void TMimics::chooseMimic()
{
    const std::vector<std::string> sets = library_.listSets();
    TMimicOptDialog dialog(sets, library_.indexIn(sets), display_.showLabels(), frame_);
    if (runDialog_(dialog) != QDialog::Accepted) return;
    const int index = dialog.chosenIndex();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (index < 0)
        display_.setShowLabels(dialog.showLabels());
    else
        library_.choose(index, dialog.chosenName(), dialog.showLabels());
    QApplication::restoreOverrideCursor();
    nameInChart();
    showWindow();
}

void TMimics::setMimicsDirectory()
{
    TSetMimicsDirectoryDialog dialog(QString::fromStdString(library_.directory()),
                                     QString::fromStdString(defaultDirectory_), frame_);
    if (runDialog_(dialog) != QDialog::Accepted) return;
    library_.setDirectory(dialog.directory().toStdString());
}

void TMimics::offerMimic(std::string_view fileName)
{
    if (fileName.empty()) return;
    const std::string name = cp1252ToUtf8(fileName);
    // The chart keeps ten characters of a longer name: those ten name the set in use.
    const std::string inUse = cp1252ToUtf8(utf8ToCp1252(library_.setName()).substr(0, 10));
    if (display_.loaded() && equalsIgnoreCase(inUse, name)) return;
    const MsgAnswer a = messages_.show(
        caption::Message, "Este archivo usa la mímica " + name + ".  ¿La quiere cargar ahora?",
        MsgIcon::Question, MsgButtons::OkCancel);
    if (a != MsgAnswer::Ok) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    library_.loadMimic(name);
    QApplication::restoreOverrideCursor();
    showWindow();
}

void TMimics::repaintIfPending()
{
    window_->repaintIfPending();
}

void TMimics::refresh()
{
    if (windowVisible()) window_->update();
}

}  // namespace tarvel
