// libFuzzer target for the initialisation-file reader. Besides never
// crashing, every key it returns is found again by its name in any case,
// every value is cut to the length the program reads, and the first of two
// spellings of a key wins.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string_view section : {"LOCATIONS", "locations", ""}) {
        const auto read = parseIniSection(bytes, section);
        if (!read) std::abort();  // no text is refused
        const IniSection& ini = read.value();
        for (const IniSection::Entry& e : ini.entries()) {
            if (e.second.size() > kIniValueMax) std::abort();
            const auto found = ini.value(e.first);
            if (!found || *found != e.second) std::abort();
            std::string upper = e.first;
            std::transform(upper.begin(), upper.end(), upper.begin(),
                           [](unsigned char c) { return char(std::toupper(c)); });
            const auto again = ini.value(upper);
            if (!again) std::abort();
        }
    }
    return 0;
}
