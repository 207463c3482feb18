#pragma once
// The Contact Controller types' box (models 7 and 13): every command letter
// is acknowledged with 'A'. Its inputs are active low, as the program reads
// them with the level "Alto": an input that is on is a 0 bit on the line.
// Without a motor byte of its own (the chip that talks this protocol) it
// would take only the outputs; both boxes here have one.

#include <memory>

#include "chip_downloader.h"
#include "simulated_box.h"

namespace tarvel::boxes {

class ContactControllerBox final : public SimulatedBox {
public:
    ContactControllerBox(int model, int subModel, BoxPrinter print);

    void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) override;
    ChipDownloader* downloader() override { return downloader_.get(); }
    // The box takes compiled programs too (Quillo, the chips that talk live).
    void takePrograms(int programSize);

private:
    std::size_t answer(BoxReply& reply);
    void takeMotorByte(int byte);

    std::unique_ptr<ChipDownloader> downloader_;
};

}  // namespace tarvel::boxes
