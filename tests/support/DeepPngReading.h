// A 16-bit PNG read back with libpng itself, independent of our readers: the
// tests' check that a 16-bit picture holds every bit of its samples.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace morvessan::test {

struct DeepPng {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int channels = 0;
    std::vector<std::uint16_t> samples; // row by row, big-endian bytes joined
};

// Only trivially destructible locals here: the error jump skips nothing.
inline bool readDeepPngRows(png_structp png, png_infop info, std::FILE* file, DeepPng& result) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    result.width = png_get_image_width(png, info);
    result.height = png_get_image_height(png, info);
    result.bitDepth = png_get_bit_depth(png, info);
    result.channels = png_get_channels(png, info);
    return true;
}

// The file's samples as stored (no transforms); bitDepth 0 when libpng refuses it.
inline DeepPng readDeepPng(const std::string& path) {
    DeepPng result;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return result;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (readDeepPngRows(png, info, file.get(), result)) {
        png_bytepp rows = png_get_rows(png, info);
        const std::size_t count = std::size_t(result.width) * result.channels;
        for (std::uint32_t y = 0; y < result.height; ++y) {
            for (std::size_t i = 0; i < count; ++i) {
                result.samples.push_back(result.bitDepth == 16 ? std::uint16_t(rows[y][2 * i] << 8 | rows[y][2 * i + 1])
                                                               : rows[y][i]);
            }
        }
    } else {
        result = DeepPng{};
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

} // namespace morvessan::test
