#pragma once
// Small value types shared by the flowchart document, its file format, the
// caption rules, drawing and editing.

#include <cstdint>

namespace tarvel {

enum class SymbolKind : std::int32_t { StartStop = 0, Output = 1, Process = 2, Decision = 3 };
enum class LineKind : std::int32_t { Plain = 0, Yes = 1, No = 2 };

// The draw states of symbols and lines (their `selected` field): how the
// painter shows them. Never stored.
namespace draw {
inline constexpr std::int32_t Normal = 0;
inline constexpr std::int32_t Guide = 1;       // a line being drawn follows it
inline constexpr std::int32_t Calling = 2;     // a sub call waiting for its sub
inline constexpr std::int32_t Active = 3;      // a task is on it
inline constexpr std::int32_t ActiveLine = 4;  // a task followed it
inline constexpr std::int32_t Selected = 5;
inline constexpr std::int32_t Origin = 6;  // where a line being drawn starts
}  // namespace draw

struct Point {
    std::int32_t x = -1;
    std::int32_t y = -1;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
    bool empty() const { return right <= left || bottom <= top; }
    Rect united(const Rect& o) const
    {
        if (empty()) return o;
        if (o.empty()) return *this;
        return {left < o.left ? left : o.left, top < o.top ? top : o.top,
                right > o.right ? right : o.right, bottom > o.bottom ? bottom : o.bottom};
    }
};

// Half sizes of a symbol body around its centre, for attaching lines.
struct BodySize {
    std::int32_t halfWidth;
    std::int32_t halfHeight;
};

constexpr BodySize bodySize(SymbolKind kind)
{
    switch (kind) {
        case SymbolKind::StartStop:
            return {61, 13};
        case SymbolKind::Output:
            return {49, 25};
        case SymbolKind::Process:
            return {49, 25};
        case SymbolKind::Decision:
            return {61, 25};
    }
    return {49, 25};
}

// A point whose x holds this value is a connector mark; its y holds the letter.
inline constexpr std::int32_t kConnectorMarkX = -10;
// The x of the first point of a line that is not in use.
inline constexpr std::int32_t kUnusedPointX = -1;

inline constexpr int kMaxSymbols = 220;
inline constexpr int kMaxLines = 400;
inline constexpr int kMaxLabels = 100;
inline constexpr int kLinePoints = 7;
inline constexpr int kSymbolTextMax = 39;
inline constexpr int kLabelTextMax = 49;
inline constexpr int kNameMax = 19;
inline constexpr int kMimicNameMax = 20;
inline constexpr int kSoundNameMax = 254;
inline constexpr int kSoundSlots = 10;
inline constexpr int kConnectorLetters = 26;

inline constexpr std::int32_t kDrawingWidth = 1310;
inline constexpr std::int32_t kDrawingHeight = 1906;
inline constexpr std::int32_t kGridX = 32;
inline constexpr std::int32_t kGridY = 28;

}  // namespace tarvel
