// The bytes a simulated box gathers between the pieces the program sends:
// commands split anywhere, several in one piece, bytes no command starts with.

#include "boxes/simulated_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvel::boxes {
namespace {

// 'S' N sets output N's byte and answers it back; 'W' N M answers N + M;
// 'X' claims more bytes than it was sent; anything else is ignored.
class PieceBox final : public SimulatedBox {
public:
    PieceBox() : SimulatedBox([this](const std::string& line) { lines.push_back(line); }) {}

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override
    {
        answerPending(bytes, [&]() -> std::size_t {
            switch (pending_[0]) {
                case 'S':
                    if (pending_.size() < 2) return 0;
                    setOutputByte(pending_[1]);
                    reply.byte(pending_[1]);
                    reply.exchangeDone();
                    return 2;
                case 'W':
                    if (pending_.size() < 3) return 0;
                    reply.byte(static_cast<std::uint8_t>(pending_[1] + pending_[2]));
                    reply.exchangeDone();
                    return 3;
                case 'X':
                    return 100;
                default:
                    return 1;
            }
        });
    }
    std::size_t waiting() const { return pending_.size(); }

    std::vector<std::string> lines;
};

std::vector<std::uint8_t> send(PieceBox& box, std::vector<std::uint8_t> bytes)
{
    BoxReply reply;
    box.receive(bytes, reply);
    return reply.bytes;
}

TEST(SimulatedBoxPending, ACommandSplitAcrossPiecesIsAnsweredOnceItIsWhole)
{
    PieceBox box;
    EXPECT_TRUE(send(box, {'W'}).empty());
    EXPECT_TRUE(send(box, {4}).empty());
    EXPECT_EQ(box.waiting(), 2u);
    EXPECT_EQ(send(box, {5, 'S'}), (std::vector<std::uint8_t>{9}));
    EXPECT_EQ(box.waiting(), 1u);  // the next command's first byte is kept
    EXPECT_EQ(send(box, {1}), (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(box.waiting(), 0u);
    EXPECT_EQ(box.lines, (std::vector<std::string>{"output 1 on"}));
}

TEST(SimulatedBoxPending, SeveralCommandsAndStrayBytesInOnePiece)
{
    PieceBox box;
    BoxReply reply;
    const std::vector<std::uint8_t> piece{'?', 'S', 3, 0, 'W', 1, 2, 'S'};
    box.receive(piece, reply);
    EXPECT_EQ(reply.bytes, (std::vector<std::uint8_t>{3, 3}));
    EXPECT_EQ(reply.exchanges, 2);
    EXPECT_EQ(box.waiting(), 1u);
    EXPECT_EQ(box.lines, (std::vector<std::string>{"output 1 on", "output 2 on"}));

    // An answer that claims more than was sent takes only what is there.
    EXPECT_EQ(send(box, {0, 'X', 'S'}), (std::vector<std::uint8_t>{0}));
    EXPECT_EQ(box.waiting(), 0u);
    EXPECT_TRUE(send(box, {0}).empty());  // a stray byte now, not an argument
    EXPECT_EQ(box.lines, (std::vector<std::string>{"output 1 on", "output 2 on", "output 1 off",
                                                   "output 2 off"}));
}

}  // namespace
}  // namespace tarvel::boxes
