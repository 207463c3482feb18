#pragma once
// The application object the painting and window benchmarks need, made once
// for the whole run (offscreen unless a platform is named).

#include <QApplication>

namespace tarvel::bench {

inline void ensureApplication()
{
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tarvel_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

}  // namespace tarvel::bench
