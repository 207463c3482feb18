// The rules of the colour window's working copy.

#include <gtest/gtest.h>

#include "appearance/colour_choice.h"

namespace tarvel {
namespace {

TEST(ColourChoice, OnlyTheRunningMarksCanBeSwitchedOffAndTheyKeepTheirComponents)
{
    ColourChoice choice{ColourSet{}};
    choice.select(ColourSet::ActiveLine);
    EXPECT_TRUE(choice.noColourAllowed());
    EXPECT_EQ(choice.component(0), 192);
    choice.setComponent(1, 17);
    choice.setNoColour(true);
    EXPECT_TRUE(choice.noColour());
    // Switched off, the sliders are ignored.
    choice.setComponent(1, 200);
    choice.setNoColour(false);
    EXPECT_EQ(choice.value(), 0x00C011C0u);

    for (const auto e : {ColourSet::Selected, ColourSet::OriginMark, ColourSet::PageGuide}) {
        choice.select(e);
        EXPECT_FALSE(choice.noColourAllowed());
        choice.setNoColour(true);
        EXPECT_FALSE(choice.noColour()) << e;
    }
}

TEST(ColourChoice, ComponentsAreKeptInTheirBytesWithinRange)
{
    ColourChoice choice{ColourSet{}};
    choice.select(ColourSet::Selected);  // red 0x0000FF
    choice.setComponent(2, 0x12);
    choice.setComponent(1, 300);  // beyond the slider: its end
    choice.setComponent(0, -4);
    choice.setComponent(3, 99);  // no such component
    EXPECT_EQ(choice.value(), 0x0012FF00u);
    EXPECT_EQ(choice.component(2), 0x12);
}

TEST(ColourChoice, TheActiveSymbolColourIsTakenFilledAndTheFlagsOfOthersStay)
{
    ColourSet start;
    start.colours[ColourSet::ActiveSymbol] = 0x000080FFu;  // lost its filled bit somewhere
    start.setDrawn(ColourSet::ActiveLine, false);
    ColourChoice choice{start};
    choice.setNoColour(true);
    const ColourSet out = choice.result();
    EXPECT_EQ(out.colours[ColourSet::ActiveSymbol], 0xC00080FFu);
    EXPECT_FALSE(out.drawn(ColourSet::ActiveLine));
    EXPECT_EQ(out.colours[ColourSet::PageGuide], start.colours[ColourSet::PageGuide]);
}

TEST(ColourChoice, EachRadioChoosesTheColourItsCaptionNames)
{
    // The order of the window and the ids stay; the captions say what changes.
    ASSERT_EQ(kColourRadios.size(), 5u);
    for (std::size_t i = 0; i < kColourRadios.size(); ++i)
        EXPECT_EQ(kColourRadios[i].id, 101 + static_cast<int>(i));
    EXPECT_EQ(kColourRadios[0].entry, ColourSet::ActiveSymbol);
    EXPECT_EQ(kColourRadios[1].entry, ColourSet::ActiveLine);
    EXPECT_STREQ(kColourRadios[2].caption, "Color del borde de la pagina imprimida");
    EXPECT_EQ(kColourRadios[2].entry, ColourSet::PageGuide);
    EXPECT_STREQ(kColourRadios[3].caption, "Color del objeto seleccionado");
    EXPECT_EQ(kColourRadios[3].entry, ColourSet::Selected);
    EXPECT_STREQ(kColourRadios[4].caption, "Color de la linea dibujada");
    EXPECT_EQ(kColourRadios[4].entry, ColourSet::OriginMark);
}

}  // namespace
}  // namespace tarvel
