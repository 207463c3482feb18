#include "app/flow_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <algorithm>

#include "app/file_chooser.h"
#include "app/flex_button_gadget.h"
#include "app/frame_extras.h"
#include "app/tool_pictures.h"
#include "chip/ui/chip_run.h"
#include "datalog/ui/graph_window.h"
#include "editors/ui/editor_set.h"
#include "editors/ui/keypad_dialogs.h"
#include "engine/ui/speed_dialog.h"
#include "engine/ui/variables_dialog.h"
#include "flowchart/breakpoint_file.h"
#include "flowchart/chart_editor.h"
#include "flowchart/command_text.h"
#include "flowchart/flow_file.h"
#include "flowchart/ui/chart_picture.h"
#include "flowchart/ui/flow_window.h"
#include "flowchart/ui/scale_dialog.h"
#include "interfaces/model_traits.h"
#include "interfaces/ui/interface_dialog.h"
#include "interfaces/ui/manual_monitor_dialog.h"
#include "interfaces/ui/monitor_set.h"
#include "mimics/ui/mimics.h"
#include "platform/messages.h"
#include "platform/qt/message_bar.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

constexpr int kNew = 101, kOpen = 102, kSave = 103, kSaveAs = 104, kExit = 24310;
constexpr int kCopyChart = 162, kCopySelection = 7, kDelete = 312;
constexpr int kRun = 121, kSpeed = 22, kInterface = 155, kVariables = 108, kZoom = 124;
constexpr int kAutoScroll = 316;
// The auto-scroll entry's hint says what choosing it will do.
const char* const kAutoScrollOnHint =
    "Hace que la ventana se desplace automáticamente cuando el puntero esté cerca a la orilla";
const char* const kAutoScrollOffHint = "No deja que la ventana se desplace automáticamente";
constexpr int kLargeMonitor = 109, kReducedMonitor = 125;
constexpr int kMimic = 160, kMimicsDirectory = 350;
constexpr int kSounds = 318, kRecorder = 340, kColours = 10, kAbout = 122;
constexpr int kPrint = 154, kPrintSetup = 107, kPrintGraph = 9;
constexpr int kShowGraph = 1, kCopyGraph = 11;
constexpr int kRunAll = 106, kRunSelection = 145, kRunNone = 146, kRunSubBase = 8000;
constexpr int kPictureIdle = 123, kPictureRunning = 124, kPictureDelete = 312,
              kPictureNoDelete = 313;
// The Simulate command of interfaces that take compiled programs, and its picture.
constexpr int kChipSimulate = 319;

const char* const kSimulateNote =
    "Para usar el interfaz, haga clic en 'Simular' en el menú 'Control' para quitar la marca de "
    "verificación.";

QString idName(int id)
{
    return QStringLiteral("id%1").arg(id);
}

}  // namespace

