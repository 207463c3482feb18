// libFuzzer target for the mimic definition reader. Besides never crashing,
// a set it accepts keeps within its tables: every link names an object read
// or an input 1..8, and every text fits its field.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mimics/mimic_set.h"

namespace {

void check(bool ok)
{
    if (!ok) std::abort();
}

bool objectOrNone(int link, int count)
{
    return link == tarvel::kNoLink || (link >= 0 && link < count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const bool fromZero : {false, true}) {
        const auto r = tarvel::parseMimicSet(bytes, fromZero);
        if (!r.ok()) {
            check(!r.refusal().text.empty());
            continue;
        }
        const tarvel::MimicSet& s = r.value();
        const int n = s.objectCount;
        check(n >= 0 && n <= tarvel::kMimicObjectMax);
        check(s.pictureCount >= 0 && s.pictureCount <= tarvel::kMimicPictureMax);
        for (int i = 0; i < n; ++i)
            for (const auto& t : s.object(i).texts) check(t.size() <= tarvel::kMimicTextMax);
        for (const auto* table : {&s.inputLinks, &s.outputLinks})
            for (const auto& row : *table)
                for (const int link : row) check(objectOrNone(link, n));
        for (const auto& row : s.valueLinks)
            for (const int link : row) check(objectOrNone(link, n));
        for (const auto& m : s.motorLinks) {
            for (const int link : m.objects) check(objectOrNone(link, n));
            for (const int input : {m.releasedForward, m.releasedReverse})
                check(input == tarvel::kNoLink || (input >= 1 && input <= tarvel::kIoCount));
        }
        for (const int link : s.variableLinks) check(objectOrNone(link, n));
    }
    return 0;
}
