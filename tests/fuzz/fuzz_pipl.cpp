// Fuzz target: a host reading any module's PiPL resource bytes, and the entry
// names it looks up in what it read.
#include "resources/pipl/Pipl.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto properties = morvessan::decodePipl(data, size, &error);
    if (properties) {
        morvessan::piplString(*properties, morvessan::kPiplEntry64);
        morvessan::piplString(*properties, morvessan::kPiplEntry32);
        // What was read encodes again without trouble.
        morvessan::encodePipl(*properties);
    }
    return 0;
}
