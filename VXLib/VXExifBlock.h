// What this program reads of an EXIF block through libexif: whether it is one, and
// the orientation and resolution it gives; and the block without its thumbnail.
#pragma once

#include <cstdint>
#include <vector>

namespace morvessan {

struct VXExifFacts {
    bool valid = false;              // a TIFF header and a first directory with entries
    std::int32_t orientation = 0;    // 1 to 8, 0 when the block gives none
    std::uint32_t dotsPerMetreX = 0; // 0 when the block gives no resolution
    std::uint32_t dotsPerMetreY = 0;
};

// Reads `tiff` (the block as PNG's eXIf chunk holds it, "II*\0" or "MM\0*" first;
// JPEG's "Exif\0\0" prefix already taken off).
VXExifFacts vxReadExif(const std::vector<std::uint8_t>& tiff);

// `tiff` without its thumbnail (the second directory and the picture it points to),
// for a picture that has been changed: the thumbnail would still show what the change
// covered. A block without one is returned as it is, byte for byte; one libexif cannot
// read comes back empty.
std::vector<std::uint8_t> vxExifWithoutThumbnail(const std::vector<std::uint8_t>& tiff);

// Dots per metre for a density per inch or per centimetre, rounded; and back.
std::uint32_t vxDotsPerMetreFromInch(std::uint64_t numerator, std::uint64_t denominator);
std::uint32_t vxDotsPerMetreFromCentimetre(std::uint64_t numerator, std::uint64_t denominator);
std::uint32_t vxDotsPerInch(std::uint32_t dotsPerMetre);

} // namespace morvessan
