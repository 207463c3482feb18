#pragma once
// The benchmarks that paint need an application object (fonts, the offscreen
// platform); the first call makes one that lives until the program ends.

#include <QGuiApplication>

namespace tarvel::bench {

inline void ensureApplication()
{
    if (QGuiApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tarvel_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

}  // namespace tarvel::bench
