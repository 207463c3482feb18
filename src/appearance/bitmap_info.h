#pragma once
// What the splash screen needs to know of a BMP file before it is drawn: that
// it is one, its size, and whether it carries a colour table (the picture's
// own palette).

#include <string_view>

namespace tarvel {

struct BitmapInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int tableColours = 0;  // entries of the colour table, 0 when it has none
    bool hasColourTable() const { return tableColours > 0; }
};

// The header of a Windows bitmap file; nothing when the bytes are not one
// (too short, another signature, a header of unknown size, no pixels).
bool readBitmapInfo(std::string_view bytes, BitmapInfo& info);

}  // namespace tarvel
