#include <QApplication>

#include "app/flow_app.h"
#include "app/flow_frame.h"
#include "app/startup_arguments.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tarvel::TFlowApp flowApp(app, tarvel::parseStartupArguments(QCoreApplication::arguments()));
    flowApp.frame().show();
    return app.exec();
}
