#pragma once
// The application object: Spanish texts for Qt's own dialogs, the message
// port, and the main frame.

#include <memory>

#include <QTranslator>

#include "platform/qt/qt_messages.h"

class QApplication;

namespace tarvel {

class TFlowFrame;

class TFlowApp {
public:
    explicit TFlowApp(QApplication& app);
    ~TFlowApp();

    TFlowFrame& frame() { return *frame_; }
    QtMessages& messages() { return messages_; }

    // Loads Qt's own Spanish translations; false when they are not installed.
    static bool installSpanish(QApplication& app, QTranslator& translator);

private:
    QTranslator translator_;
    QtMessages messages_;
    std::unique_ptr<TFlowFrame> frame_;
};

}  // namespace tarvel
