#include "shipped_sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvel::sounds {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kFullScale = 32767.0;

int sampleCount(double seconds)
{
    return static_cast<int>(seconds * kSampleRate);
}

// A gentle rise and fall at the ends, so that no sound starts or stops with a click.
double edges(int i, int n, double riseSeconds, double fallSeconds)
{
    const double t = static_cast<double>(i) / kSampleRate;
    const double left = static_cast<double>(n - i) / kSampleRate;
    return std::min({1.0, t / riseSeconds, left / fallSeconds});
}

std::vector<std::int16_t> toPcm(const std::vector<double>& wave, double level)
{
    double peak = 0;
    for (const double v : wave) peak = std::max(peak, std::abs(v));
    std::vector<std::int16_t> pcm(wave.size());
    for (std::size_t i = 0; i < wave.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lround(wave[i] / peak * level * kFullScale));
    return pcm;
}

// A short electronic beep: 1 kHz with a little of its third harmonic.
std::vector<std::int16_t> beep()
{
    const int n = sampleCount(0.35);
    std::vector<double> wave(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double v = std::sin(kTwoPi * 1000 * t) + 0.25 * std::sin(kTwoPi * 3000 * t);
        wave[static_cast<std::size_t>(i)] = v * edges(i, n, 0.01, 0.02);
    }
    return toPcm(wave, 0.6);
}

// A struck bell: partials at the inharmonic ratios of a bell, the higher
// ones dying away sooner.
std::vector<std::int16_t> bell()
{
    struct Partial {
        double ratio, amplitude, decay;  // decay: seconds to fall to 1/e
    };
    constexpr Partial partials[] = {{0.5, 0.35, 1.2}, {1.0, 1.0, 0.9},   {1.19, 0.45, 0.7},
                                    {1.5, 0.3, 0.5},  {2.0, 0.5, 0.45},  {2.74, 0.25, 0.3},
                                    {3.0, 0.2, 0.25}, {4.07, 0.12, 0.18}};
    constexpr double base = 880;
    const int n = sampleCount(1.6);
    std::vector<double> wave(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double v = 0;
        for (const Partial& p : partials)
            v += p.amplitude * std::exp(-t / p.decay) * std::sin(kTwoPi * base * p.ratio * t);
        wave[static_cast<std::size_t>(i)] = v * edges(i, n, 0.002, 0.05);
    }
    return toPcm(wave, 0.7);
}

// A two-tone horn: a major third of brassy tones with a slight waver.
std::vector<std::int16_t> horn()
{
    const int n = sampleCount(0.9);
    std::vector<double> wave(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double waver = 1 + 0.004 * std::sin(kTwoPi * 5 * t);
        double v = 0;
        for (const double f : {392.0, 494.0})
            for (int k = 1; k <= 8; ++k) v += std::sin(kTwoPi * f * k * t * waver) / k;
        wave[static_cast<std::size_t>(i)] = v * edges(i, n, 0.03, 0.08);
    }
    return toPcm(wave, 0.6);
}

void put16(std::string& out, unsigned v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, unsigned v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::string wavBytes(const std::vector<std::int16_t>& samples, int sampleRate)
{
    constexpr unsigned kChannels = 1, kBits = 16, kBlock = kChannels * kBits / 8;
    const auto dataSize = static_cast<unsigned>(samples.size() * kBlock);
    std::string out = "RIFF";
    put32(out, 36 + dataSize);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, kChannels);
    put32(out, static_cast<unsigned>(sampleRate));
    put32(out, static_cast<unsigned>(sampleRate) * kBlock);
    put16(out, kBlock);
    put16(out, kBits);
    out += "data";
    put32(out, dataSize);
    for (const std::int16_t s : samples) put16(out, static_cast<std::uint16_t>(s));
    return out;
}

std::vector<ShippedSound> makeSounds()
{
    return {{"PITIDO.WAV", beep()}, {"CAMPANA.WAV", bell()}, {"BOCINA.WAV", horn()}};
}

}  // namespace tarvel::sounds
