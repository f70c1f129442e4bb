// What a picture file carries besides its pixels and this program keeps when it
// writes the picture again: the colour profile, the EXIF block and the resolution.
#pragma once

#include <cstdint>
#include <vector>

namespace morvessan {

// Kept so that a rewritten picture looks and prints as its original: the profile
// and the EXIF block pass through as bytes (the EXIF orientation too, as the pixels
// are never turned); the resolution is 0 when the file gives none.
struct VXPictureMetadata {
    std::vector<std::uint8_t> icc;  // an ICC profile, whole
    std::vector<std::uint8_t> exif; // a TIFF-structured EXIF block ("II*\0" or "MM\0*" first)
    std::uint32_t dotsPerMetreX = 0;
    std::uint32_t dotsPerMetreY = 0;

    bool empty() const { return icc.empty() && exif.empty() && dotsPerMetreX == 0 && dotsPerMetreY == 0; }
    bool operator==(const VXPictureMetadata&) const = default;
};

} // namespace morvessan
