// The sounds that ship with the program and the chart that plays them: the
// files are what the synthesiser makes, and a headless run names each sound
// as the chart plays it.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/file_io.h"
#include "shipped_sounds.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

std::uint32_t le32(const std::string& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = v << 8 | static_cast<unsigned char>(b[at + k]);
    return v;
}

std::int16_t sampleAt(const std::string& b, std::size_t i)
{
    const auto lo = static_cast<unsigned char>(b[44 + 2 * i]);
    const auto hi = static_cast<unsigned char>(b[45 + 2 * i]);
    return static_cast<std::int16_t>(lo | hi << 8);
}

TEST(ShippedSounds, TheFilesAreWhatTheSynthesiserMakes)
{
    const auto made = sounds::makeSounds();
    ASSERT_EQ(made.size(), 3u);
    for (const auto& sound : made) {
        std::string shipped;
        ASSERT_TRUE(
            readWholeFile(std::string(TARVEL_DATA_DIR) + "/SONIDOS/" + sound.fileName, shipped))
            << sound.fileName;
        const std::string expected = sounds::wavBytes(sound.samples);
        ASSERT_EQ(shipped.size(), expected.size()) << sound.fileName;
        // The header exactly; the samples within one step, as another
        // mathematics library may round a sine the other way.
        EXPECT_EQ(shipped.substr(0, 44), expected.substr(0, 44)) << sound.fileName;
        int off = 0;
        for (std::size_t i = 0; i < sound.samples.size(); ++i)
            off += std::abs(sampleAt(shipped, i) - sound.samples[i]) > 1;
        EXPECT_EQ(off, 0) << sound.fileName;
    }
}

TEST(ShippedSounds, EachIsAShortMonoPcmWaveThatNeitherClipsNorClicks)
{
    for (const auto& sound : sounds::makeSounds()) {
        const std::string b = sounds::wavBytes(sound.samples);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(le32(b, 4), b.size() - 8);
        EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(le32(b, 24), static_cast<std::uint32_t>(sounds::kSampleRate));
        EXPECT_EQ(b.substr(36, 4), "data");
        EXPECT_EQ(le32(b, 40), sound.samples.size() * 2);
        const double seconds = static_cast<double>(sound.samples.size()) / sounds::kSampleRate;
        EXPECT_GT(seconds, 0.2) << sound.fileName;
        EXPECT_LT(seconds, 2.0) << sound.fileName;
        int peak = 0;
        for (const std::int16_t s : sound.samples) peak = std::max(peak, std::abs(int{s}));
        EXPECT_GT(peak, 16000) << sound.fileName;  // clearly heard
        EXPECT_LT(peak, 32000) << sound.fileName;  // never clipped
        // Silent at both ends: no click as it starts or is cut off at its end.
        EXPECT_LT(std::abs(int{sound.samples.front()}), 200) << sound.fileName;
        EXPECT_LT(std::abs(int{sound.samples.back()}), 2000) << sound.fileName;
    }
}

TEST(ShippedSounds, TheDoorbellChartNamesEachSoundAsItPlays)
{
    test::TempDir dir;
    const test::ToolRun r = test::runTool(
        TARVEL_TOOL_PATH,
        {"run", "--ticks", "300", "--input", "1=on@100", "--input", "1=off@150", "--input",
         "2=on@400", std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/TIMBRE.FLO"},
        dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    // The beep at the start, the bell (with its light) when input 1 is
    // pressed, the horn while input 2 is held.
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "2 sound 0 ..\\SONIDOS\\PITIDO.WAV");
    const std::size_t bell = r.out.find("sound 1 ..\\SONIDOS\\CAMPANA.WAV");
    ASSERT_NE(bell, std::string::npos) << r.out;
    EXPECT_LT(bell, r.out.find("output 1 on"));
    EXPECT_NE(r.out.find("sound 2 ..\\SONIDOS\\BOCINA.WAV"), std::string::npos) << r.out;
    EXPECT_LT(r.out.find("CAMPANA"), r.out.find("BOCINA"));
}

}  // namespace
}  // namespace tarvel
