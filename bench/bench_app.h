#pragma once
// The application object the painting and window benchmarks need, made once
// for the whole run (offscreen unless a platform is named). It is never
// destroyed: at exit Qt's own statics may already be gone.

#include <QApplication>

namespace tarvel::bench {

inline void ensureApplication()
{
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tarvel_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

}  // namespace tarvel::bench
