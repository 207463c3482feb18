#pragma once
// Where the tables of a program image lie: below the closing byte stand the
// constants, the subs' entries, the delay values and the jump targets, the
// same for every image size. The compiler writes them; the simulator reads
// them as the chip does.

#include <cstdint>

namespace tarvel {

inline constexpr int kChipCodeStart = 3;  // start 1 begins here; 0..2 hold starts 2..4
inline constexpr int kChipJumpEntries = 64;
inline constexpr int kChipDelayEntries = 16;
inline constexpr int kChipSubEntries = 16;
inline constexpr int kChipConstantSlots = 16;
inline constexpr std::uint8_t kChipLastByte = 2;

struct ChipLayout {
    int jumpBase = 0;
    int delayBase = 0;
    int subBase = 0;
    int constBase = 0;

    static constexpr ChipLayout forSize(int size)
    {
        ChipLayout l;
        l.jumpBase =
            size - 1 - kChipConstantSlots - kChipSubEntries - kChipDelayEntries - kChipJumpEntries;
        l.delayBase = l.jumpBase + kChipJumpEntries;
        l.subBase = l.delayBase + kChipDelayEntries;
        l.constBase = l.subBase + kChipSubEntries;
        return l;
    }
};

}  // namespace tarvel
