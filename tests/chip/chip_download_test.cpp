// The download against the simulated downloaders in process, on a clock that
// moves only by the pacing waits and the read time-outs: the bytes on the
// line, the pace, the gauge, and every error number with its target's text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "boxes/box_link.h"
#include "boxes/box_registry.h"
#include "boxes/box_session.h"
#include "boxes/chip_downloader.h"
#include "chip/chip_download.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel::test {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The box's link as a port would be: a read that finds nothing took the
// 500 ms read time-out. Every write is kept with the time it started; the
// open and a write may be told to fail.
class TimedLink final : public ByteLink {
public:
    TimedLink(ByteLink& inner, FakeClock& clock) : inner_(inner), clock_(clock) {}

    bool open(const std::string& device, const SerialProfile& profile) override
    {
        ++opens;
        profileUsed = profile;
        return !refuseOpen && inner_.open(device, profile);
    }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    int readByte() override
    {
        const int b = inner_.readByte();
        if (b < 0) clock_.advance(kTimeouts500.readTotalMs(1));
        return b;
    }
    std::vector<std::uint8_t> readBlock(int count) override { return inner_.readBlock(count); }
    void purge() override { inner_.purge(); }
    bool waitOutputDrained(int ms) override { return inner_.waitOutputDrained(ms); }
    int bytesWaiting() override { return inner_.bytesWaiting(); }
    bool probe(const std::string& device) override { return inner_.probe(device); }

    struct Write {
        std::int64_t at;
        Bytes bytes;
    };
    std::vector<Write> writes;
    bool refuseOpen = false;
    int failWrite = -1;  // the index of the write that fails
    int opens = 0;
    SerialProfile profileUsed;

protected:
    bool writeBytes(std::span<const std::uint8_t> bytes) override
    {
        if (static_cast<int>(writes.size()) == failWrite) return false;
        writes.push_back({clock_.nowMs(), Bytes(bytes.begin(), bytes.end())});
        return inner_.write(bytes);
    }

private:
    ByteLink& inner_;
    FakeClock& clock_;
};

struct ProgressLog final : DownloadProgress {
    void downloadStarted() override { events.push_back("started"); }
    void transferStarted(int addresses) override
    {
        events.push_back("transfer " + std::to_string(addresses));
    }
    void gaugeMoved(int position) override { gauge.push_back(position); }
    void downloadDone() override { events.push_back("done"); }
    void downloadFailed() override { events.push_back("failed"); }
    std::vector<std::string> events;
    std::vector<int> gauge;
};

// A chosen interface (model and sub-model, the chip from the shipped chip
// data file), its simulated box and the link to it.
class Bench {
public:
    Bench(int model, int subModel, boxes::BoxFaults faults = {}, boxes::DownloadFaults df = {})
    {
        io.settings.mode = 1;
        io.settings.model = model;
        io.settings.subModel = subModel;
        io.setSensorsDirectory(TARVEL_DATA_DIR "/SENSORS");
        io.setClock(&clock);
        io.setMessages(&messages);
        io.applySelection();
        box = boxes::makeBox(
            model, subModel, [](const std::string&) {}, io.chosenChip());
        box->downloader()->setFaults(df);
        session = std::make_unique<boxes::BoxSession>(*box, faults);
        boxLink = std::make_unique<boxes::BoxLink>(*session);
        link = std::make_unique<TimedLink>(*boxLink, clock);
        io.setByteLink(link.get());
    }

    DownloadOutcome send(const Bytes& image)
    {
        ChipDownload download(io, clock, messages);
        download.setProgress(&progress);
        return download.send(image);
    }
    const Bytes& memory() { return box->downloader()->memory(); }

    FakeClock clock;
    FakeMessages messages;
    InterfaceLayer io;
    std::unique_ptr<boxes::SimulatedBox> box;
    std::unique_ptr<boxes::BoxSession> session;
    std::unique_ptr<boxes::BoxLink> boxLink;
    std::unique_ptr<TimedLink> link;
    ProgressLog progress;
};

Bytes anImage(int size)
{
    Bytes image(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
    return image;
}

// Shipped chip data: sub-model 0 the standard board (256 bytes, runs on its
// own), 3 the 128-byte single chip that talks live.
constexpr int kStandardBoard = 0;
constexpr int kLiveSmallChip = 3;

}  // namespace

