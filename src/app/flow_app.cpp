#include "app/flow_app.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>

#include "app/configuration.h"
#include "app/flow_frame.h"
#include "app/frame_extras.h"
#include "platform/utf8_path.h"

namespace tarvel {

TFlowApp::TFlowApp(QApplication& app, std::string startupFile, bool splash)
    : sound_([this] { return chartDirectory(); })
{
    QApplication::setApplicationName("Tarvel2");
    QApplication::setOrganizationName("Orvane");
    installSpanish(app, translator_);
    frame_ =
        std::make_unique<TFlowFrame>(FrameServices{messages_, clock_, files_, ports_, &sound_});
    messages_.setParent(frame_.get());
    messages_.setStatusBar(frame_->messageBar());
    files_.setParent(frame_.get());
    frame_->startUp(loadConfiguration(QDir::currentPath().toStdString()));
    // Once the window is up: the splash screen, then what follows it.
    QTimer::singleShot(20, frame_.get(), [this, splash, file = std::move(startupFile)] {
        if (splash) frame_->extras()->showSplash(true);
        frame_->afterSplash(file);
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

bool TFlowApp::splashWanted(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("--no-splash"))) return false;
    return QGuiApplication::platformName() != QStringLiteral("offscreen");
}

std::string TFlowApp::startupFileOf(const QStringList& arguments)
{
    // At most 255 characters, taken as Qt decodes them, so the path is UTF-8
    // as every other path of the program is.
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(QStringLiteral("--")))
            return arguments[i].left(255).toStdString();
    return {};
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
