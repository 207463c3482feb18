#pragma once
// A chip board or single chip that runs its programs on its own (every link
// kind but the live one): on the line it is only the downloader.

#include "chip_downloader.h"
#include "simulated_box.h"

namespace tarvel::boxes {

class ChipBox final : public SimulatedBox {
public:
    ChipBox(int programSize, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;
    ChipDownloader* downloader() override { return &downloader_; }

private:
    ChipDownloader downloader_;
};

}  // namespace tarvel::boxes
