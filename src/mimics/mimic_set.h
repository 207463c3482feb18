#pragma once
// A mimic set: up to 30 objects (rectangles that show one of four pictures or
// texts) in a 400 x 320 window, the names of up to 20 picture files, and the
// tables that say which objects follow which input, output, analogue channel,
// motor or variable. It is read from a small text file in the mimics
// directory, named exactly as the set.
//
// The reader never trusts a file: a count beyond a table, a text too long for
// its field, a number that is not one, a link to an object the file does not
// have or a file that ends early refuses the whole set, so the set on screen
// stays as it was.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/variables.h"
#include "flowchart/fixed_text.h"
#include "flowchart/flow_document.h"
#include "platform/result.h"

namespace tarvel {

inline constexpr int kMimicObjectMax = 30;
inline constexpr int kMimicPictureMax = 20;
inline constexpr std::size_t kMimicTextMax = 49;
inline constexpr int kMimicStates = 4;
inline constexpr int kMimicWidth = 400;
inline constexpr int kMimicHeight = 320;

// Per input or output, the objects that follow it; per channel, the objects
// that show its value; per motor, the objects that follow it.
inline constexpr int kIoLinks = 3;
inline constexpr int kValueLinks = 2;
inline constexpr int kMotorObjects = 2;
// No object, no picture, no input.
inline constexpr int kNoLink = -1;

// The bits of an object's flags.
namespace mimicflag {
inline constexpr int Clickable = 0x01;
inline constexpr int Text = 0x02;       // a text object, else a picture object
inline constexpr int Momentary = 0x04;  // an input clicked through it is released after 500 ms
inline constexpr int Frame = 0x08;      // a black frame, filled white or light yellow
inline constexpr int Label = 0x10;      // drawn only with "Mostrar Etiquetas"
inline constexpr int Filled = 0x20;     // the frame is filled light yellow
inline constexpr int AtOnce = 0x40;     // redrawn at once when its state changes
}  // namespace mimicflag

// The object states a motor leaves: the monitors show forward as 3, a mimic
// object as 1, and a motor that stopped after running forward as 2, so a set
// can show where its mechanism came to rest.
namespace mimicstate {
inline constexpr int Off = 0;
inline constexpr int On = 1;
inline constexpr int Forward = 1;
inline constexpr int StoppedAfterForward = 2;
inline constexpr int Reverse = 3;
}  // namespace mimicstate

using MimicText = FixedText<kMimicTextMax>;

struct MimicObject {
    int left = 0, top = 0, right = 0, bottom = 0;
    int flags = 0;
    int state = 0;
    // Per state: a picture object's picture index (-1 none), a text object's text.
    std::array<MimicText, kMimicStates> texts{};

    bool has(int flag) const { return (flags & flag) != 0; }
    // Borders included.
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    const MimicText& shown() const { return texts[static_cast<std::size_t>(state & 3)]; }
};

struct MotorLink {
    std::array<int, kMotorObjects> objects{kNoLink, kNoLink};
    // The inputs (1..8, -1 none) switched off in simulation when the motor
    // starts forward and when it starts in reverse: the limit switch it leaves.
    int releasedForward = kNoLink;
    int releasedReverse = kNoLink;
};

struct MimicSet {
    int objectCount = 0;
    std::array<MimicObject, kMimicObjectMax> objects{};
    int pictureCount = 0;
    std::array<std::string, kMimicPictureMax> pictures{};  // file names, Windows-1252

    std::array<std::array<int, kIoLinks>, kIoCount> inputLinks{};
    std::array<std::array<int, kIoLinks>, kIoCount> outputLinks{};
    std::array<std::array<int, kValueLinks>, kSensorChannels> valueLinks{};
    std::array<MotorLink, kMotorCount> motorLinks{};
    std::array<int, kVariableCount> variableLinks{};

    MimicSet();
    MimicObject& object(int i) { return objects[static_cast<std::size_t>(i)]; }
    const MimicObject& object(int i) const { return objects[static_cast<std::size_t>(i)]; }
};

// The caption of the boxes that refuse a set.
inline constexpr std::string_view kMimicFileCaption = "Error de archivo";

// Reads a definition file. With `numbersFromZero` (the 0-7 numbering) a text
// object whose first text begins "out " or "in " and a digit has that digit
// lowered by one, since files always number channels from 1. `name` is the
// set's name for the refusal's message.
Result<MimicSet> parseMimicSet(std::string_view bytes, bool numbersFromZero,
                               std::string_view name = {});

// Writes a set as its definition file (CR LF line ends), texts as they are:
// the numbering adjustment and the widening belong to reading.
std::string serializeMimicSet(const MimicSet& set);

// The definition file of the set `name` (UTF-8) in the mimics directory
// `dir`, its name matched ignoring case; nothing when there is none (the
// window is then left empty without a word).
std::optional<std::string> mimicSetPath(const std::string& dir, std::string_view name);

// Reads a definition file; a refusal (a file that cannot be read included)
// is shown in its box.
Result<MimicSet> loadMimicSet(const std::string& path, bool numbersFromZero, Messages& messages);

// The picture index a picture object's text stands for; -1 (nothing drawn)
// for -1 and for a text without digits.
int mimicPictureIndex(std::string_view text);

}  // namespace tarvel
