// Build-time tool: writes the module's terminology resource bytes to the file
// named on the command line, for the resource script to embed.
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "resources/descriptor/DescriptorTerms.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_terminology OUTPUT\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = morvessan::encodeTerminology();
    std::string error;
    if (!morvessan::vxReplaceFile(argv[1], std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                  error)) {
        std::fprintf(stderr, "make_terminology: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
