// The one decoding layer for pictures from outside: libpng with every transparency
// expanded to alpha, libjpeg with warnings kept as damage, bitmaps of every header.
#include "VXLib/VXPictureDecoder.h"

#include "VXLib/VXBitmapReader.h"
#include "VXLib/VXDIBBuffer.h"
#include "VXLib/VXExifBlock.h"
#include "VXLib/VXImage2.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <jpeglib.h>

namespace morvessan {

namespace {

std::string pixelsText(std::int64_t pixels) {
    return pixels % 1000000 == 0 ? std::to_string(pixels / 1000000) + " megapixels"
                                 : std::to_string(pixels) + " pixels";
}

// Checks the size from a header: the program's limits, then the user's.
bool checkSize(std::int64_t width, std::int64_t height, std::int32_t planes, const VXPictureReading& reading,
               std::string& error) {
    error = vxPictureSizeProblem(width, height, planes);
    if (error.empty() && width * height > reading.maxPixels) {
        error = "it is " + std::to_string(width) + "x" + std::to_string(height) + ", more than the limit of " +
                pixelsText(reading.maxPixels) + " for input pictures" +
                (reading.limitAdvice.empty() ? std::string() : " (" + reading.limitAdvice + ")");
    }
    return error.empty();
}

// The size and planes the header gave, without pixels, for a reading that asks only that.
VXDecodedPicture sizeOnly(std::int64_t width, std::int64_t height, std::int32_t planes) {
    VXDecodedPicture picture;
    picture.width = std::int32_t(width);
    picture.height = std::int32_t(height);
    picture.planes = planes;
    return picture;
}

// A black (or clear) picture of the size the header gave, checked before.
VXDecodedPicture blankPicture(std::int64_t width, std::int64_t height, std::int32_t planes) {
    VXDecodedPicture picture;
    picture.width = std::int32_t(width);
    picture.height = std::int32_t(height);
    picture.planes = planes;
    picture.pixels.assign(std::size_t(width) * std::size_t(height) * std::size_t(planes), 0);
    return picture;
}

// ---------------------------------------------------------------------- PNG

constexpr std::size_t kMessageSize = 200;

// Plain data only: it outlives every jump back from libpng.
struct PngState {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
    char message[kMessageSize];
};

void copyMessage(char* to, const char* from) {
    std::strncpy(to, from != nullptr ? from : "", kMessageSize - 1);
    to[kMessageSize - 1] = '\0';
}

void PNGCBAPI onPngError(png_structp png, png_const_charp message) {
    copyMessage(static_cast<PngState*>(png_get_error_ptr(png))->message, message);
    png_longjmp(png, 1);
}

void PNGCBAPI onPngWarning(png_structp, png_const_charp) {}

void PNGCBAPI readPngBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (length > state->size - state->offset) {
        png_error(png, "the file ends early");
    }
    std::memcpy(out, state->data + state->offset, length);
    state->offset += length;
}

// The palette entry a tRNS chunk makes transparent when it is the chunk's only entry
// below 255 and its last one; -1 for any other chunk (which then gives alpha).
int singleTransparentIndex(png_structp png, png_infop info) {
    png_bytep alpha = nullptr;
    int count = 0;
    png_color_16p colour = nullptr;
    if (png_get_tRNS(png, info, &alpha, &count, &colour) == 0 || alpha == nullptr) {
        return -1;
    }
    int index = -1;
    for (int i = 0; i < count; ++i) {
        if (index != -1) {
            return -1;
        }
        if (alpha[i] != 255) {
            index = i;
        }
    }
    return index;
}

// Asks for eight-bit RGB or RGBA rows, whatever the source: palettes, low bit depths
// and tRNS chunks expanded, grey widened to colour. Without `alpha` every
// transparency is dropped instead.
void askForColour(png_structp png, png_infop info, bool alpha) {
    const int colourType = png_get_color_type(png, info);
    if (alpha) {
        png_set_expand(png);
    } else {
        png_set_palette_to_rgb(png);
        png_set_expand_gray_1_2_4_to_8(png);
        // A palette's transparency becomes alpha on expansion, and goes with it.
        if ((colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
            png_set_strip_alpha(png);
        }
    }
    if (png_get_bit_depth(png, info) == 16) {
        png_set_scale_16(png); // rounded: (v * 255 + 32767) / 65535
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
}

// Asks for the indexed form's rows: grey and palette pictures as one plane of their
// values, low depths widened to a byte each, 16 bits cut to their high byte. These
// are the transformations texture pictures were always read with; a change here
// changes every render that uses one.
void askForStoredValues(png_structp png, png_infop info, int& transparentIndex) {
    const int depth = png_get_bit_depth(png, info);
    const int colourType = png_get_color_type(png, info);
    if (depth < 8) {
        png_set_packing(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        if (colourType == PNG_COLOR_TYPE_PALETTE) {
            transparentIndex = singleTransparentIndex(png, info);
            if (transparentIndex == -1) {
                png_set_tRNS_to_alpha(png);
            }
        } else if (colourType == PNG_COLOR_TYPE_RGB) {
            png_set_tRNS_to_alpha(png);
        }
        // A grey picture's transparent key is dropped: it stays one plane of grey.
    }
    if (depth == 16) {
        png_set_strip_16(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_strip_alpha(png);
    }
}

// No chunk may claim more memory than a real one needs, and chunks that carry nothing
// the pictures use are skipped. libpng only warns about a chunk whose declared size is
// absurd and then allocates it, so this comes before png_read_info. With `metadata`
// the profile, EXIF and resolution chunks (iCCP, eXIf, pHYs) are read, not skipped.
void limitPngChunks(png_structp png, bool metadata) {
    png_set_chunk_malloc_max(png, png_alloc_size_t(8) << 20);
    static const png_byte ignored[] =
        "tEXt\0zTXt\0iTXt\0sPLT\0pCAL\0sCAL\0hIST\0tIME\0"
        "oFFs\0sBIT\0sTER\0cHRM\0gAMA\0sRGB\0bKGD";
    static const png_byte kept[] = "iCCP\0eXIf\0pHYs";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, ignored, int(sizeof ignored / 5));
    if (!metadata) {
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kept, int(sizeof kept / 5));
    }
}

// Reads the header and asks for the rows `reading` wants (see the two above).
bool readPngHeader(png_structp png, png_infop info, const VXPictureReading& reading, png_uint_32& width,
                   png_uint_32& height, int& channels, int& fileBits, int& passes, int& transparentIndex) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    fileBits = png_get_bit_depth(png, info);
    if (reading.indexed) {
        askForStoredValues(png, info, transparentIndex);
    } else {
        askForColour(png, info, reading.transparencyAsAlpha);
    }
    passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    channels = png_get_channels(png, info);
    return (channels == 3 || channels == 4 || (channels == 1 && reading.indexed)) &&
           png_get_bit_depth(png, info) == 8 && png_get_rowbytes(png, info) == png_size_t(width) * png_size_t(channels);
}

// The colours of a one-plane picture's values: its palette (the entries it lacks
// black) or the greys.
std::vector<std::uint32_t> pngValueColours(png_structp png, png_infop info) {
    std::vector<std::uint32_t> colours(256, 0);
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            colours[i] = i * 0x010101u;
        }
    } else if (png_get_PLTE(png, info, &palette, &count) != 0 && palette != nullptr) {
        for (int i = 0; i < count && i < 256; ++i) {
            colours[std::size_t(i)] = vxRGB(palette[i].red, palette[i].green, palette[i].blue);
        }
    }
    return colours;
}

