// The command line's own reading of input pictures: PNG in every form with its
// transparency, JPEG and bitmap files (108- and 124-byte headers too), with limits.
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
// into `image`: four planes for pictures with any transparency (an alpha channel,
// a tRNS chunk of a palette, grey or colour PNG, a bitmap with an alpha mask, a
// 32-bit bitmap without masks whose fourth bytes are not all zero), three for the
// rest. A bitmap header whose sizes, offsets or counts contradict each other is
// refused as damaged. The size is checked from the header, before any pixel is
// decoded: at most `reading.maxPixels` pixels and what pictureSizeProblem allows.
// A picture damaged after its header keeps what the decoder got (the rest black
// or clear) and the cause goes to `damage`; with `reading.strict` it fails. False
// with `error` (a phrase: "it is not a PNG, JPEG or bitmap picture") on failure.
bool decodeHostPicture(std::string_view bytes, const PictureReading& reading, HostImage& image, std::string& error,
                       std::string& damage);

// Empty when a picture of this size with `planes` planes can be read, filtered and
// written; otherwise the one sentence every command gives for a size too large.
std::string pictureSizeProblem(std::int64_t width, std::int64_t height, std::int32_t planes);

} // namespace morvessan
