// The frame's "&Gráfica" commands: showing the graph window, values mode, the
// grids and the copy; the time parameters, logging on run, clearing, and
// saving and opening the data; and the reminders that keep captured data
// from going unnoticed.

#include <QAction>
#include <QMenu>
#include <tuple>

#include "app/file_chooser.h"
#include "app/flow_frame.h"
#include "datalog/capture_files.h"
#include "datalog/ui/graph_time_dialog.h"
#include "datalog/ui/graph_window.h"
#include "interfaces/interface_settings.h"
#include "interfaces/model_traits.h"
#include "interfaces/ui/interface_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "interfaces/ui/test_mode.h"
#include "mimics/ui/mimics.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr int kGraphTime = 2, kSensors = 105, kGraphOpen = 8, kGraphSave = 3, kGraphClear = 6,
              kLogOnRun = 4;
constexpr int kShowGraph = 1, kValues = 5, kCopyGraph = 11, kPrintGraph = 9, kCoarseGrid = 20,
              kFineGrid = 21;

const char* const kPreviousGraphGoes = "Su gráfica previa se perderá";
const char* const kGraphNotSaved =
    "Es posible que usted desee guardar el data de su Gráfica.  Use el menú Gráficas";

DataFileKind kindOfFilter(int filter)
{
    if (filter == 1) return DataFileKind::Csv;
    if (filter == 2) return DataFileKind::Tsv;
    return DataFileKind::Sid;
}

}  // namespace

void TFlowFrame::buildGraphMenu(QMenu* graph)
{
    graph->setObjectName("graphMenu");
    // The window's own commands in a menu of their own: "Rejilla &Tosca" and
    // "&Copiar Gráfica" would share letters with "Parámetro de &Tiempo..."
    // and "&Comenzar Registro en Ejecutación".
    QMenu* view = graph->addMenu(QString::fromUtf8("&Ver"));
    view->setObjectName("graphViewMenu");
    // "&Mostrar Gráfica" and "&Copiar Gráfica" repeat commands of other menus
    // under their own names here.
    auto* show = new QAction(QString::fromUtf8("&Mostrar Gráfica"), this);
    show->setObjectName(QStringLiteral("id%1").arg(kShowGraph));
    view->addAction(show);
    connect(show, &QAction::triggered, graph_, &TGraphWindow::showGraph);
    auto* copy = new QAction(QString::fromUtf8("&Copiar Gráfica"), this);
    copy->setObjectName(QStringLiteral("id%1").arg(kCopyGraph));
    view->addAction(copy);
    connect(copy, &QAction::triggered, this, &TFlowFrame::copyGraphCommand);
    QAction* values = addCommand(view, kValues, "&Valores", nullptr);
    values->setCheckable(true);
    connect(values, &QAction::triggered, this, &TFlowFrame::valuesCommand);
    for (const auto& [id, text, mode] : {std::tuple{kCoarseGrid, "Rejilla &Tosca", kGridCoarse},
                                         std::tuple{kFineGrid, "Rejilla &Fina", kGridFine}}) {
        QAction* grid = addCommand(view, id, text, nullptr);
        grid->setCheckable(true);
        const int m = mode;
        connect(grid, &QAction::triggered, this, [this, m] {
            graph_->toggleGrid(m);
            updateGraphCommands();
        });
    }
    graph->addSeparator();
    connect(addCommand(graph, kGraphTime, "Parámetro de &Tiempo...", nullptr), &QAction::triggered,
            this, &TFlowFrame::graphTimeCommand);
    connect(addCommand(graph, kSensors, "&Sensores...", nullptr), &QAction::triggered, this,
            [this] { monitors_->openSensors(); });
    graph->addSeparator();
    connect(addCommand(graph, kGraphOpen, "&Abrir Gráfica...", nullptr), &QAction::triggered, this,
            &TFlowFrame::openGraphCommand);
    connect(addCommand(graph, kGraphSave, "&Guardar como Gráfica...", nullptr), &QAction::triggered,
            this, &TFlowFrame::saveGraphCommand);
    connect(addCommand(graph, kGraphClear, "&Borrar Gráfica", nullptr), &QAction::triggered, this,
            &TFlowFrame::clearGraphCommand);
    graph->addSeparator();
    QAction* log = addCommand(graph, kLogOnRun, "&Comenzar Registro en Ejecutación", nullptr);
    log->setCheckable(true);
    connect(log, &QAction::triggered, this, [this] {
        CaptureSettings& s = state_->capture.settings;
        s.logOnRun = !s.logOnRun;
        updateGraphCommands();
    });
    // The data change under the menu as a run samples: look again on opening.
    connect(graph, &QMenu::aboutToShow, this, [this] { updateGraphCommands(); });
}

