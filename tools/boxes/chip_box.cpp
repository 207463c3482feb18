#include "chip_box.h"

namespace tarvel::boxes {

ChipBox::ChipBox(int programSize, BoxPrinter print)
    : SimulatedBox(print), downloader_(programSize, print)
{
}

void ChipBox::receive(std::span<const std::uint8_t> bytes, BoxReply& reply)
{
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    while (!pending_.empty()) {
        const std::optional<std::size_t> used = downloader_.answer(pending_, reply);
        if (used && *used == 0) break;
        // A byte no download command starts with is ignored.
        const std::size_t taken = used ? *used : 1;
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
    }
}

}  // namespace tarvel::boxes
