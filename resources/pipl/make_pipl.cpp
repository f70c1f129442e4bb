// Build-time tool: writes the module's PiPL resource bytes to the file named
// on the command line, for the resource script to embed ("wx86" after the file
// name gives the 32-bit module's entry property instead).
#include "resources/pipl/Pipl.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    const bool x86 = argc == 3 && std::string(argv[2]) == "wx86";
    if (argc != 2 && !x86) {
        std::fprintf(stderr, "usage: make_pipl OUTPUT [wx86]\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = morvessan::encodePipl(
        morvessan::morvessanPiplProperties(x86 ? morvessan::kPiplEntry32 : morvessan::kPiplEntry64));
    // Replaced whole, so a failed run leaves no half file to embed.
    std::string error;
    if (!morvessan::vxReplaceFile(argv[1], std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                  error)) {
        std::fprintf(stderr, "make_pipl: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
