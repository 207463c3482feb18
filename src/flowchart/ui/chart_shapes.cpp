#include "flowchart/ui/chart_shapes.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "flowchart/line_pieces.h"
#include "flowchart/ui/solid_fill.h"

namespace tarvel {

namespace {

std::array<QPoint, 4> outputCorners(const Scale& s, int x, int y)
{
    return {s.pt(x - 60, y + 24), s.pt(x + 36, y + 24), s.pt(x + 60, y - 24), s.pt(x - 36, y - 24)};
}

std::array<QPoint, 4> decisionCorners(const Scale& s, int x, int y)
{
    return {s.pt(x - 60, y), s.pt(x, y + 24), s.pt(x + 60, y), s.pt(x, y - 24)};
}

// The pixels of a straight join as the painter draws it (joinLine).
QRect joinStrip(QPoint a, QPoint b)
{
    if (a.x() == b.x() && a.y() != b.y())
        b.ry() += a.y() < b.y() ? -1 : 1;
    else if (a.y() == b.y() && a.x() != b.x())
        b.rx() += a.x() < b.x() ? -1 : 1;
    return QRect(a, b).normalized();
}

// The pixels of a one-pixel rectangle outline as the painter draws it: the
// pen runs along both edges, right and bottom included.
void outlineStrips(QVarLengthArray<QRect, 8>& out, const QRect& r)
{
    const int l = r.x(), t = r.y(), w = r.width(), h = r.height();
    out.append(QRect(l, t, w + 1, 1));
    out.append(QRect(l, t + h, w + 1, 1));
    out.append(QRect(l, t, 1, h + 1));
    out.append(QRect(l + w, t, 1, h + 1));
}

}  // namespace

void joinLine(QPainter& p, QPoint a, QPoint b)
{
    if (a.x() == b.x() && a.y() != b.y())
        b.ry() += a.y() < b.y() ? -1 : 1;
    else if (a.y() == b.y() && a.x() != b.x())
        b.rx() += a.x() < b.x() ? -1 : 1;
    p.drawLine(a, b);
}

void drawShape(QPainter& p, const Scale& s, SymbolKind kind, int x, int y, bool subCall,
               bool printer, bool filling)
{
    switch (kind) {
        case SymbolKind::StartStop: {
            const int bottom = printer ? y + 12 : y + 13;
            if (filling) {
                p.drawEllipse(s.fill(x - 60, y - 12, x - 36, bottom));
                p.drawEllipse(s.fill(x + 36, y - 12, x + 60, bottom));
                p.drawRect(s.fill(x - 48, y - 12, x + 48, bottom));
                return;
            }
            p.drawArc(s.outline(x - 60, y - 12, x - 36, bottom), 90 * 16, 180 * 16);
            p.drawArc(s.outline(x + 36, y - 12, x + 60, bottom), -90 * 16, 180 * 16);
            joinLine(p, s.pt(x - 48, y - 12), s.pt(x + 48, y - 12));
            joinLine(p, s.pt(x - 48, y + 12), s.pt(x + 48, y + 12));
            return;
        }
        case SymbolKind::Output: {
            const auto pts = outputCorners(s, x, y);
            p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
            return;
        }
        case SymbolKind::Process:
            if (filling) {
                p.drawRect(s.fill(x - 48, y - 24, x + 48, y + 24));
                return;
            }
            p.drawRect(s.outline(x - 48, y - 24, x + 48, y + 24));
            if (subCall) {
                joinLine(p, s.pt(x - 45, y - 24), s.pt(x - 45, y + 24));
                joinLine(p, s.pt(x + 45, y - 24), s.pt(x + 45, y + 24));
            }
            return;
        case SymbolKind::Decision: {
            const auto pts = decisionCorners(s, x, y);
            p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
            return;
        }
    }
}

bool directOutline(SolidFill& fill, const Scale& s, SymbolKind kind, int x, int y, bool subCall,
                   QRgb colour)
{
    if (!fill.direct()) return false;
    QVarLengthArray<QRect, 8> strips;
    switch (kind) {
        case SymbolKind::StartStop:
            return false;
        case SymbolKind::Output: {
            const auto pts = outputCorners(s, x, y);
            return fill.outline(pts.data(), static_cast<int>(pts.size()), colour);
        }
        case SymbolKind::Process:
            outlineStrips(strips, s.outline(x - 48, y - 24, x + 48, y + 24));
            if (subCall) {
                strips.append(joinStrip(s.pt(x - 45, y - 24), s.pt(x - 45, y + 24)));
                strips.append(joinStrip(s.pt(x + 45, y - 24), s.pt(x + 45, y + 24)));
            }
            break;
        case SymbolKind::Decision: {
            const auto pts = decisionCorners(s, x, y);
            return fill.outline(pts.data(), static_cast<int>(pts.size()), colour);
        }
    }
    return fill.strokes(strips.constData(), static_cast<int>(strips.size()), colour);
}

void drawArrowhead(QPainter& p, const Scale& s, int x, int y, int dx, int dy)
{
    int ux = 0, uy = 0;
    if (std::abs(dx) >= std::abs(dy))
        ux = dx > 0 ? 1 : -1;
    else
        uy = dy > 0 ? 1 : -1;
    const int bx = x - 6 * ux, by = y - 6 * uy;
    const std::array<QPoint, 3> pts{s.pt(x, y), s.pt(bx - 4 * uy, by + 4 * ux),
                                    s.pt(bx + 4 * uy, by - 4 * ux)};
    p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
}

void arrowheadStrips(Strips& out, const Scale& s, int x, int y, int dx, int dy)
{
    const QPoint tip = s.pt(x, y);
    if (std::abs(dx) >= std::abs(dy)) {
        const int ux = dx > 0 ? 1 : -1;
        const int base = s.x(x - 6 * ux);
        const int up = tip.y() - s.y(y - 4), down = s.y(y + 4) - tip.y();
        const int len = std::abs(tip.x() - base);
        for (int k = 0; k <= len; ++k) {
            const int c = tip.x() - ux * k;
            const int a = len ? (up * k + len / 2) / len : up;
            const int b = len ? (down * k + len / 2) / len : down;
            out.append(QRect(QPoint(c, tip.y() - a), QPoint(c, tip.y() + b)));
        }
    } else {
        const int uy = dy > 0 ? 1 : -1;
        const int base = s.y(y - 6 * uy);
        const int left = tip.x() - s.x(x - 4), right = s.x(x + 4) - tip.x();
        const int len = std::abs(tip.y() - base);
        for (int k = 0; k <= len; ++k) {
            const int r = tip.y() - uy * k;
            const int a = len ? (left * k + len / 2) / len : left;
            const int b = len ? (right * k + len / 2) / len : right;
            out.append(QRect(QPoint(tip.x() - a, r), QPoint(tip.x() + b, r)));
        }
    }
}

Rect connectorBoxAfter(Point end)
{
    return {end.x, end.y - 10, end.x + 20, end.y + 10};
}
Rect connectorBoxBefore(Point start)
{
    return {start.x - 20, start.y - 10, start.x, start.y + 10};
}

bool hasTag(const FlowLine& l)
{
    return l.kind != LineKind::Plain && l.geometry.tag.x >= 0;
}

Rect lineExtent(const FlowLine& l, int tagWidth, int tagHeight)
{
    Rect r{};
    const auto add = [&r](const Rect& part) { r = r.united(part); };
    // Arrowheads reach 4 to either side of the line.
    const auto point = [&add](Point p) { add({p.x - 4, p.y - 4, p.x + 5, p.y + 5}); };
    for (const LinePiece& piece : LinePieces(l)) {
        point(piece.from);
        switch (piece.kind) {
            case LinePiece::Kind::Segment:
                point(piece.to);
                break;
            case LinePiece::Kind::CircleAfter:
                add(connectorBoxAfter(piece.from));
                break;
            case LinePiece::Kind::CircleBefore:
                add(connectorBoxBefore(piece.from));
                break;
        }
    }
    if (hasTag(l))
        add({l.geometry.tag.x, l.geometry.tag.y - 10, l.geometry.tag.x + tagWidth + 1,
             l.geometry.tag.y - 10 + tagHeight});
    return r;
}

Rect symbolBody(const FlowSymbol& s)
{
    const int h = bodySize(s.kind).halfHeight;
    return {s.x - 60, s.y - h, s.x + 61, s.y + h + 1};
}

Rect symbolReach(const FlowSymbol& s)
{
    const int h = bodySize(s.kind).halfHeight;
    return {s.x - 260, s.y - h - 2, s.x + 261, s.y + h + 3};
}

bool isSubCall(const FlowSymbol& s)
{
    return s.kind == SymbolKind::Process && s.text.at(0) == 'S';
}
}  // namespace tarvel
