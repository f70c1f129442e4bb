// Writes the inputs of the cross-build comparison: parameter blocks covering
// every texture type and effect, RGB, RGBA and JPEG pictures and a selection mask.
// Usage: make_e2e_inputs FOLDER [TEXTURE_PICTURE_PATH]
#include "texture/FilterParameters.h"

#include <png.h>

#include <cstdio>
#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace morvessan;

namespace {

bool writePng(const std::string& path, int width, int height, int channels, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(bytes.data() + std::size_t(y) * width * channels);
    bool ok = false;
    if (!setjmp(png_jmpbuf(png))) {
        const int type = channels == 1 ? PNG_COLOR_TYPE_GRAY : channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA;
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_set_rows(png, info, rows.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

// A colour JPEG with the usual 4:2:0 chroma subsampling, so reading it
// exercises the decoder's upsampling as texture pictures and inputs do.
bool writeJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + std::size_t(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

std::vector<std::uint8_t> picture(int width, int height, int channels) {
    std::vector<std::uint8_t> bytes(std::size_t(width) * height * channels);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &bytes[(std::size_t(y) * width + x) * channels];
            p[0] = std::uint8_t(x * 255 / width);
            if (channels > 1) {
                p[1] = std::uint8_t(y * 255 / height);
                p[2] = std::uint8_t((x * 7 + y * 3) & 255);
            }
            if (channels == 4)
                p[3] = std::uint8_t(255 - (x + y) % 200);
        }
    }
    return bytes;
}

bool writeBlock(const std::string& path, const FilterParameters& block) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&block), sizeof block);
    return static_cast<bool>(out.flush());
}

FilterParameters defaults() {
    FilterParameters block;
    std::memset(static_cast<void*>(&block), 0, sizeof block); // padding too: the bytes are compared
    writeDefaultParameters(block);
    return block;
}

void stops(TextureFields& t, std::initializer_list<std::pair<std::uint32_t, int>> list) {
    int i = 0;
    for (const auto& [colour, position] : list) {
        t.colours[i] = colour;
        t.positions[i] = position;
        ++i;
    }
    t.colourCount = i;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_e2e_inputs FOLDER [TEXTURE_PICTURE_PATH]\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    const std::string texturePicture = argc == 3 ? argv[2] : "";
    bool ok = true;

    // Cloud: three stops with partial opacity, the plain transformation.
    FilterParameters cloud = defaults();
    cloud.texture.type = kCloud;
    cloud.texture.noiseSeed = 4711;
    stops(cloud.texture, {{0xFF102030u, 0}, {0x80F0C040u, 120}, {0xFFFFFFFFu, 255}});
    ok &= writeBlock((folder / "cloud.bin").string(), cloud);

    // Fire: grain noise on, rotated and zoomed, twelve octaves.
    FilterParameters fire = defaults();
    fire.texture.type = kFire;
    fire.texture.noiseSeed = 99;
    fire.texture.noiseLevel = 12.0;
    fire.texture.noiseEnabled = 1;
    fire.texture.noise = 35;
    fire.texture.transformation = rotation(0.6);
    compose(fire.texture.transformation, scaling(1.7, 1.7));
    stops(fire.texture, {{0xFF000000u, 0}, {0xFF0000FFu, 90}, {0xFF00C0FFu, 180}, {0xFFFFFFFFu, 255}});
    ok &= writeBlock((folder / "fire.bin").string(), fire);

    // Marble: blur on, squashed, total opacity 70; used with a selection.
    FilterParameters marble = defaults();
    marble.texture.type = kMarble;
    marble.texture.noiseSeed = 12345;
    marble.texture.blurEnabled = 1;
    marble.texture.blur = 6;
    marble.texture.totalOpacity = 70.0;
    marble.texture.noiseParameter = 7.5;
    marble.texture.transformation = scaling(2.5, 0.6);
    stops(marble.texture, {{0xFFE0E0E0u, 0}, {0xFF404850u, 128}, {0xFFF8F8F8u, 255}});
    ok &= writeBlock((folder / "marble.bin").string(), marble);

    // Wood: every effect, eight stops with transparency, both flags; four planes.
    FilterParameters wood = defaults();
    wood.texture.type = kWood;
    wood.texture.noiseSeed = 7;
    wood.texture.noiseLevel = 5.5;
    wood.texture.blurEnabled = 1;
    wood.texture.blur = 3;
    wood.texture.noiseEnabled = 1;
    wood.texture.noise = 20;
    wood.texture.transformation = translation(13.25, -40.5);
    compose(wood.texture.transformation, rotation(-1.1));
    for (int i = 0; i < kMaxOctaves; ++i)
        wood.texture.noiseWeights[i] = 1.0 / (1.0 + i * i);
    stops(wood.texture, {{0xFF1A3050u, 0},
                         {0xC02A4870u, 30},
                         {0x80406090u, 70},
                         {0xFF5070A0u, 100},
                         {0x40608090u, 150},
                         {0xFF7090B0u, 190},
                         {0xA080A0C0u, 220},
                         {0xFFC0D0E0u, 255}});
    if (!texturePicture.empty()) {
        wood.texture.textureEnabled = 1;
        wood.texture.textureAmount = 40;
        copyToField(wood.texture.texturePath, kPathSize, texturePicture);
    }
    wood.scaleBySource = 1;
    ok &= writeBlock((folder / "wood.bin").string(), wood);

    FilterParameters overwrite = cloud;
    overwrite.overwriteSource = 1;
    ok &= writeBlock((folder / "cloud-overwrite.bin").string(), overwrite);

    ok &= writePng((folder / "rgb.png").string(), 257, 131, 3, picture(257, 131, 3));
    ok &= writePng((folder / "rgba.png").string(), 200, 150, 4, picture(200, 150, 4));
    ok &= writeJpeg((folder / "photo.jpg").string(), 181, 97, picture(181, 97, 3));
    std::vector<std::uint8_t> mask(257 * 131);
    for (int y = 0; y < 131; ++y) {
        for (int x = 0; x < 257; ++x)
            mask[y * 257 + x] = (x > 40 && x < 220 && y > 10) ? std::uint8_t(x + y) : 0;
    }
    ok &= writePng((folder / "mask.png").string(), 257, 131, 1, mask);
    if (!ok) {
        std::fprintf(stderr, "make_e2e_inputs: cannot write the inputs into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
