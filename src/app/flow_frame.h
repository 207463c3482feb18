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
#include "flowchart/edit_history.h"
#include "interfaces/port_probe.h"
#include "interfaces/protocols/protocol_context.h"

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
class TGraphWindow;
class TFlexButtonGadget;
class TInterfaceDialog;
class TMessageBar;
class TMimics;
class TMonitorSet;
class TChipRun;
class TProgressDialog;
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

class TFlowFrame : public QMainWindow, public RunShell, public LinkShell {
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
    TGraphWindow* graphWindow() const { return graph_; }
    TFlexButtonGadget* deleteButton() const { return deleteButton_; }
    TChipRun* chipRun() const { return chipRun_; }
    TProgressDialog* progressDialog() const { return progress_; }
    QTimer& runTimer() { return runTimer_; }
    // The menu or tool bar command with the given id.
    QAction* action(int id) const;
    QMenu* runWhatMenu() const { return runWhat_; }
    TMessageBar* messageBar() const { return messageBar_; }

    // ---- Start-up ------------------------------------------------------------
    // Takes the configuration, probes the ports, reads CONFIGUR.FCF and applies
    // the interface.
    void startUp(const AppConfiguration& config);
    // What follows the splash: the note about simulation, then the start-up
    // file. False when a file was named and did not load.
    bool afterSplash(const std::string& startupFile);
    const AppConfiguration& configuration() const { return config_; }

    // ---- Commands ------------------------------------------------------------
    void newCommand();
    void openCommand();
    // From the save-changes question no reminder of the graph's data is given.
    bool saveCommand(bool fromQuestion = false);
    bool saveAsCommand(bool fromQuestion = false);
    void runCommand();
    // The Simulate command of the chip boards and the box that takes
    // programs: the compiled chart runs in the chip simulator, or stops.
    void chipSimulateCommand();
    // The download command (the tool bar button of the interfaces that take
    // programs): the chart compiled and sent to the box, with the progress
    // window.
    void downloadCommand();
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
    // The chart was replaced (New, Open, a drop): one refresh of every window.
    void documentReplaced();
    // Rebuilds "¿Ejecutar Qué?" from the chart's sub heads and checks the
    // chosen sub while its head is there, else "&Iniciar Todo".
    void rebuildRunMenu();
    // The zoom in tenths; resizes the window for it.
    void applyZoom(int tenths);
    void updateCaption();
    void updateCommands();

    // ---- Undo, redo and breakpoints (flow_frame_history.cpp) --------------------
    EditHistory& history() { return history_; }
    // "&Deshacer" and "&Rehacer": refused while a chart runs or something moves.
    void undoCommand();
    void redoCommand();
    // The edits made since the last step become one (the shell records once an
    // event is over; commands that save or undo record first).
    void recordEdit();
    // A breakpoint on or off; the side file follows when the chart is as saved.
    void toggleBreakpoint(int symbol);
    // F9: the selected symbols' breakpoints.
    void breakpointCommand();

    // ---- The graph's commands (flow_frame_graph.cpp) --------------------------
    // "Parámetro de &Tiempo...": the time dialog, modal.
    void graphTimeCommand();
    // "&Guardar como Gráfica...": SID, CSV or TSV by the filter chosen.
    void saveGraphCommand();
    // "&Abrir Gráfica...": a question when unsaved data would go, then a SID file.
    void openGraphCommand();
    // "&Borrar Gráfica", after its question.
    void clearGraphCommand();
    // "&Valores": the values cursor on or off.
    void valuesCommand();
    // "Copiar &gráfica".
    void copyGraphCommand();

    // RunShell
    void runStarted() override;
    void runStopped() override;
    void runModeChanged() override;
    void showFailingSymbol(int symbol) override;
    void passDone() override;
    void heldAtBreakpoint(int task, int symbol) override;

    // ---- The live interface (flow_frame_live.cpp) ------------------------------
    // "&Simular": on, the box is let go; off, the interface connects (and,
    // during a run, takes the outputs). Refused while no box can be driven.
    void simulateCommand(bool on);
    // The check mark and the tool bar picture follow the simulate flag; the
    // command is offered only where a box can be driven.
    void updateSimulateCommand();
    // The keep-alive timers the protocols asked for, by id (700, 701).
    const QTimer* keepAliveTimer(int timerId) const;

    // LinkShell
    void stopRunTimers() override;
    void resumeRunTimers() override;
    void testModeEnded() override;
    void startKeepAlive(int timerId, int periodMs) override;
    void stopKeepAlive(int timerId) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addCommand(QMenu* menu, int id, const char* text, const char* hint);
    void buildMenus();
    void buildGraphMenu(QMenu* graph);
    // The graph window's ties to the monitors and the menus.
    void wireGraphWindow();
    void updateGraphCommands();
    // After a chart was saved: the note that the graph's data is not.
    void remindOfGraphData();
    // Closing with data no file holds asks first; false keeps the program open.
    bool graphDataMayGo();
    void buildToolBar();
    void addSimulateCommand(QMenu* control);
    // Wires the layer to the link, the ports and this frame's timers.
    void wireLink();
    void syncToolButtons();
    void chooseRunMode(int code);
    // The run button's picture and words, running or idle.
    void showRunButton(bool running);
    // The chip simulation started or stopped.
    void chipStarted();
    void chipStopped();
    // A compile fault's symbol is selected and brought into view.
    void revealSymbol(int symbol);
    // The Simulate command is there only for interfaces that take programs.
    void syncChipCommand();
    // So is the download button, with the picture of the chosen box
    // (flow_frame_download.cpp).
    void buildDownloadCommand();
    void syncDownloadCommand();
    void restartRunTimer();
    void warn(const char* text);
    // The narrowest the window may get.
    void keepWideEnough();
    std::string fileName() const;
    // Undo and redo at the top of "&Editar", breakpoints after "&Borrar".
    void addHistoryCommands(QMenu* edit);
    void addBreakpointCommand(QMenu* edit);
    void scheduleRecord();
    void updateHistoryCommands();
    // After an undo or a redo: every window shows the chart as it now is.
    void showRestoredChart();

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
    TGraphWindow* graph_ = nullptr;
    TFlexButtonGadget* deleteButton_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    TMessageBar* messageBar_ = nullptr;
    // The tool whose prompt the status line may be showing.
    EditorTool promptedTool_ = EditorTool::None;
    QMenu* runWhat_ = nullptr;
    QActionGroup* runWhatGroup_ = nullptr;
    std::map<int, QAction*> actions_;
    QTimer runTimer_;
    EditHistory history_;
    // An edit was made and its step is recorded once the event is over; a
    // command may name the step.
    bool recordPending_ = false;
    std::string pendingStepName_;
    TChipRun* chipRun_ = nullptr;
    TProgressDialog* progress_ = nullptr;
    std::map<int, std::unique_ptr<QTimer>> keepAlives_;
    // Last, so it goes before the program state its monitors observe.
    std::unique_ptr<TMonitorSet> monitors_;
    // After the monitors, so it goes before their manual control it uses.
    std::unique_ptr<TMimics> mimics_;
};

}  // namespace tarvel
