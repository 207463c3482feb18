#pragma once
// The short sounds that ship in data/SONIDOS, synthesised here so that they
// are our own: a beep, a bell and a horn, as 16-bit mono PCM WAV files.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvel::sounds {

inline constexpr int kSampleRate = 22050;

struct ShippedSound {
    std::string fileName;  // e.g. "PITIDO.WAV"
    std::vector<std::int16_t> samples;
};

std::vector<ShippedSound> makeSounds();

// A whole WAV file: the RIFF header, the "fmt " chunk and the samples.
std::string wavBytes(const std::vector<std::int16_t>& samples, int sampleRate = kSampleRate);

}  // namespace tarvel::sounds
