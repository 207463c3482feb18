#pragma once
// Which pins of the Arduino board carry the program's outputs, inputs and
// analogue channels. The default suits an Uno wired as the README shows; the
// [FIRMATA] section of the initialisation file may move any of them (OUT1..8
// and IN1..8 name board pins 2..19, A0 being 14; VAL1..4 name analogue
// channels 0..5). A map that uses a pin twice, a pin the board lacks, or the
// serial line's pins 0 and 1 is refused, and then nothing is driven.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "interfaces/io_image.h"
#include "platform/result.h"

namespace tarvel {

class IniSection;
struct InterfaceCaps;

inline constexpr std::string_view kFirmataSection = "FIRMATA";

// An Uno: digital pins 0..13, then A0..A5 as pins 14..19.
inline constexpr int kBoardPinCount = 20;
inline constexpr int kBoardFirstAnaloguePin = 14;
inline constexpr int kBoardAnalogueChannels = 6;
// Pins 0 and 1 carry the serial line the program talks over.
inline constexpr int kBoardFirstFreePin = 2;
// Digital pins travel in ports of eight.
inline constexpr int kBoardPortCount = (kBoardPinCount + 7) / 8;
inline constexpr int kNoPin = -1;

struct FirmataPinMap {
    std::array<int, kIoCount> outputs{};          // board pin of output i, or kNoPin
    std::array<int, kIoCount> inputs{};           // board pin of input i, or kNoPin
    std::array<int, kSensorChannels> channels{};  // analogue channel of value k, or kNoPin

    // Outputs D2..D9, inputs D10..D13, A4 and A5, values A0..A3.
    static FirmataPinMap defaults();
    // The pins whose outputs take a duty cycle (the others are full on or off).
    static bool pwmCapable(int pin);
    static int pinOfChannel(int channel) { return kBoardFirstAnaloguePin + channel; }

    friend bool operator==(const FirmataPinMap&, const FirmataPinMap&) = default;
};

// The map of the [FIRMATA] section: a key left out keeps its default, a key
// with an empty value leaves its line unused. Refused, with the text that
// says which key is wrong and why, when a value is no pin (or channel) of
// the board, names pin 0 or 1, or uses a pin already used (a channel uses
// its analogue pin); also for a key the section does not know.
Result<FirmataPinMap> parseFirmataPinMap(const IniSection& section);

// The map of the initialisation file TARVEL2.INI in `dir` (its name matched
// without regard to case): the defaults when there is no such file or it has
// no [FIRMATA] section.
Result<FirmataPinMap> loadFirmataPinMap(const std::filesystem::path& dir);

// The capability masks the map gives: the outputs, inputs and channels it
// places, and the motors whose two outputs both exist.
void applyPinMapCaps(InterfaceCaps& caps, const FirmataPinMap& map, int numbering);

}  // namespace tarvel
