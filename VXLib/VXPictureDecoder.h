// Decoding PNG, JPEG and bitmap files (told apart by their content) into 8-bit
// red-green-blue pixels, with their transparency, limits, damage and metadata.
#pragma once

#include "VXLib/VXPictureMetadata.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvessan {

struct VXPictureReading {
    std::int64_t maxPixels = INT64_MAX; // pictures of more pixels are refused from their header
    std::string limitAdvice;            // said after the refusal above, in parentheses, when given
    bool strict = false;                // a damaged picture is an error, not damage
    bool transparencyAsAlpha = true;    // false: always three planes, transparency ignored
    bool metadata = false;              // collect the profile, EXIF and resolution (see below)
    bool headerOnly = false;            // stop after the header: the size and planes, no pixels
    bool indexed = false;               // the form of the program's own images (see below)
};

struct VXDecodedPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t planes = 3;          // 1 = stored values (`indexed` only), 3 = RGB, 4 = RGBA
    std::vector<std::uint8_t> pixels; // rows top to bottom, width * planes bytes each
    std::int32_t fileBits = 8;        // bits a channel in the file: 16 for 16-bit PNGs, reduced here
    VXPictureMetadata metadata;
    std::vector<std::uint32_t> palette; // one plane: the colour of each of the 256 values (red in the low byte)
    std::int32_t transparentIndex = -1; // one plane: a PNG palette's single transparent entry, or -1
};

// Decodes `bytes` into `picture`: four planes for pictures with any transparency (an
// alpha channel, a tRNS chunk of a palette, grey or colour PNG, a bitmap with an alpha
// mask, a 32-bit bitmap without masks whose fourth bytes are not all zero), three for
// the rest. Bitmap headers of 12, 40, 52, 56, 108 and 124 bytes; one whose sizes,
// offsets or counts contradict each other is refused as damaged. The size is checked
// from the header, before any pixel is decoded. A picture damaged after its header
// keeps what the decoder got (the rest black or clear) and the cause goes to `damage`;
// with `reading.strict` it fails. 16-bit channels are rounded to 8 bits. False with
// `error` (a phrase: "it is not a PNG, JPEG or bitmap picture") on failure.
// With `reading.metadata`: the ICC profile (PNG iCCP, JPEG APP2 chunks in their
// order, a bitmap's embedded profile), the EXIF block (PNG eXIf, JPEG APP1 "Exif")
// and the resolution (PNG pHYs in metres, JPEG JFIF density, else the EXIF block's,
// a bitmap's pixels per metre).
// With `reading.indexed`, the form texture pictures and the dialogs' pictures have
// always been read in, so that a texture renders as it did: grey PNGs and JPEGs, PNG
// palettes and 8-bit bitmaps give one plane of their stored values with the colours
// of those in `palette` (a grey PNG's alpha or transparent key is dropped; a PNG
// palette keeps its indices without a tRNS chunk or with one whose only entry below
// 255 is its last, which `transparentIndex` then names, and is RGBA otherwise); other
// pictures (bitmaps of fewer bits among them) give RGB, or RGBA where a PNG has alpha
// or a colour key or a bitmap has alpha; 16-bit channels are cut to their high byte;
// CMYK and YCCK JPEGs are refused.
// A PNG or bitmap whose data is cut short or fails to decode (up to the PNG's end) is
// refused, and so is a JPEG whose decoding fails; a JPEG that libjpeg completes (cut
// short, or with corrupt data) is kept, its damage said. `transparencyAsAlpha` does
// not apply to this form.
bool vxDecodePicture(std::string_view bytes, const VXPictureReading& reading, VXDecodedPicture& picture,
                     std::string& error, std::string& damage);

// Empty when a picture of this size with `planes` planes (1, 3 or 4) can be read, filtered and
// written; otherwise the one sentence every reader and writer gives for a size too large.
std::string vxPictureSizeProblem(std::int64_t width, std::int64_t height, std::int32_t planes);

} // namespace morvessan