// Rows into `pixels`; false when the data broke off (what was read stays).
bool readPngRows(png_structp png, std::uint8_t* pixels, png_uint_32 height, std::size_t stride, int passes) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, pixels + std::size_t(y) * stride, nullptr);
        }
    }
    // What follows the pixels (text, time) is not needed; it is not read.
    return true;
}

// The chunks after the pixels, for an eXIf placed there; false on a fault there.
bool readPngEnd(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_end(png, info);
    return true;
}

std::vector<std::uint8_t> bytesOf(const png_byte* data, std::size_t size) {
    return data != nullptr ? std::vector<std::uint8_t>(data, data + size) : std::vector<std::uint8_t>();
}

// The profile and the resolution (before the pixels) or the EXIF block (either side).
void readPngMetadata(png_structp png, png_infop info, VXPictureMetadata& metadata) {
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (metadata.icc.empty() && png_get_iCCP(png, info, &name, &compression, &profile, &length) != 0) {
        metadata.icc = bytesOf(profile, length);
    }
    png_uint_32 x = 0;
    png_uint_32 y = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &x, &y, &unit) != 0 && unit == PNG_RESOLUTION_METER) {
        metadata.dotsPerMetreX = x;
        metadata.dotsPerMetreY = y;
    }
    png_bytep exif = nullptr;
    png_uint_32 exifSize = 0;
    if (metadata.exif.empty() && png_get_eXIf_1(png, info, &exifSize, &exif) != 0) {
        metadata.exif = bytesOf(exif, exifSize);
    }
}

