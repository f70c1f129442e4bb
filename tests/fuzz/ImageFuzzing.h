// Shared by the picture fuzz targets: a small pixel limit so huge declared pictures
// fail fast, and the decoder's promises checked on what it accepts.
#pragma once

#include "VXLib/VXDIBBuffer.h"
#include "VXLib/VXExifBlock.h"
#include "VXLib/VXPictureDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace morvessan {

inline void limitFuzzedPictures() { vxSetImageByteLimit(std::uint64_t(16) << 20); }

// The decoding layer on arbitrary bytes: what it accepts has exactly the pixels (and
// for one plane the table) its size says, each read back; every refusal says why;
// the header alone gives the same size. Both forms: the colour form with
// its options taken from the last byte, then the indexed form.
inline void decodeFuzzedPicture(const std::uint8_t* data, std::size_t size, bool indexed) {
    const std::uint8_t last = size > 0 ? data[size - 1] : 0;
    VXPictureReading reading;
    reading.maxPixels = 4'000'000;
    reading.strict = (last & 1) != 0;
    reading.transparencyAsAlpha = (last & 2) == 0;
    reading.metadata = (last & 4) == 0;
    reading.indexed = indexed;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    VXDecodedPicture picture;
    std::string error;
    std::string damage;
    if (!vxDecodePicture(bytes, reading, picture, error, damage)) {
        if (error.empty())
            std::abort();
        return;
    }
    const bool planesFit = indexed ? picture.planes == 1 || picture.planes == 3 || picture.planes == 4
                                   : picture.planes == 3 || (picture.planes == 4 && reading.transparencyAsAlpha);
    if (!planesFit || picture.width < 1 || picture.height < 1 ||
        picture.pixels.size() !=
            std::size_t(picture.width) * std::size_t(picture.height) * std::size_t(picture.planes) ||
        picture.palette.size() != (picture.planes == 1 ? 256u : 0u) || picture.transparentIndex < -1 ||
        picture.transparentIndex > 255 || (reading.strict && !damage.empty()))
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
    reading.headerOnly = true;
    VXDecodedPicture header;
    if (!vxDecodePicture(bytes, reading, header, error, damage) || header.width != picture.width ||
        header.height != picture.height || !header.pixels.empty())
        std::abort();
}

inline void decodeFuzzedPicture(const std::uint8_t* data, std::size_t size) {
    decodeFuzzedPicture(data, size, false);
    decodeFuzzedPicture(data, size, true);
}

} // namespace morvessan
