// Writing pictures to PNG, JPEG and bitmap files, chosen by extension, without ever
// leaving a half-written file behind.
#pragma once

#include "VXLib/VXImage2.h"
#include "VXLib/VXPictureMetadata.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace morvessan {

// Writes `image` to `path` in the format its extension names, without regard to case:
// ".png" (8-bit grey or palette, 24-bit colour, 32-bit colour with alpha when the image
// has alpha), ".jpg"/".jpeg" (greyscale for 8 bits with the grey table, else colour;
// quality 90) or ".bmp" (the buffer as it is, bottom-up). Pixels of other depths are
// written through their colours. The data goes through a VXFileReplacement, so an
// existing file is either replaced whole (keeping its permissions; a read-only file
// is refused) or left alone. On failure returns false with a one-line reason in
// `*error` (when given).
bool saveImageFile(const std::string& path, const VXImage2& image, std::string* error = nullptr);

// Encodes `image` into a replacement begun by the caller, in the format of its
// path's extension, and finishes it without committing: several files can then be
// put in place together. False, with the reason in `*error` and the temporary file
// removed, on failure.
bool writeImageFile(VXFileReplacement& file, const VXImage2& image, std::string* error = nullptr);

// Pixels in red, green, blue (and alpha) byte order, rows top to bottom: the order
// the host and the command line keep pictures in.
struct VXRgbPixels {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t planes = 3; // 3, or 4 with alpha last
    const std::uint8_t* data = nullptr;
    std::size_t stride = 0; // bytes from one row to the next
    // Told the rows the encoder has taken so far, as it takes each (for a progress bar).
    std::function<void(std::int32_t rows)> rowsTaken{};
};

// How hard a PNG's rows are deflated: `Fast` zlib's run-length strategy on every
// strip; `Default` that or zlib's level 2, whichever a sample of the strip favours;
// `Small` libdeflate's level 6. Each level's bytes are the same on every build.
enum class VXPngCompression { Fast, Default, Small };

// How pictures in red-green-blue order are written.
struct VXPictureWriting {
    std::int32_t quality = 90; // JPEG quality, 1 to 100
    bool fullChroma = false;   // JPEG colour at full resolution (4:4:4) instead of halved both ways (4:2:0)
    // What alpha is flattened over in a format without it (JPEG): 0xBBGGRR, red
    // in the low byte as parseHexColour gives it.
    std::uint32_t background = 0xFFFFFF;
    // Written where the format holds it: PNG iCCP (compressed), eXIf and pHYs; JPEG
    // APP2 profile chunks, APP1 EXIF and the JFIF density in dots per inch; the
    // resolution of a bitmap. An EXIF block libexif cannot read is left out, and so
    // is a profile of anything but RGB (the pixels written are colour) or one larger
    // than vxProfileLimit.
    const VXPictureMetadata* metadata = nullptr;
    // Threads that compress a PNG's strips beside the caller (1: the caller alone).
    // The file's bytes are the same for any number.
    std::int32_t threads = 1;
    VXPngCompression compression = VXPngCompression::Default;
};

// The same for pixels in red-green-blue order, encoded without reordering them (a
// bitmap file, which keeps blue first, is the exception). Alpha goes into PNG and
// bitmap files; JPEG files get the colours flattened over the background.
bool writeImageFile(VXFileReplacement& file, const VXRgbPixels& pixels, std::string* error = nullptr,
                    const VXPictureWriting& writing = {});

// Red, green, blue and alpha pixels as red, green and blue over `background`
// (0xBBGGRR): (c * a + b * (255 - a) + 127) / 255 per channel.
void vxFlattenRow(const std::uint8_t* rgba, std::uint8_t* rgb, std::int32_t width, std::uint32_t background);

// The largest colour profile written whole: a JPEG holds one in at most 255 markers
// of 65519 bytes, and PNG readers refuse a profile that inflates past 8000000 bytes
// (libpng's default limit). A larger one is left out, never written in part.
inline constexpr std::size_t kMaxJpegProfile = std::size_t(255) * 65519;
inline constexpr std::size_t kMaxPngProfile = 8000000;
// The largest profile a picture written to `path` carries, by its extension (.png
// and standard output's "-" too); 0 where the format carries none.
std::size_t vxProfileLimit(const std::string& path);

// Whether the format `path` names keeps alpha (PNG, bitmap; not JPEG).
bool imageFileKeepsAlpha(const std::string& path);

// Whether `path` names a format saveImageFile writes (.png, .jpg, .jpeg, .bmp).
bool isImageFilePath(const std::string& path);

// The bitmap file (file header, then the packed bottom-up bitmap) as bytes. A
// 32-bit bitmap with `alpha` gets the 108-byte header with bit fields and an alpha
// mask (as common tools write it), so that readers keep its transparency.
std::vector<std::uint8_t> vxEncodeBitmap(const VXDIBBuffer& image, bool alpha = false);

} // namespace morvessan
