#pragma once
// The application object: Spanish texts for Qt's own dialogs, the ports of
// the running program, the configuration and the start-up order.

#include <QStringList>
#include <QTranslator>
#include <memory>
#include <string>

#include "app/file_chooser.h"
#include "app/startup_arguments.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_serial_link.h"
#include "platform/qt/qt_sound_player.h"

class QApplication;

namespace tarvel {

class TFlowFrame;

class TFlowApp {
public:
    // `arguments` come from the command line: the chart to open after start-up
    // and whether to end once it is loaded.
    TFlowApp(QApplication& app, StartupArguments arguments);

    // The splash is shown unless the command line says --no-splash, the
    // program only checks that it starts, or there is no screen to show it on.
    static bool splashWanted(const StartupArguments& arguments);
    ~TFlowApp();

    TFlowFrame& frame() { return *frame_; }
    QtMessages& messages() { return messages_; }

    // Loads Qt's own Spanish translations; false when they are not installed.
    static bool installSpanish(QApplication& app, QTranslator& translator);

private:
    // The folder of the chart in memory, where its sounds are looked for too.
    std::string chartDirectory() const;

    QTranslator translator_;
    QtMessages messages_;
    QtClock clock_;
    QtFileChooser files_;
    QtSerialLink ports_;
    QtSoundPlayer sound_;
    std::unique_ptr<TFlowFrame> frame_;
};

}  // namespace tarvel
