#pragma once
// The application object: Spanish texts for Qt's own dialogs, the ports of
// the running program, the configuration and the start-up order.

#include <QStringList>
#include <QTranslator>
#include <memory>
#include <string>

#include "app/file_chooser.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_serial_link.h"
#include "platform/qt/qt_sound_player.h"

class QApplication;

namespace tarvel {

class TFlowFrame;

class TFlowApp {
public:
    // `startupFile` is the chart named on the command line (empty: none);
    // without `splash` the start-up does not wait for the splash screen.
    TFlowApp(QApplication& app, std::string startupFile, bool splash = true);

    // No splash when asked so or when there is no screen to show it on.
    static bool splashWanted(const QStringList& arguments);
    // The first argument that is no option: the chart to open.
    static std::string startupFileOf(const QStringList& arguments);
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
