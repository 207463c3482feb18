#pragma once
// The main frame: the menus, tool bar and status bar, the captions, and the
// commands that lead to the document, the files, the interpreter and the
// windows. Its client is the flowchart window inside a scroller.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>

#include "app/configuration.h"
#include "engine/program_state.h"
#include "engine/run_ports.h"
#include "flowchart/chart_editor.h"
#include "interfaces/port_probe.h"

class QActionGroup;
class QMenu;
class QScrollArea;
class QToolBar;

namespace tarvel {

class ByteLink;
class Clock;
class FileChooser;
class Messages;
class SoundPlayer;
class TFlowWindow;
class TEditorSet;
class TFrameExtras;
class TFlexButtonGadget;
class TInterfaceDialog;
class TMessageBar;
class TMimics;
class TMonitorSet;
class TSpeedDialog;
class TVariablesDialog;

inline constexpr const char* kProgramTitle = "'Tarvel2'";
inline constexpr const char* kRunningTitle = "'Tarvel 2' Ejecutando";

// The services the frame works through; tests give fakes.
struct FrameServices {
    Messages& messages;
    Clock& clock;
    FileChooser& files;
    ByteLink& ports;
    // What plays the chart's sounds; none plays nothing.
    SoundPlayer* sound = nullptr;
};

class TFlowFrame : public QMainWindow, public RunShell {
    Q_OBJECT
public:
    explicit TFlowFrame(FrameServices services, QWidget* parent = nullptr);
    ~TFlowFrame() override;

    ProgramState& state() { return *state_; }
    TFlowWindow* flowWindow() const { return flowWindow_; }
    TVariablesDialog* variablesDialog() const { return variables_; }
    TSpeedDialog* speedDialog() const { return speed_; }
    TInterfaceDialog* interfaceDialog() const { return interface_; }
    TMonitorSet* monitors() const { return monitors_.get(); }
    TMimics* mimics() const { return mimics_.get(); }
    TEditorSet* editors() const { return editors_; }
    TFrameExtras* extras() const { return extras_; }
    TFlexButtonGadget* deleteButton() const { return deleteButton_; }
    QTimer& runTimer() { return runTimer_; }
    // The menu or tool bar command with the given id.
    QAction* action(int id) const;
    QMenu* runWhatMenu() const { return runWhat_; }
    TMessageBar* messageBar() const { return messageBar_; }

    // ---- Start-up ------------------------------------------------------------
    // Takes the configuration, probes the ports, reads CONFIGUR.FCF and applies
    // the interface.
    void startUp(const AppConfiguration& config);
    // What follows the splash: the note about simulation, then the start-up file.
    void afterSplash(const std::string& startupFile);
    const AppConfiguration& configuration() const { return config_; }

    // ---- Commands ------------------------------------------------------------
    void newCommand();
    void openCommand();
    bool saveCommand();
    bool saveAsCommand();
    void runCommand();
    // The run timer fired.
    void timerTick();
    void zoomCommand();
    void copyChart(bool selectionOnly);
    void deleteCommand();
    void interfaceCommand();
    void dropFiles(const QStringList& paths);
    // Loads a chart; silent skips the extension message.
    bool loadChart(const std::string& path, bool silent);
    // The checks before New, Open, a drop and closing: refusal while
    // downloading, stopping a run, the save question, outputs off.
    bool closingChecks();
    // Rebuilds "¿Ejecutar Qué?" from the chart's sub heads and checks the
    // chosen sub while its head is there, else "&Iniciar Todo".
    void rebuildRunMenu();
    // The zoom in tenths; resizes the window for it.
    void applyZoom(int tenths);
    void updateCaption();
    void updateCommands();

    // RunShell
    void runStarted() override;
    void runStopped() override;
    void runModeChanged() override;
    void showFailingSymbol(int symbol) override;
    void passDone() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addCommand(QMenu* menu, int id, const char* text, const char* hint);
    void buildMenus();
    void buildToolBar();
    void syncToolButtons();
    void chooseRunMode(int code);
    void restartRunTimer();
    void warn(const char* text);
    // The narrowest the window may get.
    void keepWideEnough();
    std::string fileName() const;

    FrameServices services_;
    std::unique_ptr<ProgramState> state_;
    AppConfiguration config_;
    PortNames portNames_ = PortNames::defaults();
    PortPresence ports_{};
    QScrollArea* scroller_ = nullptr;
    TFlowWindow* flowWindow_ = nullptr;
    TVariablesDialog* variables_ = nullptr;
    TSpeedDialog* speed_ = nullptr;
    TInterfaceDialog* interface_ = nullptr;
    TEditorSet* editors_ = nullptr;
    TFrameExtras* extras_ = nullptr;
    TFlexButtonGadget* deleteButton_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    TMessageBar* messageBar_ = nullptr;
    // The tool whose prompt the status line may be showing.
    EditorTool promptedTool_ = EditorTool::None;
    QMenu* runWhat_ = nullptr;
    QActionGroup* runWhatGroup_ = nullptr;
    std::map<int, QAction*> actions_;
    QTimer runTimer_;
    // Last, so it goes before the program state its monitors observe.
    std::unique_ptr<TMonitorSet> monitors_;
    // After the monitors, so it goes before their manual control it uses.
    std::unique_ptr<TMimics> mimics_;
};

}  // namespace tarvel