TFlowFrame::TFlowFrame(FrameServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      state_(std::make_unique<ProgramState>(services.messages, services.clock))
{
    setObjectName("flowFrame");
    state_->interpreter.setShell(this);
    state_->interpreter.setSound(services.sound);

    scroller_ = new QScrollArea(this);
    scroller_->setObjectName("scroller");
    flowWindow_ = new TFlowWindow(*state_, services_.messages, scroller_);
    scroller_->setWidget(flowWindow_);
    flowWindow_->setScroller(scroller_);
    scroller_->setBackgroundRole(QPalette::Dark);
    // The scroller moves in units of 10 pixels.
    scroller_->horizontalScrollBar()->setSingleStep(10);
    scroller_->verticalScrollBar()->setSingleStep(10);
    setCentralWidget(scroller_);
    messageBar_ = new TMessageBar(this);
    setStatusBar(messageBar_);

    variables_ = new TVariablesDialog(this);
    variables_->hide();
    state_->interpreter.addVariableObserver(variables_);
    state_->chip.addVariableObserver(variables_);
    speed_ = new TSpeedDialog(state_->speed, state_->colours, this);
    speed_->hide();
    interface_ = new TInterfaceDialog(state_->io, services_.messages, this);
    interface_->hide();
    monitors_ = std::make_unique<TMonitorSet>(*state_, this);
    editors_ = new TEditorSet(
        *state_, services_.messages,
        [this](const FlowLabel& l) { return flowWindow_->editor().labelBox(l); }, this);
    mimics_ = std::make_unique<TMimics>(*state_, services_.messages, monitors_->control(),
                                        *editors_, this);
    extras_ = new TFrameExtras(*state_, services_.messages, this);
    connect(editors_->output(), &TEdIoDialog::soundsRequested, extras_,
            &TFrameExtras::soundsCommand);

    graph_ = new TGraphWindow(*state_, services_.messages, this);
    graph_->setMainWindow(this);
    wireGraphWindow();

    chipRun_ = new TChipRun(*state_, services_.messages, this);
    buildMenus();
    buildToolBar();
    syncToolButtons();
    rebuildRunMenu();

    connect(&runTimer_, &QTimer::timeout, this, &TFlowFrame::timerTick);
    connect(flowWindow_, &TFlowWindow::runMenuChanged, this, [this] { rebuildRunMenu(); });
    connect(flowWindow_, &TFlowWindow::runKeyPressed, this, [this] {
        if (state_->programRunning()) runCommand();
    });
    connect(flowWindow_, &TFlowWindow::stepKeyPressed, this, [this] {
        if (state_->interpreter.running() && state_->speed.singleStep) state_->interpreter.step();
        if (chipRun_->running() && state_->speed.singleStep) chipRun_->step();
    });
    connect(chipRun_, &TChipRun::started, this, &TFlowFrame::chipStarted);
    connect(chipRun_, &TChipRun::stopped, this, &TFlowFrame::chipStopped);
    connect(chipRun_, &TChipRun::sliceDone, this, [this] { mimics_->repaintIfPending(); });
    connect(chipRun_, &TChipRun::compileFault, this, &TFlowFrame::revealSymbol);
    connect(flowWindow_, &TFlowWindow::filesDropped, this, &TFlowFrame::dropFiles);
    connect(flowWindow_, &TFlowWindow::symbolEditorRequested, editors_, &TEditorSet::openSymbol);
    connect(flowWindow_, &TFlowWindow::labelEditorRequested, editors_, &TEditorSet::openLabel);
    connect(editors_, &TEditorSet::stored, this, [this] {
        updateCaption();
        updateCommands();
    });
    connect(flowWindow_, &TFlowWindow::chartEdited, this, &TFlowFrame::scheduleRecord);
    connect(flowWindow_, &TFlowWindow::breakpointRequested, this, &TFlowFrame::toggleBreakpoint);
    connect(flowWindow_, &TFlowWindow::editingChanged, this, [this] {
        syncToolButtons();
        updateCommands();
    });
    connect(speed_, &TSpeedDialog::intervalChanged, this, [this] {
        if (state_->interpreter.running()) restartRunTimer();
        chipRun_->restartTimer();
    });
    connect(interface_, &TInterfaceDialog::selectionApplied, monitors_.get(),
            &TMonitorSet::relabel);
    connect(speed_, &TSpeedDialog::chartFocusRequested, this, [this] { flowWindow_->setFocus(); });
    connect(speed_, &TSpeedDialog::marksChanged, this, [this] {
        state_->interpreter.redrawMarks();
        state_->chip.redrawMarks();
        flowWindow_->update();
    });

    updateCaption();
    updateCommands();
}

TFlowFrame::~TFlowFrame()
{
    runTimer_.stop();
    state_->io.setLinkShell(nullptr);
    state_->interpreter.setShell(nullptr);
    state_->interpreter.setMarks(nullptr);
    state_->chip.setMarks(nullptr);
    // Before the program state whose simulator it drives.
    delete chipRun_;
    chipRun_ = nullptr;
    // Before the capture and the sensors it observes.
    delete graph_;
    graph_ = nullptr;
    state_->doc.setObserver(nullptr);
}

// ---- Menus and tool bar -----------------------------------------------------------

QAction* TFlowFrame::addCommand(QMenu* menu, int id, const char* text, const char* hint)
{
    auto* a = new QAction(QString::fromUtf8(text), this);
    a->setObjectName(idName(id));
    if (hint) a->setStatusTip(QString::fromUtf8(hint));
    if (menu) menu->addAction(a);
    actions_[id] = a;
    return a;
}

QAction* TFlowFrame::action(int id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void TFlowFrame::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QString::fromUtf8("&Archivo"));
    connect(addCommand(file, kNew, "&Nuevo", "Borra la pantalla para un diagrama de flujo nuevo"),
            &QAction::triggered, this, &TFlowFrame::newCommand);
    connect(addCommand(file, kOpen, "&Abrir...", "Abre un diagrama de flujo que ya existe"),
            &QAction::triggered, this, &TFlowFrame::openCommand);
    connect(addCommand(file, kSave, "&Guardar", "Guarda el diagrama que está en uso"),
            &QAction::triggered, this, [this] { saveCommand(); });
    connect(addCommand(file, kSaveAs, "Guardar &como...",
                       "Guarda el diagrama que está en uso con un nombre nuevo"),
            &QAction::triggered, this, [this] { saveAsCommand(); });
    file->addSeparator();
    // In a menu of their own: "&Configurar impresión..." and "Guardar &como..."
    // would share a letter.
    QMenu* print = file->addMenu(QString::fromUtf8("&Impresión"));
    print->setObjectName("printMenu");
    connect(addCommand(print, kPrint, "&Imprimir...", "Imprima el diagrama de flujo"),
            &QAction::triggered, extras_, &TFrameExtras::printCommand);
    connect(addCommand(print, kPrintGraph, "Imprimir &Gráfica...", nullptr), &QAction::triggered,
            extras_, &TFrameExtras::printGraphCommand);
    connect(addCommand(print, kPrintSetup, "&Configurar impresión...",
                       "Permita que la configuración de la impresora se cambie"),
            &QAction::triggered, extras_, &TFrameExtras::printSetupCommand);
    file->addSeparator();
    connect(addCommand(file, kMimicsDirectory, "Poner &Directorio de Mímicas...", nullptr),
            &QAction::triggered, this, [this] { mimics_->setMimicsDirectory(); });
    file->addSeparator();
    connect(addCommand(file, kExit, "&Salir", "Sale de Tarvel"), &QAction::triggered, this,
            &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QString::fromUtf8("&Editar"));
    edit->setObjectName("editMenu");
    addHistoryCommands(edit);
    connect(addCommand(edit, kCopyChart, "&Copiar diagrama de flujo",
                       "Copia el diagrama flujo al portapapeles"),
            &QAction::triggered, this, [this] { copyChart(false); });
    connect(addCommand(edit, kCopySelection, "Copiar &selección", nullptr), &QAction::triggered,
            this, [this] { copyChart(true); });
    connect(addCommand(edit, kCopyGraph, "Copiar &gráfica", nullptr), &QAction::triggered, this,
            &TFlowFrame::copyGraphCommand);
    edit->addSeparator();
    deleteButton_ =
        new TFlexButtonGadget(kPictureNoDelete, kDelete, QString::fromUtf8("&Borrar"), this);
    actions_[kDelete] = deleteButton_;
    edit->addAction(deleteButton_);
    connect(deleteButton_, &QAction::triggered, this, &TFlowFrame::deleteCommand);
    addBreakpointCommand(edit);
    edit->addSeparator();
    // In a menu of their own, so that every entry of "&Editar" keeps its own letter.
    QMenu* align = edit->addMenu(QString::fromUtf8("&Alinear"));
    align->setObjectName("alignMenu");
    const struct {
        AlignMode mode;
        const char* text;
        const char* hint;
    } aligns[] = {{AlignMode::Centre, "&Centrar", "Junta y centra los etiquetas"},
                  {AlignMode::Left, "&Izquierda", "Alinea los etiquetas a la izquierda"},
                  {AlignMode::Right, "&Derecha", "Alinea los etiquetas a la derecha"},
                  {AlignMode::Top, "&Superficie", "Alinea los etiquetas al superficie"},
                  {AlignMode::Bottom, "&Fondo", "Alinea los etiquetas al fondo"}};
    for (const auto& a : aligns) {
        const AlignMode mode = a.mode;
        connect(addCommand(align, static_cast<int>(mode), a.text, a.hint), &QAction::triggered,
                this, [this, mode] {
                    if (state_->programRunning() || flowWindow_->moving()) return;
                    pendingStepName_ = "alinear etiquetas";
                    flowWindow_->editor().align(mode);
                    flowWindow_->update();
                    updateCaption();
                });
    }
    edit->addSeparator();
    QAction* scroll = addCommand(edit, kAutoScroll, "&Desplazar Automáticamente", nullptr);
    scroll->setCheckable(true);
    scroll->setChecked(flowWindow_->autoScroll());
    auto scrollHint = [scroll](bool on) {
        scroll->setStatusTip(QString::fromUtf8(on ? kAutoScrollOffHint : kAutoScrollOnHint));
    };
    scrollHint(scroll->isChecked());
    connect(scroll, &QAction::toggled, this, [this, scrollHint](bool on) {
        flowWindow_->setAutoScroll(on);
        scrollHint(on);
    });

    QMenu* control = menuBar()->addMenu(QString::fromUtf8("&Control"));
    addSimulateCommand(control);
    runWhat_ = control->addMenu(QString::fromUtf8("¿Ejecutar &Qué?"));
    runWhat_->setObjectName("runWhatMenu");
    runWhatGroup_ = new QActionGroup(this);
    runWhatGroup_->setExclusive(true);
    connect(addCommand(control, kSpeed, "&Velocidad...", "Abre control de velocidad"),
            &QAction::triggered, this, [this] {
                speed_->show();
                speed_->raise();
            });
    QAction* chip = addCommand(control, kChipSimulate, "Simular &Chip",
                               "Ejecuta el programa compilado en el simulador del chip");
    chip->setCheckable(true);
    chip->setIcon(toolPicture(kChipSimulate));
    connect(chip, &QAction::triggered, this, &TFlowFrame::chipSimulateCommand);
    connect(addCommand(control, kInterface, "Interfaz...", "Cambia el interfaz conectado"),
            &QAction::triggered, this, &TFlowFrame::interfaceCommand);

    QMenu* window = menuBar()->addMenu(QString::fromUtf8("&Ventana"));
    connect(addCommand(window, kLargeMonitor, "Monitor &Amplio...", "Abre la ventana Monitor"),
            &QAction::triggered, this, [this] { monitors_->openLarge(); });
    connect(addCommand(window, kReducedMonitor, "Monitor &Reducido...",
                       "Esto abre la monitor reducido"),
            &QAction::triggered, this, [this] { monitors_->openReduced(); });
    connect(addCommand(window, kVariables, "&Variables...", "Abre la ventana Variables"),
            &QAction::triggered, this, [this] {
                variables_->show();
                variables_->raise();
            });
    connect(addCommand(window, kMimic, "&Mímica...", "Abre la ventana Mímica"), &QAction::triggered,
            this, [this] { mimics_->chooseMimic(); });
    connect(addCommand(window, kShowGraph, "&Gráfica...", nullptr), &QAction::triggered, graph_,
            &TGraphWindow::showGraph);
    connect(addCommand(window, kZoom, "Vista &Zoom...", nullptr), &QAction::triggered, this,
            &TFlowFrame::zoomCommand);
    connect(addCommand(window, kColours, "&Colores...", nullptr), &QAction::triggered, extras_,
            &TFrameExtras::coloursCommand);
    window->addSeparator();
    connect(addCommand(window, kSounds, "&Sonidos...", nullptr), &QAction::triggered, extras_,
            &TFrameExtras::soundsCommand);
    connect(addCommand(window, kRecorder, "Grabadora de S&onido...", nullptr), &QAction::triggered,
            extras_, &TFrameExtras::recorderCommand);

    buildGraphMenu(menuBar()->addMenu(QString::fromUtf8("&Gráfica")));

    QMenu* help = menuBar()->addMenu(QString::fromUtf8("&Ayuda"));
    help->setObjectName("helpMenu");
    connect(addCommand(help, kAbout, "&Acerca de...", "Abra un cuadrado de información"),
            &QAction::triggered, this, [this] { extras_->showSplash(false); });
}

