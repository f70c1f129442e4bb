// Fuzz target: the PNG reader from memory on arbitrary bytes; what it accepts is
// read back, so a geometry that does not match the memory shows up as a bad access.
#include "VXLib/VXPngReader.h"

#include <cstddef>
#include <cstdint>

using namespace morvessan;

namespace {

// Reads the corners of every row, and every pixel of small pictures, so that a
// geometry that does not match the memory shows up as a bad access.
void readBack(const VXImage2& image) {
    volatile std::uint32_t sum = 0;
    const bool everyPixel = std::int64_t(image.width()) * image.rows() <= 65536;
    for (int y = 0; y < image.rows(); ++y) {
        sum = sum + image.pixelColour(0, y) + image.pixelColour(image.width() - 1, y);
        for (int x = 1; everyPixel && x < image.width() - 1; ++x)
            sum = sum + image.pixelColour(x, y);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vxSetImageByteLimit(std::uint64_t(16) << 20);  // huge declared pictures fail fast
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VXImage2 image;
    if (vxLoadPngMemory(data, size, image)) {
        readBack(image);
    }
    return 0;
}