bool decodePng(std::string_view bytes, const VXPictureReading& reading, VXDecodedPicture& image, std::string& error,
               std::string& damage) {
    auto state = std::make_unique<PngState>();
    state->data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    state->size = bytes.size();
    state->offset = 0;
    state->message[0] = '\0';
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state.get(), onPngError, onPngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    struct Release {
        png_structp& png;
        png_infop& info;
        ~Release() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
    } release{png, info};
    if (info == nullptr) {
        error = "out of memory";
        return false;
    }
    png_set_read_fn(png, state.get(), readPngBytes);
    // The size is checked here, before anything the header declares is allocated.
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    limitPngChunks(png, reading.metadata);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
    int passes = 1;
    int fileBits = 8;
    int transparentIndex = -1;
    if (!readPngHeader(png, info, reading, width, height, channels, fileBits, passes, transparentIndex)) {
        error = std::string("it is not a PNG picture this program can read") +
                (state->message[0] != '\0' ? std::string(" (") + state->message + ")" : std::string());
        return false;
    }
    if (!checkSize(width, height, channels, reading, error)) {
        return false;
    }
    if (reading.headerOnly) {
        image = sizeOnly(width, height, channels);
        return true;
    }
    VXDecodedPicture result = blankPicture(width, height, channels);
    result.fileBits = fileBits == 16 ? 16 : 8;
    if (channels == 1) {
        result.palette = pngValueColours(png, info);
        result.transparentIndex = transparentIndex;
    }
    if (reading.metadata) {
        readPngMetadata(png, info, result.metadata);
    }
    if (!readPngRows(png, result.pixels.data(), height, std::size_t(width) * std::size_t(channels), passes)) {
        damage = state->message[0] != '\0' ? state->message : "the data breaks off";
    } else if (reading.metadata || reading.indexed) {
        // The indexed form reads to the end: a file cut after its pixels is refused too.
        if (!readPngEnd(png, info) && reading.indexed) {
            damage = state->message[0] != '\0' ? state->message : "the data breaks off";
        }
        if (reading.metadata) {
            readPngMetadata(png, info, result.metadata);
        }
    }
    if (reading.indexed && !damage.empty()) {
        error = "it is damaged (" + damage + ")";
        damage.clear();
        return false;
    }
    image = std::move(result);
    return true;
}

// --------------------------------------------------------------------- JPEG

// Progressive streams with absurd numbers of scans cost time without adding picture.
constexpr int kMaxScans = 500;

// Everything libjpeg holds pointers to; the error manager first, so the library's
// error pointer is the decoder's.
struct JpegDecoder {
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    jpeg_decompress_struct info;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
    bool created;
    bool metadata;
};

JpegDecoder& decoderOf(j_common_ptr info) { return *reinterpret_cast<JpegDecoder*>(info->err); }

void onJpegError(j_common_ptr info) {
    JpegDecoder& decoder = decoderOf(info);
    info->err->format_message(info, decoder.message);
    std::longjmp(decoder.jump, 1);
}

