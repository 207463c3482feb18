#pragma once
// What a line draws, piece by piece and in order: its straight segments and,
// where a connector mark splits it into two stubs, the connector circle after
// the first stub's end and the one before the second stub's start. The
// painter, the extents and repaint bounds, the editor's hit tests and the
// router's obstacles all walk a line through this, so the mark (a point whose
// x is kConnectorMarkX and whose y is the letter) is handled in one place.
//
// A stub of a single point draws no segment, only its circle; so a circle is
// a piece of its own rather than a flag on a segment.

#include <iterator>

#include "flowchart/flow_document.h"

namespace tarvel {

struct LinePiece {
    enum class Kind {
        Segment,       // a straight run from `from` to `to`
        CircleAfter,   // the circle after a stub's last point, `from`, where the mark splits it
        CircleBefore,  // the circle before the stub that starts at `from`, after the mark
    };
    Kind kind = Kind::Segment;
    Point from;
    Point to;           // a segment's end; a circle's is its `from`
    int letter = 0;     // a circle's connector letter
    bool last = false;  // a segment ending at the line's last point: it enters the destination

    bool isSegment() const { return kind == Kind::Segment; }
};

class LinePieces {
public:
    explicit LinePieces(const FlowLine& line)
        : points_(line.geometry.points.data()), count_(line.pointCount())
    {
    }
    // The pieces point into the line: a temporary one would be gone before the loop.
    explicit LinePieces(const FlowLine&& line) = delete;

    class Iterator {
    public:
        using value_type = LinePiece;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        const LinePiece& operator*() const { return piece_; }
        const LinePiece* operator->() const { return &piece_; }
        Iterator& operator++()
        {
            advance();
            return *this;
        }
        void operator++(int) { advance(); }
        bool operator==(std::default_sentinel_t) const { return done_; }

    private:
        friend class LinePieces;
        Iterator(const Point* points, int count) : points_(points), count_(count) { advance(); }

        void advance()
        {
            while (next_ < count_) {
                const int i = next_++;
                const Point cur = points_[i];
                if (cur.x == kConnectorMarkX) {
                    const bool circle = inStub_;
                    pendingLetter_ = cur.y;
                    inStub_ = false;
                    if (!circle) continue;  // a mark with no stub before it
                    piece_ = {LinePiece::Kind::CircleAfter, prev_, prev_, cur.y, false};
                    return;
                }
                if (!inStub_) {
                    // The first point of a stub: a segment needs a second.
                    const int letter = pendingLetter_;
                    pendingLetter_ = -1;
                    prev_ = cur;
                    inStub_ = true;
                    if (letter < 0) continue;
                    piece_ = {LinePiece::Kind::CircleBefore, cur, cur, letter, false};
                    return;
                }
                piece_ = {LinePiece::Kind::Segment, prev_, cur, 0, i == count_ - 1};
                prev_ = cur;
                return;
            }
            done_ = true;
        }

        const Point* points_ = nullptr;
        int count_ = 0;
        int next_ = 0;
        bool inStub_ = false;
        Point prev_{};
        int pendingLetter_ = -1;  // the letter of a mark whose second stub has not started
        bool done_ = false;
        LinePiece piece_;
    };

    Iterator begin() const { return {points_, count_}; }
    std::default_sentinel_t end() const { return {}; }

private:
    const Point* points_;
    int count_;
};

}  // namespace tarvel
