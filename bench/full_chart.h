#pragma once
// The fullest chart the tables hold: 220 symbols, 400 lines of 7 points, 100
// labels, every text and name at its full length.

#include <string>

#include "flowchart/flow_document.h"

namespace tarvel {

inline void fillFull(FlowDocument& doc)
{
    for (int i = 0; i < kMaxSymbols; ++i) {
        const int s = doc.appendSymbol(static_cast<SymbolKind>(i % 4),
                                       {64 + (i % 20) * 64, 56 + (i / 20) * 112});
        doc.setSymbolText(s, std::string(kSymbolTextMax, static_cast<char>('a' + i % 26)));
    }
    for (int i = 0; i < kMaxLines; ++i) {
        LineGeometry g;
        g.tag = {100 + i, 200};
        for (int p = 0; p < kLinePoints; ++p)
            g.points[static_cast<std::size_t>(p)] = {i + p * 10, 300 + p};
        doc.appendLine(i % kMaxSymbols, (i + 1) % kMaxSymbols, static_cast<LineKind>(i % 3), g);
    }
    for (int i = 0; i < kMaxLabels; ++i) {
        const int l = doc.appendLabel({10 * i, 20 * i});
        doc.setLabelText(l, std::string(kLabelTextMax, static_cast<char>('A' + i % 26)));
    }
    for (auto& n : doc.inputNames) n = std::string(kNameMax, 'i');
    for (auto& n : doc.outputNames) n = std::string(kNameMax, 'o');
    for (auto& n : doc.motorNames) n = std::string(kNameMax, 'm');
    for (auto& n : doc.channelNames) n = std::string(kNameMax, 'c');
    for (auto& s : doc.soundFiles) s = std::string(kSoundNameMax, 's');
    doc.mimicSet = std::string(kMimicNameMax, 'f');
}

}  // namespace tarvel
