// Build-time tool: writes the shipped texture pictures as 8-bit grey PNG files
// into the folder named on the command line.
#include "resources/textures/TexturePictures.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_textures FOLDER\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    for (const morvessan::TexturePicture& picture : morvessan::makeTexturePictures()) {
        std::string error;
        if (!morvessan::writeGreyPng(picture, (std::filesystem::path(argv[1]) / picture.name).string(), error)) {
            std::fprintf(stderr, "make_textures: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
