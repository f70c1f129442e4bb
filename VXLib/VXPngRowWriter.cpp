// PNG files row by row: libpng writes the header and the metadata chunks, then the
// rows go to the strip encoder as they come.
#include "VXLib/VXRowEncoders.h"

#include "VXLib/VXPngStrips.h"

#include <png.h>

#include <csetjmp>

namespace morvessan {

namespace {

void PNGCBAPI onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void PNGCBAPI onPngWarning(png_structp, png_const_charp) {}

int colourType(VXRowKind kind) {
    switch (kind) {
    case VXRowKind::Grey: return PNG_COLOR_TYPE_GRAY;
    case VXRowKind::GreyAlpha: return PNG_COLOR_TYPE_GRAY_ALPHA;
    case VXRowKind::Palette: return PNG_COLOR_TYPE_PALETTE;
    case VXRowKind::Rgba: return PNG_COLOR_TYPE_RGB_ALPHA;
    default: return PNG_COLOR_TYPE_RGB;
    }
}

class PngRowWriter final : public VXRowWriter {
public:
    PngRowWriter(VXFileReplacement& file, const VXRowFormat& format) : VXRowWriter(file, format) {}
    ~PngRowWriter() override {
        if (m_png != nullptr)
            png_destroy_write_struct(&m_png, m_info != nullptr ? &m_info : nullptr);
    }
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    bool start(const VXPictureWriting& writing) {
        m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
        if (m_png == nullptr)
            return false;
        m_info = png_create_info_struct(m_png);
        if (m_info == nullptr)
            return false;
        png_init_io(m_png, file().stream());
        const VXPictureMetadata* metadata = writing.metadata;
        if (!writeHeader(metadata, vxColourProfile(metadata, kMaxPngProfile), vxReadableExif(metadata)))
            return false;
        const VXRowFormat& f = format();
        const std::size_t pixelBytes = std::size_t(vxRowChannels(f.kind) * f.bitDepth / 8);
        m_strips = std::make_unique<VXPngStripEncoder>(std::size_t(f.width) * pixelBytes, f.kind != VXRowKind::Palette,
                                                       f.height, writing.threads, writing.compression,
                                                       [this](std::string_view bytes) { return file().write(bytes); });
        return true;
    }

protected:
    bool encodeRow(const std::uint8_t* row) override { return m_strips->addRow(row); }

    bool encodeEnd() override {
        static const char kEnd[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', '\xAE', '\x42', '\x60', '\x82'};
        return m_strips->finish() && file().write(std::string_view(kEnd, sizeof kEnd));
    }

private:
    // Only trivially destructible locals: libpng's error jump skips nothing.
    bool writeHeader(const VXPictureMetadata* metadata, const std::vector<std::uint8_t>* profile,
                     const std::vector<std::uint8_t>* exif) {
        if (setjmp(png_jmpbuf(m_png)))
            return false;
        // A profile libpng finds wrong for the picture is left out with a warning, not an error.
        png_set_benign_errors(m_png, 1);
        const VXRowFormat& f = format();
        png_set_IHDR(m_png, m_info, png_uint_32(f.width), png_uint_32(f.height), f.bitDepth, colourType(f.kind),
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_color entries[256];
        if (f.kind == VXRowKind::Palette) {
            for (int i = 0; i < f.paletteEntries; ++i)
                entries[i] = png_color{f.palette[i].red, f.palette[i].green, f.palette[i].blue};
            png_set_PLTE(m_png, m_info, entries, f.paletteEntries);
        }
        if (metadata != nullptr) {
            if (profile != nullptr)
                png_set_iCCP(m_png, m_info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, profile->data(),
                             png_uint_32(profile->size()));
            if (metadata->dotsPerMetreX != 0 && metadata->dotsPerMetreY != 0)
                png_set_pHYs(m_png, m_info, metadata->dotsPerMetreX, metadata->dotsPerMetreY, PNG_RESOLUTION_METER);
            // libpng takes the block as writable but only copies it.
            if (exif != nullptr)
                png_set_eXIf_1(m_png, m_info, png_uint_32(exif->size()), const_cast<png_bytep>(exif->data()));
        }
        png_write_info(m_png, m_info);
        return true;
    }

    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
    std::unique_ptr<VXPngStripEncoder> m_strips;
};

} // namespace

std::unique_ptr<VXRowWriter> vxPngRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                            const VXPictureWriting& writing, std::string& reason) {
    const bool palette = format.kind == VXRowKind::Palette;
    const bool fits =
        (format.bitDepth == 8 || (format.bitDepth == 16 && !palette)) &&
        (!palette || (format.palette != nullptr && format.paletteEntries >= 1 && format.paletteEntries <= 256));
    if (!fits) {
        reason = vxNotEncoded(file.path());
        return nullptr;
    }
    auto writer = std::make_unique<PngRowWriter>(file, format);
    if (!writer->start(writing)) {
        reason = vxNotEncoded(file.path());
        return nullptr;
    }
    return writer;
}

} // namespace morvessan
