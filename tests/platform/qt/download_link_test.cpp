// The download over the real serial code to `tarvel box 10` on a
// pseudo-terminal, on the real clock: the pace between the '!' triples, the
// image the box stored, and the wall time of a whole 256-byte download.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cstdio>

#include "chip/chip_download.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_link.h"
#include "support/box_process.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

// The serial link, with the time each '!' triple started on its way.
class PacedLink final : public ByteLink {
public:
    explicit PacedLink(Clock& clock) : clock_(clock) {}
    bool open(const std::string& d, const SerialProfile& p) override { return link_.open(d, p); }
    void close() override { link_.close(); }
    bool isOpen() const override { return link_.isOpen(); }
    int readByte() override { return link_.readByte(); }
    std::vector<std::uint8_t> readBlock(int n) override { return link_.readBlock(n); }
    void purge() override { link_.purge(); }
    bool waitOutputDrained(int ms) override { return link_.waitOutputDrained(ms); }
    int bytesWaiting() override { return link_.bytesWaiting(); }
    bool probe(const std::string& d) override { return link_.probe(d); }

    std::vector<std::int64_t> tripleStarts;  // microseconds

protected:
    bool writeBytes(std::span<const std::uint8_t> bytes) override
    {
        if (bytes.size() == 3 && bytes[0] == download_bytes::kStore)
            tripleStarts.push_back(clock_.nowUs());
        return link_.write(bytes);
    }

private:
    Clock& clock_;
    QtSerialLink link_;
};

TEST(DownloadLink, FullImageAtTheDownloadPaceOverAPseudoTerminal)
{
    test::BoxProcess box(TARVEL_TOOL_PATH, {"10"});
    ASSERT_FALSE(box.device().empty());
    QtClock clock;
    test::FakeMessages messages;
    PacedLink link(clock);
    InterfaceLayer io;
    io.settings.mode = 1;
    io.settings.model = ModelTolvaChip;
    io.settings.port = 0;
    io.setSensorsDirectory(TARVEL_DATA_DIR "/SENSORS");
    PortNames names = PortNames::defaults();
    names.setDevice(0, box.device());
    io.setPortNames(names);
    io.setByteLink(&link);
    io.setClock(&clock);
    io.setMessages(&messages);
    io.applySelection();

    std::vector<std::uint8_t> image(kFullProgramSize);
    std::string hex;
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(255 - i * 3);
        char two[3];
        std::snprintf(two, sizeof two, "%02x", image[i]);
        hex += two;
    }
    ChipDownload download(io, clock, messages);
    QElapsedTimer wall;
    wall.start();
    ASSERT_EQ(download.send(image), DownloadOutcome::Done) << messages.last().text;
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(box.readLines(5000, 1), std::vector<std::string>{"download 256 " + hex});
    ASSERT_EQ(link.tripleStarts.size(), image.size());
    for (std::size_t i = 1; i < link.tripleStarts.size(); ++i)
        EXPECT_GE(link.tripleStarts[i] - link.tripleStarts[i - 1], kDownloadPaceMs * 1000) << i;
    EXPECT_GE(seconds, 255 * kDownloadPaceMs / 1000.0);
    std::cout << "[ measured ] 256-byte download to an instant box: " << seconds << " s\n";
}

}  // namespace
}  // namespace tarvel
