// Fuzz target: the JPEG reader from memory on arbitrary bytes; what it accepts is
// read back, so a geometry that does not match the memory shows up as a bad access;
// then the decoding layer of outside pictures on the same bytes.
#include "VXLib/VXJpegReader.h"
#include "tests/fuzz/ImageFuzzing.h"

#include <cstddef>
#include <cstdint>

using namespace morvessan;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    limitFuzzedPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VXImage2 image;
    if (vxLoadJpegMemory(data, size, image)) {
        readBack(image);
    }
    decodeFuzzedPicture(data, size);
    return 0;
}
