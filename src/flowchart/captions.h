#pragma once
// The Spanish captions drawn inside symbols, made from their English command
// texts, how a caption is broken over two lines, and the small word tables
// that other windows use to show interface and sensor words in Spanish.
//
// Every text in and out is Windows-1252 bytes. The captions never change the
// document: they are pure functions of the command text, safe on any bytes.

#include <functional>
#include <string>
#include <string_view>

#include "flowchart/flow_types.h"

namespace tarvel {

std::string captionStartStop(std::string_view text);
std::string captionOutput(std::string_view text);
std::string captionProcess(std::string_view text);
std::string captionDecision(std::string_view text);

// The caption of a symbol of the given kind; an unknown kind has none.
std::string symbolCaption(SymbolKind kind, std::string_view text);

// Measures a piece of caption in the units of the thresholds: the drawing code
// passes real font metrics at the current zoom, the clipboard picture those
// at 100 %.
using TextWidthFn = std::function<int(std::string_view)>;

struct CaptionLines {
    bool twoLines = false;
    std::string first;   // the whole caption when !twoLines
    std::string second;  // from the break, including its leading blank
};

// Breaks a caption that is at least twoLineThreshold wide (never for a
// StartStop symbol) after its first word; an Output caption wider than
// wideThreshold is broken after its second word when that keeps the first
// line short enough.
CaptionLines breakCaption(SymbolKind kind, std::string_view caption, const TextWidthFn& width,
                          int twoLineThreshold, int wideThreshold);

// The same break for the picture of the chart put on the clipboard, with its
// own thresholds measured at 100 %.
CaptionLines breakCaptionForClipboard(SymbolKind kind, std::string_view caption,
                                      const TextWidthFn& width);

// A vertical band, as offsets from the symbol centre.
struct CaptionBand {
    int top;
    int bottom;
};

// Where a caption goes, in document units around the symbol centre; the
// screen scales all of these by the zoom.
struct CaptionLayout {
    // The symbol font at 100 %.
    static constexpr int fontHeight = 15;
    static constexpr int fontWidth = 6;

    // Each line is centred horizontally in this box.
    static constexpr int boxLeft = -60;
    static constexpr int boxRight = 60;

    static constexpr CaptionBand firstLine{-19, -5};
    static constexpr CaptionBand secondLine{-2, 8};
    static constexpr CaptionBand singleLine{-7, 7};

    // Width thresholds of breakCaption on screen, scaled by the zoom.
    static constexpr int twoLineThreshold = 80;
    static constexpr int wideThreshold = 130;

    // The clipboard picture: thresholds at 100 %, and the top of each line,
    // which is drawn with its centre on the symbol's x.
    static constexpr int clipboardTwoLineThreshold = 79;
    static constexpr int clipboardWideThreshold = 130;
    static constexpr int clipboardFirstLineTop = -19;
    static constexpr int clipboardSecondLineTop = -2;
    static constexpr int clipboardSingleLineTop = -7;
};

// Word tables: each replaces the whole text when it matches, ignoring case,
// and returns any other text unchanged.
std::string translateSensorQuantity(std::string_view text);
std::string translateSensorUnit(std::string_view text);
std::string translateModuleName(std::string_view text);

// Mimic channel names: "in " and "out " prefixes become "ent" and "sal"; this
// one is case-sensitive, so a name such as "In 3" is left alone.
std::string translateMimicChannelName(std::string_view text);

}  // namespace tarvel