// Warnings (corrupt data, a premature end) are what makes a picture damaged.
void onJpegMessage(j_common_ptr info, int level) {
    JpegDecoder& decoder = decoderOf(info);
    if (level < 0 && decoder.warning[0] == '\0') {
        info->err->format_message(info, decoder.warning);
    }
}

void onJpegProgress(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        std::strcpy(decoderOf(info).message, "too many scans");
        std::longjmp(decoderOf(info).jump, 1);
    }
}

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initJpegSource(j_decompress_ptr) {}

// Past the end of the data: an end-of-image marker, so that decoding stops there.
boolean fillJpegInput(j_decompress_ptr info) {
    JpegDecoder& decoder = decoderOf(reinterpret_cast<j_common_ptr>(info));
    if (decoder.warning[0] == '\0') {
        std::strcpy(decoder.warning, "the file ends early");
    }
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}

void skipJpegInput(j_decompress_ptr info, long count) {
    jpeg_source_mgr* src = info->src;
    while (count > 0 && std::size_t(count) > src->bytes_in_buffer) {
        count -= long(src->bytes_in_buffer);
        fillJpegInput(info);
    }
    if (count > 0) {
        src->next_input_byte += count;
        src->bytes_in_buffer -= std::size_t(count);
    }
}

void termJpegSource(j_decompress_ptr) {}

struct FreeProfile {
    void operator()(JOCTET* profile) const { std::free(profile); }
};

// The EXIF block (the first APP1 "Exif"), the profile (libjpeg joins the APP2
// chunks in their order) and the JFIF density, else the EXIF block's resolution.
void readJpegMetadata(jpeg_decompress_struct& info, VXPictureMetadata& metadata) {
    static const char kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > sizeof kExif &&
            std::memcmp(marker->data, kExif, sizeof kExif) == 0) {
            metadata.exif.assign(marker->data + sizeof kExif, marker->data + marker->data_length);
            break;
        }
    }
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    // Only a failed allocation jumps out of here, and nothing here needs destroying then.
    if (jpeg_read_icc_profile(&info, &profile, &length) && profile != nullptr) {
        const std::unique_ptr<JOCTET, FreeProfile> owned(profile);
        metadata.icc.assign(profile, profile + length);
    }
    if (info.saw_JFIF_marker && info.X_density > 0 && info.Y_density > 0 &&
        (info.density_unit == 1 || info.density_unit == 2)) {
        const bool inch = info.density_unit == 1;
        metadata.dotsPerMetreX =
            inch ? vxDotsPerMetreFromInch(info.X_density, 1) : vxDotsPerMetreFromCentimetre(info.X_density, 1);
        metadata.dotsPerMetreY =
            inch ? vxDotsPerMetreFromInch(info.Y_density, 1) : vxDotsPerMetreFromCentimetre(info.Y_density, 1);
    } else if (!metadata.exif.empty()) {
        const VXExifFacts facts = vxReadExif(metadata.exif);
        metadata.dotsPerMetreX = facts.dotsPerMetreX;
        metadata.dotsPerMetreY = facts.dotsPerMetreY;
    }
}