void TFlowFrame::buildToolBar()
{
    toolBar_ = addToolBar(QString::fromUtf8("Herramientas"));
    toolBar_->setObjectName("toolBar");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->addAction(deleteButton_);
    toolBar_->addAction(action(kUndoPicture));
    toolBar_->addAction(action(kRedoPicture));
    // The nine exclusive editing tools, move/edit down at start.
    const struct {
        int id;
        EditorTool tool;
        const char* text;
        const char* hint;
    } tools[] = {
        {306, EditorTool::StartStop, "Inicie/Alto",
         "Agrega un Inicie/Alto o Sub n al diagrama de flujo"},
        {304, EditorTool::Output, "Salida", "Agrega un símbolo de Salida al diagrama"},
        {302, EditorTool::Process, "Proceso", "Agrega un símbolo de Proceso al diagrama"},
        {305, EditorTool::Decision, "Decisión", "Agrega un símbolo de Decisión al diagrama"},
        {301, EditorTool::Label, "Etiqueta", "Agrega un etiqueta al diagrama"},
        {303, EditorTool::MoveEdit, "Mover/Editar", "Edita un objeto en el diagrama de flujo"},
        {307, EditorTool::Line, "Línea", "Agrega una línea entre dos símbolos"},
        {308, EditorTool::YesLine, "Línea SI", "Agrega una línea SI entre dos símbolos"},
        {309, EditorTool::NoLine, "Línea NO", "Agrega una línea NO entre dos símbolos"}};
    for (const auto& t : tools) {
        QAction* a = addCommand(nullptr, t.id, t.text, t.hint);
        a->setIcon(toolPicture(t.id));
        a->setCheckable(true);
        a->setData(static_cast<int>(t.tool));
        toolBar_->addAction(a);
        const EditorTool tool = t.tool;
        connect(a, &QAction::triggered, this, [this, tool] {
            flowWindow_->chooseTool(tool);
            syncToolButtons();
        });
    }
    QAction* run = addCommand(nullptr, kRun, "Ejecutar", "Ejecuta el diagrama de flujo");
    run->setIcon(toolPicture(kPictureIdle));
    run->setData(kPictureIdle);
    toolBar_->addAction(run);
    connect(run, &QAction::triggered, this, &TFlowFrame::runCommand);
    toolBar_->addAction(action(kChipSimulate));
    toolBar_->addAction(action(123));
    buildDownloadCommand();
}

