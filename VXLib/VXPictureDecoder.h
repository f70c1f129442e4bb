// Decoding PNG, JPEG and bitmap files (told apart by their content) into 8-bit
// red-green-blue pixels, with their transparency, limits, damage and metadata.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvessan {

// What a picture file carries besides its pixels, kept so that a rewritten picture
// looks and prints as its original: the colour profile and the EXIF block as bytes,
// and the resolution (0 when the file gives none).
struct VXPictureMetadata {
    std::vector<std::uint8_t> icc;  // an ICC profile, whole
    std::vector<std::uint8_t> exif; // a TIFF-structured EXIF block ("II*\0" or "MM\0*" first)
    std::uint32_t dotsPerMetreX = 0;
    std::uint32_t dotsPerMetreY = 0;

    bool empty() const { return icc.empty() && exif.empty() && dotsPerMetreX == 0 && dotsPerMetreY == 0; }
    bool operator==(const VXPictureMetadata&) const = default;
};

struct VXPictureReading {
    std::int64_t maxPixels = INT64_MAX; // pictures of more pixels are refused from their header
    std::string limitAdvice;            // said after the refusal above, in parentheses, when given
    bool strict = false;                // a damaged picture is an error, not damage
    bool transparencyAsAlpha = true;    // false: always three planes, transparency ignored
    bool metadata = false;              // collect the profile, EXIF and resolution
};

struct VXDecodedPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t planes = 3;          // 3 = RGB, 4 = RGBA
    std::vector<std::uint8_t> pixels; // rows top to bottom, width * planes bytes each
    VXPictureMetadata metadata;
};

// Decodes `bytes` into `picture`: four planes for pictures with any transparency (an
// alpha channel, a tRNS chunk of a palette, grey or colour PNG, a bitmap with an alpha
// mask, a 32-bit bitmap without masks whose fourth bytes are not all zero), three for
// the rest. Bitmap headers of 12, 40, 52, 56, 108 and 124 bytes; one whose sizes,
// offsets or counts contradict each other is refused as damaged. The size is checked
// from the header, before any pixel is decoded. A picture damaged after its header
// keeps what the decoder got (the rest black or clear) and the cause goes to `damage`;
// with `reading.strict` it fails. False with `error` (a phrase: "it is not a PNG, JPEG
// or bitmap picture") on failure.
bool vxDecodePicture(std::string_view bytes, const VXPictureReading& reading, VXDecodedPicture& picture,
                     std::string& error, std::string& damage);

// Empty when a picture of this size with `planes` planes can be read, filtered and
// written; otherwise the one sentence every reader and writer gives for a size too large.
std::string vxPictureSizeProblem(std::int64_t width, std::int64_t height, std::int32_t planes);

} // namespace morvessan
