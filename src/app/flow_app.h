#pragma once
// The application object: Spanish texts for Qt's own dialogs, the ports of
// the running program, the configuration and the start-up order.

#include <QTranslator>
#include <memory>
#include <string>

#include "app/file_chooser.h"
#include "app/startup_arguments.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_serial_link.h"

class QApplication;

namespace tarvel {

class TFlowFrame;

class TFlowApp {
public:
    // `arguments` come from the command line: the chart to open after start-up
    // and whether to end once it is loaded.
    TFlowApp(QApplication& app, StartupArguments arguments);
    ~TFlowApp();

    TFlowFrame& frame() { return *frame_; }
    QtMessages& messages() { return messages_; }

    // Loads Qt's own Spanish translations; false when they are not installed.
    static bool installSpanish(QApplication& app, QTranslator& translator);

private:
    QTranslator translator_;
    QtMessages messages_;
    QtClock clock_;
    QtFileChooser files_;
    QtSerialLink ports_;
    std::unique_ptr<TFlowFrame> frame_;
};

}  // namespace tarvel