// With the decoder's `metadata` set, also what the file carries besides its pixels.
bool readJpegHeader(JpegDecoder& d, const std::uint8_t* data, std::size_t size, VXPictureMetadata& metadata) {
    if (setjmp(d.jump)) {
        return false;
    }
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.source.init_source = initJpegSource;
    d.source.fill_input_buffer = fillJpegInput;
    d.source.skip_input_data = skipJpegInput;
    d.source.resync_to_restart = jpeg_resync_to_restart;
    d.source.term_source = termJpegSource;
    d.source.next_input_byte = data;
    d.source.bytes_in_buffer = size;
    d.info.src = &d.source;
    d.progress.progress_monitor = onJpegProgress;
    d.info.progress = &d.progress;
    if (d.metadata) {
        jpeg_save_markers(&d.info, JPEG_APP0 + 1, 0xFFFF);
        jpeg_save_markers(&d.info, JPEG_APP0 + 2, 0xFFFF);
    }
    jpeg_read_header(&d.info, TRUE);
    if (d.metadata) {
        // A profile's chunks out of order make no damaged picture: the profile is left out.
        char warning[JMSG_LENGTH_MAX];
        std::memcpy(warning, d.warning, sizeof warning);
        readJpegMetadata(d.info, metadata);
        std::memcpy(d.warning, warning, sizeof warning);
    }
    const J_COLOR_SPACE space = d.info.jpeg_color_space;
    d.info.out_color_space = space == JCS_GRAYSCALE                     ? JCS_GRAYSCALE
                             : (space == JCS_CMYK || space == JCS_YCCK) ? JCS_CMYK
                                                                        : JCS_RGB;
    jpeg_calc_output_dimensions(&d.info);
    return true;
}

