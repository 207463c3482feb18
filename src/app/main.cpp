#include <QApplication>
#include <QStringList>

#include "app/flow_app.h"
#include "app/flow_frame.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The first argument that is no option names a chart to open after
    // start-up; --no-splash starts without the four seconds of the splash.
    const QStringList arguments = QCoreApplication::arguments();
    tarvel::TFlowApp flowApp(app, tarvel::TFlowApp::startupFileOf(arguments),
                             tarvel::TFlowApp::splashWanted(arguments));
    flowApp.frame().show();
    return app.exec();
}
