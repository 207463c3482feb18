#include "ini_text.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace setini {

namespace {

// Unicode of the bytes 0x80 to 0x9F; the five the code page leaves undefined
// stand for the C1 controls of the same value, as Tarvel2Esp reads them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte of a code point, or -1.
int cp1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return int(0x80 + i);
    return -1;
}

// Decodes one UTF-8 sequence at `pos`, refusing overlong forms, surrogates and
// values beyond U+10FFFF. Advances `pos` on success.
bool nextCodePoint(std::string_view text, std::size_t& pos, char32_t& cp)
{
    const auto byte = [&text](std::size_t i) { return std::uint8_t(text[i]); };
    const std::uint8_t lead = byte(pos);
    std::size_t length;
    char32_t min;
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (pos + length > text.size()) return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    pos += length;
    return true;
}

bool isUtf8(std::string_view text)
{
    char32_t cp;
    for (std::size_t pos = 0; pos < text.size();)
        if (!nextCodePoint(text, pos, cp)) return false;
    return true;
}

}  // namespace

std::string storedPath(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    char32_t cp;
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (!nextCodePoint(utf8, pos, cp)) return std::string(utf8);
        const int b = cp1252Byte(cp);
        if (b < 0) return std::string(utf8);
        bytes.push_back(char(b));
    }
    if (bytes != utf8 && isUtf8(bytes)) return std::string(utf8);
    return bytes;
}

std::optional<std::string> locationsText(std::string_view sensorsDir,
                                         std::string_view configurationFile,
                                         std::string_view mimicsDir)
{
    std::string text = "[LOCATIONS]\r\n";
    for (const auto& [key, path] :
         {std::pair{"SENSORS=", sensorsDir}, std::pair{"CONFIGURATION=", configurationFile},
          std::pair{"MIMICS=", mimicsDir}}) {
        const std::string value = storedPath(path);
        if (value.size() > kIniValueMax) return std::nullopt;
        text += key + value + "\r\n";
    }
    text += "INTERVAL=20\r\n";
    return text;
}

}  // namespace setini
