// Build-time tool: writes the module's PiPL resource bytes to the file named
// on the command line, for the resource script to embed ("wx86" after the file
// name gives the 32-bit module's entry property instead, for tests).
#include "resources/pipl/Pipl.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const bool x86 = argc == 3 && std::string(argv[2]) == "wx86";
    if (argc != 2 && !x86) {
        std::fprintf(stderr, "usage: make_pipl OUTPUT [wx86]\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = morvessan::encodePipl(
        morvessan::morvessanPiplProperties(x86 ? morvessan::kPiplEntry32 : morvessan::kPiplEntry64));
    // Written beside the target and renamed, so a failed run leaves no half file.
    const std::string target = argv[1];
    const std::string temporary = target + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "make_pipl: cannot write %s\n", temporary.c_str());
            return 1;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::fprintf(stderr, "make_pipl: cannot replace %s: %s\n", target.c_str(), ec.message().c_str());
        std::filesystem::remove(temporary, ec);
        return 1;
    }
    return 0;
}
