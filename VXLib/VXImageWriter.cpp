// Picture writers: PNG through libpng, JPEG through libjpeg, bitmap by our own
// code, each written to a temporary file that replaces the target only when whole.
#include "VXLib/VXImageWriter.h"

#include "VXLib/VXExifBlock.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include <jpeglib.h>

namespace morvessan {

namespace {

bool isGreyTable(const VXDIBBuffer& image) {
    if (image.bitCount() != 8 || image.colourTableEntries() != 256)
        return false;
    const VXRGBQuad* t = image.colourTable();
    for (int i = 0; i < 256; ++i)
        if (t[i] != VXRGBQuad{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0})
            return false;
    return true;
}

// A picture as the encoders take it: its size, its form in the file, and each row in
// the file's byte order (grey levels, palette indices, or red, green, blue and alpha).
struct RowSource {
    enum class Form { Grey, Palette, Rgb, Rgba };
    int width = 0;
    int rows = 0;
    Form form = Form::Rgb;
    const VXRGBQuad* palette = nullptr;
    int paletteEntries = 0;
    // Row y: the stored bytes where they are already in the file's order, else
    // written into `scratch` (room for width * 4 bytes).
    std::function<const std::uint8_t*(int y, std::uint8_t* scratch)> row{};
};

// A picture's rows as red, green, blue (and alpha) through its colours.
RowSource colourRows(const VXImage2& image, bool alpha) {
    RowSource source{image.width(), image.rows(), alpha ? RowSource::Form::Rgba : RowSource::Form::Rgb};
    source.row = [&image, alpha](int y, std::uint8_t* out) {
        std::uint8_t* p = out;
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t c = image.pixelColour(x, y);
            *p++ = vxRed(c);
            *p++ = vxGreen(c);
            *p++ = vxBlue(c);
            if (alpha)
                *p++ = vxAlpha(image.pixel(x, y));
        }
        return static_cast<const std::uint8_t*>(out);
    };
    return source;
}

// What a PNG file keeps of a picture: grey levels, palette indices or colours.
RowSource pngRows(const VXImage2& image) {
    const int bits = image.bitCount();
    if (!isGreyTable(image) && bits > 8)
        return colourRows(image, bits == 32 && image.hasAlpha());
    RowSource source{image.width(), image.rows(),
                     isGreyTable(image) ? RowSource::Form::Grey : RowSource::Form::Palette};
    source.palette = image.colourTable();
    source.paletteEntries = image.colourTableEntries();
    source.row = [&image, bits](int y, std::uint8_t* out) {
        if (bits == 8)
            return image.row(y);
        for (int x = 0; x < image.width(); ++x)
            out[x] = std::uint8_t(image.pixel(x, y));
        return static_cast<const std::uint8_t*>(out);
    };
    return source;
}

// What a JPEG file keeps of a picture: grey levels, or colours without alpha.
RowSource jpegRows(const VXImage2& image) {
    if (!isGreyTable(image))
        return colourRows(image, false);
    RowSource source{image.width(), image.rows(), RowSource::Form::Grey};
    source.row = [&image](int y, std::uint8_t*) { return image.row(y); };
    return source;
}

} // namespace

void vxFlattenRow(const std::uint8_t* rgba, std::uint8_t* rgb, std::int32_t width, std::uint32_t background) {
    for (std::int32_t x = 0; x < width; ++x, rgba += 4, rgb += 3) {
        const std::uint32_t a = rgba[3];
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t under = (background >> (8 * c)) & 0xFF;
            rgb[c] = std::uint8_t((rgba[c] * a + under * (255 - a) + 127) / 255);
        }
    }
}

