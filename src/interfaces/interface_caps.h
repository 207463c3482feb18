#pragma once
// Capability masks of the chosen interface: which outputs, inputs, motors and
// keypad keys exist. Item bits are 8 + the digit it is labelled with (so output
// 1 is bit 9 when numbering from 1, output 0 is bit 8 when numbering from 0);
// motor m is bit 22 + m. The keypad masks are key sets in the editors' layouts.

#include <cstdint>

#include "interfaces/interface_settings.h"

namespace tarvel {

struct ChipEntry;

struct InterfaceCaps {
    std::uint32_t outputMask = 0x1FE00;
    std::uint32_t inputMask = 0x1FE00;
    std::uint32_t motorMask = 0x3C00000;
    std::uint32_t valueKeyMask = 0x1E10;
    std::uint32_t turnKeyMask = 0xD0;
    std::uint32_t decisionKeyMask = 0x3FC000D2;
    int optionWord = 0;  // chip option word; kept across selections unless a model sets it
    int motorSpeed = 0;  // motors take a speed after "fd"/"rev"

    bool hasOutputBit(int bit) const { return (outputMask >> bit) & 1u; }
    bool hasInputBit(int bit) const { return (inputMask >> bit) & 1u; }
    bool hasMotor(int m) const { return (motorMask >> (22 + m)) & 1u; }

    friend bool operator==(const InterfaceCaps&, const InterfaceCaps&) = default;
};

// The masks for a selection. `previous` supplies the option word that models
// other than the chip system and Quillo leave as it was; `chip` is the chosen
// entry of the chip data file for model 10 (none: the defaults stand).
InterfaceCaps computeCaps(const InterfaceSettings& settings, const ChipEntry* chip,
                          const InterfaceCaps& previous = {});

}  // namespace tarvel
