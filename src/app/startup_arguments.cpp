#include "app/startup_arguments.h"

namespace tarvel {

StartupArguments parseStartupArguments(const QStringList& arguments)
{
    StartupArguments parsed;
    bool haveChart = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String(kQuitAfterLoadOption)) {
            parsed.quitAfterLoad = true;
        } else if (argument == QLatin1String(kNoSplashOption)) {
            parsed.splash = false;
        } else if (!haveChart) {
            // Taken as Qt decodes it, so the path is UTF-8 as every other path
            // of the program is; the raw argument is in the local code page on
            // Windows.
            parsed.chartFile = argument.left(kStartupPathMax).toStdString();
            haveChart = true;
        }
    }
    return parsed;
}

}  // namespace tarvel