namespace {

// Pixels kept in red-green-blue order are written as they are; `alpha` false
// flattens a fourth plane over `background` (0xBBGGRR), as JPEG has none.
RowSource rgbRows(const VXRgbPixels& pixels, bool alpha, std::uint32_t background = 0xFFFFFF) {
    const bool keep = alpha && pixels.planes == 4;
    RowSource source{pixels.width, pixels.height, keep ? RowSource::Form::Rgba : RowSource::Form::Rgb};
    source.row = [&pixels, keep, background](int y, std::uint8_t* out) {
        if (pixels.rowsTaken)
            pixels.rowsTaken(y);
        const std::uint8_t* in = pixels.data + std::size_t(y) * pixels.stride;
        if (keep || pixels.planes == 3)
            return in;
        vxFlattenRow(in, out, pixels.width, background);
        return static_cast<const std::uint8_t*>(out);
    };
    return source;
}

// The profile when it describes red, green and blue, as the written pixels are:
// a grey or CMYK picture's profile no longer fits once it has been widened to colour.
const std::vector<std::uint8_t>* colourProfile(const VXPictureMetadata* metadata) {
    return metadata != nullptr && metadata->icc.size() >= 20 && std::memcmp(metadata->icc.data() + 16, "RGB ", 4) == 0
               ? &metadata->icc
               : nullptr;
}

// The EXIF block when libexif can read it, else none.
const std::vector<std::uint8_t>* readableExif(const VXPictureMetadata* metadata) {
    return metadata != nullptr && !metadata->exif.empty() && vxReadExif(metadata->exif).valid ? &metadata->exif
                                                                                              : nullptr;
}

void PNGCBAPI onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void PNGCBAPI onPngWarning(png_structp, png_const_charp) {}

// Only trivially destructible locals: the error jump skips nothing.
bool encodePng(png_structp png, png_infop info, const RowSource& source, std::uint8_t* scratch,
               const VXPictureMetadata* metadata, const std::vector<std::uint8_t>* profile,
               const std::vector<std::uint8_t>* exif) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    // A profile libpng finds wrong for the picture is left out with a warning, not an error.
    png_set_benign_errors(png, 1);
    using Form = RowSource::Form;
    const int colourType = source.form == Form::Grey      ? PNG_COLOR_TYPE_GRAY
                           : source.form == Form::Palette ? PNG_COLOR_TYPE_PALETTE
                           : source.form == Form::Rgba    ? PNG_COLOR_TYPE_RGB_ALPHA
                                                          : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, png_uint_32(source.width), png_uint_32(source.rows), 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color entries[256];
    if (source.form == Form::Palette) {
        for (int i = 0; i < source.paletteEntries; ++i)
            entries[i] = png_color{source.palette[i].red, source.palette[i].green, source.palette[i].blue};
        png_set_PLTE(png, info, entries, source.paletteEntries);
    }
    if (metadata != nullptr) {
        if (profile != nullptr)
            png_set_iCCP(png, info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, profile->data(),
                         png_uint_32(profile->size()));
        if (metadata->dotsPerMetreX != 0 && metadata->dotsPerMetreY != 0)
            png_set_pHYs(png, info, metadata->dotsPerMetreX, metadata->dotsPerMetreY, PNG_RESOLUTION_METER);
        // libpng takes the block as writable but only copies it.
        if (exif != nullptr)
            png_set_eXIf_1(png, info, png_uint_32(exif->size()), const_cast<png_bytep>(exif->data()));
    }
    png_write_info(png, info);
    for (int y = 0; y < source.rows; ++y)
        png_write_row(png, source.row(y, scratch));
    png_write_end(png, nullptr);
    return true;
}

bool writePng(std::FILE* file, const RowSource& source, const VXPictureMetadata* metadata = nullptr) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<std::uint8_t> scratch(std::size_t(source.width) * 4);
    png_init_io(png, file);
    const bool ok =
        encodePng(png, info, source, scratch.data(), metadata, colourProfile(metadata), readableExif(metadata));
    png_destroy_write_struct(&png, &info);
    return ok;
}

struct JpegEncoder {
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    jpeg_compress_struct info;
};

void onJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegEncoder*>(info->err)->jump, 1); }

void onJpegMessage(j_common_ptr) {}

// The largest APP1 marker holds 65533 bytes after its length, "Exif\0\0" first.
constexpr std::size_t kMaxJpegExif = 65533 - 6;

