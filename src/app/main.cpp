#include <QApplication>
#include <QStringList>

#include "app/flow_app.h"
#include "app/flow_frame.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The first argument names a chart to open after start-up (at most 255
    // characters). Taken as Qt decodes it, so the path is UTF-8 as every other
    // path of the program is; the raw argument is in the local code page on
    // Windows.
    const QStringList arguments = QCoreApplication::arguments();
    std::string startupFile;
    if (arguments.size() > 1) startupFile = arguments[1].left(255).toStdString();
    tarvel::TFlowApp flowApp(app, startupFile);
    flowApp.frame().show();
    return app.exec();
}
