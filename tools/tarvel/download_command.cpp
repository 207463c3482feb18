// tarvel download: compiles a chart for the chip system or the Quillo box and
// downloads it to the box on a port, as the window's download command does.
// The progress is a bar on a terminal, else a line per tenth of the program;
// "Se terminó el descargue" ends a good download. Every message goes to
// stderr; the question of the connect step is answered Cancel, for nobody is
// there to stop a program that runs on the box.

#include <QCoreApplication>
#include <cstdio>
#include <iostream>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "chip/chip_download.h"
#include "chip/chip_session.h"
#include "engine/program_state.h"
#include "platform/qt/qt_serial_link.h"
#include "steady_clock.h"
#include "tool_common.h"

namespace tarvel::tool {

namespace {

struct DownloadOptions {
    bool modelGiven = false;
    int model = 0;
    int subModel = 0;
    std::string sensorsDir = defaultSensorsDir();
    std::string port;
    std::string chart;
};

bool parseDownloadOptions(const std::vector<std::string>& args, DownloadOptions& o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--model" && hasValue) {
            if (!parseModel(args[++i], o.model, o.subModel)) return false;
            o.modelGiven = true;
        } else if (a == "--sensors" && hasValue) {
            o.sensorsDir = args[++i];
        } else if (a == "--port" && hasValue) {
            o.port = args[++i];
        } else if (a.rfind("--", 0) == 0 || !o.chart.empty()) {
            return false;
        } else {
            o.chart = a;
        }
    }
    return !o.chart.empty() && !o.port.empty();
}

bool onTerminal()
{
#ifdef _WIN32
    return false;
#else
    return isatty(STDOUT_FILENO) == 1;
#endif
}

// The progress on stdout: a bar redrawn in place on a terminal, else one
// line as each tenth of the addresses is done.
class ProgressPrinter final : public DownloadProgress {
public:
    explicit ProgressPrinter(bool bar) : bar_(bar) {}

    void transferStarted(int addresses) override
    {
        addresses_ = addresses;
        done_ = 0;
        shown_ = bar_ ? -1 : 0;
        if (bar_) draw(0);
    }
    void gaugeMoved(int /*position*/) override
    {
        const int percent = ++done_ * 100 / addresses_;
        if (bar_) {
            if (percent != shown_) draw(percent);
        } else {
            for (; shown_ + 10 <= percent; shown_ += 10)
                std::cout << shown_ + 10 << " %" << std::endl;
        }
    }
    void downloadDone() override
    {
        endLine();
        std::cout << kDownloadDoneText << std::endl;
    }
    // A message comes: the bar's line is ended first.
    void endLine()
    {
        if (!midLine_) return;
        std::cout << std::endl;
        midLine_ = false;
    }

private:
    void draw(int percent)
    {
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::cout << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << percent
                  << " %" << std::flush;
        shown_ = percent;
        midLine_ = true;
    }

    bool bar_;
    bool midLine_ = false;
    int addresses_ = 1;
    int done_ = 0;
    int shown_ = 0;
};

}  // namespace

int downloadCommand(const std::vector<std::string>& args)
{
    DownloadOptions o;
    if (!parseDownloadOptions(args, o)) return usage();
    InterfaceSettings settings;
    if (!readChartSettings(o.chart, std::nullopt, settings)) return 1;
    if (o.modelGiven) {
        settings.model = o.model;
        settings.subModel = o.subModel;
    }
    setLivePort(settings, o.port);
    if (!modelTraits(settings).chipPrograms) {
        std::cerr << "El interfaz " << settings.model << ':' << settings.subModel
                  << " no recibe programas.\n";
        return 1;
    }

    int argc = 1;
    char name[] = "tarvel";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    ProgressPrinter progress(onTerminal());
    ScriptedMessages messages([&progress](const ShownMessage& box) {
        progress.endLine();
        std::cerr << box.text << '\n';
    });
    SteadyClock clock;
    QtSerialLink link;
    ProgramState state(messages, clock);
    InterfaceLayer& io = state.io;
    attachLiveInterface(io, link, settings, o.port, o.sensorsDir);
    io.applySelection();
    FlowFileInfo info;
    if (!loadChart(o.chart, io.settings, state.doc, info)) return 1;
    state.sensors.adoptDocument(false);

    // The warning about many starts takes its default (OK), as `tarvel compile`
    // has it; the connect question is answered Cancel.
    const ChipCompileResult compiled = compileForChosenChip(state, messages);
    if (!compiled.program) return 1;
    messages.cancelQuestions = true;
    ChipDownload download(io, clock, messages);
    download.setProgress(&progress);
    return download.send(compiled.program->image) == DownloadOutcome::Done ? 0 : 1;
}

}  // namespace tarvel::tool