// Only trivially destructible locals: the error jump skips nothing. `exifMarker` is
// the APP1 marker's bytes, or empty.
bool encodeJpeg(JpegEncoder& encoder, std::FILE* file, const RowSource& source, std::uint8_t* scratch,
                const VXPictureWriting& writing, const std::vector<std::uint8_t>* profile,
                const std::vector<JOCTET>& exifMarker) {
    jpeg_compress_struct& info = encoder.info;
    if (setjmp(encoder.jump))
        return false;
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    const bool grey = source.form == RowSource::Form::Grey;
    info.image_width = JDIMENSION(source.width);
    info.image_height = JDIMENSION(source.rows);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(writing.quality, 1, 100), TRUE);
    if (writing.fullChroma && !grey) {
        info.comp_info[0].h_samp_factor = 1;
        info.comp_info[0].v_samp_factor = 1;
    }
    const VXPictureMetadata* metadata = writing.metadata;
    if (metadata != nullptr && metadata->dotsPerMetreX != 0 && metadata->dotsPerMetreY != 0) {
        info.density_unit = 1; // dots per inch
        info.X_density = UINT16(std::clamp<std::uint32_t>(vxDotsPerInch(metadata->dotsPerMetreX), 1, 65535));
        info.Y_density = UINT16(std::clamp<std::uint32_t>(vxDotsPerInch(metadata->dotsPerMetreY), 1, 65535));
    }
    jpeg_start_compress(&info, TRUE);
    if (!exifMarker.empty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, exifMarker.data(), unsigned(exifMarker.size()));
    if (profile != nullptr)
        jpeg_write_icc_profile(&info, profile->data(), unsigned(profile->size()));
    while (info.next_scanline < info.image_height) {
        // libjpeg takes rows as writable pointers but only reads them.
        JSAMPROW row = const_cast<std::uint8_t*>(source.row(int(info.next_scanline), scratch));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

bool writeJpeg(std::FILE* file, const RowSource& source, const VXPictureWriting& writing = {}) {
    auto encoder = std::make_unique<JpegEncoder>();
    encoder->info.err = jpeg_std_error(&encoder->errors);
    encoder->errors.error_exit = onJpegError;
    encoder->errors.output_message = onJpegMessage;
    std::vector<std::uint8_t> scratch(std::size_t(source.width) * 4);
    std::vector<JOCTET> exifMarker;
    if (const auto* exif = readableExif(writing.metadata); exif != nullptr && exif->size() <= kMaxJpegExif) {
        exifMarker = {'E', 'x', 'i', 'f', 0, 0};
        exifMarker.insert(exifMarker.end(), exif->begin(), exif->end());
    }
    const bool ok =
        encodeJpeg(*encoder, file, source, scratch.data(), writing, colourProfile(writing.metadata), exifMarker);
    jpeg_destroy_compress(&encoder->info);
    return ok;
}

void putLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

void fail(std::string* error, const std::string& text) {
    if (error != nullptr)
        *error = text;
}

} // namespace

std::vector<std::uint8_t> vxEncodeBitmap(const VXDIBBuffer& image, bool alpha) {
    const std::vector<std::uint8_t> packed = image.toPackedBottomUp();
    if (packed.empty())
        return {};
    // The 40-byte header grows to the 108-byte form: the same fields, then the
    // red, green, blue and alpha masks and the sRGB colour space (no end points, no gamma).
    const bool withMasks = alpha && image.bitCount() == 32;
    constexpr std::uint32_t kMaskedHeader = 108;
    const std::size_t grown = withMasks ? kMaskedHeader - 40 : 0;
    std::vector<std::uint8_t> out(14 + packed.size() + grown);
    out[0] = 'B';
    out[1] = 'M';
    putLE32(out.data() + 2, std::uint32_t(out.size()));
    putLE32(out.data() + 10, std::uint32_t(14 + image.headerBlockSize() + grown));
    std::memcpy(out.data() + 14, packed.data(), 40);
    std::memcpy(out.data() + 14 + 40 + grown, packed.data() + 40, packed.size() - 40);
    if (withMasks) {
        std::uint8_t* header = out.data() + 14;
        putLE32(header, kMaskedHeader);
        putLE32(header + 16, 3); // bit fields
        putLE32(header + 40, 0x00FF0000u);
        putLE32(header + 44, 0x0000FF00u);
        putLE32(header + 48, 0x000000FFu);
        putLE32(header + 52, 0xFF000000u);
        putLE32(header + 56, 0x73524742u); // 'sRGB'
    }
    return out;
}

namespace {

enum class ImageFormat { None, Png, Jpeg, Bitmap };

ImageFormat formatOf(const std::string& path) {
    const std::string extension = extensionOf(path);
    if (equalsIgnoreCase(extension, ".png"))
        return ImageFormat::Png;
    if (equalsIgnoreCase(extension, ".jpg") || equalsIgnoreCase(extension, ".jpeg"))
        return ImageFormat::Jpeg;
    if (equalsIgnoreCase(extension, ".bmp"))
        return ImageFormat::Bitmap;
    return ImageFormat::None;
}

// The replacement's one-line reasons, as a sentence of this writer.
std::string sentence(const std::string& reason) {
    std::string text = reason;
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = char(text[0] - 'a' + 'A');
    return text + ".";
}

} // namespace

bool isImageFilePath(const std::string& path) { return formatOf(path) != ImageFormat::None; }