void TFlowFrame::syncToolButtons()
{
    // Exactly the active tool's button is down; a refused choice pops back up.
    const int active = static_cast<int>(flowWindow_->editor().tool());
    for (const int id : {306, 304, 302, 305, 301, 303, 307, 308, 309})
        if (QAction* a = action(id)) a->setChecked(a->data().toInt() == active);
    // Placing a symbol releases its tool: the next click does nothing, and
    // the placing prompt would say otherwise.
    const EditorTool tool = flowWindow_->editor().tool();
    if (tool == EditorTool::None && promptedTool_ != EditorTool::None)
        services_.messages.status({});
    promptedTool_ = tool;
}

void TFlowFrame::rebuildRunMenu()
{
    Interpreter& run = state_->interpreter;
    for (QAction* a : runWhatGroup_->actions()) {
        runWhatGroup_->removeAction(a);
        actions_.erase(a->objectName().mid(2).toInt());
        a->deleteLater();
    }
    runWhat_->clear();

    auto entry = [&](int id, const QString& text, int code) {
        auto* a = new QAction(text, this);
        a->setObjectName(idName(id));
        a->setCheckable(true);
        runWhatGroup_->addAction(a);
        runWhat_->addAction(a);
        actions_[id] = a;
        connect(a, &QAction::triggered, this, [this, code] { chooseRunMode(code); });
        return a;
    };
    entry(kRunAll, QString::fromUtf8("&Iniciar Todo"), 0);
    entry(kRunSelection, QString::fromUtf8("&Selección"), 1);

    // One entry per sub head, in number order: "3(luz)" or "3".
    const FlowDocument& doc = state_->doc;
    std::map<int, std::string> heads;
    for (int i = 0; i < doc.symbolCount(); ++i) {
        if (!doc.isSubHead(i)) continue;
        const std::string_view text = doc.symbol(i).text.view();
        const int n = subNumberOf(text);
        if (n < 1 || n > kMaxSubs || heads.count(n)) continue;
        const std::size_t open = text.find('(');
        heads[n] = open == std::string_view::npos ? std::string() : std::string(text.substr(open));
    }
    for (const auto& [n, name] : heads) {
        QString text = QString::number(n) + fromCp1252(name);
        text.replace('&', "&&");
        entry(kRunSubBase + n, text, n + 1);
    }
    if (heads.empty()) {
        QAction* none = addCommand(runWhat_, kRunNone, "Ninguno", nullptr);
        none->setEnabled(false);
        runWhatGroup_->addAction(none);
        none->setCheckable(false);
    }

    // The chosen sub stays chosen while its head is there; anything else,
    // "&Selección" included, goes back to "&Iniciar Todo".
    const RunMode mode = run.runMode;
    const bool keepSub = mode.kind == RunMode::Sub && heads.count(mode.sub);
    run.runMode = keepSub ? mode : RunMode{};
    if (QAction* a = action(keepSub ? kRunSubBase + mode.sub : kRunAll)) a->setChecked(true);
}

