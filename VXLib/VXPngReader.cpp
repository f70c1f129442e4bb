// PNG reading through libpng: transforms to the buffer layouts, the single
// transparent index rule, size limits, and errors that unwind to a false result.
#include "VXLib/VXPngReader.h"

#include "VXLib/VXPngChunks.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

namespace morvessan {

namespace {

struct MemoryInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

// libpng errors jump back to the reader's setjmp point; nothing is printed.
void PNGCBAPI onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void PNGCBAPI onWarning(png_structp, png_const_charp) {}

// Copies the requested bytes; a request past the end gets what is left and zeros.
void PNGCBAPI readFromMemory(png_structp png, png_bytep out, std::size_t count) {
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    const std::size_t left = in->size - in->position;
    const std::size_t n = count < left ? count : left;
    if (n > 0)
        std::memcpy(out, in->data + in->position, n);
    if (n < count)
        std::memset(out + n, 0, count - n);
    in->position += n;
}

// Walking the alpha entries from the first: an entry other than 255 records its
// index; any further entry after that cancels it.
int singleTransparentIndex(png_structp png, png_infop info) {
    png_bytep alpha = nullptr;
    int count = 0;
    png_color_16p colour = nullptr;
    if (png_get_tRNS(png, info, &alpha, &count, &colour) == 0 || alpha == nullptr)
        return -1;
    int index = -1;
    for (int i = 0; i < count; ++i) {
        if (index != -1)
            return -1;
        if (alpha[i] != 255)
            index = i;
    }
    return index;
}

// Creates the buffer and its table; false when it cannot (limits, memory).
bool makeBuffer(VXImage2& image, png_structp png, png_infop info, int width, int height, int bitCount) {
    try {
        VXRGBQuad table[256] = {};
        int entries = 0;
        const int colourType = png_get_color_type(png, info);
        if (colourType == PNG_COLOR_TYPE_PALETTE && bitCount == 8) {
            png_colorp palette = nullptr;
            int count = 0;
            if (png_get_PLTE(png, info, &palette, &count) != 0 && palette != nullptr) {
                entries = count < 256 ? count : 256;
                for (int i = 0; i < entries; ++i)
                    table[i] = VXRGBQuad{palette[i].blue, palette[i].green, palette[i].red, 0};
            }
            entries = 256;
        } else if (bitCount == 8) {
            for (int i = 0; i < 256; ++i)
                table[i] = VXRGBQuad{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
            entries = 256;
        }
        const VXPalette palette(table, entries);
        return image.create(width, height, bitCount, entries > 0 ? &palette : nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Everything between the creation and the destruction of the libpng structures.
// Only trivially destructible locals live here, so the error jump skips nothing.
bool decode(png_structp png, png_infop info, VXImage2& image, bool keepIndex) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, kMaxImageDimension, kMaxImageDimension);
    vxLimitPngChunks(png);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);

    if (depth < 8)
        png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    int transparentIndex = -1;
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        if (colourType == PNG_COLOR_TYPE_PALETTE) {
            transparentIndex = singleTransparentIndex(png, info);
            if (transparentIndex == -1)
                png_set_tRNS_to_alpha(png);
        } else if (colourType == PNG_COLOR_TYPE_RGB) {
            png_set_tRNS_to_alpha(png);
        }
        // A grey picture's transparent key is dropped: it stays an 8-bit grey picture.
    }
    if (depth == 16)
        png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_strip_alpha(png);
    if ((colourType & PNG_COLOR_MASK_COLOR) != 0)
        png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    const int bitCount = channels * png_get_bit_depth(png, info);
    if (bitCount != 8 && bitCount != 24 && bitCount != 32)
        png_error(png, "unexpected pixel layout");
    if (!makeBuffer(image, png, info, int(width), int(height), bitCount))
        png_error(png, "picture too large");
    if (png_get_rowbytes(png, info) > image.stride())
        png_error(png, "row does not fit");

    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, image.row(int(y)), nullptr);
    png_read_end(png, nullptr);

    image.setHasAlpha(channels == 4);
    if (keepIndex)
        image.setTransparentColour(transparentIndex);
    return true;
}

bool load(std::FILE* file, MemoryInput* memory, VXImage2& image) {
    image.reset();
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (file != nullptr)
        png_init_io(png, file);
    else
        png_set_read_fn(png, memory, readFromMemory);
    const bool ok = decode(png, info, image, memory != nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        image.reset();
    return ok;
}

} // namespace

bool vxLoadPngFile(const std::string& path, VXImage2& image) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        image.reset();
        return false;
    }
    const bool ok = load(file, nullptr, image);
    std::fclose(file);
    return ok;
}

bool vxLoadPngMemory(const std::uint8_t* data, std::size_t size, VXImage2& image) {
    if (data == nullptr) {
        image.reset();
        return false;
    }
    MemoryInput input{data, size, 0};
    return load(nullptr, &input, image);
}

void vxLimitPngChunks(png_structp png, bool metadata) {
    png_set_chunk_malloc_max(png, png_alloc_size_t(8) << 20);
    static const png_byte ignored[] =
        "tEXt\0zTXt\0iTXt\0sPLT\0pCAL\0sCAL\0hIST\0tIME\0"
        "oFFs\0sBIT\0sTER\0cHRM\0gAMA\0sRGB\0bKGD";
    static const png_byte kept[] = "iCCP\0eXIf\0pHYs";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, ignored, int(sizeof ignored / 5));
    if (!metadata)
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kept, int(sizeof kept / 5));
}

} // namespace morvessan
