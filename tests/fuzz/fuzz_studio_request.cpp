// The studio's request bodies as a page or a stranger may send them: any bytes are
// answered with a reply (a picture's command, a block, an import), never a crash.
#include "studio/StudioApi.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvessan::studio;
    static StudioApi api(StudioSettings{"", "", false, "", "token", 0});
    const std::string body(reinterpret_cast<const char*>(data), size);
    api.command(body);
    api.block(body);
    api.importFile(body);
    return 0;
}