// Scanlines into RGB `pixels` (grey widened, CMYK converted), or into one plane of
// grey for `planes` 1; false when the data broke off with an error (the rows decoded
// so far stay).
bool readJpegRows(JpegDecoder& d, std::uint8_t* pixels, std::uint8_t* line, int planes) {
    if (setjmp(d.jump)) {
        return false;
    }
    jpeg_start_decompress(&d.info);
    const std::size_t width = d.info.output_width;
    const int components = d.info.output_components;
    // Adobe's CMYK files store the inks inverted.
    const bool inverted = d.info.saw_Adobe_marker;
    while (d.info.output_scanline < d.info.output_height) {
        std::uint8_t* out = pixels + std::size_t(d.info.output_scanline) * width * std::size_t(planes);
        JSAMPROW row = planes == 1 ? out : line;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) {
            break;
        }
        for (std::size_t x = 0; planes != 1 && x < width; ++x, out += 3) {
            const std::uint8_t* s = line + x * std::size_t(components);
            if (components == 1) {
                out[0] = out[1] = out[2] = s[0];
            } else if (components == 3) {
                out[0] = s[0];
                out[1] = s[1];
                out[2] = s[2];
            } else {
                const int k = inverted ? s[3] : 255 - s[3];
                for (int c = 0; c < 3; ++c) {
                    const int ink = inverted ? s[c] : 255 - s[c];
                    out[c] = std::uint8_t((ink * k + 127) / 255);
                }
            }
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

bool decodeJpeg(std::string_view bytes, const VXPictureReading& reading, VXDecodedPicture& image, std::string& error,
                std::string& damage) {
    auto decoder = std::make_unique<JpegDecoder>();
    JpegDecoder& d = *decoder;
    std::memset(static_cast<void*>(&d), 0, sizeof d);
    d.info.err = jpeg_std_error(&d.errors);
    d.metadata = reading.metadata;
    d.errors.error_exit = onJpegError;
    d.errors.emit_message = onJpegMessage;
    struct Release {
        JpegDecoder& d;
        ~Release() {
            if (d.created) {
                jpeg_destroy_decompress(&d.info);
            }
        }
    } release{d};
    VXPictureMetadata metadata;
    if (!readJpegHeader(d, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), metadata)) {
        error = std::string("it is not a JPEG picture this program can read (") + d.message + ")";
        return false;
    }
    const int components = d.info.output_components;
    if (components != 1 && components != 3 && components != 4) {
        error = "it is a JPEG picture of " + std::to_string(components) + " colour components";
        return false;
    }
    const J_COLOR_SPACE space = d.info.jpeg_color_space;
    const bool grey = space == JCS_GRAYSCALE && d.info.num_components == 1;
    if (reading.indexed && !grey && !((space == JCS_YCbCr || space == JCS_RGB) && d.info.num_components == 3)) {
        // Texture pictures never took these: a block that names one renders as it did.
        error = "it is a JPEG picture whose colours are neither grey nor RGB";
        return false;
    }
    const int planes = reading.indexed && grey ? 1 : 3;
    if (!checkSize(d.info.output_width, d.info.output_height, planes, reading, error)) {
        return false;
    }
    if (reading.headerOnly) {
        image = sizeOnly(d.info.output_width, d.info.output_height, planes);
        return true;
    }
    VXDecodedPicture result = blankPicture(d.info.output_width, d.info.output_height, planes);
    result.metadata = std::move(metadata);
    if (planes == 1) {
        result.palette.resize(256);
        for (std::uint32_t i = 0; i < 256; ++i) {
            result.palette[i] = i * 0x010101u;
        }
    }
    std::vector<std::uint8_t> line(std::size_t(d.info.output_width) * std::size_t(components));
    if (!readJpegRows(d, result.pixels.data(), line.data(), planes)) {
        if (reading.indexed) {
            error = std::string("it is damaged (") + d.message + ")";
            return false;
        }
        damage = d.message;
    } else if (d.warning[0] != '\0') {
        damage = d.warning;
    }
    image = std::move(result);
    return true;
}

// ------------------------------------------------------------------- bitmap

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

// Whether the header sizes, offsets and counts of a bitmap agree with each other and
// with the file; a phrase naming the first contradiction, or empty.
std::string bitmapContradiction(std::string_view bytes, std::uint32_t headerSize, bool& alphaMask) {
    const auto* file = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::uint8_t* h = file + 14;
    const bool core = headerSize == 12;
    const std::uint32_t planes = core ? le16(h + 8) : le16(h + 12);
    const std::uint32_t bits = core ? le16(h + 10) : le16(h + 14);
    const std::uint32_t compression = core ? 0 : le32(h + 16);
    const std::uint32_t colours = core ? 0 : le32(h + 32);
    const std::string bitsText = std::to_string(bits) + " bits a pixel";
    if (planes != 1) {
        return "its header gives " + std::to_string(planes) + " planes, not 1";
    }
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return "its header gives " + bitsText;
    }
    const bool fits = compression == 0 || (compression == 1 && bits == 8) || (compression == 2 && bits == 4) ||
                      (compression == 3 && (bits == 16 || bits == 32));
    if (!fits) {
        return "compression " + std::to_string(compression) + " does not go with " + bitsText;
    }
    const std::uint64_t entries = bits <= 8 ? std::uint64_t(1) << bits : 0;
    if (bits <= 8 && colours > entries) {
        return "it names " + std::to_string(colours) + " colours for " + bitsText;
    }
    const std::uint64_t table = (bits <= 8 ? (colours != 0 ? colours : entries) : 0) * (core ? 3 : 4);
    const std::uint64_t masks = headerSize == 40 && compression == 3 ? 12 : 0;
    const std::uint64_t pixelOffset = le32(file + 10);
    if (pixelOffset < 14 + headerSize + masks + table) {
        return "its pixels would start at byte " + std::to_string(pixelOffset) + ", inside its header or colours";
    }
    if (pixelOffset > bytes.size()) {
        return "its pixels would start at byte " + std::to_string(pixelOffset) + ", after the end of the file";
    }
    if (compression == 0 && !core) {
        const std::int64_t width = std::int32_t(le32(h + 4));
        const std::int64_t height = std::int32_t(le32(h + 8));
        const std::uint64_t needed = vxStride(width, int(bits)) * std::uint64_t(height < 0 ? -height : height);
        const std::uint32_t declared = le32(h + 20);
        if (declared != 0 && declared < needed) {
            return "its image size of " + std::to_string(declared) + " bytes is less than its rows need (" +
                   std::to_string(needed) + ")";
        }
    }
    alphaMask = compression == 3 && bits == 32 && headerSize >= 56 && le32(h + 52) == 0xFF000000u;
    return {};
}

