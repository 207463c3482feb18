#include "app/flow_app.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>

#include "app/configuration.h"
#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

// The name of the desktop entry and of the icon installed with the program, so
// that the desktop shows the window with them.
constexpr const char* kDesktopName = "tarvel2";

}  // namespace

TFlowApp::TFlowApp(QApplication& app, StartupArguments arguments)
    : sound_([this] { return chartDirectory(); })
{
    QApplication::setApplicationName("Tarvel2");
    QApplication::setOrganizationName("Orvane");
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopName));
    QApplication::setWindowIcon(QIcon::fromTheme(QLatin1String(kDesktopName)));
    installSpanish(app, translator_);
    // Nobody is there to answer a box when the program only checks that it starts.
    messages_.setUnattended(arguments.quitAfterLoad);
    frame_ =
        std::make_unique<TFlowFrame>(FrameServices{messages_, clock_, files_, ports_, &sound_});
    messages_.setParent(frame_.get());
    messages_.setStatusBar(frame_->messageBar());
    files_.setParent(frame_.get());
    frame_->startUp(loadConfiguration(defaultDataFolder(
        QCoreApplication::applicationDirPath().toStdString(), QDir::currentPath().toStdString())));
    // Once the window is up: the splash screen, then what follows it.
    QTimer::singleShot(20, frame_.get(), [this, arguments = std::move(arguments)] {
        if (splashWanted(arguments)) frame_->extras()->showSplash(true);
        const bool loaded = frame_->afterSplash(arguments.chartFile);
        if (!arguments.quitAfterLoad) return;
        // Painted once with the chart in it, so a cold start is measured to the
        // first picture.
        frame_->repaint();
        QCoreApplication::exit(loaded ? 0 : 1);
    });
}

TFlowApp::~TFlowApp() = default;

std::string TFlowApp::chartDirectory() const
{
    if (!frame_) return {};
    const FlowDocument& doc = frame_->state().doc;
    if (doc.untitled()) return {};
    return utf8FromPath(pathFromUtf8(doc.path()).parent_path());
}

bool TFlowApp::splashWanted(const StartupArguments& arguments)
{
    if (!arguments.splash || arguments.quitAfterLoad) return false;
    return QGuiApplication::platformName() != QStringLiteral("offscreen");
}

bool TFlowApp::installSpanish(QApplication& app, QTranslator& translator)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    if (!translator.load(QLocale(QLocale::Spanish), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return app.installTranslator(&translator);
}

}  // namespace tarvel
