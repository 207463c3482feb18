#include "app/flow_app.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "app/flow_frame.h"

namespace tarvel {

TFlowApp::TFlowApp(QApplication& app)
{
    QApplication::setApplicationName("Tarvel2");
    QApplication::setOrganizationName("Orvane");
    installSpanish(app, translator_);
    frame_ = std::make_unique<TFlowFrame>(messages_);
    messages_.setParent(frame_.get());
    messages_.setStatusBar(frame_->statusBar());
}

TFlowApp::~TFlowApp() = default;

bool TFlowApp::installSpanish(QApplication& app, QTranslator& translator)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    if (!translator.load(QLocale(QLocale::Spanish), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return app.installTranslator(&translator);
}

}  // namespace tarvel