void TFlowFrame::chooseRunMode(int code)
{
    state_->interpreter.runMode = RunMode::fromCode(code);
}

void TFlowFrame::runModeChanged()
{
    rebuildRunMenu();
}

// ---- Captions and enabling ---------------------------------------------------------------

std::string TFlowFrame::fileName() const
{
    return state_->doc.untitled() ? std::string() : state_->doc.fileName();
}

void TFlowFrame::updateCaption()
{
    // While running the title stands alone; the file name returns at the stop.
    if (state_->programRunning()) {
        setWindowTitle(QString::fromUtf8(kRunningTitle));
        return;
    }
    QString caption = QString::fromUtf8(kProgramTitle);
    const std::string name = fileName();
    if (!name.empty()) caption += QStringLiteral(" - ") + QString::fromStdString(name);
    setWindowTitle(caption);
}

void TFlowFrame::updateCommands()
{
    const bool running = state_->programRunning();
    const bool busy = running || state_->downloading();
    for (const int id :
         {kNew, kPrint, kPrintSetup, kSave, kCopyChart, kSaveAs, kZoom, kOpen, kInterface, kMimic})
        if (QAction* a = action(id)) a->setEnabled(!busy);
    const FlowDocument& doc = state_->doc;
    const bool selection = !doc.selectedSymbols().empty() || !doc.selectedLabels().empty();
    action(kCopySelection)->setEnabled(selection && !running);
    const bool canDelete = flowWindow_->editor().canDelete() && !busy;
    for (const int id : {170, 171, 172, 173, 174})
        if (QAction* a = action(id)) a->setEnabled(!doc.selectedLabels().empty() && !running);
    QAction* del = action(kDelete);
    del->setEnabled(canDelete);
    deleteButton_->setPicture(canDelete ? kPictureDelete : kPictureNoDelete);
    del->setStatusTip(
        QString::fromUtf8(canDelete ? "Borra el objeto actual"
                                    : "Cuando esté destacado borrará el objeto seleccionado"));
    action(kRun)->setEnabled(!state_->downloading());
    syncChipCommand();
    syncDownloadCommand();
    updateSimulateCommand();
    updateGraphCommands();
    updateHistoryCommands();
}

void TFlowFrame::syncChipCommand()
{
    QAction* chip = action(kChipSimulate);
    const bool offered = modelTraits(state_->io.settings).chipPrograms;
    chip->setVisible(offered);
    // While a chip program runs the command stops it.
    chip->setEnabled(offered && !state_->interpreter.running() && !state_->downloading());
    chip->setChecked(chipRun_->running());
}

