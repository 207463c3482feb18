#include "chip_downloader.h"

#include <string>

namespace tarvel::boxes {

namespace {

// The downloader's own command table, written down apart from the program's
// so that a wrong byte on either side shows.
namespace D {
constexpr std::uint8_t kConnect = '?';
constexpr std::uint8_t kWhichChip = 'C';
constexpr std::uint8_t kStore = '!';
constexpr std::uint8_t kChipFollows = 'A';
constexpr int kSmallMemory = 128;
constexpr std::uint8_t kSmallChip = 32;
constexpr std::uint8_t kLargeChip = 40;
}  // namespace D

}  // namespace

ChipDownloader::ChipDownloader(int programSize, BoxPrinter print)
    : memory_(static_cast<std::size_t>(programSize == D::kSmallMemory ? D::kSmallMemory : 256)),
      print_(std::move(print))
{
}

std::optional<std::size_t> ChipDownloader::answer(std::span<const std::uint8_t> pending,
                                                  BoxReply& reply)
{
    switch (pending[0]) {
        case D::kConnect:
            if (pending.size() < 2) return 0;
            if (pending[1] != 0) return std::nullopt;
            if (++connects_ <= faults_.runningRequests) {
                reply.byte(kRunningAnswer);
            } else {
                reply.byte(0);
                reply.byte(0);
            }
            reply.exchangeDone();
            return 2;
        case D::kWhichChip: {
            reply.byte(D::kChipFollows);
            const int own = memory_.size() == D::kSmallMemory ? D::kSmallChip : D::kLargeChip;
            reply.byte(static_cast<std::uint8_t>(faults_.chipByte >= 0 ? faults_.chipByte : own));
            reply.exchangeDone();
            return 1;
        }
        case D::kStore:
            if (pending.size() < 3) return 0;
            store(pending[1], pending[2], reply);
            reply.exchangeDone();
            return 3;
        default:
            return std::nullopt;
    }
}

void ChipDownloader::store(int address, std::uint8_t byte, BoxReply& reply)
{
    const bool fits = static_cast<std::size_t>(address) < memory_.size();
    if (fits) memory_[static_cast<std::size_t>(address)] = byte;
    reply.byte(
        static_cast<std::uint8_t>(address == faults_.wrongAddressAt ? address + 1 : address));
    reply.byte(address == faults_.wrongByteAt ? static_cast<std::uint8_t>(~byte) : byte);
    if (!fits || static_cast<std::size_t>(address) + 1 != memory_.size()) return;
    std::string line = "download " + std::to_string(memory_.size()) + " ";
    static constexpr char kHex[] = "0123456789abcdef";
    for (const std::uint8_t b : memory_) {
        line += kHex[b >> 4];
        line += kHex[b & 0x0F];
    }
    print_(line);
}

}  // namespace tarvel::boxes
