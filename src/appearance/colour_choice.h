#pragma once
// The working copy of the chart colours while the colour window is open: which
// colour is chosen, its red, green and blue, and whether it is drawn at all
// ("Sin color", only for the two running marks).

#include <array>
#include <cstdint>

#include "appearance/colour_set.h"

namespace tarvel {

inline constexpr int kColourEntries = 5;
inline constexpr int kColourComponents = 3;  // red, green, blue
inline constexpr int kComponentMax = 255;

// A radio button of the colour window and the colour it chooses.
struct ColourRadio {
    int id;
    const char* caption;
    ColourSet::Entry entry;
};

// In the order the window lists them. Each caption chooses the colour it
// names: the printed page's border is the page guides, the selected object
// the selection, the drawn line the pen of a line drawn by hand (with the
// origin mark).
inline constexpr std::array<ColourRadio, kColourEntries> kColourRadios{{
    {101, "Color de símbolo activo", ColourSet::ActiveSymbol},
    {102, "Color de línea activa", ColourSet::ActiveLine},
    {103, "Color del borde de la pagina imprimida", ColourSet::PageGuide},
    {104, "Color del objeto seleccionado", ColourSet::Selected},
    {105, "Color de la linea dibujada", ColourSet::OriginMark},
}};

class ColourChoice {
public:
    explicit ColourChoice(const ColourSet& start) : colours_(start.colours) {}

    void select(ColourSet::Entry entry) { selected_ = entry; }
    ColourSet::Entry selected() const { return selected_; }
    // Only the running marks can be switched off.
    bool noColourAllowed() const { return selected_ <= ColourSet::ActiveLine; }
    bool noColour() const { return (value() & kNoColour) != 0; }
    // Keeps the components, so that a colour switched back on is the one it was.
    void setNoColour(bool off);
    // 0 red, 1 green, 2 blue.
    int component(int c) const { return static_cast<int>((value() >> (8 * c)) & 0xFFu); }
    // Ignored while the chosen colour is switched off.
    void setComponent(int c, int level);
    std::uint32_t value() const { return colours_[static_cast<std::size_t>(selected_)]; }
    // The colours to take: the active symbol colour is always drawn filled.
    ColourSet result() const;

private:
    std::array<std::uint32_t, kColourEntries> colours_;
    ColourSet::Entry selected_ = ColourSet::ActiveSymbol;
};

}  // namespace tarvel