void TFlowFrame::warn(const char* text)
{
    services_.messages.tell(caption::Warning, text, MsgIcon::Exclamation);
}

// ---- Start-up ------------------------------------------------------------------------------

void TFlowFrame::startUp(const AppConfiguration& config)
{
    config_ = config;
    state_->speed.interval = std::max(kMinInterval, config.interval);
    state_->speed.multiplicity = std::max(1, config.multiplicity);
    for (int n = 0; n < kComPorts; ++n)
        portNames_.setDevice(n, config.comDevices[static_cast<std::size_t>(n)]);
    wireLink();
    ports_ = probePorts(services_.ports, portNames_, -2, PortPresence{});

    InterfaceLayer& io = state_->io;
    io.settings = startupInterfaceSettings(config.configPath, services_.messages);
    io.setSensorsDirectory(config.sensorsDir);
    if (config.firmataRefusal) {
        config.firmataRefusal->show(services_.messages);
        io.setFirmataPinMap(*config.firmataRefusal);
    } else {
        io.setFirmataPinMap(config.firmataPins);
    }
    io.flags.simulate = true;
    io.applySelection();
    adjustStartupPort(io.settings, ports_);
    interface_->setConfigPath(config.configPath);
    extras_->setConfiguration(config);
    mimics_->setDirectory(config.mimicsDir);
    state_->doc.clear(io.settings.model, io.settings.subModel);
    state_->sensors.adoptDocument(true);  // "Val 1" to "Val 4"

    keepWideEnough();
    // Full-screen width up to 1364; the height of the screen less the bars.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const int captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int width = std::min(area.width(), 1364);
        const int height = std::clamp(area.height() + captionHeight - 122, 480, 1972);
        resize(width, height);
        move(0, 0);
    }
    rebuildRunMenu();
    updateCaption();
    updateCommands();
}

bool TFlowFrame::afterSplash(const std::string& startupFile)
{
    const InterfaceSettings& s = state_->io.settings;
    if (s.mode == 1 && !modelTraits(s).usesChipEntry)
        services_.messages.tell(caption::Message, kSimulateNote, MsgIcon::Information);
    return startupFile.empty() || loadChart(startupFile, true);
}

// ---- Files -------------------------------------------------------------------------------------

bool TFlowFrame::closingChecks()
{
    const InterfaceLayer& io = state_->io;
    if (state_->downloading() && io.settings.mode == 1) {
        const std::string_view target = modelTraits(io.settings).downloadTarget;
        if (!target.empty())
            warn(("No se puede cerrar mientras esté bajando a " + std::string(target)).c_str());
        return false;
    }
    if (state_->programRunning()) runCommand();
    if (state_->doc.modified()) {
        const MsgAnswer a =
            services_.messages.show("El diagrama de flujo ha sido modificado", "¿Quiere guardar?",
                                    MsgIcon::Question, MsgButtons::YesNoCancel);
        if (a == MsgAnswer::Cancel) return false;
        // A save that did not happen keeps the chart: nothing is lost silently.
        if (a == MsgAnswer::Yes && !saveCommand(true)) return false;
    }
    state_->io.allOff();
    return true;
}

bool TFlowFrame::loadChart(const std::string& path, bool silent)
{
    FlowLoadContext context;
    context.current = state_->io.settings;
    const SensorTable& sensors = state_->sensors.table();
    context.sensorKnown = [&sensors](int id) { return sensors.lastWithId(id) >= 0; };
    flowWindow_->setLoading(true);
    const Result<FlowFileInfo> loaded =
        loadFlowFile(state_->doc, path, context, services_.messages, silent);
    flowWindow_->setLoading(false);
    if (!loaded) return false;
    loadBreakpoints(path, state_->doc, services_.messages);
    state_->sensors.adoptDocument(false);
    state_->doc.clearSelection();
    documentReplaced();
    // Once the chart is in place: the question about the set it names.
    if (loaded->hasMimic) mimics_->offerMimic(loaded->mimic);
    return true;
}

// Every window that shows part of the chart starts again from the new one:
// the flowchart window (which abandons a line being drawn and anything on the
// move, for their indices belong to the old chart), the symbol panels, the
// monitors, the run menu, the caption and the commands.
void TFlowFrame::documentReplaced()
{
    history_.reset(state_->doc);
    flowWindow_->documentReplaced();
    extras_->documentReplaced();
    editors_->closeAll();
    monitors_->refreshFromDocument();
    rebuildRunMenu();
    updateCaption();
    updateCommands();
    flowWindow_->update();
}

void TFlowFrame::newCommand()
{
    if (flowWindow_->moving()) {
        warn("No se puede hacer un diagrama nuevo mientras hay movimiento");
        return;
    }
    if (!closingChecks()) return;
    // The graph's data goes too, after the question of "&Borrar Gráfica".
    if (state_->capture.sampleCount() > 0) state_->capture.askAndClear(services_.messages);
    state_->doc.clear(state_->io.settings.model, state_->io.settings.subModel);
    state_->sensors.adoptDocument(true);
    documentReplaced();
}

