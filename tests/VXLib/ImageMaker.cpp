// Test pictures made with libpng and libjpeg and bitmap files written by hand,
// and the scratch folder the file tests work in.
#include "tests/VXLib/ImageMaker.h"

#include <png.h>

#include <chrono>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include <jpeglib.h>

namespace morvessan::testing {

namespace {

void PNGCBAPI pngWrite(png_structp png, png_bytep data, std::size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

void PNGCBAPI pngFlush(png_structp) {}

int channelsOf(int colourType) {
    switch (colourType) {
    case 0:
    case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    default: return 4;
    }
}

} // namespace

Bytes makePng(const PngRecipe& recipe, const SampleFunction& sample) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("test PNG could not be made");
    }
    png_set_write_fn(png, &out, pngWrite, pngFlush);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colourType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < recipe.paletteRGB.size(); i += 3)
        palette.push_back(png_color{recipe.paletteRGB[i], recipe.paletteRGB[i + 1], recipe.paletteRGB[i + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_color_16 key{};
    key.gray = 1;
    key.red = 1;
    key.green = 2;
    key.blue = 3;
    if (!recipe.trnsAlpha.empty())
        png_set_tRNS(png, info, recipe.trnsAlpha.data(), int(recipe.trnsAlpha.size()), nullptr);
    else if (recipe.trnsKey)
        png_set_tRNS(png, info, nullptr, 0, &key);
    png_write_info(png, info);
    if (recipe.headerOnly) {
        png_destroy_write_struct(&png, &info);
        return out;
    }

    const int channels = channelsOf(recipe.colourType);
    const std::size_t rowBytes = (std::size_t(recipe.width) * channels * recipe.bitDepth + 7) / 8;
    std::vector<std::vector<std::uint8_t>> rows(recipe.height, std::vector<std::uint8_t>(rowBytes));
    for (int y = 0; y < recipe.height; ++y) {
        std::uint8_t* r = rows[y].data();
        std::size_t bit = 0;
        for (int x = 0; x < recipe.width; ++x)
            for (int c = 0; c < channels; ++c) {
                const unsigned v = sample(x, y, c);
                if (recipe.bitDepth == 16) {
                    r[bit / 8] = std::uint8_t(v >> 8);
                    r[bit / 8 + 1] = std::uint8_t(v);
                } else if (recipe.bitDepth == 8) {
                    r[bit / 8] = std::uint8_t(v);
                } else {
                    const int shift = 8 - recipe.bitDepth - int(bit % 8);
                    r[bit / 8] = std::uint8_t(r[bit / 8] | (v << shift));
                }
                bit += recipe.bitDepth;
            }
    }
    std::vector<png_bytep> pointers;
    for (auto& r : rows)
        pointers.push_back(r.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes makeJpeg(int width, int height, bool grey, const std::function<std::uint32_t(int, int)>& rgb, bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    if (!grey) // no chroma subsampling, so flat colours come back exactly or nearly
        for (int c = 0; c < 3; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgb(x, y);
            if (grey) {
                row[x] = std::uint8_t(c);
            } else {
                row[3 * x] = std::uint8_t(c);
                row[3 * x + 1] = std::uint8_t(c >> 8);
                row[3 * x + 2] = std::uint8_t(c >> 16);
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

Bytes makeCmykJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(width) * 4, 128);
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

namespace {

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

} // namespace

Bytes makeBmp(const BmpRecipe& recipe) {
    Bytes b;
    const std::uint32_t offset = 14 + recipe.headerSize + std::uint32_t(recipe.masks.size() + recipe.table.size());
    b.push_back('B');
    b.push_back('M');
    put32(b, offset + std::uint32_t(recipe.pixels.size()));
    put32(b, 0);
    put32(b, offset);
    put32(b, recipe.headerSize);
    if (recipe.headerSize == 12) {
        put16(b, std::uint32_t(recipe.width));
        put16(b, std::uint32_t(recipe.height));
        put16(b, 1);
        put16(b, recipe.bitCount);
    } else {
        put32(b, std::uint32_t(recipe.width));
        put32(b, std::uint32_t(recipe.height));
        put16(b, 1);
        put16(b, recipe.bitCount);
        put32(b, recipe.compression);
        put32(b, recipe.sizeImage);
        put32(b, 2835);
        put32(b, 2835);
        put32(b, recipe.clrUsed);
        put32(b, 0);
        for (std::uint32_t i = 40; i < recipe.headerSize; ++i)
            b.push_back(0);
    }
    b.insert(b.end(), recipe.masks.begin(), recipe.masks.end());
    b.insert(b.end(), recipe.table.begin(), recipe.table.end());
    b.insert(b.end(), recipe.pixels.begin(), recipe.pixels.end());
    return b;
}

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             ("morvessan-images-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
              std::to_string(++counter));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void ScratchFolder::write(const std::string& name, const Bytes& bytes) const {
    std::ofstream out(m_path / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace morvessan::testing
