#include "app/flow_frame.h"

#include <QScrollArea>
#include <QStatusBar>

#include "flowchart/ui/flow_window.h"

namespace tarvel {

TFlowFrame::TFlowFrame(Messages& messages, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("flowFrame");
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName("scroller");
    flowWindow_ = new TFlowWindow(messages, scroller);
    scroller->setWidget(flowWindow_);
    scroller->setBackgroundRole(QPalette::Dark);
    setCentralWidget(scroller);
    statusBar()->setObjectName("statusBar");
    resize(800, 600);
}

}  // namespace tarvel