void TFlowFrame::openCommand()
{
    if (flowWindow_->moving()) {
        warn("No se puede abrir un archivo nuevo mientras hay movimiento");
        return;
    }
    if (!closingChecks()) return;
    const std::string path = services_.files.chooseOpen(config_.fileDir);
    if (path.empty()) return;
    loadChart(path, false);
}

bool TFlowFrame::saveCommand(bool fromQuestion)
{
    extras_->takeSoundFields();
    if (state_->doc.untitled()) return saveAsCommand(fromQuestion);
    recordEdit();
    const bool ok =
        saveFlowFile(state_->doc, state_->doc.path(), state_->io.settings, services_.messages).ok();
    if (ok) {
        history_.markSaved();
        saveBreakpoints(state_->doc.path(), state_->doc, services_.messages);
    }
    updateCaption();
    updateHistoryCommands();
    if (ok && !fromQuestion) remindOfGraphData();
    return ok;
}

bool TFlowFrame::saveAsCommand(bool fromQuestion)
{
    extras_->takeSoundFields();
    const std::string proposed = state_->doc.untitled() ? std::string() : state_->doc.path();
    std::string path = services_.files.chooseSave(config_.fileDir, proposed);
    if (path.empty()) return false;
    // The default extension when the name has none.
    const std::size_t slash = path.find_last_of("/\\");
    if (path.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
        path += ".FLO";
    recordEdit();
    const bool ok = saveFlowFile(state_->doc, path, state_->io.settings, services_.messages).ok();
    if (ok) {
        history_.markSaved();
        saveBreakpoints(path, state_->doc, services_.messages);
    }
    updateCaption();
    updateHistoryCommands();
    if (ok && !fromQuestion) remindOfGraphData();
    return ok;
}

void TFlowFrame::dropFiles(const QStringList& paths)
{
    if (paths.isEmpty()) return;
    if (flowWindow_->moving()) {
        warn("No se puede abrir un archivo nuevo mientras hay movimiento");
        return;
    }
    if (paths.size() > 1)
        warn("Tarvel solo puede mantener un archivo a la vez - solo se abre la primera");
    const QString first = paths.first();
    if (!first.endsWith(QStringLiteral(".FLO"), Qt::CaseSensitive)) {
        warn("Tarvel solo puede leer archivos de Tarvel [.FLO]");
        return;
    }
    if (!closingChecks()) return;
    loadChart(first.toStdString(), false);
}

void TFlowFrame::closeEvent(QCloseEvent* event)
{
    if (!closingChecks() || !graphDataMayGo()) {
        event->ignore();
        return;
    }
    runTimer_.stop();
    // From here a failure on the line is not worth a message.
    state_->io.flags.closing = true;
    event->accept();
}

// ---- Running
// -----------------------------------------------------------------------------------------

void TFlowFrame::runCommand()
{
    if (flowWindow_->moving()) {
        warn("Tiene que terminar de mover primeramente");
        return;
    }
    Interpreter& run = state_->interpreter;
    if (run.running()) {
        run.stop();
        return;
    }
    if (chipRun_->running()) {
        chipRun_->stop();
        return;
    }
    flowWindow_->editor().setRunTool();
    syncToolButtons();
    // The boards and chips that take programs run the compiled chart.
    if (modelTraits(state_->io.settings).runCompiles) {
        chipRun_->toggle();
    } else {
        extras_->takeSoundFields();
        run.start();
    }
}

void TFlowFrame::chipSimulateCommand()
{
    if (flowWindow_->moving()) {
        warn("Tiene que terminar de mover primeramente");
        syncChipCommand();
        return;
    }
    if (!chipRun_->running()) {
        flowWindow_->editor().setRunTool();
        syncToolButtons();
    }
    chipRun_->toggle();
    syncChipCommand();
}

void TFlowFrame::chipStarted()
{
    showRunButton(true);
    // The reduced monitor, unless a monitor is in sight already.
    if (!monitors_->anyVisible()) monitors_->openReduced();
    mimics_->refresh();
    if (state_->speed.singleStep) flowWindow_->setFocus();
    updateCaption();
    updateCommands();
}

void TFlowFrame::chipStopped()
{
    showRunButton(false);
    mimics_->refresh();
    updateCaption();
    updateCommands();
}

void TFlowFrame::revealSymbol(int symbol)
{
    FlowDocument& doc = state_->doc;
    if (symbol < 0 || symbol >= doc.symbolCount()) return;
    doc.clearSelection();
    doc.selectSymbol(symbol);
    const Rect bounds = FlowDocument::symbolBounds(doc.symbol(symbol));
    flowWindow_->invalidate(bounds);
    const QRect r = flowWindow_->deviceRect(bounds);
    scroller_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 20,
                             r.height() / 2 + 20);
    updateCommands();
}

