// Any bytes as the parameter block a host hands back (shorter inputs are shorter
// blocks): a whole non-interactive run over a small image must end without a crash.
#include "host/FilterHost.h"
#include "tests/fuzz/FuzzPlatform.h"
#include "texture/FilterParameters.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace morvessan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    installFuzzPlatform();

    const std::vector<std::uint8_t> block(data, data + std::min(size, kFilterParametersSize));
    // Bytes past the block choose the image: planes, a selection, a filter rectangle.
    const std::uint8_t shape = size > kFilterParametersSize ? data[kFilterParametersSize] : 0;
    const std::int32_t planes = (shape & 1) ? 4 : 3;
    HostImage image(37, 23, planes);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint8_t>(i * 7);
    }
    FilterHost host;
    host.setImage(std::move(image));
    if (shape & 2) {
        HostMask mask(37, 23, 0);
        for (std::size_t i = 0; i < mask.bytes.size(); ++i) {
            mask.bytes[i] = static_cast<std::uint8_t>(i * 13);
        }
        host.setMask(std::move(mask));
    }
    if (shape & 4) {
        host.setFilterRect(VXPSRect{3, 2, 30, 21});
    }
    host.setPlayInfo(plugInDialogSilent);
    host.setParameterBytes(block);
    host.run();
    return 0;
}
