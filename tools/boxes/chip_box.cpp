#include "chip_box.h"

namespace tarvel::boxes {

ChipBox::ChipBox(int programSize, BoxPrinter print)
    : SimulatedBox(print), downloader_(programSize, print)
{
}

void ChipBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    answerPending(bytes, [&] {
        // A byte no download command starts with is ignored.
        const std::optional<std::size_t> used = downloader_.answer(pending_, reply);
        return used ? *used : std::size_t{1};
    });
}

}  // namespace tarvel::boxes
