#pragma once
// The command line of Tarvel2Esp: an optional chart to open once the window is
// up, and "--quit-after-load", which ends the program as soon as that chart is
// loaded and painted (a check that an installation starts, and the measure of
// a cold start). Boxes are then written to stderr instead of waiting for a
// click.

#include <QStringList>
#include <string>

namespace tarvel {

inline constexpr const char* kQuitAfterLoadOption = "--quit-after-load";
// Starts without the four seconds of the splash screen (scripted starts, tests).
inline constexpr const char* kNoSplashOption = "--no-splash";

// The longest chart path the program takes from its command line.
inline constexpr int kStartupPathMax = 255;

struct StartupArguments {
    std::string chartFile;  // UTF-8; empty: none
    bool quitAfterLoad = false;
    bool splash = true;
};

// `arguments` as Qt gives them, the program itself first. The first argument
// that is not an option names the chart; any further ones are ignored.
StartupArguments parseStartupArguments(const QStringList& arguments);

}  // namespace tarvel
