#include <QApplication>

#include "app/flow_app.h"
#include "app/flow_frame.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The first argument names a chart to open after start-up (at most 255 characters).
    std::string startupFile;
    if (argc > 1) startupFile = std::string(argv[1]).substr(0, 255);
    tarvel::TFlowApp flowApp(app, startupFile);
    flowApp.frame().show();
    return app.exec();
}
