#pragma once
// The frame's commands for the chart's sounds and the sound recorder, the
// chart colours, printing and the about box. The frame adds their menu
// entries and calls the hooks below at run start, before a save and when
// the chart is replaced; everything else lives here and in the windows it owns.

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/configuration.h"
#include "appearance/colour_set.h"

#include "platform/sound_recorder.h"

class QPainter;
class QPrinter;
class QRect;
class QString;

namespace tarvel {

class Messages;
class ProgramState;
class TFlowFrame;
class TSoundsDialog;

class TFrameExtras : public QObject {
    Q_OBJECT
public:
    TFrameExtras(ProgramState& state, Messages& messages, TFlowFrame* frame);
    ~TFrameExtras() override;

    // The configuration read at start-up: where the file dialogs start, where
    // the splash picture lies, where the configuration came from.
    void setConfiguration(const AppConfiguration& config) { config_ = config; }

    // ---- Splash ------------------------------------------------------------------
    // Shows the splash modally; `timed` closes it after four seconds if the
    // pupil has not clicked it away ("&Acerca de..." waits for the click).
    void showSplash(bool timed);
    // How long the timed splash stays, in milliseconds (tests shorten it).
    void setSplashTime(int ms) { splashMs_ = ms; }

    // ---- Sounds ----------------------------------------------------------------
    // "&Sonidos...": nothing while the window is in sight; else the slots take
    // the fields of a window that exists, then the window shows them.
    void soundsCommand();
    // "Grabadora de S&onido...".
    void recorderCommand();
    // Starts a recorder; false when it could not be started. Tests put their own here.
    using RecorderStarter = std::function<bool(const RecorderCommand&)>;
    void setRecorderStarter(RecorderStarter starter) { startRecorder_ = std::move(starter); }
    // Which programs the machine has; tests put their own here.
    using ProgramFinder = std::function<bool(const std::string&)>;
    void setProgramFinder(ProgramFinder finder) { findProgram_ = std::move(finder); }
    TSoundsDialog* soundsDialog() const { return sounds_; }

    // ---- Colours -----------------------------------------------------------------
    // "&Colores...": on "Aceptar" the chart takes the colours, a running
    // chart redraws its marks, the window repaints and the speed control's
    // "Líneas" and "Símbolos" follow whether the marks are drawn.
    void coloursCommand();
    // What the colour window returns: the colours on "Aceptar", nothing on
    // "Cancelar". The modal window unless a test puts something else here.
    using ColourChooser = std::function<std::optional<ColourSet>(const ColourSet&)>;
    void setColourChooser(ColourChooser chooser) { chooseColours_ = std::move(chooser); }
    void applyColours(const ColourSet& colours);

    // ---- Printing ---------------------------------------------------------------
    // "&Imprimir...": the chart on one page through the print dialog.
    void printCommand();
    // "&Configurar impresión...": the page set-up of the one printer object,
    // whose choices stay for the jobs that follow.
    void printSetupCommand();
    // "Imprimir &Gráfica...": the graph stack on one page, when there is one
    // to print and no run is capturing.
    void printGraphCommand();
    QPrinter& printer() { return *printer_; }
    // The print dialog (true: print) and the page set-up; tests put their own here.
    using PrintDialogRunner = std::function<bool(QPrinter&)>;
    using PageSetupRunner = std::function<void(QPrinter&)>;
    void setPrintDialogRunner(PrintDialogRunner r) { runPrintDialog_ = std::move(r); }
    void setPageSetupRunner(PageSetupRunner r) { runPageSetup_ = std::move(r); }

    // ---- Hooks of the frame ----------------------------------------------------------
    // Before a run starts and before a save: the slots take the fields.
    void takeSoundFields();
    // A chart was loaded or a new one started: the fields show its slots.
    void documentReplaced();

private:
    RecorderContext recorderContext() const;
    void printFailed(const QString& title, const char* reason);
    // One page through the print dialog, drawn by `page` into the printable area.
    void printJob(const QString& title, const std::function<void(QPainter&, const QRect&)>& page);

    ProgramState& state_;
    Messages& messages_;
    TFlowFrame* frame_;
    AppConfiguration config_;
    TSoundsDialog* sounds_ = nullptr;  // made on first use, owned by the frame
    RecorderStarter startRecorder_;
    ProgramFinder findProgram_;
    ColourChooser chooseColours_;
    int splashMs_;
    std::unique_ptr<QPrinter> printer_;
    PrintDialogRunner runPrintDialog_;
    PageSetupRunner runPageSetup_;
};

}  // namespace tarvel
