// The peer's whole job, for bench/whole_job.sh: libnoise's Perlin noise (8 octaves)
// rendered into a picture on N threads, then written as PNG, JPEG or bitmap.
//
// usage: morvessan_peer_job WIDTHxHEIGHT THREADS OUTPUT.(png|jpg|bmp)
//
// It does what a plain program over the same libraries does: the picture is held
// whole, libpng and libjpeg are called with their defaults (JPEG quality 90, as
// ours), and a bitmap is written bottom-up from memory.
#include <libnoise/noise.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <jpeglib.h>

namespace {

std::vector<std::uint8_t> render(int width, int height, int threads) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 3);
    const auto rows = [&](int first, int last) {
        noise::module::Perlin perlin;
        perlin.SetOctaveCount(8);
        perlin.SetNoiseQuality(noise::QUALITY_STD);
        for (int y = first; y < last; ++y) {
            std::uint8_t* p = pixels.data() + std::size_t(y) * std::size_t(width) * 3;
            for (int x = 0; x < width; ++x, p += 3) {
                const double v = perlin.GetValue(x * (7.0 / 2048), y * (7.0 / 2048), 0.5);
                const auto level = std::uint8_t(std::clamp((v + 1.0) * 127.5, 0.0, 255.0));
                p[0] = p[1] = p[2] = level;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back(rows, height * t / threads, height * (t + 1) / threads);
    rows(0, height / threads);
    for (std::thread& helper : helpers)
        helper.join();
    return pixels;
}

bool writePng(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& pixels) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + std::size_t(y) * std::size_t(width) * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeJpeg(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& pixels) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(pixels.data() + std::size_t(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

void putLE32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

bool writeBitmap(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& pixels) {
    const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
    std::uint8_t header[54] = {'B', 'M'};
    putLE32(header + 2, std::uint32_t(54 + stride * std::size_t(height)));
    putLE32(header + 10, 54);
    putLE32(header + 14, 40);
    putLE32(header + 18, std::uint32_t(width));
    putLE32(header + 22, std::uint32_t(height));
    header[26] = 1;
    header[28] = 24;
    putLE32(header + 34, std::uint32_t(stride * std::size_t(height)));
    std::vector<std::uint8_t> rows(stride * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = pixels.data() + std::size_t(y) * std::size_t(width) * 3;
        std::uint8_t* d = rows.data() + std::size_t(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x, s += 3, d += 3) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
    return std::fwrite(header, 1, sizeof header, file) == sizeof header &&
           std::fwrite(rows.data(), 1, rows.size(), file) == rows.size();
}

} // namespace

int main(int argc, char** argv) {
    int width = 0;
    int height = 0;
    if (argc != 4 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || width < 1 || height < 1) {
        std::fprintf(stderr, "usage: morvessan_peer_job WIDTHxHEIGHT THREADS OUTPUT.(png|jpg|bmp)\n");
        return 2;
    }
    const int threads = std::max(1, std::atoi(argv[2]));
    const std::string output = argv[3];
    const std::string extension = output.substr(output.find_last_of('.') + 1);
    const std::vector<std::uint8_t> pixels = render(width, height, threads);
    std::FILE* file = std::fopen(output.c_str(), "wb");
    if (file == nullptr) {
        std::perror(output.c_str());
        return 1;
    }
    const bool ok = extension == "png"   ? writePng(file, width, height, pixels)
                    : extension == "jpg" ? writeJpeg(file, width, height, pixels)
                                         : writeBitmap(file, width, height, pixels);
    return std::fclose(file) == 0 && ok ? 0 : 1;
}
