// Fuzz target: the picture decoder on arbitrary bytes (PNG, JPEG and bitmap seeds),
// in the colour form outside pictures take and the indexed form of texture pictures.
#include "tests/fuzz/ImageFuzzing.h"

#include <cstddef>
#include <cstdint>

using namespace morvessan;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    limitFuzzedPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeFuzzedPicture(data, size);
    return 0;
}
