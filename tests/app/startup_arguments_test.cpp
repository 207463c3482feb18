// The command line of the program: the chart to open and the option that ends
// the program once it is loaded.

#include "app/startup_arguments.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(StartupArguments, TheFirstArgumentThatIsNotTheOptionNamesTheChart)
{
    const QString program = "/usr/bin/Tarvel2Esp";
    struct Case {
        QStringList arguments;
        std::string chart;
        bool quit;
    };
    const Case cases[] = {
        {{program}, "", false},
        {{program, "/home/aula/Semáforo.FLO"}, "/home/aula/Semáforo.FLO", false},
        {{program, "--quit-after-load", "FARO.FLO"}, "FARO.FLO", true},
        {{program, "FARO.FLO", "--quit-after-load"}, "FARO.FLO", true},
        {{program, "--quit-after-load"}, "", true},
        // Only the first chart is opened; any other option is taken as a name,
        // as before the option existed.
        {{program, "A.FLO", "B.FLO"}, "A.FLO", false},
        {{program, "--quit", "A.FLO"}, "--quit", false},
    };
    for (const Case& c : cases) {
        const StartupArguments parsed = parseStartupArguments(c.arguments);
        EXPECT_EQ(parsed.chartFile, c.chart) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.quitAfterLoad, c.quit) << c.arguments.join(' ').toStdString();
    }
}

TEST(StartupArguments, ALongPathIsCutAtWhatTheProgramTakes)
{
    const QString longPath = "/" + QString(300, QChar(0x00F1));  // ñ: two bytes each in UTF-8
    const StartupArguments parsed = parseStartupArguments({"Tarvel2Esp", longPath});
    // Cut in characters, never inside one: the result is whole UTF-8.
    EXPECT_EQ(QString::fromStdString(parsed.chartFile), longPath.left(kStartupPathMax));
}

}  // namespace
}  // namespace tarvel
