#pragma once
// Windows-1252 <-> Unicode. Every text on disk and every document text in
// memory is Windows-1252; the shell converts at the widget boundary.

#include <string>
#include <string_view>

namespace tarvel {

// The Unicode code point of one Windows-1252 byte. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
// same value, so every byte survives a round trip.
char32_t cp1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int codePointToCp1252(char32_t cp);

std::string cp1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 byte become '?'. Malformed UTF-8 sequences
// become '?' as well.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace tarvel
