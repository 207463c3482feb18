// A line's pieces: the segments the painter, the extents, the editor's hit
// tests and the router's obstacles all take from one walk over its points,
// with the connector mark splitting it into stubs.

#include "flowchart/line_pieces.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

namespace tarvel {
namespace {

FlowLine lineThrough(std::initializer_list<Point> points)
{
    FlowLine l;
    for (auto& p : l.geometry.points) p = {kUnusedPointX, -1};
    std::size_t k = 0;
    for (const Point& p : points) l.geometry.points[k++] = p;
    return l;
}

// The pieces written out: "s(a)-(b)" for a segment ("S" when it is the
// last), "a(p)X" and "b(p)X" for the circles after and before a stub.
std::string pieces(const FlowLine& l)
{
    std::ostringstream out;
    auto pt = [&out](Point p) { out << "(" << p.x << "," << p.y << ")"; };
    for (const LinePiece& piece : LinePieces(l)) {
        switch (piece.kind) {
            case LinePiece::Kind::Segment:
                out << (piece.last ? "S" : "s");
                pt(piece.from);
                out << "-";
                pt(piece.to);
                break;
            case LinePiece::Kind::CircleAfter:
                out << "a";
                pt(piece.from);
                out << static_cast<char>(piece.letter);
                break;
            case LinePiece::Kind::CircleBefore:
                out << "b";
                pt(piece.from);
                out << static_cast<char>(piece.letter);
                break;
        }
        out << " ";
    }
    return out.str();
}

constexpr int kA = 'A';

TEST(LinePieces, PlainAndConnectorLines)
{
    // A routed line: every run a segment, the last one entering the destination.
    EXPECT_EQ(pieces(lineThrough({{100, 100}, {100, 200}, {300, 200}, {300, 250}})),
              "s(100,100)-(100,200) s(100,200)-(300,200) S(300,200)-(300,250) ");
    // Two stubs joined by a lettered connector: a circle after the first stub's
    // end and one before the second stub's start; only the second stub ends
    // the line.
    EXPECT_EQ(pieces(lineThrough(
                  {{161, 100}, {185, 100}, {kConnectorMarkX, kA}, {515, 400}, {539, 400}})),
              "s(161,100)-(185,100) a(185,100)A b(515,400)A S(515,400)-(539,400) ");
    // All seven points in use: six segments, only the sixth the last.
    int segments = 0, last = 0;
    const FlowLine full =
        lineThrough({{0, 0}, {0, 8}, {8, 8}, {8, 16}, {16, 16}, {16, 24}, {24, 24}});
    for (const LinePiece& piece : LinePieces(full)) {
        ++segments;
        if (piece.last) last = segments;
    }
    EXPECT_EQ(segments, 6);
    EXPECT_EQ(last, 6);
}

TEST(LinePieces, OddLinesFromFiles)
{
    // Nothing in use, or a single point: nothing drawn.
    EXPECT_EQ(pieces(lineThrough({})), "");
    EXPECT_EQ(pieces(lineThrough({{10, 10}})), "");
    // A stub of one point still has its circle.
    EXPECT_EQ(pieces(lineThrough({{10, 10}, {kConnectorMarkX, 'B'}, {50, 60}, {50, 90}})),
              "a(10,10)B b(50,60)B S(50,60)-(50,90) ");
    EXPECT_EQ(pieces(lineThrough({{10, 10}, {10, 40}, {kConnectorMarkX, 'C'}, {70, 80}})),
              "s(10,10)-(10,40) a(10,40)C b(70,80)C ");
    // A mark first or last: the circle on the side that has a stub.
    EXPECT_EQ(pieces(lineThrough({{kConnectorMarkX, 'D'}, {5, 5}, {5, 9}})),
              "b(5,5)D S(5,5)-(5,9) ");
    EXPECT_EQ(pieces(lineThrough({{5, 5}, {5, 9}, {kConnectorMarkX, 'E'}})),
              "s(5,5)-(5,9) a(5,9)E ");
    // Two marks in a row: the later letter starts the second stub.
    EXPECT_EQ(
        pieces(lineThrough(
            {{5, 5}, {5, 9}, {kConnectorMarkX, 'F'}, {kConnectorMarkX, 'G'}, {7, 7}, {7, 3}})),
        "s(5,5)-(5,9) a(5,9)F b(7,7)G S(7,7)-(7,3) ");
    // Points after the first unused one are not in use.
    EXPECT_EQ(pieces(lineThrough({{5, 5}, {5, 9}, {kUnusedPointX, -1}, {7, 7}, {7, 3}})),
              "S(5,5)-(5,9) ");
}

}  // namespace
}  // namespace tarvel
