// Pictures written row by row, top to bottom, as their rows become ready: PNG, JPEG
// and bitmap files whose bytes are those the whole-picture writers give.
#pragma once

#include "VXLib/VXDIBTypes.h"
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <cstdint>
#include <memory>
#include <string>

namespace morvessan {

// What each row holds: grey levels, grey and alpha, red-green-blue (and alpha), or
// palette indices.
enum class VXRowKind { Grey, GreyAlpha, Rgb, Rgba, Palette };

// The samples a pixel of `kind` has.
std::int32_t vxRowChannels(VXRowKind kind);

struct VXRowFormat {
    std::int32_t width = 0;
    std::int32_t height = 0;
    VXRowKind kind = VXRowKind::Rgb;
    // 8, or 16 for PNG: two bytes a sample, the most significant first, as PNG keeps them.
    std::int32_t bitDepth = 8;
    // The colours of palette indices (PNG only), 1 to 256 of them.
    const VXRGBQuad* palette = nullptr;
    std::int32_t paletteEntries = 0;
};

// An encoder that takes a picture's rows in order. Made by vxBeginRowWriter for a
// file begun by the caller; after the last row finish() completes the file without
// committing it. Any failure removes the temporary file (the target stays as it was)
// and leaves the reason in error().
class VXRowWriter {
public:
    virtual ~VXRowWriter() = default;
    VXRowWriter(const VXRowWriter&) = delete;
    VXRowWriter& operator=(const VXRowWriter&) = delete;

    // The next row: width x channels samples. False once anything has failed.
    bool writeRow(const std::uint8_t* row);
    // Rows taken so far.
    std::int32_t rowsWritten() const { return m_rows; }
    // Ends the encoding after the last row and finishes (closes) the file; false
    // when a row is missing or anything failed.
    bool finish();
    const std::string& error() const { return m_error; }
    const VXRowFormat& format() const { return m_format; }

protected:
    VXRowWriter(VXFileReplacement& file, const VXRowFormat& format) : m_file(file), m_format(format) {}
    virtual bool encodeRow(const std::uint8_t* row) = 0;
    virtual bool encodeEnd() = 0;
    VXFileReplacement& file() { return m_file; }

private:
    bool failed(const std::string& reason);

    VXFileReplacement& m_file;
    VXRowFormat m_format;
    std::int32_t m_rows = 0;
    bool m_failed = false;
    bool m_finished = false;
    std::string m_error;
};

// A writer for the format of `file`'s path (.png, .jpg/.jpeg, .bmp), its header and
// `writing.metadata` already written. JPEG takes grey or colour rows (alpha is
// flattened over writing.background); bitmaps take colour rows, with alpha as a
// 32-bit bitmap; 16-bit samples and palettes are for PNG alone. Null, with the
// reason in `*error` and the temporary file removed, when the format cannot hold
// the rows or the encoder cannot start.
std::unique_ptr<VXRowWriter> vxBeginRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                              const VXPictureWriting& writing = {}, std::string* error = nullptr);

} // namespace morvessan