// The resolution, and a profile embedded in a 124-byte header ('MBED', its offset
// counted from the header) when it lies inside the file.
void readBitmapMetadata(std::string_view bytes, std::uint32_t headerSize, VXPictureMetadata& metadata) {
    const auto* h = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 14;
    if (headerSize == 12) {
        return;
    }
    const std::int32_t x = std::int32_t(le32(h + 24));
    const std::int32_t y = std::int32_t(le32(h + 28));
    if (x > 0 && y > 0) {
        metadata.dotsPerMetreX = std::uint32_t(x);
        metadata.dotsPerMetreY = std::uint32_t(y);
    }
    constexpr std::uint32_t kEmbedded = 0x4D424544; // 'MBED'
    if (headerSize == 124 && le32(h + 56) == kEmbedded) {
        const std::uint64_t offset = 14 + std::uint64_t(le32(h + 112));
        const std::uint64_t size = le32(h + 116);
        if (size > 0 && offset + size <= bytes.size()) {
            const auto* profile = reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset;
            metadata.icc.assign(profile, profile + size);
        }
    }
}

bool decodeBitmap(std::string_view bytes, const VXPictureReading& reading, VXDecodedPicture& image, std::string& error,
                  std::string& damage) {
    const auto* file = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::string unreadable = "it is not a bitmap picture this program can read";
    if (bytes.size() < 14 + 4) {
        error = unreadable + " (it ends inside its header)";
        return false;
    }
    const std::uint32_t headerSize = le32(file + 14);
    const bool known = headerSize == 12 || headerSize == 40 || headerSize == 52 || headerSize == 56 ||
                       headerSize == 108 || headerSize == 124;
    if (!known) {
        error = unreadable + " (header size " + std::to_string(headerSize) + ")";
        return false;
    }
    if (bytes.size() < 14 + std::size_t(headerSize)) {
        error = unreadable + " (it ends inside its header)";
        return false;
    }
    const bool core = headerSize == 12;
    std::int64_t width = core ? le16(file + 18) : std::int32_t(le32(file + 18));
    std::int64_t height = core ? le16(file + 20) : std::int32_t(le32(file + 22));
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (width <= 0 || height <= 0) {
        error = unreadable + " (it has no pixels)";
        return false;
    }
    // Contradictions are damage, said as PNG and JPEG say it, and refused.
    bool alphaMask = false;
    if (const std::string contradiction = bitmapContradiction(bytes, headerSize, alphaMask); !contradiction.empty()) {
        error = "it is damaged (" + contradiction + ")";
        return false;
    }
    const std::uint32_t bits = core ? le16(file + 24) : le16(file + 28);
    const std::uint32_t compression = core ? 0 : le32(file + 30);
    const bool mayHaveAlpha =
        (reading.transparencyAsAlpha || reading.indexed) && bits == 32 && (alphaMask || compression == 0);
    const std::int32_t planes = reading.indexed && bits == 8 ? 1 : mayHaveAlpha ? 4 : 3;
    if (!checkSize(width, height, planes, reading, error)) {
        return false;
    }
    if (reading.headerOnly) {
        image = sizeOnly(width, height, planes);
        return true;
    }
    // Pixel data cut short: the rows that are there are read, the rest stays black
    // and the picture is damaged, as a PNG or JPEG that breaks off. Nothing is made
    // up to fill the file, so a short file costs no more than its picture.
    const std::uint64_t present = bytes.size() - le32(file + 10);
    const bool runLength = compression == 1 || compression == 2;
    if (!runLength && present < vxStride(width, int(bits))) {
        error = "it is damaged (its pixel data is missing)";
        return false;
    }
    VXImage2 picture;
    bool truncated = false;
    // The indexed form takes no bitmap cut short: the reader refuses it.
    if (!vxLoadBitmapMemory(file, bytes.size(), picture, reading.indexed ? nullptr : &truncated) ||
        picture.width() <= 0 || picture.height() <= 0) {
        error = compression == 3  ? unreadable + " (its bit fields are a layout this program does not read)"
                : reading.indexed ? "it is damaged (its pixel data is cut short)"
                                  : unreadable;
        return false;
    }
    if (truncated) {
        damage = "the data breaks off";
    }

    const int bitCount = picture.bitCount();
    if (planes == 1) {
        VXDecodedPicture result = blankPicture(picture.width(), picture.height(), 1);
        result.palette.resize(256);
        for (int i = 0; i < picture.colourTableEntries() && i < 256; ++i) {
            result.palette[std::size_t(i)] = vxColourOf(picture.colourTable()[i]);
        }
        if (reading.metadata) {
            readBitmapMetadata(bytes, headerSize, result.metadata);
        }
        for (std::int32_t y = 0; y < picture.height(); ++y) {
            std::memcpy(result.pixels.data() + std::size_t(y) * std::size_t(result.width), picture.row(y),
                        std::size_t(result.width));
        }
        image = std::move(result);
        return true;
    }
    // A 32-bit bitmap without masks keeps alpha in its fourth bytes when any is
    // set (as this program wrote them once, and as common tools read them).
    const bool wantsAlpha = reading.transparencyAsAlpha || reading.indexed;
    bool alpha = wantsAlpha && alphaMask;
    if (wantsAlpha && bitCount == 32 && compression == 0) {
        for (std::int32_t y = 0; y < picture.height() && !alpha; ++y) {
            const std::uint8_t* row = picture.row(y);
            for (std::int32_t x = 0; x < picture.width() && !alpha; ++x) {
                alpha = row[4 * x + 3] != 0;
            }
        }
    }
    VXDecodedPicture result = blankPicture(picture.width(), picture.height(), alpha ? 4 : 3);
    if (reading.metadata) {
        readBitmapMetadata(bytes, headerSize, result.metadata);
    }
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        const std::uint8_t* row = picture.row(y);
        std::uint8_t* p =
            result.pixels.data() + std::size_t(y) * std::size_t(result.width) * std::size_t(result.planes);
        for (std::int32_t x = 0; x < result.width; ++x, p += result.planes) {
            if (bitCount == 24 || bitCount == 32) {
                const std::uint8_t* s = row + x * (bitCount / 8);
                p[0] = s[2];
                p[1] = s[1];
                p[2] = s[0];
                if (alpha) {
                    p[3] = s[3];
                }
            } else {
                const std::uint32_t c = picture.pixelColour(x, y);
                p[0] = std::uint8_t(c);
                p[1] = std::uint8_t(c >> 8);
                p[2] = std::uint8_t(c >> 16);
            }
        }
    }
    image = std::move(result);
    return true;
}

} // namespace

