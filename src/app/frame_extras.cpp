#include "app/frame_extras.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include "app/configuration.h"
#include "app/flow_frame.h"
#include "appearance/ui/colour_pref_dialog.h"
#include "appearance/ui/flow_printout.h"
#include "appearance/ui/graph_printout.h"
#include "appearance/ui/splash_dialog.h"
#include "datalog/ui/graph_window.h"
#include "engine/program_state.h"
#include "engine/ui/sounds_dialog.h"
#include "engine/ui/speed_dialog.h"
#include "flowchart/ui/flow_window.h"
#include "platform/messages.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

bool startDetached(const RecorderCommand& c)
{
    QStringList arguments;
    for (const std::string& a : c.arguments) arguments << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(c.program), arguments);
}

bool programFound(const std::string& program)
{
    const QString name = QString::fromStdString(program);
    // A full path (the Windows directory's recorders) is looked at where it is.
    if (QDir::isAbsolutePath(name)) return QFileInfo(name).isExecutable();
    return !QStandardPaths::findExecutable(name).isEmpty();
}

}  // namespace

TFrameExtras::TFrameExtras(ProgramState& state, Messages& messages, TFlowFrame* frame)
    : QObject(frame),
      state_(state),
      messages_(messages),
      frame_(frame),
      startRecorder_(startDetached),
      findProgram_(programFound),
      splashMs_(kSplashSeconds * 1000),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    runPrintDialog_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, frame_);
        return dialog.exec() == QDialog::Accepted;
    };
    runPageSetup_ = [this](QPrinter& printer) {
        QPageSetupDialog dialog(&printer, frame_);
        dialog.exec();
    };
    chooseColours_ = [this](const ColourSet& colours) -> std::optional<ColourSet> {
        TColourPrefDialog dialog(colours, frame_);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.colours();
    };
}

TFrameExtras::~TFrameExtras() = default;

// ---- Splash -----------------------------------------------------------------------------

void TFrameExtras::showSplash(bool timed)
{
    TSplashDialog splash(config_.sensorsDir, splashVersionText(config_.fromSettingsKey), messages_,
                         frame_);
    if (timed) QTimer::singleShot(splashMs_, &splash, &QDialog::accept);
    splash.exec();
}

// ---- Colours ----------------------------------------------------------------------------

void TFrameExtras::coloursCommand()
{
    if (const std::optional<ColourSet> chosen = chooseColours_(state_.colours))
        applyColours(*chosen);
}

void TFrameExtras::applyColours(const ColourSet& colours)
{
    state_.colours = colours;
    state_.interpreter.redrawMarks();
    frame_->flowWindow()->update();
    frame_->speedDialog()->refreshMarks();
}

// ---- Printing ---------------------------------------------------------------------------

namespace {
const char* const kNoDefaultPrinter = "No puede imprimir sin una impresora del defecto.";
const char* const kPrintError = "Error de la impresión";
const char* const kErrorWhilePrinting = "Error encontrado durante la impresión";
const char* const kPrintAborted = "Impresión abortada";
}  // namespace

void TFrameExtras::printFailed(const QString& title, const char* reason)
{
    const QString text =
        QStringLiteral("'%1' no impreso. %2.").arg(title, QString::fromUtf8(reason));
    messages_.tell(caption::Error, text.toStdString());
}

void TFrameExtras::printJob(const QString& title,
                            const std::function<void(QPainter&, const QRect&)>& page)
{
    printer_->setDocName(title);
    if (!runPrintDialog_(*printer_)) return;
    if (!printer_->isValid()) {
        messages_.tell(caption::Error, kNoDefaultPrinter);
        return;
    }
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        printFailed(title, kPrintError);
        return;
    }
    // The painter's origin is the printable area's corner.
    page(painter, QRect(QPoint(0, 0), printer_->pageRect(QPrinter::DevicePixel).size().toSize()));
    const bool ended = painter.end();
    if (printer_->printerState() == QPrinter::Aborted)
        printFailed(title, kPrintAborted);
    else if (!ended || printer_->printerState() == QPrinter::Error)
        printFailed(title, kErrorWhilePrinting);
}

void TFrameExtras::printCommand()
{
    if (state_.interpreter.running() || state_.downloading()) return;
    const TFlowPrintout printout(state_.doc, state_.colours);
    printJob(TFlowPrintout::title(),
             [&](QPainter& p, const QRect& page) { printout.printPage(p, page); });
}

void TFrameExtras::printGraphCommand()
{
    const DataCapture& capture = state_.capture;
    if (state_.interpreter.running() || capture.sampleCount() == 0 ||
        capture.data.layout.totalWeight <= 0)
        return;
    TGraphWindow* window = frame_->graphWindow();
    const TGraphPrintout printout(*window, capture.data.layout.totalWeight);
    printJob(TGraphPrintout::title(),
             [&](QPainter& p, const QRect& page) { printout.printPage(p, page); });
    window->update();
}

void TFrameExtras::printSetupCommand()
{
    runPageSetup_(*printer_);
}

// ---- Sounds ----------------------------------------------------------------------------

void TFrameExtras::soundsCommand()
{
    if (sounds_ && sounds_->isVisible()) return;
    if (!sounds_) {
        sounds_ = new TSoundsDialog(state_.doc, config_.fileDir, frame_);
        sounds_->setWindowFlag(Qt::Tool);
    } else {
        sounds_->storeFields();
    }
    sounds_->show();
    sounds_->raise();
    sounds_->loadFields();
}

void TFrameExtras::takeSoundFields()
{
    if (sounds_) sounds_->storeFields();
}

void TFrameExtras::documentReplaced()
{
    if (sounds_) sounds_->loadFields();
}

RecorderContext TFrameExtras::recorderContext() const
{
    RecorderContext c;
#ifdef _WIN32
    c.windows = true;
#endif
    c.windowsDir = windowsDirectory();
    const FlowDocument& doc = state_.doc;
    // Recordings land beside the chart, else in the file directory, else at home.
    if (!doc.untitled())
        c.recordDir = utf8FromPath(pathFromUtf8(doc.path()).parent_path());
    else if (!config_.fileDir.empty())
        c.recordDir = config_.fileDir;
    else
        c.recordDir = QDir::homePath().toStdString();
    c.stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    c.configured = qEnvironmentVariable("TARVEL_RECORDER").toStdString();
    return c;
}

void TFrameExtras::recorderCommand()
{
    if (startRecorder(recorderContext(), findProgram_, startRecorder_)) return;
    messages_.tell(caption::Error, kNoRecorderText, MsgIcon::Exclamation);
}

}  // namespace tarvel
