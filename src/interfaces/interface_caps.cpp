#include "interfaces/interface_caps.h"

#include "chip/chip_data.h"
#include "interfaces/model_traits.h"

namespace tarvel {

namespace {

void applyChip(InterfaceCaps& caps, const ChipEntry& chip, const ModelTraits& traits)
{
    caps.inputMask = 0;
    caps.outputMask = 0;
    caps.motorMask = 0;
    bool anyInput = false, anyOutput = false, anyMotor = false, anyChannel = false;
    for (int i = 0; i < 8; ++i) {
        if (chip.hasInput(i)) {
            caps.inputMask |= 1u << (9 + i);
            anyInput = true;
        }
        if (chip.hasOutput(i)) {
            caps.outputMask |= 1u << (9 + i);
            anyOutput = true;
        }
    }
    for (int m = 0; m < 4; ++m) {
        if (chip.hasMotor(m)) {
            caps.motorMask |= 1u << (22 + m);
            anyMotor = true;
        }
    }
    caps.decisionKeyMask = 0x18000010u | (anyInput ? 0x40u : 0u);
    caps.turnKeyMask = 0x10u | (anyOutput ? 0x40u : 0u) | (anyMotor ? 0x80u : 0u);
    caps.valueKeyMask = 0x10;
    for (int c = 0; c < 4; ++c) {
        if (chip.hasChannel(c)) {
            caps.valueKeyMask |= 0x200u << c;
            anyChannel = true;
        }
    }
    if (anyChannel) caps.decisionKeyMask |= 0x82u;
    caps.motorSpeed = chip.motorSpeed ? 1 : 0;
    caps.optionWord = chip.optionWord;
    // A chip that talks live offers the decision's "IN".
    if (traits.chipKeys == ChipKeys::LiveLink) caps.decisionKeyMask |= 0x1u;
}

}  // namespace

InterfaceCaps computeCaps(const InterfaceSettings& s, const ChipEntry* chip,
                          const InterfaceCaps& previous)
{
    const ModelTraits traits = modelTraits(s, chip ? chip->linkKind : 0);
    InterfaceCaps caps;
    const std::uint32_t items = numberingFromZero(s.numbering) ? 0xFF00u : 0x1FE00u;
    caps.outputMask = items;
    caps.inputMask = items;
    caps.motorMask = 0x3C00000;
    caps.valueKeyMask = 0x1E10;
    caps.turnKeyMask = traits.dacKey ? 0x80000D0u : 0xD0u;
    caps.decisionKeyMask = 0x3FC000D2;
    caps.optionWord = previous.optionWord;
    caps.motorSpeed = traits.motorSpeed ? 1 : 0;

    const CapsOverrides& o = traits.caps;
    if (o.inputMask) caps.inputMask = *o.inputMask;
    if (o.outputMask) caps.outputMask = *o.outputMask;
    if (o.motorMask) caps.motorMask = *o.motorMask;
    if (o.valueKeyMask) caps.valueKeyMask = *o.valueKeyMask;
    if (o.decisionKeyMask) caps.decisionKeyMask = *o.decisionKeyMask;
    if (o.turnKeyMask) caps.turnKeyMask = *o.turnKeyMask;
    if (o.clearsOptionWord) caps.optionWord = 0;
    if (traits.usesChipEntry && chip) applyChip(caps, *chip, traits);
    return caps;
}

}  // namespace tarvel
