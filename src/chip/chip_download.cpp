#include "chip/chip_download.h"

#include <cstdio>

#include "chip/chip_session.h"
#include "engine/program_state.h"
#include "interfaces/interface_layer.h"
#include "platform/clock.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr int kSmallImage = 128;
// The gauge runs 0..255 whatever the image's size.
constexpr int kSmallImageGaugeStep = 2;

std::string errorNumber(DownloadError error, int address)
{
    char code[8];
    switch (error) {
        case DownloadError::WriteFailed:
            return "100";
        case DownloadError::NoAnswer:
            return "300";
        case DownloadError::TransferWrite:
            return "400";
        case DownloadError::PortNotOpened:
            return "F00";
        case DownloadError::WrongAddressEcho:
            std::snprintf(code, sizeof code, "7%02x", address & 0xFF);
            return code;
        case DownloadError::WrongByteEcho:
            std::snprintf(code, sizeof code, "8%02x", address & 0xFF);
            return code;
    }
    return {};
}

}  // namespace

std::string downloadErrorText(DownloadKind target, DownloadError error, int address)
{
    const std::string number = "(Error número " + errorNumber(error, address) + ")";
    switch (target) {
        case DownloadKind::Quillo:
            return "No se pudo conectar a Quillo - verifique la conexión " + number;
        case DownloadKind::Vizo:
            return "No se pudo conectar a Vizo - verifique la conexión " + number;
        case DownloadKind::TolvaChip:
        case DownloadKind::None:
            break;
    }
    // The downloader's name is written two ways, as the boards' own manual has it.
    const char* name = error == DownloadError::PortNotOpened ? "Tolva Chip" : "TolvaChip";
    return std::string("No se conectó a ") + name +
           " PIC Downloader - verifique la conexión y la tarjeta de memoria e intente de nuevo " +
           number;
}

ChipDownload::ChipDownload(InterfaceLayer& io, Clock& clock, Messages& messages)
    : io_(io), clock_(clock), messages_(messages)
{
}

DownloadOutcome ChipDownload::send(const std::vector<std::uint8_t>& image)
{
    target_ = io_.traits().downloadKind;
    outcome_ = DownloadOutcome::Done;
    io_.flags.downloading = true;
    if (progress_) progress_->downloadStarted();
    if (!io_.openForDownload()) return fail(DownloadError::PortNotOpened);
    if (connectBox() == Step::Stop) return outcome_;
    if (target_ == DownloadKind::Vizo && checkChip(static_cast<int>(image.size())) == Step::Stop)
        return outcome_;
    if (transfer(image) == Step::Stop) return outcome_;
    io_.releaseLink();
    io_.flags.downloading = false;
    if (progress_) progress_->downloadDone();
    // A box driven live gets its port back.
    if (!io_.flags.simulate) io_.openForDownload();
    return DownloadOutcome::Done;
}

ChipDownload::Step ChipDownload::connectBox()
{
    ByteLink& link = io_.link();
    const std::int64_t deadline = clock_.nowMs() + kConnectDeadlineMs;
    link.purge();
    do {
        if (!link.write({download_bytes::kConnect, 0})) {
            fail(DownloadError::WriteFailed);
            return Step::Stop;
        }
        for (int b; (b = link.readByte()) >= 0;) {
            if (b == 0) {
                link.readByte();  // the second byte of the downloader's answer
                return Step::Go;
            }
            // Anything else is a program still running on the box.
            const MsgAnswer a = messages_.show(caption::SerialErrorShort, kConnectQuestion,
                                               MsgIcon::Question, MsgButtons::OkCancel);
            if (a == MsgAnswer::Cancel) {
                outcome_ = DownloadOutcome::Cancelled;
                finish();
                return Step::Stop;
            }
        }
    } while (clock_.nowMs() < deadline);
    fail(DownloadError::NoAnswer);
    return Step::Stop;
}

ChipDownload::Step ChipDownload::checkChip(int imageSize)
{
    ByteLink& link = io_.link();
    link.purge();
    if (!link.write({download_bytes::kWhichChip})) {
        fail(DownloadError::WriteFailed);
        return Step::Stop;
    }
    const int answer = link.readByte();
    const int chip = answer == download_bytes::kChipFollows ? link.readByte() : -1;
    const bool small = imageSize == kSmallImage;
    if (chip == (small ? download_bytes::kSmallChip : download_bytes::kLargeChip)) return Step::Go;
    fail(small ? kWrongSmallChip : kWrongLargeChip);
    return Step::Stop;
}

ChipDownload::Step ChipDownload::transfer(const std::vector<std::uint8_t>& image)
{
    ByteLink& link = io_.link();
    const int size = static_cast<int>(image.size());
    const int step = size == kSmallImage ? kSmallImageGaugeStep : 1;
    if (progress_) progress_->transferStarted(size);
    link.purge();
    // At least the pace between the starts of successive triples, whatever
    // the scheduler does: it is counted from the moment the previous write
    // returned, which is later than that triple's start on its way.
    constexpr std::int64_t kPaceUs = kDownloadPaceMs * 1000;
    std::int64_t lastWritten = 0;
    for (int i = 0; i < size; ++i) {
        if (i > 0) clock_.sleepUs(lastWritten + kPaceUs - clock_.nowUs());
        const std::uint8_t byte = image[static_cast<std::size_t>(i)];
        if (!link.write({download_bytes::kStore, static_cast<std::uint8_t>(i), byte})) {
            fail(DownloadError::TransferWrite);
            return Step::Stop;
        }
        lastWritten = clock_.nowUs();
        if (link.readByte() != i) {
            fail(DownloadError::WrongAddressEcho, i);
            return Step::Stop;
        }
        if (link.readByte() != byte) {
            fail(DownloadError::WrongByteEcho, i);
            return Step::Stop;
        }
        if (progress_) progress_->gaugeMoved(i * step);
    }
    return Step::Go;
}

DownloadOutcome ChipDownload::fail(DownloadError error, int address)
{
    return fail(downloadErrorText(target_, error, address).c_str());
}

DownloadOutcome ChipDownload::fail(const char* text)
{
    messages_.show(caption::SerialErrorShort, text, MsgIcon::Exclamation, MsgButtons::Ok);
    outcome_ = DownloadOutcome::Failed;
    finish();
    return outcome_;
}

void ChipDownload::finish()
{
    io_.releaseLink();
    io_.flags.downloading = false;
    if (progress_) progress_->downloadFailed();
}

DownloadResult downloadChart(ProgramState& state, Messages& messages, DownloadProgress* progress)
{
    InterfaceLayer& io = state.io;
    if (state.programRunning() || io.flags.downloading) return {};
    io.endTestMode();
    io.releaseLink();
    const ChipCompileResult compiled = compileForChosenChip(state, messages);
    if (!compiled.program)
        return {DownloadOutcome::NotCompiled, compiled.fault ? compiled.fault->symbol : -1};
    ChipDownload download(io, io.clock(), messages);
    download.setProgress(progress);
    return {download.send(compiled.program->image)};
}

}  // namespace tarvel
