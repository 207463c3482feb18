#pragma once
// The downloader inside the boxes that take compiled programs (the chip
// boards and chips, the Quillo box). It answers the connect request '?' 0
// with 0 0, the chip question 'C' with 'A' and its chip's byte, and stores
// each '!' address byte, echoing the address and the byte. Once the last
// address of its program memory is written it prints "download N HEX": the
// size and the whole memory, two lowercase hexadecimal digits a byte.
//
// Told to misbehave it echoes a wrong address or a wrong byte at one address,
// claims another chip, or is still running a program: it answers the first
// connect requests with a byte of that program instead of 0 0.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "simulated_box.h"

namespace tarvel::boxes {

struct DownloadFaults {
    int wrongAddressAt = -1;  // echoes another address when this one is stored
    int wrongByteAt = -1;     // echoes another byte when this address is stored
    int chipByte = -1;        // the byte it answers the chip question with (-1: its own)
    int runningRequests = 0;  // connect requests answered as a running program
};

class ChipDownloader {
public:
    // `programSize` 128 or 256; a box with the small memory is the small chip.
    ChipDownloader(int programSize, BoxPrinter print);

    void setFaults(const DownloadFaults& faults) { faults_ = faults; }
    // Answers the download command at the front of `pending`: the bytes it
    // took, 0 while the command is incomplete, none when no download command
    // starts there.
    std::optional<std::size_t> answer(std::span<const std::uint8_t> pending, BoxReply& reply);

    const std::vector<std::uint8_t>& memory() const { return memory_; }
    int connectRequests() const { return connects_; }

    // What a running program answers the connect request with.
    static constexpr std::uint8_t kRunningAnswer = 'R';

private:
    void store(int address, std::uint8_t byte, BoxReply& reply);

    std::vector<std::uint8_t> memory_;
    BoxPrinter print_;
    DownloadFaults faults_;
    int connects_ = 0;
};

}  // namespace tarvel::boxes
