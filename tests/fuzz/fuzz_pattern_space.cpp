// Any bytes as the pattern space a host hands the plug-in through its property
// suite, over a tile-ready block: the run must end, drawn or refused, without a crash.
#include "host/FilterHost.h"
#include "tests/fuzz/FuzzPlatform.h"
#include "texture/FilterParameters.h"
#include "texture/PatternSpace.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace morvessan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    installFuzzPlatform();

    FilterParameters block{};
    writeDefaultParameters(block);
    block.texture.noiseLevel = 12;
    std::vector<std::uint8_t> bytes(sizeof block);
    std::memcpy(bytes.data(), &block, sizeof block);
    FilterHost host;
    host.setImage(HostImage(19, 11, 3));
    host.setPlayInfo(plugInDialogSilent);
    host.setParameterBytes(bytes);
    host.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, std::vector<std::uint8_t>(data, data + size));
    host.run();
    return 0;
}
