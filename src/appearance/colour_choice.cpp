#include "appearance/colour_choice.h"

#include <algorithm>

namespace tarvel {

void ColourChoice::setNoColour(bool off)
{
    if (off && !noColourAllowed()) return;
    auto& v = colours_[static_cast<std::size_t>(selected_)];
    v = off ? (v | kNoColour) : (v & ~kNoColour);
}

void ColourChoice::setComponent(int c, int level)
{
    if (noColour() || c < 0 || c >= kColourComponents) return;
    const int shift = 8 * c;
    const auto bits = static_cast<std::uint32_t>(std::clamp(level, 0, kComponentMax));
    auto& v = colours_[static_cast<std::size_t>(selected_)];
    v = (v & ~(0xFFu << shift)) | (bits << shift);
}

ColourSet ColourChoice::result() const
{
    ColourSet set;
    set.colours = colours_;
    set.colours[ColourSet::ActiveSymbol] |= kFilledColour;
    return set;
}

}  // namespace tarvel