TEST(ChipDownload, SendsEveryAddressEchoedAtTheGivenPace)
{
    Bench b(ModelTolvaChip, kStandardBoard);
    const Bytes image = anImage(kFullProgramSize);
    ASSERT_EQ(b.send(image), DownloadOutcome::Done);
    EXPECT_TRUE(b.messages.empty());
    EXPECT_EQ(b.memory(), image);
    EXPECT_EQ(b.link->profileUsed, kDownloadProfile);

    // One connect request answered 00 00, then a triple per address.
    const auto& w = b.link->writes;
    ASSERT_EQ(w.size(), 1u + kFullProgramSize);
    EXPECT_EQ(w[0].bytes, (Bytes{0x3F, 0x00}));
    for (int i = 0; i < kFullProgramSize; ++i) {
        const auto& t = w[static_cast<std::size_t>(i) + 1];
        ASSERT_EQ(t.bytes,
                  (Bytes{0x21, static_cast<std::uint8_t>(i), image[static_cast<std::size_t>(i)]}));
        if (i > 0) EXPECT_GE(t.at - w[static_cast<std::size_t>(i)].at, kDownloadPaceMs) << i;
    }
    // Nothing slower than the pace either: 255 gaps of 25 ms.
    EXPECT_EQ(w.back().at - w[1].at, 255 * kDownloadPaceMs);

    ASSERT_EQ(b.progress.gauge.size(), 256u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(b.progress.gauge[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(b.progress.events, (std::vector<std::string>{"started", "transfer 256", "done"}));
    EXPECT_FALSE(b.io.flags.downloading);
    // With "&Simular" on nothing takes the port back.
    EXPECT_FALSE(b.link->isOpen());
}

TEST(ChipDownload, SmallChipIsAskedWhichChipAndItsGaugeMovesInTwos)
{
    Bench b(ModelTolvaChip, kLiveSmallChip);
    const Bytes image = anImage(kSmallProgramSize);
    ASSERT_EQ(b.send(image), DownloadOutcome::Done);
    EXPECT_EQ(b.memory(), image);
    const auto& w = b.link->writes;
    ASSERT_EQ(w.size(), 2u + kSmallProgramSize);
    EXPECT_EQ(w[1].bytes, Bytes{0x43});
    EXPECT_EQ(w.back().bytes[1], 127);
    ASSERT_EQ(b.progress.gauge.size(), 128u);
    EXPECT_EQ(b.progress.gauge[1], 2);
    EXPECT_EQ(b.progress.gauge.back(), 254);
}

TEST(ChipDownload, BoxDrivenLiveGetsItsPortBack)
{
    Bench b(ModelQuillo, 0);
    b.io.flags.simulate = false;
    ASSERT_EQ(b.send(anImage(kFullProgramSize)), DownloadOutcome::Done);
    EXPECT_TRUE(b.link->isOpen());
    EXPECT_EQ(b.link->profileUsed, kDownloadProfile);
}

TEST(ChipDownload, RunningProgramAsksOnceAfterOneRequest)
{
    // OK: the reading goes on; nothing more comes within the read time-out,
    // by when the connect deadline has passed.
    boxes::DownloadFaults running;
    running.runningRequests = 1;
    Bench ok(ModelTolvaChip, kStandardBoard, {}, running);
    ok.messages.answerNext(MsgAnswer::Ok);
    ASSERT_EQ(ok.send(anImage(kFullProgramSize)), DownloadOutcome::Failed);
    ASSERT_EQ(ok.messages.shown.size(), 2u);
    const ShownMessage& question = ok.messages.shown[0];
    EXPECT_EQ(question.caption, "Error de serie");
    EXPECT_EQ(question.text, kConnectQuestion);
    EXPECT_EQ(question.buttons, MsgButtons::OkCancel);
    EXPECT_EQ(ok.link->writes.size(), 1u);
    EXPECT_EQ(ok.messages.last().text,
              downloadErrorText(DownloadKind::TolvaChip, DownloadError::NoAnswer));

    // Cancel: one request, nothing more sent, no error number.
    running.runningRequests = 100;
    Bench cancel(ModelQuillo, 0, {}, running);
    cancel.messages.answerNext(MsgAnswer::Cancel);
    EXPECT_EQ(cancel.send(anImage(kFullProgramSize)), DownloadOutcome::Cancelled);
    EXPECT_EQ(cancel.link->writes.size(), 1u);
    EXPECT_EQ(cancel.messages.shown.size(), 1u);
    EXPECT_FALSE(cancel.io.flags.downloading);
    EXPECT_FALSE(cancel.link->isOpen());
    EXPECT_EQ(cancel.progress.events.back(), "failed");
}

namespace {

struct ErrorCase {
    const char* name;
    int model, subModel;
    boxes::BoxFaults faults;
    boxes::DownloadFaults download;
    bool refuseOpen;
    int failWrite;
    std::string text;
    std::size_t writesSent;  // what went out before the download gave up
};

std::string chipText(const char* number)
{
    return std::string(
               "No se conectó a TolvaChip PIC Downloader - verifique la conexión y la "
               "tarjeta de memoria e intente de nuevo (Error número ") +
           number + ")";
}

std::vector<ErrorCase> errorCases()
{
    const std::string quillo =
        "No se pudo conectar a Quillo - verifique la conexión (Error número ";
    const std::string vizo = "No se pudo conectar a Vizo - verifique la conexión (Error número ";
    return {
        {"silent board", 10, 0, {.silent = true}, {}, false, -1, chipText("300"), 1},
        {"port not opened",
         10,
         0,
         {},
         {},
         true,
         -1,
         "No se conectó a Tolva Chip PIC Downloader - verifique la conexión y la tarjeta de "
         "memoria e intente de nuevo (Error número F00)",
         0},
        {"wrong address", 10, 0, {}, {.wrongAddressAt = 0x1F}, false, -1, chipText("71f"), 0x21},
        {"wrong byte", 13, 0, {}, {.wrongByteAt = 0xA0}, false, -1, quillo + "8a0)", 0xA2},
        {"silent after connect", 10, 3, {.stopAfter = 2}, {}, false, -1, vizo + "700)", 3},
        {"connect write fails", 13, 0, {}, {}, false, 0, quillo + "100)", 0},
        {"chip question write fails", 10, 3, {}, {}, false, 1, vizo + "100)", 1},
        {"transfer write fails", 10, 0, {}, {}, false, 5, chipText("400"), 5},
        {"another small chip", 10, 3, {}, {.chipByte = 40}, false, -1, kWrongSmallChip, 2},
        {"silent Quillo", 13, 0, {.silent = true}, {}, false, -1, quillo + "300)", 1},
    };
}

}  // namespace

TEST(ChipDownload, EveryFailureShowsItsNumberAndLetsGo)
{
    for (const ErrorCase& c : errorCases()) {
        SCOPED_TRACE(c.name);
        Bench b(c.model, c.subModel, c.faults, c.download);
        b.link->refuseOpen = c.refuseOpen;
        b.link->failWrite = c.failWrite;
        const bool small = c.model == ModelTolvaChip && c.subModel == kLiveSmallChip;
        EXPECT_EQ(b.send(anImage(small ? kSmallProgramSize : kFullProgramSize)),
                  DownloadOutcome::Failed);
        ASSERT_EQ(b.messages.shown.size(), 1u);
        const ShownMessage& m = b.messages.last();
        EXPECT_EQ(m.caption, "Error de serie");
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
        EXPECT_EQ(m.text, c.text);
        // Nothing more is sent once the download has given up.
        EXPECT_EQ(b.link->writes.size(), c.writesSent);
        EXPECT_FALSE(b.io.flags.downloading);
        EXPECT_FALSE(b.link->isOpen());
        EXPECT_EQ(b.progress.events.back(), "failed");
    }
}

TEST(ChipDownload, ImageSizeDecidesWhichChipIsWanted)
{
    boxes::DownloadFaults other;
    other.chipByte = 32;
    Bench b(ModelTolvaChip, kLiveSmallChip, {}, other);
    EXPECT_EQ(b.send(anImage(kFullProgramSize)), DownloadOutcome::Failed);
    EXPECT_EQ(b.messages.last().text, kWrongLargeChip);
}

}  // namespace tarvel::test
