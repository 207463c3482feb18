#include "flowchart/line_router.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "flowchart/line_pieces.h"

namespace tarvel {

namespace {

constexpr int kStep = 8;
constexpr int kChannelOffset = 79;  // first channel tried beside a centre
constexpr int kRestartAfter = 49;   // candidates before the search turns round
constexpr int kGiveUpAfter = 100;   // candidates before the search fails
constexpr int kRunClearance = 2;    // a parallel run closer than this is in the way
constexpr int kStubLength = 24;     // the stubs of a connector line

// The rectangle a segment covers, zero wide or high.
Rect segmentRect(Point a, Point b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool crossesBox(Point a, Point b, const Rect& box)
{
    const Rect s = segmentRect(a, b);
    // A zero-width segment overlaps when its line lies strictly inside.
    return s.left < box.right && s.right > box.left && s.top < box.bottom && s.bottom > box.top;
}

int floorTo(int v, int step)
{
    return v >= 0 ? v / step * step : -((-v + step - 1) / step) * step;
}

// One straight run of another line, for keeping channels apart.
struct Run {
    int at;           // x of a vertical run, y of a horizontal one
    int from;         // the low end along the run
    int to;           // the high end
    int origin;       // the symbol the line leaves
    int destination;  // the symbol the line enters
    bool entry;       // the line's last run, ending where it enters its destination
};

// Everything a route must keep clear of, gathered once per route.
struct Obstacles {
    std::vector<Run> vertical;
    std::vector<Run> horizontal;
    std::vector<Rect> tags;
};

enum class Blocked { No, Symbol, Encloses, TouchesEnd };

class Search {
public:
    Search(const FlowDocument& doc, const Obstacles& obs, int origin)
        : doc_(doc), obs_(obs), origin_(origin)
    {
    }

    bool failed = false;

    // A free vertical run at an x near `want` between heights y1 and y2,
    // stepping `sense` (+1 right, -1 left, 0 leftwards only).
    int vertical(int want, int y1, int y2, int sense) { return find(want, y1, y2, sense, true); }
    // A free horizontal run at a y near `want` between x1 and x2.
    int horizontal(int want, int x1, int x2, int sense) { return find(want, x1, x2, sense, false); }

    Blocked test(int at, int lo, int hi, bool vertical) const
    {
        const Point a = vertical ? Point{at, lo} : Point{lo, at};
        const Point b = vertical ? Point{at, hi} : Point{hi, at};
        for (int i = 0; i < doc_.symbolCount(); ++i) {
            const FlowSymbol& s = doc_.symbol(i);
            if (crossesBox(a, b, obstacleBox(s, !vertical && at == s.y))) return Blocked::Symbol;
        }
        Blocked worst = Blocked::No;
        for (const Run& r : vertical ? obs_.vertical : obs_.horizontal) {
            if (std::abs(r.at - at) > kRunClearance) continue;
            if (r.to < lo || r.from > hi) continue;
            if (r.origin == origin_ && r.at == at) continue;  // shared with a sibling line
            if (r.from >= lo && r.to <= hi) return Blocked::Encloses;
            worst = Blocked::TouchesEnd;
        }
        return worst;
    }

private:
    int find(int want, int lo, int hi, int sense, bool vertical)
    {
        if (lo > hi) std::swap(lo, hi);
        const int limit = vertical ? kDrawingWidth : kDrawingHeight;
        const bool upOnly = sense == 0;
        int dir = upOnly ? -1 : sense;
        int pos = want;
        bool restarted = false;
        std::array<int, kGiveUpAfter> tried{};
        int count = 0;
        auto seen = [&](int v) {
            return std::find(tried.begin(), tried.begin() + count, v) != tried.begin() + count;
        };
        while (count < kGiveUpAfter) {
            if (pos < 0 || pos > limit) {
                // Off the drawing: turn round once, from the wanted position.
                if (restarted || upOnly) break;
                restarted = true;
                dir = -dir;
                pos = want + dir * kStep;
                continue;
            }
            tried[static_cast<std::size_t>(count++)] = pos;
            const Blocked b = test(pos, lo, hi, vertical);
            if (b == Blocked::No) return pos;
            if (count == kRestartAfter && !restarted && !upOnly) {
                restarted = true;
                dir = -dir;
                pos = want + dir * kStep;
                continue;
            }
            if (b == Blocked::TouchesEnd && !upOnly) {
                // Only the end of another run is in the way: look on the other
                // side first, at the nearest candidate not tried yet.
                int other = pos - dir * kStep;
                while (seen(other)) other -= dir * kStep;
                if (other >= 0 && other <= limit &&
                    std::abs(other - want) <= std::abs(pos - want) + kStep) {
                    dir = -dir;
                    pos = other;
                    continue;
                }
            }
            int next = pos + dir * kStep;
            while (seen(next)) next += dir * kStep;
            pos = next;
        }
        failed = true;
        return want;
    }

    const FlowDocument& doc_;
    const Obstacles& obs_;
    int origin_;
};

Obstacles gather(const FlowDocument& doc, int excludeLine)
{
    Obstacles o;
    o.vertical.reserve(static_cast<std::size_t>(doc.lineCount()) * 3);
    o.horizontal.reserve(static_cast<std::size_t>(doc.lineCount()) * 3);
    for (int i = 0; i < doc.lineCount(); ++i) {
        if (i == excludeLine) continue;
        const FlowLine& l = doc.line(i);
        for (const LinePiece& piece : LinePieces(l)) {
            if (!piece.isSegment()) continue;
            const Point a = piece.from, b = piece.to;
            if (a.x == b.x)
                o.vertical.push_back({a.x, std::min(a.y, b.y), std::max(a.y, b.y), l.origin,
                                      l.destination, piece.last});
            else if (a.y == b.y)
                o.horizontal.push_back({a.y, std::min(a.x, b.x), std::max(a.x, b.x), l.origin,
                                        l.destination, piece.last});
        }
        if (l.kind != LineKind::Plain && l.geometry.tag.x >= 0)
            o.tags.push_back(
                {l.geometry.tag.x, l.geometry.tag.y - 6, l.geometry.tag.x + 10, l.geometry.tag.y});
    }
    return o;
}

// A path under construction: the points so far and whether a search failed.
struct Path {
    std::vector<Point> points;
    bool failed = false;
};

// Drops repeated points and corners that lie on a straight run.
void tidy(std::vector<Point>& pts)
{
    std::vector<Point> out;
    for (const Point& p : pts) {
        if (!out.empty() && out.back() == p) continue;
        if (out.size() >= 2) {
            const Point a = out[out.size() - 2];
            const Point b = out.back();
            if ((a.x == b.x && b.x == p.x) || (a.y == b.y && b.y == p.y))
                out.back() = p;
            else
                out.push_back(p);
        } else {
            out.push_back(p);
        }
    }
    pts = std::move(out);
}

class Planner {
public:
    Planner(const FlowDocument& doc, const Obstacles& obs, int origin, int destination)
        : doc_(doc),
          obs_(obs),
          o_(doc.symbol(origin)),
          d_(doc.symbol(destination)),
          origin_(origin),
          destination_(destination)
    {
    }

    // Whether every segment keeps out of every symbol, off every other line's
    // runs and, after the first, out of every other line's tag; and the path is
    // orthogonal and short enough.
    bool acceptable(const std::vector<Point>& pts) const
    {
        if (pts.size() < 2 || pts.size() > static_cast<std::size_t>(kLinePoints)) return false;
        for (std::size_t k = 1; k < pts.size(); ++k) {
            const Point a = pts[k - 1], b = pts[k];
            if (a.x != b.x && a.y != b.y) return false;
            if (a.x < 0 || a.y < 0 || b.x < 0 || b.y < 0) return false;
            if (segmentCrossesSymbol(doc_, a, b)) return false;
            if (onAnotherRun(a, b, k + 1 == pts.size())) return false;
            if (k > 1)
                for (const Rect& t : obs_.tags)
                    if (crossesBox(a, b, t)) return false;
        }
        return true;
    }

    // Whether a run lies along another line's run, on it or within 2 units
    // beside it, for some length: on screen the two would read as one line.
    // Lines leaving the same symbol may share a run exactly, and so may the
    // last runs of lines entering the same symbol at the same point (a join).
    bool onAnotherRun(Point a, Point b, bool last) const
    {
        const bool vertical = a.x == b.x;
        const int at = vertical ? a.x : a.y;
        const int lo = vertical ? std::min(a.y, b.y) : std::min(a.x, b.x);
        const int hi = vertical ? std::max(a.y, b.y) : std::max(a.x, b.x);
        for (const Run& r : vertical ? obs_.vertical : obs_.horizontal) {
            if (std::abs(r.at - at) > kRunClearance) continue;
            if (std::min(r.to, hi) <= std::max(r.from, lo)) continue;  // no common length
            if (r.at == at && r.origin == origin_) continue;
            if (r.at == at && last && r.entry && r.destination == destination_) continue;
            return true;
        }
        return false;
    }

    // Straight down the column into the destination's top.
    std::vector<Point> straightDown() const
    {
        if (o_.x != d_.x || topSide(d_).y <= bottomSide(o_).y) return {};
        return {bottomSide(o_), topSide(d_)};
    }

    // Straight across a row, side to side.
    std::vector<Point> straightAcross() const
    {
        if (o_.y != d_.y || o_.x == d_.x) return {};
        return d_.x > o_.x ? std::vector<Point>{rightSide(o_), leftSide(d_)}
                           : std::vector<Point>{leftSide(o_), rightSide(d_)};
    }

    // Down from the bottom, across on a free row halfway, down into the top.
    std::vector<Point> dropAcrossDrop()
    {
        const Point from = bottomSide(o_);
        const Point to = topSide(d_);
        if (o_.x == d_.x || to.y <= from.y + kStep) return {};
        Search s(doc_, obs_, origin_);
        int y = floorTo(from.y + (to.y - from.y) / 2, kStep);
        // Upwards only, and never above the origin's bottom.
        while (y > from.y) {
            if (s.test(y, std::min(o_.x, d_.x), std::max(o_.x, d_.x), false) == Blocked::No) break;
            y -= kStep;
        }
        if (y <= from.y) return {};
        return {from, {o_.x, y}, {d_.x, y}, to};
    }

    // Out of a side, across to the destination's column, down into its top.
    std::vector<Point> sideThenDrop(int sense) const
    {
        const Point from = sense > 0 ? rightSide(o_) : leftSide(o_);
        const Point to = topSide(d_);
        if (to.y <= o_.y || (sense > 0 ? d_.x <= from.x : d_.x >= from.x)) return {};
        return {from, {d_.x, o_.y}, to};
    }

    // Out of a side, along a free column, into the destination's facing side.
    std::vector<Point> sideToSide(int sense)
    {
        const Point from = sense > 0 ? rightSide(o_) : leftSide(o_);
        Search s(doc_, obs_, origin_);
        const int x = s.vertical(o_.x + sense * kChannelOffset, o_.y, d_.y, sense);
        if (s.failed || (sense > 0 ? x <= from.x : x >= from.x)) return {};
        const Point to = x < d_.x ? leftSide(d_) : rightSide(d_);
        if (x < d_.x ? x >= to.x : x <= to.x) return {};
        return {from, {x, o_.y}, {x, d_.y}, to};
    }

    // Out of a side, down a free column beside the origin, across a free row
    // just above the destination and down into its top.
    std::vector<Point> sideDownAcrossDrop(int sense)
    {
        const Point from = sense > 0 ? rightSide(o_) : leftSide(o_);
        const Point to = topSide(d_);
        if (to.y <= o_.y) return {};
        Search s(doc_, obs_, origin_);
        int y = floorTo(to.y - 12, kStep);
        const int x = s.vertical(o_.x + sense * kChannelOffset, o_.y, y, sense);
        if (s.failed || (sense > 0 ? x <= from.x : x >= from.x)) return {};
        y = s.horizontal(y, std::min(x, d_.x), std::max(x, d_.x), 0);
        if (s.failed || y <= o_.y || y >= to.y) return {};
        if (s.test(x, o_.y, y, true) == Blocked::Symbol) return {};
        return {from, {x, o_.y}, {x, y}, {d_.x, y}, to};
    }

    // Out of a side, along a free column past both symbols, across a free row
    // above the destination and down into its top.
    std::vector<Point> around(int sense)
    {
        const Point from = sense > 0 ? rightSide(o_) : leftSide(o_);
        const Point to = topSide(d_);
        Search s(doc_, obs_, origin_);
        const int edge = sense > 0 ? std::max(o_.x, d_.x) : std::min(o_.x, d_.x);
        int y = floorTo(to.y - 12, kStep);
        const int x =
            s.vertical(edge + sense * kChannelOffset, std::min(o_.y, y), std::max(o_.y, y), sense);
        if (s.failed) return {};
        y = s.horizontal(y, std::min(x, d_.x), std::max(x, d_.x), 0);
        if (s.failed || y >= to.y) return {};
        if (s.test(x, std::min(o_.y, y), std::max(o_.y, y), true) == Blocked::Symbol) return {};
        return {from, {x, o_.y}, {x, y}, {d_.x, y}, to};
    }

    // The bottom is taken by a line already leaving this symbol.
    bool bottomTaken(int excludeLine) const
    {
        const Point b = bottomSide(o_);
        for (int i = 0; i < doc_.lineCount(); ++i) {
            if (i == excludeLine) continue;
            const FlowLine& l = doc_.line(i);
            if (l.origin == origin_ && l.geometry.points[0] == b) return true;
        }
        return false;
    }

    // The right side is taken by a line already leaving this symbol.
    bool rightTaken(int excludeLine) const
    {
        const Point r = rightSide(o_);
        for (int i = 0; i < doc_.lineCount(); ++i) {
            if (i == excludeLine) continue;
            const FlowLine& l = doc_.line(i);
            if (l.origin == origin_ && l.geometry.points[0] == r) return true;
        }
        return false;
    }

    std::vector<Point> plan(int excludeLine)
    {
        const bool below = topSide(d_).y > bottomSide(o_).y;
        const int facing = d_.x >= o_.x ? +1 : -1;
        // A decision's second line leaves by a side rather than share the bottom.
        const bool preferSide = o_.kind == SymbolKind::Decision && bottomTaken(excludeLine);
        const int side = preferSide && facing > 0 && rightTaken(excludeLine) ? -1 : facing;
        auto attempt = [&](std::vector<Point> pts) -> bool {
            tidy(pts);
            if (!acceptable(pts)) return false;
            best_ = std::move(pts);
            return true;
        };
        if (o_.y == d_.y && attempt(straightAcross())) return best_;
        if (below && !preferSide) {
            if (attempt(straightDown())) return best_;
            if (attempt(dropAcrossDrop())) return best_;
        }
        if (below) {
            if (preferSide && attempt(sideThenDrop(side))) return best_;
            if (attempt(sideToSide(side))) return best_;
            if (attempt(sideDownAcrossDrop(side))) return best_;
            if (attempt(around(side))) return best_;
            if (preferSide && attempt(dropAcrossDrop())) return best_;
            if (attempt(sideToSide(-side))) return best_;
            if (attempt(sideDownAcrossDrop(-side))) return best_;
            if (attempt(around(-side))) return best_;
        } else {
            // A loop back climbs beside the symbols and drops into the top;
            // entering by a side is the last resort before a connector.
            const int loopSide = preferSide ? side : (d_.x < o_.x ? -1 : +1);
            if (attempt(around(loopSide))) return best_;
            if (attempt(around(-loopSide))) return best_;
            if (attempt(sideToSide(loopSide))) return best_;
            if (attempt(sideToSide(-loopSide))) return best_;
        }
        return {};
    }

private:
    const FlowDocument& doc_;
    const Obstacles& obs_;
    const FlowSymbol& o_;
    const FlowSymbol& d_;
    int origin_;
    int destination_;
    std::vector<Point> best_;
};

// The tag of a YES or NO line: beside its first run, right of a drop or above
// a run across.
Point tagFor(const std::vector<Point>& pts)
{
    const Point a = pts[0], b = pts[1];
    if (a.x == b.x) return {a.x + 4, b.y > a.y ? a.y + 14 : a.y - 4};
    return {b.x > a.x ? a.x + 4 : a.x - 20, a.y - 2};
}

}  // namespace

Rect obstacleBox(const FlowSymbol& s, bool horizontalAtOwnY)
{
    int hw = 60;
    if (s.kind == SymbolKind::Process || (s.kind == SymbolKind::Output && horizontalAtOwnY))
        hw = 48;
    const int hh = s.kind == SymbolKind::StartStop ? 12 : 24;
    return {s.x - hw, s.y - hh, s.x + hw, s.y + hh};
}

bool segmentCrossesSymbol(const FlowDocument& doc, Point a, Point b, int ignoreA, int ignoreB)
{
    const bool horizontal = a.y == b.y;
    for (int i = 0; i < doc.symbolCount(); ++i) {
        if (i == ignoreA || i == ignoreB) continue;
        const FlowSymbol& s = doc.symbol(i);
        if (crossesBox(a, b, obstacleBox(s, horizontal && a.y == s.y))) return true;
    }
    return false;
}

Point bottomSide(const FlowSymbol& s)
{
    return {s.x, s.y + bodySize(s.kind).halfHeight};
}

Point topSide(const FlowSymbol& s)
{
    return {s.x, s.y - bodySize(s.kind).halfHeight};
}

Point leftSide(const FlowSymbol& s)
{
    return {s.x - bodySize(s.kind).halfWidth, s.y};
}

Point rightSide(const FlowSymbol& s)
{
    return {s.x + bodySize(s.kind).halfWidth, s.y};
}

std::optional<LineGeometry> LineRouter::route(int origin, int destination, LineKind kind,
                                              int excludeLine)
{
    if (origin < 0 || origin >= doc_.symbolCount() || destination < 0 ||
        destination >= doc_.symbolCount())
        return std::nullopt;
    const Obstacles obs = gather(doc_, excludeLine);
    Planner planner(doc_, obs, origin, destination);
    const std::vector<Point> pts = planner.plan(excludeLine);

    LineGeometry g;
    for (auto& p : g.points) p = {kUnusedPointX, -1};
    if (!pts.empty()) {
        for (std::size_t k = 0; k < pts.size(); ++k) g.points[k] = pts[k];
        if (kind != LineKind::Plain) g.tag = tagFor(pts);
        return g;
    }

    // No tidy path: two stubs joined by a lettered connector.
    const int letter = doc_.takeConnectorLetter();
    if (letter == 0) return std::nullopt;
    const FlowSymbol& o = doc_.symbol(origin);
    const FlowSymbol& d = doc_.symbol(destination);
    const Point start = rightSide(o);
    const Point end = leftSide(d);
    g.points[0] = start;
    g.points[1] = {start.x + kStubLength, start.y};
    g.points[2] = {kConnectorMarkX, letter};
    g.points[3] = {end.x - kStubLength, end.y};
    g.points[4] = end;
    if (kind != LineKind::Plain) g.tag = {start.x + 2, start.y - 8};
    return g;
}

bool LineRouter::reroute(int line)
{
    if (line < 0 || line >= doc_.lineCount()) return false;
    const FlowLine& l = doc_.line(line);
    const int oldLetter = l.connectorLetter();
    doc_.freeConnectorLetter(oldLetter);
    const auto g = route(l.origin, l.destination, l.kind, line);
    if (!g) {
        // The line stays as it was, letter and all.
        doc_.recountConnectorLetters();
        return false;
    }
    doc_.setLineGeometry(line, *g);
    return true;
}

}  // namespace tarvel
