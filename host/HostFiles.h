// Files a host run reads and writes: pictures as host images and masks, and the
// parameter block the command line keeps between runs.
#pragma once

#include "host/HostImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvessan {

// The largest side the filter interface can address (16-bit coordinates).
inline constexpr std::int32_t kMaxHostSide = 32767;

// Reads a PNG, JPEG or bitmap file: pictures with transparency give four planes,
// all others three. False with a one-line reason in `error`.
bool loadHostImage(const std::string& path, HostImage& image, std::string& error);
// Reads a selection mask: grey level 255 = selected (colour pictures by their luminance).
bool loadHostMask(const std::string& path, HostMask& mask, std::string& error);
// Writes the image in the format the extension names (.png, .jpg, .jpeg, .bmp);
// the file is replaced whole or left as it was.
bool saveHostImage(const std::string& path, const HostImage& image, std::string& error);
// Whether `path` names a format saveHostImage can write.
bool isWritableImagePath(const std::string& path);

// A parameter block file holds exactly the block's bytes. False with a reason
// when the file cannot be read or has another size.
bool readParameterFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);
// Writes through a temporary file renamed into place.
bool writeFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

} // namespace morvessan
