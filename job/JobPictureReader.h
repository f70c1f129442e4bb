// The command line's reading of input pictures: the image library's decoding layer
// with the command line's limits and messages, into host images.
#pragma once

#include "host/HostImage.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace morvessan {

// Input pictures of more pixels than this are refused unless the limit is raised.
inline constexpr std::int64_t kDefaultMaxInputPixels = 128'000'000;

struct PictureReading {
    std::int64_t maxPixels = kDefaultMaxInputPixels;
    bool strict = false; // a damaged picture is an error, not a warning
};

// Decodes the bytes of a PNG, JPEG or bitmap file (told apart by their content)
// into `image` through vxDecodePicture (see there: planes, limits, damage), with
// the advice to raise --max-pixels when the limit refuses it, and with the picture's
// profile, EXIF block and resolution.
bool decodeHostPicture(std::string_view bytes, const PictureReading& reading, HostImage& image, std::string& error,
                       std::string& damage);

// Empty when a picture of this size with `planes` planes can be read, filtered and
// written; otherwise the one sentence every command gives for a size too large.
std::string pictureSizeProblem(std::int64_t width, std::int64_t height, std::int32_t planes);

} // namespace morvessan
