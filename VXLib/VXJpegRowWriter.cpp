// JPEG files row by row through libjpeg: markers first, then each row as it comes,
// alpha flattened over the background colour.
#include "VXLib/VXRowEncoders.h"

#include "VXLib/VXExifBlock.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace morvessan {

namespace {

// libjpeg's error manager and where its error exit jumps to; the manager comes
// first, so the exit finds the jump through the pointer libjpeg hands it.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

void onJpegMessage(j_common_ptr) {}

// The largest APP1 marker holds 65533 bytes after its length, "Exif\0\0" first.
constexpr std::size_t kMaxJpegExif = 65533 - 6;

class JpegRowWriter final : public VXRowWriter {
public:
    JpegRowWriter(VXFileReplacement& file, const VXRowFormat& format, const VXPictureWriting& writing)
        : VXRowWriter(file, format), m_writing(writing),
          m_scratch(std::size_t(format.width) * (format.kind == VXRowKind::Rgba ? 3 : 0)) {
        m_info.err = jpeg_std_error(&m_errors.manager);
        m_errors.manager.error_exit = onJpegError;
        m_errors.manager.output_message = onJpegMessage;
    }
    // Safe on a structure libjpeg never set up: it frees only what it allocated.
    ~JpegRowWriter() override { jpeg_destroy_compress(&m_info); }
    JpegRowWriter(const JpegRowWriter&) = delete;
    JpegRowWriter& operator=(const JpegRowWriter&) = delete;

    bool start() {
        std::vector<JOCTET> exifMarker;
        if (const auto* exif = vxReadableExif(m_writing.metadata); exif != nullptr && exif->size() <= kMaxJpegExif) {
            exifMarker = {'E', 'x', 'i', 'f', 0, 0};
            exifMarker.insert(exifMarker.end(), exif->begin(), exif->end());
        }
        return writeHeader(vxColourProfile(m_writing.metadata, kMaxJpegProfile), exifMarker);
    }

protected:
    // Only trivially destructible locals in these: libjpeg's error jump skips nothing.
    bool encodeRow(const std::uint8_t* row) override {
        if (setjmp(m_errors.jump))
            return false;
        const std::uint8_t* given = row;
        if (format().kind == VXRowKind::Rgba) {
            vxFlattenRow(row, m_scratch.data(), format().width, m_writing.background);
            given = m_scratch.data();
        }
        // libjpeg takes rows as writable pointers but only reads them.
        JSAMPROW rows = const_cast<std::uint8_t*>(given);
        jpeg_write_scanlines(&m_info, &rows, 1);
        return true;
    }

    bool encodeEnd() override {
        if (setjmp(m_errors.jump))
            return false;
        jpeg_finish_compress(&m_info);
        return true;
    }

private:
    // `exifMarker` is the APP1 marker's bytes, or empty.
    bool writeHeader(const std::vector<std::uint8_t>* profile, const std::vector<JOCTET>& exifMarker) {
        if (setjmp(m_errors.jump))
            return false;
        jpeg_create_compress(&m_info);
        jpeg_stdio_dest(&m_info, file().stream());
        const bool grey = format().kind == VXRowKind::Grey;
        m_info.image_width = JDIMENSION(format().width);
        m_info.image_height = JDIMENSION(format().height);
        m_info.input_components = grey ? 1 : 3;
        m_info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
        jpeg_set_defaults(&m_info);
        jpeg_set_quality(&m_info, std::clamp(m_writing.quality, 1, 100), TRUE);
        if (m_writing.fullChroma && !grey) {
            m_info.comp_info[0].h_samp_factor = 1;
            m_info.comp_info[0].v_samp_factor = 1;
        }
        const VXPictureMetadata* metadata = m_writing.metadata;
        if (metadata != nullptr && metadata->dotsPerMetreX != 0 && metadata->dotsPerMetreY != 0) {
            m_info.density_unit = 1; // dots per inch
            m_info.X_density = UINT16(std::clamp<std::uint32_t>(vxDotsPerInch(metadata->dotsPerMetreX), 1, 65535));
            m_info.Y_density = UINT16(std::clamp<std::uint32_t>(vxDotsPerInch(metadata->dotsPerMetreY), 1, 65535));
        }
        jpeg_start_compress(&m_info, TRUE);
        if (!exifMarker.empty())
            jpeg_write_marker(&m_info, JPEG_APP0 + 1, exifMarker.data(), unsigned(exifMarker.size()));
        if (profile != nullptr)
            jpeg_write_icc_profile(&m_info, profile->data(), unsigned(profile->size()));
        return true;
    }

    JpegErrors m_errors{};
    jpeg_compress_struct m_info{};
    VXPictureWriting m_writing;
    std::vector<std::uint8_t> m_scratch;
};

} // namespace

std::unique_ptr<VXRowWriter> vxJpegRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                             const VXPictureWriting& writing, std::string& reason) {
    const bool fits = format.bitDepth == 8 && (format.kind == VXRowKind::Grey || format.kind == VXRowKind::Rgb ||
                                               format.kind == VXRowKind::Rgba);
    if (!fits) {
        reason = vxNotEncoded(file.path());
        return nullptr;
    }
    auto writer = std::make_unique<JpegRowWriter>(file, format, writing);
    if (!writer->start()) {
        reason = vxNotEncoded(file.path());
        return nullptr;
    }
    return writer;
}

} // namespace morvessan
