// Input pictures for the command line: the image library's decoding layer with the
// command line's limit advice, its results as host images.
#include "job/JobPictureReader.h"

#include "VXLib/VXExifBlock.h"
#include "VXLib/VXPictureDecoder.h"

namespace morvessan {

std::string pictureSizeProblem(std::int64_t width, std::int64_t height, std::int32_t planes) {
    return vxPictureSizeProblem(width, height, planes);
}

bool decodeHostPicture(std::string_view bytes, const PictureReading& reading, HostImage& image, std::string& error,
                       std::string& damage) {
    VXPictureReading options;
    options.maxPixels = reading.maxPixels;
    options.limitAdvice = "raise it with --max-pixels";
    options.strict = reading.strict;
    options.metadata = true;
    VXDecodedPicture picture;
    if (!vxDecodePicture(bytes, options, picture, error, damage)) {
        return false;
    }
    image.width = picture.width;
    image.height = picture.height;
    image.planes = picture.planes;
    image.pixels = std::move(picture.pixels);
    image.metadata = std::move(picture.metadata);
    // The result is a changed picture: a thumbnail of the original would show what
    // the texture covers.
    if (!image.metadata.exif.empty()) {
        image.metadata.exif = vxExifWithoutThumbnail(image.metadata.exif);
    }
    image.fileBits = picture.fileBits;
    return true;
}

} // namespace morvessan
