// Shared by the image reader fuzz targets: a small pixel limit so huge declared
// pictures fail fast, and a read-back that exposes geometry not matching memory.
#pragma once

#include "VXLib/VXDIBBuffer.h"
#include "VXLib/VXExifBlock.h"
#include "VXLib/VXImage2.h"
#include "VXLib/VXPictureDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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

// The decoding layer on the same bytes, its options taken from the last byte: what
// it accepts has exactly the pixels its size says, each read back; every refusal says why.
inline void decodeFuzzedPicture(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t last = size > 0 ? data[size - 1] : 0;
    VXPictureReading reading;
    reading.maxPixels = 4'000'000;
    reading.strict = (last & 1) != 0;
    reading.transparencyAsAlpha = (last & 2) == 0;
    reading.metadata = (last & 4) == 0;
    VXDecodedPicture picture;
    std::string error;
    std::string damage;
    if (!vxDecodePicture(std::string_view(reinterpret_cast<const char*>(data), size), reading, picture, error,
                         damage)) {
        if (error.empty())
            std::abort();
        return;
    }
    if ((picture.planes != 3 && picture.planes != 4) || (!reading.transparencyAsAlpha && picture.planes != 3) ||
        picture.width < 1 || picture.height < 1 ||
        picture.pixels.size() !=
            std::size_t(picture.width) * std::size_t(picture.height) * std::size_t(picture.planes) ||
        (reading.strict && !damage.empty()))
        std::abort();
    volatile std::uint32_t sum = 0;
    for (const std::uint8_t byte : picture.pixels)
        sum = sum + byte;
    for (const std::uint8_t byte : picture.metadata.icc)
        sum = sum + byte;
    for (const std::uint8_t byte : picture.metadata.exif)
        sum = sum + byte;
    if (!picture.metadata.exif.empty())
        sum = sum + std::uint32_t(vxReadExif(picture.metadata.exif).orientation);
    // The header alone gives the size the whole picture has, and no pixels.
    reading.headerOnly = true;
    VXDecodedPicture header;
    if (!vxDecodePicture(std::string_view(reinterpret_cast<const char*>(data), size), reading, header, error, damage) ||
        header.width != picture.width || header.height != picture.height || !header.pixels.empty())
        std::abort();
}

} // namespace morvessan
