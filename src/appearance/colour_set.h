#pragma once
// The five chart colours: 0 the symbol being executed, 1 the line being
// followed, 2 the selected objects, 3 the origin mark and hand-drawn line pen,
// 4 the page guides. RGB in the low 24 bits (red lowest); the top byte holds flags.

#include <array>
#include <cstdint>

namespace tarvel {

inline constexpr std::uint32_t kNoColour = 0x40000000u;      // the marking is not drawn
inline constexpr std::uint32_t kFilledColour = 0x80000000u;  // set on the active symbol colour

struct ColourSet {
    enum Entry { ActiveSymbol = 0, ActiveLine = 1, Selected = 2, OriginMark = 3, PageGuide = 4 };

    std::array<std::uint32_t, 5> colours{0x80A0FFFFu, 0x00C0C0C0u, 0x000000FFu, 0x0000FF00u,
                                         0x0000FF00u};

    bool drawn(Entry e) const { return (colours[e] & kNoColour) == 0; }
    void setDrawn(Entry e, bool on)
    {
        if (on)
            colours[e] &= ~kNoColour;
        else
            colours[e] |= kNoColour;
    }
    static std::uint32_t rgb(std::uint32_t colour) { return colour & 0xFFFFFFu; }
};

}  // namespace tarvel