void TFlowFrame::updateGraphCommands()
{
    const bool running = state_->interpreter.running();
    const DataCapture& capture = state_->capture;
    const bool hasData = capture.sampleCount() > 0;
    action(kSensors)->setEnabled(!running && !state_->downloading());
    action(kGraphOpen)->setEnabled(!running);
    action(kGraphSave)->setEnabled(hasData);
    action(kGraphClear)->setEnabled(hasData && !running && !capture.valuesMode());
    action(kLogOnRun)->setChecked(capture.settings.logOnRun);

    const GraphLayout& layout = capture.data.layout;
    const bool graphed = hasData && layout.totalWeight > 0;
    const bool testing = monitors_->testMode().isOn();
    QAction* values = action(kValues);
    values->setEnabled(!running && !testing && hasData &&
                       (layout.totalWeight > 0 || capture.valuesMode()));
    values->setChecked(capture.valuesMode());
    for (QAction* copy : findChildren<QAction*>(QStringLiteral("id%1").arg(kCopyGraph)))
        copy->setEnabled(!running && graphed);
    if (QAction* print = action(kPrintGraph)) print->setEnabled(!running && graphed);
    action(kCoarseGrid)->setChecked(layout.gridMode == kGridCoarse);
    action(kFineGrid)->setChecked(layout.gridMode == kGridFine);
}

void TFlowFrame::wireGraphWindow()
{
    connect(graph_, &TGraphWindow::graphChanged, this, [this] { updateGraphCommands(); });
    // Another interface may number its inputs from 0.
    connect(interface_, &TInterfaceDialog::selectionApplied, graph_, [this] {
        graph_->relabel();
        graph_->repaintGraph();
    });
    connect(graph_, &TGraphWindow::valuesModeChanged, this, [this](bool on) {
        // The cursor's values and the test mode's readings would fight over
        // the same displays.
        if (on)
            monitors_->testMode().setOn(false);
        else
            monitors_->clearValueTexts();
        mimics_->refresh();
        updateGraphCommands();
    });
    connect(graph_, &TGraphWindow::valuesShown, this, [this] {
        monitors_->refreshValues();
        mimics_->refresh();
    });
}

void TFlowFrame::valuesCommand()
{
    const DataCapture& capture = state_->capture;
    const bool on = capture.valuesMode();
    const bool allowed = !state_->interpreter.running() && !monitors_->testMode().isOn() &&
                         capture.sampleCount() > 0 && (capture.data.layout.totalWeight > 0 || on);
    if (allowed) graph_->setValuesMode(!on);
    updateGraphCommands();
}

void TFlowFrame::copyGraphCommand()
{
    const DataCapture& capture = state_->capture;
    if (state_->interpreter.running() || capture.sampleCount() == 0) return;
    graph_->copyGraph();
}

void TFlowFrame::graphTimeCommand()
{
    TGraphTimeDialog dialog(state_->capture.settings, services_.messages, this);
    dialog.exec();
}

void TFlowFrame::saveGraphCommand()
{
    const FileChooser::DataChoice choice = services_.files.chooseDataSave(config_.fileDir);
    if (choice.path.empty()) return;
    const DataFileKind kind = kindOfFilter(choice.filter);
    const bool fromZero = numberingFromZero(state_->io.settings.numbering);
    (void)saveCaptureFile(dataFileName(choice.path, kind), kind, state_->capture, state_->sensors,
                          fromZero, services_.messages);
    updateGraphCommands();
}

void TFlowFrame::openGraphCommand()
{
    if (state_->interpreter.running()) return;
    if (state_->capture.holdsUnsavedData()) {
        const MsgAnswer a = services_.messages.show(caption::Warning, kPreviousGraphGoes,
                                                    MsgIcon::Exclamation, MsgButtons::OkCancel);
        if (a != MsgAnswer::Ok) return;
    }
    const std::string path = services_.files.chooseDataOpen(config_.fileDir);
    if (path.empty()) return;
    (void)openCaptureFile(path, state_->capture, state_->sensors, services_.messages);
    updateGraphCommands();
}

void TFlowFrame::clearGraphCommand()
{
    const DataCapture& capture = state_->capture;
    if (capture.sampleCount() == 0 || state_->interpreter.running() || capture.valuesMode()) return;
    state_->capture.askAndClear(services_.messages);
    updateGraphCommands();
}

void TFlowFrame::remindOfGraphData()
{
    // The chip system's runs happen on the chip: nothing is captured there.
    if (!state_->capture.holdsUnsavedData() || modelTraits(state_->io.settings).usesChipEntry)
        return;
    services_.messages.tell(caption::Message, kGraphNotSaved, MsgIcon::Information);
}

bool TFlowFrame::graphDataMayGo()
{
    if (!state_->capture.holdsUnsavedData()) return true;
    return services_.messages.show(caption::Message, kGraphNotSaved, MsgIcon::Question,
                                   MsgButtons::OkCancel) == MsgAnswer::Ok;
}

}  // namespace tarvel