void TFlowFrame::showRunButton(bool running)
{
    QAction* run = action(kRun);
    run->setIcon(toolPicture(running ? kPictureRunning : kPictureIdle));
    run->setData(running ? kPictureRunning : kPictureIdle);
    run->setText(QString::fromUtf8(running ? "Parar" : "Ejecutar"));
    run->setStatusTip(
        QString::fromUtf8(running ? "Para el diagrama de flujo" : "Ejecuta el diagrama de flujo"));
}

void TFlowFrame::timerTick()
{
    state_->interpreter.timerTick();
}

void TFlowFrame::restartRunTimer()
{
    runTimer_.stop();
    if (!state_->speed.singleStep) runTimer_.start(state_->speed.interval);
}

void TFlowFrame::runStarted()
{
    showRunButton(true);
    restartRunTimer();
    if (!monitors_->anyVisible() && !mimics_->windowVisible()) monitors_->openReduced();
    mimics_->refresh();
    if (state_->speed.singleStep) flowWindow_->setFocus();
    updateCaption();
    updateCommands();
}

void TFlowFrame::runStopped()
{
    runTimer_.stop();
    showRunButton(false);
    mimics_->refresh();
    updateCaption();
    updateCommands();
}

void TFlowFrame::passDone()
{
    mimics_->repaintIfPending();
}

void TFlowFrame::showFailingSymbol(int symbol)
{
    FlowDocument& doc = state_->doc;
    doc.clearSelection();
    doc.selectSymbol(symbol);
    if (symbol >= 0 && symbol < doc.symbolCount()) {
        const Rect bounds = FlowDocument::symbolBounds(doc.symbol(symbol));
        flowWindow_->invalidate(bounds);
        const QRect r = flowWindow_->deviceRect(bounds);
        scroller_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 20,
                                 r.height() / 2 + 20);
        editors_->openSymbol(symbol);
    }
    updateCommands();
}

// ---- Other commands
// -------------------------------------------------------------------------------------

void TFlowFrame::deleteCommand()
{
    if (state_->programRunning() || state_->downloading()) return;
    // Deleting renumbers the symbols and labels a panel may be editing.
    editors_->closeAll();
    flowWindow_->editor().deleteCommand();
    flowWindow_->update();
    updateCommands();
}

void TFlowFrame::zoomCommand()
{
    if (flowWindow_->moving()) {
        warn("Antes de aumentar o reducir debe terminar el movimiento");
        return;
    }
    TScaleDialog dialog(flowWindow_->zoom(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    applyZoom(dialog.chosenZoom());
}

void TFlowFrame::applyZoom(int tenths)
{
    flowWindow_->setZoom(tenths);
    keepWideEnough();
    // The window wants the whole drawing at the new scale, within the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int width = std::min(kDrawingWidth * tenths / 10 + 54, area.width());
        const int height =
            std::clamp(kDrawingHeight * tenths / 10 + 66, 480, std::max(480, area.height() - 122));
        resize(width, height);
    }
}

void TFlowFrame::keepWideEnough()
{
    // However small the zoom, the whole tool bar stays in sight (the run
    // button must not drop into its overflow menu) and the reduced monitor
    // fits along the bottom of the chart's area; the screen has the last word.
    int want = std::max({toolBar_->sizeHint().width(), menuBar()->sizeHint().width(),
                         TManualMonitorDialog::kFullWidth});
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const int borders = frameGeometry().width() - width();
        want = std::min(want, screen->availableGeometry().width() - borders);
    }
    setMinimumWidth(want);
}

void TFlowFrame::copyChart(bool selectionOnly)
{
    QMimeData* picture = makeChartPicture(state_->doc, state_->colours, selectionOnly);
    if (!picture) return;
    QGuiApplication::clipboard()->setMimeData(picture);
}

void TFlowFrame::interfaceCommand()
{
    InterfaceLayer& io = state_->io;
    const int oldNumbering = io.settings.numbering;
    ports_ = probePorts(services_.ports, portNames_, io.settings.port, ports_);
    interface_->setPortsPresent(ports_);
    interface_->loadFromSettings();
    if (interface_->exec() != QDialog::Accepted) return;
    if (state_->doc.renumberIo(oldNumbering, io.settings.numbering)) {
        // The steps kept hold the numbers in the old numbering: undoing into
        // one would mix the two, so the history starts again from here.
        history_.reset(state_->doc);
        updateHistoryCommands();
        flowWindow_->update();
    }
    const InterfaceSettings& s = io.settings;
    if (s.mode == 1 && io.flags.simulate && !modelTraits(s).runCompiles)
        services_.messages.tell(caption::Message, kSimulateNote, MsgIcon::Information);
    updateCommands();
}

}  // namespace tarvel
