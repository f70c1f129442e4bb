// Any bytes as the descriptor a host replays for a recorded action, read by the
// plug-in through the host's suites: the run must end, drawn with what was
// readable and defaults for the rest, without a crash.
#include "host/FilterHost.h"
#include "tests/fuzz/FuzzPlatform.h"
#include "texture/FilterParameters.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace morvessan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    installFuzzPlatform();

    FilterParameters block{};
    writeDefaultParameters(block);
    std::vector<std::uint8_t> bytes(sizeof block);
    std::memcpy(bytes.data(), &block, sizeof block);
    FilterHost host;
    host.setImage(HostImage(17, 9, 3));
    host.setPlayInfo(plugInDialogSilent);
    host.setParameterBytes(bytes);
    host.setDescriptor(std::vector<std::uint8_t>(data, data + size));
    host.run();
    return 0;
}
