// What the row writers share among themselves: each format's encoder, and the
// metadata and wording rules of the picture writers.
#pragma once

#include "VXLib/VXRowWriter.h"

#include <vector>

namespace morvessan {

// Each format's writer, its header written; null with `reason` (a sentence) when
// the rows do not suit the format or the encoder cannot start.
std::unique_ptr<VXRowWriter> vxPngRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                            const VXPictureWriting& writing, std::string& reason);
std::unique_ptr<VXRowWriter> vxJpegRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                             const VXPictureWriting& writing, std::string& reason);
std::unique_ptr<VXRowWriter> vxBitmapRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                               const VXPictureMetadata* metadata, std::string& reason);

// The profile when it describes red, green and blue, as the written pixels are (a
// grey or CMYK picture's profile no longer fits once it has been widened to colour),
// and has at most `most` bytes, all the format can carry.
const std::vector<std::uint8_t>* vxColourProfile(const VXPictureMetadata* metadata, std::size_t most);
// The EXIF block when libexif can read it, else none.
const std::vector<std::uint8_t>* vxReadableExif(const VXPictureMetadata* metadata);
// A reason of the file replacement ("cannot write ...") as a sentence of the writers.
std::string vxWriterSentence(const std::string& reason);
// The sentence for a picture the encoder could not encode into `path`.
std::string vxNotEncoded(const std::string& path);

} // namespace morvessan
