// Files a host run reads and writes: pictures as host images and masks, and the
// parameter block the command line keeps between runs.
#pragma once

#include "VXLib/VXDIBBuffer.h"
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXRowWriter.h"
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "host/HostImage.h"
#include "job/JobPictureReader.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace morvessan {

// The largest side of a picture this program reads, renders or writes: the image
// library's limit, below the 16-bit coordinates of the filter interface.
inline constexpr std::int32_t kMaxHostSide = kMaxImageDimension;
// The largest side render makes: its rows are streamed and no picture of its size is
// held, so only the formats limit it: PNG and bitmap files to kMaxStreamedSide (and a
// bitmap file to 4 GiB in all, its size fields having 32 bits), JPEG files to
// kMaxJpegSide, the most the JPEG format itself allows.
inline constexpr std::int32_t kMaxStreamedSide = 65535;
inline constexpr std::int32_t kMaxJpegSide = 65500;

// Why a width x height picture of `planes` bytes a pixel cannot be streamed into a
// file named `path` (- is a PNG on standard output): "is larger than ..." naming the
// format's limit, or "" when it fits. Paths of no picture format are not judged here.
std::string streamedSizeProblem(const std::string& path, std::int64_t width, std::int64_t height, std::int32_t planes);

// The most bytes a picture file within the reading's pixel limit can take: files
// (and standard input) beyond it are refused before they are read.
std::uint64_t pictureFileLimit(const PictureReading& reading);

// Reads a PNG, JPEG or bitmap file (a regular file only): pictures with
// transparency give four planes, all others three (decodeHostPicture). False with
// a one-line reason naming the file in `error`. A damaged picture that could be
// partly read gives a one-line note in `*warning` (or fails with strict reading).
bool loadHostImage(const std::string& path, HostImage& image, std::string& error, const PictureReading& reading = {},
                   std::string* warning = nullptr);
// Reads a selection mask: grey level 255 = selected (colour pictures by their luminance).
bool loadHostMask(const std::string& path, HostMask& mask, std::string& error, const PictureReading& reading = {},
                  std::string* warning = nullptr);
// Writes the image in the format the extension names (.png, .jpg, .jpeg, .bmp);
// the file is replaced whole or left as it was (see VXFileReplacement). `writing`
// sets the JPEG quality and chroma and the background alpha is flattened over; the
// image's metadata is written unless `strip`.
bool saveHostImage(const std::string& path, const HostImage& image, std::string& error,
                   const VXPictureWriting& writing = {}, bool strip = false);
// Encodes the image into a replacement the caller began and committs later, so
// that several outputs are put in place together.
bool writeHostImage(VXFileReplacement& file, const HostImage& image, std::string& error,
                    const VXPictureWriting& writing = {}, bool strip = false,
                    const std::function<void(std::int32_t rows)>& rowsTaken = {});
// Starts writing the rows of a picture of `shape`'s size and planes (its pixels are
// not needed; its metadata is written unless `strip`) into a replacement the caller
// began: a writer that takes the rows top to bottom, or null with the reason in
// `error` and the temporary file removed.
std::unique_ptr<VXRowWriter> beginHostImageRows(VXFileReplacement& file, const HostImage& shape, std::string& error,
                                                const VXPictureWriting& writing = {}, bool strip = false);
// Why a row writer failed, as the host words it.
std::string rowWriterError(const VXRowWriter& writer);
// Whether `path` names a format saveHostImage can write.
bool isWritableImagePath(const std::string& path);

// The folder for temporary files, or a JobError that names it and the variable
// that chose it, and says what goes through it (`use`: "standard output is written through it").
std::string temporaryFolder(const std::string& use);

// A parameter block file holds exactly the block's bytes. False with a reason
// when the file cannot be read, is no regular file or has another size.
bool readParameterFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);
// Writes through a VXFileReplacement.
bool writeFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

} // namespace morvessan
