// Fuzzes what is done with an EXIF block from a picture: its facts read, and the
// block rewritten without its thumbnail; what comes out is valid, keeps the
// orientation and resolution, and is already without a thumbnail.
#include "VXLib/VXExifBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace morvessan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> block(data, data + size);
    const VXExifFacts facts = vxReadExif(block);
    const std::vector<std::uint8_t> stripped = vxExifWithoutThumbnail(block);
    if (!facts.valid) {
        if (!stripped.empty()) {
            std::abort(); // nothing is made of a block that is none
        }
        return 0;
    }
    if (stripped.empty()) {
        return 0; // libexif could not write it back: left out, never half-written
    }
    const VXExifFacts after = vxReadExif(stripped);
    if (!after.valid || after.orientation != facts.orientation || after.dotsPerMetreX != facts.dotsPerMetreX ||
        after.dotsPerMetreY != facts.dotsPerMetreY || vxExifWithoutThumbnail(stripped) != stripped) {
        std::abort();
    }
    return 0;
}
