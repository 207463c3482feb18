#include "appearance/bitmap_info.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tarvel {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the oldest header: 16-bit sizes
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t le(std::string_view b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int k = bytes - 1; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(k)]);
    return v;
}

}  // namespace

bool readBitmapInfo(std::string_view b, BitmapInfo& info)
{
    if (b.size() < kFileHeaderSize + kCoreHeaderSize || b.substr(0, 2) != "BM") return false;
    const std::uint32_t headerSize = le(b, kFileHeaderSize, 4);
    BitmapInfo out;
    std::uint32_t used = 0;
    if (headerSize == kCoreHeaderSize) {
        out.width = static_cast<int>(le(b, 18, 2));
        out.height = static_cast<int>(le(b, 20, 2));
        out.bitsPerPixel = static_cast<int>(le(b, 24, 2));
    } else if (headerSize >= kInfoHeaderSize && b.size() >= kFileHeaderSize + kInfoHeaderSize) {
        out.width = static_cast<std::int32_t>(le(b, 18, 4));
        // A negative height is a picture stored top row first.
        out.height = std::abs(static_cast<std::int32_t>(le(b, 22, 4)));
        out.bitsPerPixel = static_cast<int>(le(b, 28, 2));
        used = le(b, 46, 4);
    } else {
        return false;
    }
    if (out.width <= 0 || out.height <= 0 || out.bitsPerPixel <= 0 || out.bitsPerPixel > 32)
        return false;
    // Up to 8 bits a pixel the pixels are indices into the table; deeper
    // pictures carry one only when they say how many colours it holds.
    if (out.bitsPerPixel <= 8)
        out.tableColours = used > 0 && used < (1u << out.bitsPerPixel) ? static_cast<int>(used)
                                                                       : 1 << out.bitsPerPixel;
    else
        out.tableColours = static_cast<int>(std::min<std::uint32_t>(used, 256));
    info = out;
    return true;
}

}  // namespace tarvel
