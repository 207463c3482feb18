#include "interfaces/firmata_pin_map.h"

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "interfaces/interface_caps.h"
#include "platform/file_lookup.h"
#include "platform/ini_file.h"

namespace tarvel {

namespace {

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

std::string upper(std::string_view s)
{
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

// "7" or "A3" (case ignored); nothing for anything else.
std::optional<int> boardNumber(std::string_view text, bool& analogueName)
{
    analogueName = !text.empty() && (text[0] == 'A' || text[0] == 'a');
    if (analogueName) text.remove_prefix(1);
    if (text.empty() || text.size() > 3) return std::nullopt;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

Refusal refusal(const std::string& text)
{
    return {std::string(caption::Error),
            "En la sección [FIRMATA] de TARVEL2.INI, " + text +
                " No se usará la placa hasta que se corrija.",
            MsgIcon::Exclamation};
}

std::string pinName(int pin)
{
    std::string name = std::to_string(pin);
    if (pin >= kBoardFirstAnaloguePin)
        name += " (A" + std::to_string(pin - kBoardFirstAnaloguePin) + ")";
    return name;
}

// One line of the map: the key, its slot and whether it names a channel.
struct Slot {
    std::string key;
    int* value;
    bool channel;
};

std::optional<Refusal> readSlot(const Slot& s, const std::string& text)
{
    if (text.empty()) {
        *s.value = kNoPin;
        return std::nullopt;
    }
    bool analogueName = false;
    const std::optional<int> n = boardNumber(text, analogueName);
    const std::string given = s.key + "=" + text;
    if (s.channel) {
        if (!n || *n >= kBoardAnalogueChannels)
            return refusal(given + ": la placa no tiene ese canal analógico (son del 0 al 5, o " +
                           "de A0 a A5).");
        *s.value = *n;
        return std::nullopt;
    }
    const std::optional<int> pin =
        n && analogueName
            ? std::optional<int>(*n < kBoardAnalogueChannels ? kBoardFirstAnaloguePin + *n
                                                             : kBoardPinCount)
            : n;
    if (!pin || *pin >= kBoardPinCount)
        return refusal(given + ": la placa no tiene ese pin (son del 2 al 19, o de A0 a A5).");
    if (*pin < kBoardFirstFreePin)
        return refusal(given + ": los pines 0 y 1 llevan la línea serie de la placa y no se " +
                       "pueden usar.");
    *s.value = *pin;
    return std::nullopt;
}

}  // namespace

FirmataPinMap FirmataPinMap::defaults()
{
    FirmataPinMap m;
    m.outputs = {2, 3, 4, 5, 6, 7, 8, 9};
    m.inputs = {10, 11, 12, 13, 18, 19, kNoPin, kNoPin};
    m.channels = {0, 1, 2, 3};
    return m;
}

bool FirmataPinMap::pwmCapable(int pin)
{
    return pin == 3 || pin == 5 || pin == 6 || pin == 9 || pin == 10 || pin == 11;
}

Result<FirmataPinMap> parseFirmataPinMap(const IniSection& section)
{
    FirmataPinMap map = FirmataPinMap::defaults();
    std::vector<Slot> slots;
    for (int i = 0; i < kIoCount; ++i)
        slots.push_back({"OUT" + std::to_string(i + 1), &map.outputs[at(i)], false});
    for (int i = 0; i < kIoCount; ++i)
        slots.push_back({"IN" + std::to_string(i + 1), &map.inputs[at(i)], false});
    for (int c = 0; c < kSensorChannels; ++c)
        slots.push_back({"VAL" + std::to_string(c + 1), &map.channels[at(c)], true});

    for (const auto& [key, text] : section.entries()) {
        const std::string name = upper(key);
        const Slot* slot = nullptr;
        for (const Slot& s : slots)
            if (s.key == name) slot = &s;
        if (!slot)
            return refusal("la clave " + key + " no es ninguna de las que se leen (OUT1 a OUT8, " +
                           "IN1 a IN8, VAL1 a VAL4).");
        // The first entry of a key given twice is the one read.
        if (section.value(key) != text) continue;
        if (std::optional<Refusal> r = readSlot(*slot, text)) return *r;
    }

    // Every pin once, whoever uses it.
    std::array<const Slot*, kBoardPinCount> user{};
    for (const Slot& s : slots) {
        if (*s.value == kNoPin) continue;
        const int pin = s.channel ? FirmataPinMap::pinOfChannel(*s.value) : *s.value;
        if (const Slot* first = user[at(pin)])
            return refusal("el pin " + pinName(pin) + " se usa dos veces, en " + first->key +
                           " y en " + s.key + ".");
        user[at(pin)] = &s;
    }
    return map;
}

Result<FirmataPinMap> loadFirmataPinMap(const std::filesystem::path& dir)
{
    const auto file = findIgnoringCase(dir, "TARVEL2.INI");
    if (!file) return FirmataPinMap::defaults();
    const Result<IniSection> section = loadIniSection(*file, kFirmataSection);
    if (!section) return FirmataPinMap::defaults();
    return parseFirmataPinMap(section.value());
}

void applyPinMapCaps(InterfaceCaps& caps, const FirmataPinMap& map, int numbering)
{
    const int first = numberingFromZero(numbering) ? 8 : 9;
    caps.outputMask = 0;
    caps.inputMask = 0;
    caps.motorMask = 0;
    caps.valueKeyMask = 0x10;  // the key that leaves the value out
    for (int i = 0; i < kIoCount; ++i) {
        if (map.outputs[at(i)] != kNoPin) caps.outputMask |= 1u << (first + i);
        if (map.inputs[at(i)] != kNoPin) caps.inputMask |= 1u << (first + i);
    }
    for (int m = 0; m < kMotorCount; ++m)
        if (map.outputs[at(2 * m)] != kNoPin && map.outputs[at(2 * m + 1)] != kNoPin)
            caps.motorMask |= 1u << (22 + m);
    for (int c = 0; c < kSensorChannels; ++c)
        if (map.channels[at(c)] != kNoPin) caps.valueKeyMask |= 0x200u << c;
}

}  // namespace tarvel
