// tarvel run --interface: a chart run on the real clock against the box on a
// port, as the window runs it with "&Simular" cleared: the family's start-up
// and the sensors identified, then a tick every Interval ms with every
// exchange the window's run makes, the keep-alives between the ticks, and
// everything off at the stop. Questions are answered Cancel: nobody is there
// to press the box's reset.

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <map>
#include <thread>

#include "interfaces/firmata_pin_map.h"
#include "interfaces/model_traits.h"
#include "interfaces/protocols/protocol_context.h"
#include "mimic_trace.h"
#include "platform/qt/qt_serial_link.h"
#include "platform/utf8_path.h"
#include "run_trace.h"
#include "sensors/sensor_channels.h"
#include "steady_clock.h"
#include "tool_common.h"

namespace tarvel::tool {

namespace {

// The window's keep-alive timers, fired by the clock between the ticks.
class KeepAliveTimers final : public LinkShell {
public:
    explicit KeepAliveTimers(Clock& clock) : clock_(clock) {}

    void startKeepAlive(int timerId, int periodMs) override
    {
        timers_[timerId] = {periodMs, clock_.nowMs() + periodMs};
    }
    void stopKeepAlive(int timerId) override { timers_.erase(timerId); }

    // Sleeps until `until`, firing the keep-alives that fall due meanwhile.
    void waitUntil(std::int64_t until, InterfaceLayer& io)
    {
        for (;;) {
            int due = 0;
            std::int64_t at = until;
            for (const auto& [id, t] : timers_)
                if (t.next < at) {
                    at = t.next;
                    due = id;
                }
            clock_.sleepMs(at - clock_.nowMs());
            if (due == 0) return;
            Timer& t = timers_[due];
            t.next = std::max(t.next + t.period, clock_.nowMs());
            io.keepAlive(due);
        }
    }

private:
    struct Timer {
        int period = 0;
        std::int64_t next = 0;
    };
    Clock& clock_;
    std::map<int, Timer> timers_;
};

// The settings the interface dialog would give: the model's forced
// numbering and level, the chart's where the dialog leaves a choice.
InterfaceSettings liveSettings(const RunOptions& o, InterfaceSettings s)
{
    setLivePort(s, o.port);
    s.model = o.model;
    s.subModel = o.subModel;
    const ChoiceRule& rule = choiceRule(modelTraits(s).choice);
    if (rule.numbering != ChoiceRule::kChosen && !o.numbering) s.numbering = rule.numbering;
    if (rule.highLow != ChoiceRule::kChosen) s.highLow = rule.highLow;
    return s;
}

// The folder that stands for the Windows directory, as the program finds it.
std::string windowsDirectory()
{
    if (const QString forced = qEnvironmentVariable("TARVEL_WINDIR"); !forced.isEmpty())
        return forced.toStdString();
#ifdef _WIN32
    return qEnvironmentVariable("WINDIR", QStringLiteral("C:/Windows")).toStdString();
#else
    if (const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME"); !xdg.isEmpty())
        return xdg.toStdString();
    return (QDir::homePath() + QStringLiteral("/.config")).toStdString();
#endif
}

bool selectionHasStart(const FlowDocument& doc, const std::vector<int>& selection)
{
    for (const int i : selection)
        if (i >= 0 && i < doc.symbolCount() && doc.symbol(i).kind == SymbolKind::StartStop &&
            doc.symbol(i).text.at(2) == 'a')
            return true;
    return false;
}

}  // namespace

int liveRun(const RunOptions& o)
{
    InterfaceSettings chartSettings;
    if (!readChartSettings(o.chart, o.numbering, chartSettings)) return 1;
    const InterfaceSettings settings = liveSettings(o, chartSettings);

    int argc = 1;
    char name[] = "tarvel";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    std::cout << std::unitbuf;
    SteadyClock clock;
    ScriptedMessages messages;
    messages.cancelQuestions = true;
    QtSerialLink link;
    ProgramState state(messages, clock);
    InterfaceLayer& io = state.io;
    KeepAliveTimers timers(clock);
    io.setLinkShell(&timers);
    attachLiveInterface(io, link, settings, o.port, o.sensorsDir);
    if (modelTraits(settings).usesPinMap) {
        // The board pins of the initialisation file, as the program reads them.
        const Result<FirmataPinMap> pins = loadFirmataPinMap(pathFromUtf8(windowsDirectory()));
        if (!pins) {
            std::cerr << pins.refusal().text << '\n';
            return 1;
        }
        io.setFirmataPinMap(pins);
    }
    io.applySelection();
    if (modelTraits(settings).protocol == ProtocolFamily::None || !io.canGoLive()) {
        std::cerr << "El interfaz " << o.model << ':' << o.subModel
                  << " no se puede usar con --interface.\n";
        return 1;
    }
    FlowDocument& doc = state.doc;
    FlowFileInfo info;
    if (!loadChart(o.chart, io.settings, doc, info)) return 1;
    state.sensors.adoptDocument(false);
    Interpreter& run = state.interpreter;
    EventPrinter printer(clock, io);
    if (!prepareRun(state, printer, o)) return 1;
    std::unique_ptr<MimicTrace> trace;
    if (!o.mimic.empty() && !(trace = MimicTrace::attach(o.mimic, io, run, clock, state.sensors)))
        return 1;
    if (trace) printer.setRepaint([&trace] { trace->repaint(); });
    // The box that ends the run: after a link failure the handler's, even
    // when its reconnect asked a question after it (the Sense and Control
    // start-up asks for the box's reset).
    auto lastMessage = [&] {
        for (auto m = messages.shown.rbegin(); io.failureCount() > 0 && m != messages.shown.rend();
             ++m)
            if (m->caption == caption::SerialError || m->caption == caption::Error) return m->text;
        return messages.empty() ? std::string() : messages.last().text;
    };

    // "&Simular" cleared: the family's start-up, the sensors identified.
    io.setSimulate(false);
    if (io.failureCount() > 0) {
        printer.line() << "end " << lastMessage() << '\n';
        return 0;
    }
    if (o.mode.kind == RunMode::Selection && !selectionHasStart(doc, o.selection))
        messages.answerNext(MsgAnswer::Ok);  // "¿Iniciar todos los inicies?"
    if (!run.start()) {
        printer.line() << "end " << lastMessage() << '\n';
        return 0;
    }
    printer.begin();
    std::int64_t next = clock.nowMs();
    for (int k = 1; k <= o.ticks && run.running() && !printer.held(); ++k) {
        next += o.interval;
        timers.waitUntil(next, io);
        run.stopOnLinkFailure();
        if (!run.running()) break;
        run.timerTick();
        run.stopOnLinkFailure();
        // Like a window timer, a tick that ran late is not made up for.
        next = std::max(next, clock.nowMs());
    }
    const bool failed = io.failureCount() > 0;
    if (failed && run.running()) run.stopOnLinkFailure();
    if (failed && !run.running()) {
        printer.line() << "end " << lastMessage() << '\n';
        return 0;
    }
    printEnd(printer, run, lastMessage());
    return 0;
}

}  // namespace tarvel::tool
