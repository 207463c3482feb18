// The serial link against real devices: a pseudo-terminal stands in for a box.
// The test holds the master side and plays the box on it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/qt_serial_link.h"

namespace tarvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Quick time-outs, so the waits stay short: a one-byte read gives up after
// 100 + 100 ms, five bytes after 600 ms, a block 50 ms after its last byte.
constexpr SerialProfile kQuick{"Quick", kLinkBaud, 1, {50, 100, 100, 100, 100}, 0, 0, false};

class Pty {
public:
    Pty()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        name_ = ptsname(master_);
    }
    ~Pty()
    {
        if (master_ >= 0) ::close(master_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return !name_.empty(); }
    const std::string& device() const { return name_; }

    // The box sends.
    void send(const Bytes& bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // What the box received within `ms`, at most `count` bytes.
    Bytes receive(std::size_t count, int ms = 1000) const
    {
        Bytes got;
        QElapsedTimer t;
        t.start();
        while (got.size() < count && t.elapsed() < ms) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            std::uint8_t buffer[64];
            const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n > 0) got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

private:
    int master_ = -1;
    std::string name_;
};

// Waits until the link counts `count` bytes waiting (they cross the
// pseudo-terminal asynchronously), for at most a second.
bool waitForWaiting(ByteLink& link, int count)
{
    QElapsedTimer t;
    t.start();
    while (link.bytesWaiting() < count && t.elapsed() < 1000) usleep(5000);
    return link.bytesWaiting() == count;
}

TEST(QtSerialLink, ProbeOpensAPresentPortAndRefusesAnAbsentOne)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialLink link;
    EXPECT_TRUE(link.probe(pty.device()));
    // Probing closes the port again: a second probe still finds it.
    EXPECT_TRUE(link.probe(pty.device()));
    EXPECT_FALSE(link.probe("/dev/tarvel-no-such-port"));
}

TEST(QtSerialLink, BytesTravelBothWays)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialLink link;
    // A pseudo-terminal has no modem lines; the open still succeeds.
    ASSERT_TRUE(link.open(pty.device(), kDeltronicsProfile));
    EXPECT_TRUE(link.isOpen());

    ASSERT_TRUE(link.write({0x30, 0xA5, 0x00, 0xFF}));
    EXPECT_EQ(pty.receive(4), (Bytes{0x30, 0xA5, 0x00, 0xFF}));
    EXPECT_TRUE(link.waitOutputDrained(200));

    pty.send({0x36, 0x00, 0xFF, 0x0A, 0x0D});
    EXPECT_EQ(link.readByte(), 0x36);
    EXPECT_EQ(link.readBlock(4), (Bytes{0x00, 0xFF, 0x0A, 0x0D}));

    link.close();
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.write({0x01}));
    EXPECT_EQ(link.readByte(), -1);
    EXPECT_FALSE(link.open("/dev/tarvel-no-such-port", kDeltronicsProfile));
    EXPECT_FALSE(link.isOpen());
}

TEST(QtSerialLink, ReadsGiveUpAfterTheirTimeOuts)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialLink link;
    ASSERT_TRUE(link.open(pty.device(), kQuick));

    // Nothing comes: -1 once the total time-out of one byte has passed.
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(link.readByte(), -1);
    const qint64 oneByte = t.elapsed();
    EXPECT_GE(oneByte, kQuick.timeouts.readTotalMs(1) - 5);
    EXPECT_LT(oneByte, kQuick.timeouts.readTotalMs(1) + 250);

    // Two bytes of five arrive: the block ends a read interval after the
    // last of them, long before the total time-out of five bytes.
    pty.send({7, 8});
    t.restart();
    EXPECT_EQ(link.readBlock(5), (Bytes{7, 8}));
    EXPECT_LT(t.elapsed(), kQuick.timeouts.readTotalMs(5) - 200);
}

TEST(QtSerialLink, CountsWaitingBytesAndPurgesThem)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialLink link;
    ASSERT_TRUE(link.open(pty.device(), kLegoProfile));
    EXPECT_EQ(link.bytesWaiting(), 0);

    // A 19-byte frame, as the stream of a box sends them.
    Bytes frame(19);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i);
    pty.send(frame);
    ASSERT_TRUE(waitForWaiting(link, 19));
    EXPECT_EQ(link.readByte(), 0);
    EXPECT_EQ(link.bytesWaiting(), 18);

    link.purge();
    EXPECT_EQ(link.bytesWaiting(), 0);
    link.close();
    ASSERT_TRUE(link.open(pty.device(), kQuick));
    EXPECT_EQ(link.readByte(), -1);

    // A purge also throws away what the device still held unread.
    pty.send({1, 2, 3});
    usleep(30000);
    link.purge();
    EXPECT_EQ(link.bytesWaiting(), 0);
    pty.send({9});
    EXPECT_EQ(link.readByte(), 9);
}

}  // namespace
}  // namespace tarvel
