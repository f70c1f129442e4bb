// Shared by the image reader fuzz targets: a small pixel limit so huge declared
// pictures fail fast, and a read-back that exposes geometry not matching memory.
#pragma once

#include "VXLib/VXDIBBuffer.h"
#include "VXLib/VXImage2.h"

#include <cstdint>

namespace morvessan {

inline void limitFuzzedPictures() { vxSetImageByteLimit(std::uint64_t(16) << 20); }

// Reads the ends of every row, and every pixel of small pictures.
inline void readBack(const VXImage2& image) {
    volatile std::uint32_t sum = 0;
    const bool everyPixel = std::int64_t(image.width()) * image.rows() <= 65536;
    for (int y = 0; y < image.rows(); ++y) {
        sum = sum + image.pixelColour(0, y) + image.pixelColour(image.width() - 1, y);
        for (int x = 1; everyPixel && x < image.width() - 1; ++x)
            sum = sum + image.pixelColour(x, y);
    }
}

} // namespace morvessan
