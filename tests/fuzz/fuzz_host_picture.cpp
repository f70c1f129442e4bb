// Fuzzes the command line's own picture reading on arbitrary bytes: what it accepts
// has exactly the pixels its size says, each of which is read back.
#include "job/JobPictureReader.h"
#include "tests/fuzz/ImageFuzzing.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace morvessan;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    limitFuzzedPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PictureReading reading;
    reading.maxPixels = 4'000'000;
    reading.strict = size > 0 && (data[size - 1] & 1) != 0;
    HostImage image;
    std::string error;
    std::string damage;
    if (!decodeHostPicture(std::string_view(reinterpret_cast<const char*>(data), size), reading, image, error,
                           damage)) {
        if (error.empty()) {
            std::abort(); // every refusal says why
        }
        return 0;
    }
    if ((image.planes != 3 && image.planes != 4) || image.width < 1 || image.height < 1 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height) * std::size_t(image.planes) ||
        (reading.strict && !damage.empty())) {
        std::abort();
    }
    volatile std::uint32_t sum = 0;
    for (const std::uint8_t byte : image.pixels) {
        sum = sum + byte;
    }
    return 0;
}
