#pragma once
// The mimic window with its two dialogs and the pieces behind them, created
// with the main window: the set in use (which the chart names and saves),
// the clicks, the momentary input's release timer (876, 500 ms) and the
// keys the label objects press in an open symbol editor. The owner destroys
// it before the program state and the monitors' manual control it uses.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string_view>

#include "mimics/mimic_channels.h"
#include "mimics/mimic_clicks.h"
#include "mimics/mimic_display.h"
#include "mimics/mimic_library.h"
#include "mimics/ui/mimic_pictures.h"

class QDialog;
class QMainWindow;

namespace tarvel {

class ManualControl;
class Messages;
class ProgramState;
class TEditorSet;
class TMimicWindow;

class TMimics final : public QObject {
    Q_OBJECT
public:
    TMimics(ProgramState& state, Messages& messages, ManualControl& control, TEditorSet& editors,
            QMainWindow* frame);
    ~TMimics() override;

    MimicDisplay& display() { return display_; }
    MimicLibrary& library() { return library_; }
    MimicClicks& clicks() { return clicks_; }
    const QtMimicPictures& pictures() const { return pictures_; }
    TMimicWindow* window() const { return window_; }
    QTimer& releaseTimer() { return release_; }

    // The mimics directory of the configuration; its default, the folder
    // "MIMICS" of the current directory at start-up, is what
    // "&Predeterminado" puts back.
    void setDirectory(const std::string& dir);

    // "&Mímica..." (160): the options dialog, then the window in sight.
    void chooseMimic();
    // "Poner &Directorio de Mímicas..." (350).
    void setMimicsDirectory();
    // A chart was loaded that names a set (as stored, Windows-1252): unless
    // that set is in use, the question whether to load it now.
    void offerMimic(std::string_view fileName);
    // The interpreter ended a pass.
    void repaintIfPending();
    // A run started or stopped, simulation changed: the window is drawn again.
    void refresh();
    bool windowVisible() const;
    // Shows the window (placed at the top right of the chart's area the first
    // time) and gives it the focus.
    void showWindow();

    // Runs a modal dialog; tests answer it themselves.
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

private:
    class EditorKeysOfSet;
    // The chart keeps the name of the set in use.
    void nameInChart();

    ProgramState& state_;
    Messages& messages_;
    QMainWindow* frame_;
    std::string defaultDirectory_;
    SensorMimicChannels channels_;
    MimicDisplay display_;
    MimicLibrary library_;
    MimicClicks clicks_;
    QtMimicPictures pictures_;
    std::unique_ptr<EditorKeysOfSet> keys_;
    QTimer release_;
    TMimicWindow* window_ = nullptr;
    bool placed_ = false;
    DialogRunner runDialog_;
};

}  // namespace tarvel
