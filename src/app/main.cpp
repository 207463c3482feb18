#include <QApplication>

#include "app/flow_app.h"
#include "app/flow_frame.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tarvel::TFlowApp flowApp(app);
    flowApp.frame().show();
    return app.exec();
}