namespace {

// The format's encoder run into `file`, which is then finished (not committed).
// `encode` writes the picture's bytes to the open stream.
bool encodeInto(VXFileReplacement& file, bool empty, std::string* error,
                const std::function<bool(ImageFormat, std::FILE*)>& encode) {
    const std::string& path = file.path();
    const ImageFormat format = formatOf(path);
    std::string problem;
    if (empty)
        problem = "There is no picture to write to \"" + path + "\".";
    else if (format == ImageFormat::None)
        problem = "Cannot write \"" + path + "\": use a .png, .jpg or .bmp file name.";
    else if (file.stream() == nullptr)
        problem = sentence(file.error().empty() ? "cannot write '" + path + "': it is not open" : file.error());
    if (!problem.empty()) {
        file.fail(problem);
        fail(error, problem);
        return false;
    }
    bool ok = false;
    try {
        ok = encode(format, file.stream());
    } catch (const std::exception&) {
        ok = false;
    }
    if (!file.finish()) {
        fail(error, sentence(file.error()));
        return false;
    }
    if (!ok) {
        const std::string reason = "Cannot write \"" + path + "\": the picture could not be encoded.";
        file.fail(reason);
        fail(error, reason);
        return false;
    }
    return true;
}

bool writeBitmap(std::FILE* file, const VXImage2& image, const VXPictureMetadata* metadata = nullptr) {
    std::vector<std::uint8_t> bytes = vxEncodeBitmap(image, image.hasAlpha());
    if (!bytes.empty() && metadata != nullptr && metadata->dotsPerMetreX != 0 && metadata->dotsPerMetreY != 0 &&
        metadata->dotsPerMetreX <= 0x7FFFFFFF && metadata->dotsPerMetreY <= 0x7FFFFFFF) {
        putLE32(bytes.data() + 14 + 24, metadata->dotsPerMetreX);
        putLE32(bytes.data() + 14 + 28, metadata->dotsPerMetreY);
    }
    return !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

} // namespace

bool writeImageFile(VXFileReplacement& file, const VXImage2& image, std::string* error) {
    return encodeInto(file, image.isEmpty(), error, [&image](ImageFormat format, std::FILE* stream) {
        switch (format) {
        case ImageFormat::Png: return writePng(stream, pngRows(image));
        case ImageFormat::Jpeg: return writeJpeg(stream, jpegRows(image));
        default: return writeBitmap(stream, image);
        }
    });
}

bool imageFileKeepsAlpha(const std::string& path) { return formatOf(path) != ImageFormat::Jpeg; }

bool writeImageFile(VXFileReplacement& file, const VXRgbPixels& pixels, std::string* error,
                    const VXPictureWriting& writing) {
    const bool empty =
        pixels.width <= 0 || pixels.height <= 0 || pixels.data == nullptr || (pixels.planes != 3 && pixels.planes != 4);
    return encodeInto(file, empty, error, [&pixels, &writing](ImageFormat format, std::FILE* stream) {
        switch (format) {
        case ImageFormat::Png: return writePng(stream, rgbRows(pixels, true), writing.metadata);
        case ImageFormat::Jpeg: return writeJpeg(stream, rgbRows(pixels, false, writing.background), writing);
        default: {
            // The bitmap format keeps blue, green, red: the one place the order turns.
            const bool alpha = pixels.planes == 4;
            VXImage2 picture;
            if (!picture.create(pixels.width, pixels.height, alpha ? 32 : 24))
                return false;
            picture.setHasAlpha(alpha);
            for (int y = 0; y < pixels.height; ++y) {
                const std::uint8_t* s = pixels.data + std::size_t(y) * pixels.stride;
                std::uint8_t* d = picture.row(y);
                for (int x = 0; x < pixels.width; ++x, s += pixels.planes, d += pixels.planes) {
                    d[0] = s[2];
                    d[1] = s[1];
                    d[2] = s[0];
                    if (alpha)
                        d[3] = s[3];
                }
            }
            return writeBitmap(stream, picture, writing.metadata);
        }
        }
    });
}

bool saveImageFile(const std::string& path, const VXImage2& image, std::string* error) {
    if (image.isEmpty()) {
        fail(error, "There is no picture to write to \"" + path + "\".");
        return false;
    }
    if (formatOf(path) == ImageFormat::None) {
        fail(error, "Cannot write \"" + path + "\": use a .png, .jpg or .bmp file name.");
        return false;
    }
    VXFileReplacement file;
    if (!file.begin(path)) {
        fail(error, sentence(file.error()));
        return false;
    }
    if (!writeImageFile(file, image, error))
        return false;
    if (!file.commit()) {
        fail(error, sentence(file.error()));
        return false;
    }
    return true;
}

} // namespace morvessan
