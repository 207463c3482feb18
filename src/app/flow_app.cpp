#include "app/flow_app.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>

#include "app/configuration.h"
#include "app/flow_frame.h"
#include "platform/utf8_path.h"

namespace tarvel {

TFlowApp::TFlowApp(QApplication& app, std::string startupFile)
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
    // The splash screen belongs here; what follows it runs once the window is up.
    QTimer::singleShot(20, frame_.get(),
                       [this, file = std::move(startupFile)] { frame_->afterSplash(file); });
}

TFlowApp::~TFlowApp() = default;

std::string TFlowApp::chartDirectory() const
{
    if (!frame_) return {};
    const FlowDocument& doc = frame_->state().doc;
    if (doc.untitled()) return {};
    return utf8FromPath(pathFromUtf8(doc.path()).parent_path());
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
