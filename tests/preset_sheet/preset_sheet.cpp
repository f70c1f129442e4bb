// Draws every preset of a presets folder, file by file, into contact sheets
// (one PNG per preset file) through the plug-in's own thumbnail renderer.
#include "plugin/TextureRenderer.h"
#include "presets/PresetLibrary.h"
#include "texture/ColourTable.h"
#include "texture/TextureBuilder.h"
#include "VXLib/VXImage2.h"
#include "VXLib/VXPalette.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace morvessan;

namespace {

bool writeRgbPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// An 8-bit grey PNG as a texture map (the neutral map when it cannot be read).
std::unique_ptr<VXImage2> loadGreyMap(const std::string& path) {
    auto map = std::make_unique<VXImage2>();
    const VXPalette grey = VXPalette::greyPalette();
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<std::uint8_t> pixels;
    if (png_image_begin_read_from_file(&image, path.c_str())) {
        image.format = PNG_FORMAT_GRAY;
        pixels.resize(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
            pixels.clear();
        }
    }
    if (pixels.empty()) {
        std::fprintf(stderr, "no texture picture %s\n", path.c_str());
        map->create(20, 20, 8, &grey);
        for (int y = 0; y < 20; ++y) {
            std::memset(map->row(y), 128, 20);
        }
        return map;
    }
    const int w = static_cast<int>(image.width);
    const int h = static_cast<int>(image.height);
    map->create(w, h, 8, &grey);
    for (int y = 0; y < h; ++y) {
        std::memcpy(map->row(y), pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w), static_cast<std::size_t>(w));
    }
    return map;
}

// The preset over a checkerboard, as the plug-in's thumbnails draw it, with the
// texture picture read from its file. Writes RGB rows into `out`.
void renderThumbnail(const TexturePreset& preset, int size, std::vector<std::uint8_t>& out, MersenneTwister& random) {
    out.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 3, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::uint8_t grey = ((y / 10 + x / 10) % 2 == 0) ? 192 : 255;
            std::uint8_t* p = out.data() + (static_cast<std::size_t>(y) * size + x) * 3;
            p[0] = p[1] = p[2] = grey;
        }
    }
    const auto texture = makeTexture(preset);
    const auto table = buildColourTable(preset, ColourOrder::Host);
    std::unique_ptr<VXImage2> picture;
    if (preset.textureEnabled) {
        picture = loadGreyMap(readField(preset.texturePath, kPathSize));
    }
    TextureRenderSettings settings;
    settings.texture = texture.get();
    settings.colourTable = table.data();
    settings.textureImage = picture.get();
    random = MersenneTwister(1);
    settings.random = &random;
    settings.fields = &preset;
    settings.filterRect = {0, 0, size, size};
    PixelBlock block;
    block.data = out.data();
    block.width = size;
    block.height = size;
    block.bytesPerPixel = 3;
    block.stride = size * 3;
    block.layout = kLayoutRGB;
    renderTextureTile(settings, block, block, PixelBlock{}, settings.filterRect);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: preset_sheet <presets folder> <textures folder> <output prefix> [size] [columns]\n");
        return 2;
    }
    const int size = argc > 4 ? std::atoi(argv[4]) : 160;
    const int columns = argc > 5 ? std::atoi(argv[5]) : 5;
    const int gap = 6;

    PresetLibrary library;
    library.setTexturesFolder(asFolder(argv[2]));
    library.discoverPresetFilesIn(argv[1], TextureFields{});
    MersenneTwister random(1);

    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        std::vector<const TexturePreset*> presets;
        for (int c = 0; c < file.categoryCount(); ++c) {
            for (int p = 0; p < file.presetCount(c); ++p) {
                std::printf("%s %2zu  %s / %s\n", file.name().c_str(), presets.size(), file.categoryName(c).c_str(),
                            file.presetName(c, p).c_str());
                presets.push_back(&file.preset(c, p));
            }
        }
        if (presets.empty()) {
            continue;
        }
        const int rows = (static_cast<int>(presets.size()) + columns - 1) / columns;
        const int width = columns * (size + gap) + gap;
        const int height = rows * (size + gap) + gap;
        std::vector<std::uint8_t> sheet(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 40);
        for (std::size_t i = 0; i < presets.size(); ++i) {
            std::vector<std::uint8_t> thumb;
            renderThumbnail(*presets[i], size, thumb, random);
            const int x0 = gap + static_cast<int>(i % static_cast<std::size_t>(columns)) * (size + gap);
            const int y0 = gap + static_cast<int>(i / static_cast<std::size_t>(columns)) * (size + gap);
            for (int y = 0; y < size; ++y) {
                std::memcpy(sheet.data() + (static_cast<std::size_t>(y0 + y) * width + x0) * 3,
                            thumb.data() + static_cast<std::size_t>(y) * size * 3, static_cast<std::size_t>(size) * 3);
            }
        }
        const std::string path = std::string(argv[3]) + "-" + file.name() + ".png";
        if (!writeRgbPng(path, width, height, sheet)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("wrote %s\n", path.c_str());
    }
    return 0;
}