std::string vxPictureSizeProblem(std::int64_t width, std::int64_t height, std::int32_t planes) {
    const bool fits = width >= 1 && height >= 1 && width <= kMaxImageDimension && height <= kMaxImageDimension &&
                      vxStride(width, 8 * planes) * std::uint64_t(height) <= vxImageByteLimit();
    if (fits) {
        return {};
    }
    if (width < 1 || height < 1) {
        return "a picture of " + std::to_string(width) + "x" + std::to_string(height) + " has no pixels";
    }
    return "a picture of " + std::to_string(width) + "x" + std::to_string(height) +
           " is larger than this program handles: at most " + std::to_string(kMaxImageDimension) +
           " pixels per side and " + std::to_string(vxImageByteLimit() >> 20) +
           " MiB of pixel data (3 bytes a pixel, 4 with transparency)";
}

bool vxDecodePicture(std::string_view bytes, const VXPictureReading& reading, VXDecodedPicture& picture,
                     std::string& error, std::string& damage) {
    error.clear();
    damage.clear();
    bool ok = false;
    try {
        if (bytes.substr(0, 8) == "\x89PNG\r\n\x1a\n") {
            ok = decodePng(bytes, reading, picture, error, damage);
        } else if (bytes.substr(0, 3) == "\xFF\xD8\xFF") {
            ok = decodeJpeg(bytes, reading, picture, error, damage);
        } else if (bytes.substr(0, 2) == "BM") {
            ok = decodeBitmap(bytes, reading, picture, error, damage);
        } else {
            error = "it is not a PNG, JPEG or bitmap picture";
        }
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        ok = false;
    }
    if (ok && !damage.empty() && reading.strict) {
        error = "it is damaged (" + damage + ")";
        ok = false;
    }
    return ok;
}

} // namespace morvessan
