// Picture writers: PNG through libpng, JPEG through libjpeg, bitmap by our own
// code, each written to a temporary file that replaces the target only when whole.
#include "VXLib/VXImageWriter.h"

#include "VXLib/VXRowEncoders.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

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
        problem = vxWriterSentence(file.error().empty() ? "cannot write '" + path + "': it is not open" : file.error());
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
        fail(error, vxWriterSentence(file.error()));
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

namespace {

VXRowKind rowKind(RowSource::Form form) {
    switch (form) {
    case RowSource::Form::Grey: return VXRowKind::Grey;
    case RowSource::Form::Palette: return VXRowKind::Palette;
    case RowSource::Form::Rgba: return VXRowKind::Rgba;
    default: return VXRowKind::Rgb;
    }
}

// The rows of `source` through the row writer of the file's format.
bool writeRows(VXFileReplacement& file, const RowSource& source, const VXPictureWriting& writing, std::string* error) {
    VXRowFormat format;
    format.width = source.width;
    format.height = source.rows;
    format.kind = rowKind(source.form);
    format.palette = source.palette;
    format.paletteEntries = source.paletteEntries;
    std::unique_ptr<VXRowWriter> writer = vxBeginRowWriter(file, format, writing, error);
    if (!writer)
        return false;
    std::vector<std::uint8_t> scratch(std::size_t(source.width) * 4);
    bool ok = true;
    for (int y = 0; ok && y < source.rows; ++y)
        ok = writer->writeRow(source.row(y, scratch.data()));
    ok = ok && writer->finish();
    if (!ok)
        fail(error, writer->error());
    return ok;
}

} // namespace

bool writeImageFile(VXFileReplacement& file, const VXImage2& image, std::string* error) {
    const ImageFormat format = formatOf(file.path());
    if (format == ImageFormat::Png && !image.isEmpty())
        return writeRows(file, pngRows(image), {}, error);
    if (format == ImageFormat::Jpeg && !image.isEmpty())
        return writeRows(file, jpegRows(image), {}, error);
    return encodeInto(file, image.isEmpty(), error,
                      [&image](ImageFormat, std::FILE* stream) { return writeBitmap(stream, image); });
}

bool imageFileKeepsAlpha(const std::string& path) { return formatOf(path) != ImageFormat::Jpeg; }

std::size_t vxProfileLimit(const std::string& path) {
    switch (formatOf(path)) {
    case ImageFormat::Png: return kMaxPngProfile;
    case ImageFormat::Jpeg: return kMaxJpegProfile;
    default: return 0;
    }
}

bool writeImageFile(VXFileReplacement& file, const VXRgbPixels& pixels, std::string* error,
                    const VXPictureWriting& writing) {
    const bool empty =
        pixels.width <= 0 || pixels.height <= 0 || pixels.data == nullptr || (pixels.planes != 3 && pixels.planes != 4);
    if (empty || formatOf(file.path()) == ImageFormat::None)
        return encodeInto(file, empty, error, [](ImageFormat, std::FILE*) { return false; });
    return writeRows(file, rgbRows(pixels, true), writing, error);
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
        fail(error, vxWriterSentence(file.error()));
        return false;
    }
    if (!writeImageFile(file, image, error))
        return false;
    if (!file.commit()) {
        fail(error, vxWriterSentence(file.error()));
        return false;
    }
    return true;
}

} // namespace morvessan
