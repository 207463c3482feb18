// Where a sound slot's file is found, and which recorder the pupils get.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/sound_path.h"
#include "platform/sound_recorder.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

class SoundPathTest : public ::testing::Test {
protected:
    SoundPathTest()
    {
        fs::create_directories(dir.path() / "EJEMPLOS");
        fs::create_directories(dir.path() / "Sonidos");
        std::ofstream(dir.path() / "Sonidos" / "Timbre.wav") << "RIFF";
        std::ofstream(dir.path() / "EJEMPLOS" / "pitido.wav") << "RIFF";
    }
    std::string chartDir() const { return (dir.path() / "EJEMPLOS").string(); }
    test::TempDir dir;
};

TEST_F(SoundPathTest, FindsTheFileAsWrittenOrBesideTheChartIgnoringCase)
{
    const std::string bell = (dir.path() / "Sonidos" / "Timbre.wav").string();
    EXPECT_EQ(resolveSoundPath(bell, chartDir()), bell);
    // Another case of the same absolute path.
    EXPECT_EQ(resolveSoundPath((dir.path() / "SONIDOS" / "TIMBRE.WAV").string(), chartDir()), bell);
    // Relative to the chart, written with backslashes on another system.
    EXPECT_EQ(fs::canonical(resolveSoundPath("..\\SONIDOS\\timbre.WAV", chartDir())),
              fs::canonical(bell));
    EXPECT_EQ(fs::canonical(resolveSoundPath("../sonidos/TIMBRE.wav", chartDir())),
              fs::canonical(bell));
    // A path of another machine is looked for by its name beside the chart.
    EXPECT_EQ(fs::canonical(resolveSoundPath("C:\\Escuela\\PITIDO.WAV", chartDir())),
              fs::canonical(dir.path() / "EJEMPLOS" / "pitido.wav"));
}

TEST_F(SoundPathTest, NothingIsFoundForEmptyMissingOrFolderSlots)
{
    EXPECT_EQ(resolveSoundPath("", chartDir()), "");
    EXPECT_EQ(resolveSoundPath("falta.wav", chartDir()), "");
    EXPECT_EQ(resolveSoundPath("..\\Sonidos", chartDir()), "");
    EXPECT_EQ(resolveSoundPath("C:\\", chartDir()), "");
    // An untitled chart has no folder to look in.
    EXPECT_EQ(resolveSoundPath("pitido.wav", ""), "");
}

RecorderContext linuxContext()
{
    RecorderContext c;
    c.recordDir = "/home/alumno/diagramas";
    c.stamp = "20260108-093000";
    return c;
}

TEST(SoundRecorder, TriesTheDesktopRecordersThenARecorderInATerminal)
{
    std::vector<std::string> asked;
    std::vector<RecorderCommand> started;
    const auto have = [&](std::initializer_list<const char*> programs) {
        return [&asked, programs](const std::string& p) {
            asked.push_back(p);
            for (const char* q : programs)
                if (p == q) return true;
            return false;
        };
    };
    const auto start = [&started](const RecorderCommand& c) {
        started.push_back(c);
        return true;
    };
    ASSERT_TRUE(startRecorder(linuxContext(), have({"audio-recorder", "xterm"}), start));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, "audio-recorder");
    EXPECT_EQ(asked, (std::vector<std::string>{"gnome-sound-recorder", "audio-recorder"}));

    // No desktop recorder: the command-line one in the first terminal found,
    // writing a new file beside the chart.
    started.clear();
    ASSERT_TRUE(startRecorder(linuxContext(), have({"arecord", "xterm"}), start));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0],
              (RecorderCommand{"xterm",
                               {"-e", "arecord", "-f", "cd", "-t", "wav",
                                "/home/alumno/diagramas/grabacion-20260108-093000.wav"}}));

    // A terminal without the recorder is no recorder.
    started.clear();
    EXPECT_FALSE(startRecorder(linuxContext(), have({"xterm", "x-terminal-emulator"}), start));
    EXPECT_TRUE(started.empty());
}

TEST(SoundRecorder, AProgramThatFailsToStartGivesWayToTheNext)
{
    std::vector<std::string> tried;
    RecorderContext c = linuxContext();
    c.configured = "mi-grabadora";
    const bool ok = startRecorder(
        c, [](const std::string&) { return true; },
        [&tried](const RecorderCommand& r) {
            tried.push_back(r.program);
            return r.program == "audio-recorder";
        });
    EXPECT_TRUE(ok);
    EXPECT_EQ(tried,
              (std::vector<std::string>{"mi-grabadora", "gnome-sound-recorder", "audio-recorder"}));
    EXPECT_FALSE(startRecorder(
        c, [](const std::string&) { return true; }, [](const RecorderCommand&) { return false; }));
}

TEST(SoundRecorder, OnWindowsTheSystemRecordersOfTheWindowsDirectory)
{
    RecorderContext c;
    c.windows = true;
    c.windowsDir = "C:\\WINDOWS";
    const std::vector<RecorderCommand> list = recorderCandidates(c);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].program, "C:\\WINDOWS\\System32\\sndrec32.exe");
    EXPECT_EQ(list[2].program, "C:\\WINDOWS\\sndrec32.exe");
    // Without the Windows directory there is nothing to start.
    c.windowsDir.clear();
    EXPECT_TRUE(recorderCandidates(c).empty());
}

}  // namespace
}  // namespace tarvel
