// JPEG reading through libjpeg: a memory source that never reads past its block,
// an error exit that jumps back and frees everything, and the size limits.
#include "VXLib/VXJpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <memory>
#include <utility>
#include <new>
#include <vector>

#include <jpeglib.h>

namespace morvessan {

namespace {

// Progressive streams with absurd numbers of scans cost time without adding picture.
constexpr int kMaxScans = 500;

// Everything the library holds pointers to, kept alive until it is destroyed.
// The error manager comes first, so the library's error pointer is the decoder's.
struct Decoder {
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    jpeg_decompress_struct info;
    jpeg_progress_mgr progress;
    jpeg_source_mgr source;
};

void onErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<Decoder*>(info->err)->jump, 1); }

void onOutputMessage(j_common_ptr) {}

void onProgress(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        onErrorExit(info);
}

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr) {}

// Past the end of the block: an end-of-image marker, so a truncated stream ends
// cleanly with whatever was decoded.
boolean fillInputBuffer(j_decompress_ptr info) {
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count) {
    if (count <= 0)
        return;
    jpeg_source_mgr* src = info->src;
    while (std::size_t(count) > src->bytes_in_buffer) {
        count -= long(src->bytes_in_buffer);
        fillInputBuffer(info);
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= std::size_t(count);
}

void termSource(j_decompress_ptr) {}

bool makeBuffer(VXImage2& image, int width, int height, bool grey) {
    try {
        if (grey) {
            const VXPalette table = VXPalette::greyPalette();
            return image.create(width, height, 8, &table);
        }
        return image.create(width, height, 24, nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Between creation and destruction of the decompressor. Only trivially destructible
// locals live here, so the error jump skips nothing that needs cleaning up.
bool decode(Decoder& decoder, const std::uint8_t* data, std::size_t size, VXImage2& image, bool& created) {
    jpeg_decompress_struct& info = decoder.info;
    if (setjmp(decoder.jump))
        return false;
    jpeg_create_decompress(&info);

    decoder.progress.progress_monitor = onProgress;
    info.progress = &decoder.progress;

    jpeg_source_mgr& source = decoder.source;
    source.init_source = initSource;
    source.fill_input_buffer = fillInputBuffer;
    source.skip_input_data = skipInputData;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = termSource;
    source.next_input_byte = data;
    source.bytes_in_buffer = size;
    info.src = &source;

    jpeg_read_header(&info, TRUE);
    bool grey = false;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        grey = true;
        info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
#if defined(JCS_EXTENSIONS)
        info.out_color_space = JCS_EXT_BGR;
#else
        info.out_color_space = JCS_RGB;
#endif
        break;
    default: return false; // CMYK, YCCK and unknown layouts are not pictures we can hold
    }
    if (info.num_components != (grey ? 1 : 3) || info.image_width > unsigned(kMaxImageDimension) ||
        info.image_height > unsigned(kMaxImageDimension))
        return false;

    const int width = int(info.image_width);
    const int height = int(info.image_height);
    const int bitCount = grey ? 8 : 24;
    if (image.isEmpty()) {
        if (!makeBuffer(image, width, height, grey))
            return false;
        created = true;
    } else if (image.width() != width || image.rows() != height || image.bitCount() != bitCount) {
        return false;
    }

    jpeg_start_decompress(&info);
    if (info.output_components != (grey ? 1 : 3) || info.output_width != unsigned(width) ||
        info.output_height != unsigned(height))
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.row(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
#if !defined(JCS_EXTENSIONS)
        if (!grey)
            for (int x = 0; x < width; ++x)
                std::swap(row[3 * x], row[3 * x + 2]);
#endif
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

bool vxLoadJpegMemory(const std::uint8_t* data, std::size_t size, VXImage2& image) {
    if (data == nullptr || size == 0)
        return false;
    auto decoder = std::make_unique<Decoder>();
    decoder->info.err = jpeg_std_error(&decoder->errors);
    decoder->errors.error_exit = onErrorExit;
    decoder->errors.output_message = onOutputMessage;
    bool created = false;
    const bool ok = decode(*decoder, data, size, image, created);
    jpeg_destroy_decompress(&decoder->info);
    if (!ok && created)
        image.reset();
    return ok;
}

bool vxLoadJpegFile(const std::string& path, VXImage2& image) {
    image.reset();
    std::vector<std::uint8_t> contents;
    try {
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        if (!file)
            return false;
        const auto end = file.tellg();
        if (end <= 0 || std::uint64_t(end) > kMaxImageBytes)
            return false;
        contents.resize(std::size_t(end));
        file.seekg(0);
        if (!file.read(reinterpret_cast<char*>(contents.data()), std::streamsize(contents.size())))
            return false;
    } catch (const std::exception&) {
        return false;
    }
    return vxLoadJpegMemory(contents.data(), contents.size(), image);
}

} // namespace morvessan
