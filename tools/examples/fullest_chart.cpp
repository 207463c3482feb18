#include "fullest_chart.h"

#include <string>

namespace tarvel::examples {

void fillFullestChart(FlowDocument& doc)
{
    // Texts whose captions break over two lines at 100 %.
    static const char* const texts[] = {"Turn Output 3 on", "Let a = b + 3", "Is Input 2 on",
                                        "Turn Motor A fd ", "Delay 12.5",    "Is Val 1 > 500"};
    static const SymbolKind kinds[] = {SymbolKind::Output,   SymbolKind::Process,
                                       SymbolKind::Decision, SymbolKind::Output,
                                       SymbolKind::Process,  SymbolKind::Decision};
    for (int i = 0; i < kMaxSymbols; ++i) {
        const int k = i % 6;
        const int s = doc.appendSymbol(kinds[k], {64 + (i % 10) * 128, 40 + (i / 10) * 84});
        doc.setSymbolText(s, texts[k]);
    }
    for (int i = 0; i < kMaxLines; ++i) {
        LineGeometry g;
        const int x = 8 + (i % 40) * 32, y = 20 + (i / 40) * 180;
        // A staircase of six orthogonal segments, long enough for midpoint arrows.
        const Point pts[kLinePoints] = {{x, y},           {x, y + 80},      {x + 90, y + 80},
                                        {x + 90, y + 30}, {x + 12, y + 30}, {x + 12, y + 160},
                                        {x + 40, y + 160}};
        for (int p = 0; p < kLinePoints; ++p) g.points[static_cast<std::size_t>(p)] = pts[p];
        const auto kind = static_cast<LineKind>(i % 3);
        if (kind != LineKind::Plain) g.tag = {x + 2, y + 16};
        doc.appendLine(i % kMaxSymbols, (i + 1) % kMaxSymbols, kind, g);
    }
    for (int i = 0; i < kMaxLabels; ++i) {
        const int l = doc.appendLabel({20 + (i % 5) * 250, 30 + (i / 5) * 92});
        doc.labelRef(l).size = 1 + i % 3;
        doc.setLabelText(l, "Etiqueta n\xFAmero " + std::to_string(i));
    }
    for (int i = 0; i < kMaxSymbols; i += 7) doc.selectSymbol(i);
    for (int i = 0; i < kMaxLabels; i += 9) doc.selectLabel(i);
}

}  // namespace tarvel::examples
