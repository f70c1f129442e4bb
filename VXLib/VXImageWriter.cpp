// Picture writers: PNG through libpng, JPEG through libjpeg, bitmap by our own
// code, each written to a temporary file that replaces the target only when whole.
#include "VXLib/VXImageWriter.h"

#include "VXLib/VXUTIL/VXPath.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
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

// Row y as blue, green, red bytes (alpha appended when `alpha`), through colours.
void colourRow(const VXDIBBuffer& image, int y, std::uint8_t* out, bool alpha) {
    for (int x = 0; x < image.width(); ++x) {
        const std::uint32_t c = image.pixelColour(x, y);
        *out++ = vxBlue(c);
        *out++ = vxGreen(c);
        *out++ = vxRed(c);
        if (alpha)
            *out++ = vxAlpha(image.pixel(x, y));
    }
}

void PNGCBAPI onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void PNGCBAPI onPngWarning(png_structp, png_const_charp) {}

// Only trivially destructible locals: the error jump skips nothing.
bool encodePng(png_structp png, png_infop info, const VXImage2& image, std::uint8_t* scratch) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    const int width = image.width();
    const int rows = image.rows();
    const int bits = image.bitCount();
    const bool grey = isGreyTable(image);
    const bool palette = bits <= 8 && !grey;
    const bool alpha = bits == 32 && image.hasAlpha();
    const int colourType = grey      ? PNG_COLOR_TYPE_GRAY
                           : palette ? PNG_COLOR_TYPE_PALETTE
                           : alpha   ? PNG_COLOR_TYPE_RGB_ALPHA
                                     : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(rows), 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color entries[256];
    if (palette) {
        const int n = image.colourTableEntries();
        for (int i = 0; i < n; ++i)
            entries[i] =
                png_color{image.colourTable()[i].red, image.colourTable()[i].green, image.colourTable()[i].blue};
        png_set_PLTE(png, info, entries, n);
    }
    png_write_info(png, info);
    if (!grey && !palette)
        png_set_bgr(png);
    for (int y = 0; y < rows; ++y) {
        if (bits == 8) {
            png_write_row(png, image.row(y));
        } else if (bits < 8) {
            for (int x = 0; x < width; ++x)
                scratch[x] = std::uint8_t(image.pixel(x, y));
            png_write_row(png, scratch);
        } else {
            colourRow(image, y, scratch, alpha);
            png_write_row(png, scratch);
        }
    }
    png_write_end(png, nullptr);
    return true;
}

bool writePng(std::FILE* file, const VXImage2& image) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<std::uint8_t> scratch(std::size_t(image.width()) * 4);
    png_init_io(png, file);
    const bool ok = encodePng(png, info, image, scratch.data());
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

bool encodeJpeg(JpegEncoder& encoder, std::FILE* file, const VXImage2& image, std::uint8_t* scratch) {
    jpeg_compress_struct& info = encoder.info;
    if (setjmp(encoder.jump))
        return false;
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    const bool grey = isGreyTable(image);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.rows());
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        JSAMPROW row = scratch;
        if (grey) {
            std::memcpy(scratch, image.row(y), std::size_t(image.width()));
        } else {
            for (int x = 0; x < image.width(); ++x) {
                const std::uint32_t c = image.pixelColour(x, y);
                scratch[3 * x] = vxRed(c);
                scratch[3 * x + 1] = vxGreen(c);
                scratch[3 * x + 2] = vxBlue(c);
            }
        }
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

bool writeJpeg(std::FILE* file, const VXImage2& image) {
    auto encoder = std::make_unique<JpegEncoder>();
    encoder->info.err = jpeg_std_error(&encoder->errors);
    encoder->errors.error_exit = onJpegError;
    encoder->errors.output_message = onJpegMessage;
    std::vector<std::uint8_t> scratch(std::size_t(image.width()) * 3);
    const bool ok = encodeJpeg(*encoder, file, image, scratch.data());
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

std::vector<std::uint8_t> vxEncodeBitmap(const VXDIBBuffer& image) {
    const std::vector<std::uint8_t> packed = image.toPackedBottomUp();
    if (packed.empty())
        return {};
    std::vector<std::uint8_t> out(14 + packed.size());
    out[0] = 'B';
    out[1] = 'M';
    putLE32(out.data() + 2, std::uint32_t(out.size()));
    putLE32(out.data() + 10, 14 + image.headerBlockSize());
    std::memcpy(out.data() + 14, packed.data(), packed.size());
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

bool writeImageFile(VXFileReplacement& file, const VXImage2& image, std::string* error) {
    const std::string& path = file.path();
    const ImageFormat format = formatOf(path);
    std::string problem;
    if (image.isEmpty())
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
        if (format == ImageFormat::Png) {
            ok = writePng(file.stream(), image);
        } else if (format == ImageFormat::Jpeg) {
            ok = writeJpeg(file.stream(), image);
        } else {
            const std::vector<std::uint8_t> bytes = vxEncodeBitmap(image);
            ok = std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) == bytes.size();
        }
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
