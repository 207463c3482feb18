#include "interfaces/interface_caps.h"

#include "chip/chip_data.h"
#include "interfaces/interface_model.h"

namespace tarvel {

namespace {

void applyChip(InterfaceCaps& caps, const ChipEntry& chip)
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
    if (chip.linkKind == kChipLinkContactController) caps.decisionKeyMask |= 0x1u;
}

}  // namespace

InterfaceCaps computeCaps(const InterfaceSettings& s, const ChipEntry* chip,
                          const InterfaceCaps& previous)
{
    InterfaceCaps caps;
    const std::uint32_t items = numberingFromZero(s.numbering) ? 0xFF00u : 0x1FE00u;
    caps.outputMask = items;
    caps.inputMask = items;
    caps.motorMask = 0x3C00000;
    caps.valueKeyMask = 0x1E10;
    caps.turnKeyMask = s.model == ModelMfa ? 0x80000D0u : 0xD0u;
    caps.decisionKeyMask = 0x3FC000D2;
    caps.optionWord = previous.optionWord;
    caps.motorSpeed = (s.model == ModelDeltronics || s.model == ModelContactController ||
                       s.model == ModelLego || s.model == ModelQuillo)
                          ? 1
                          : 0;

    if (s.model == ModelInert) caps.inputMask = 0x1E00;
    if (s.model == ModelContactController && s.subModel == kContactControllerBasic) {
        caps.outputMask = 0x1E00;
        caps.inputMask = 0x1E00;
        caps.motorMask = 0xC00000;
    }
    if (s.model == ModelDeltronics && s.subModel == kDeltronicsJunior) {
        caps.inputMask = 0x1E00;
        caps.outputMask = 0xBE00;
        caps.motorMask = 0x3000000;
    }
    if (s.model == ModelFischertechnik) {
        caps.valueKeyMask = 0x610;
        caps.outputMask = 0x1E00;
    }
    if (s.model == ModelQuillo) {
        caps.inputMask = 0x1E00;
        caps.outputMask = 0x7E00;
        caps.motorMask = 0xC00000;
        caps.optionWord = 0;
        caps.valueKeyMask = 0x610;
        caps.decisionKeyMask = 0x180000D2;
        caps.turnKeyMask = 0xD0;
    }
    if (s.model == ModelTolvaChip && chip) applyChip(caps, *chip);
    return caps;
}

}  // namespace tarvel
