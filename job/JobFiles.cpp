// Pictures to and from host images, and whole-file reads and writes.
#include "job/JobFiles.h"

#include "VXLib/VXUTIL/VXAsciiCase.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPlatform.h"
#include "job/JobError.h"
#include "texture/FilterParameters.h"

#include <filesystem>
#include <new>
#include <string_view>

namespace morvessan {

namespace {

// The writers' sentences ("Cannot write \"x\": ...") as the host's phrases.
std::string phrase(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

} // namespace

// A picture file holds at most four bytes a pixel, plus room for what else a
// file may carry; anything larger is no picture within the limit.
std::uint64_t pictureFileLimit(const PictureReading& reading) {
    const std::uint64_t pixels = reading.maxPixels > 0 ? std::uint64_t(reading.maxPixels) : 0;
    return pixels * 4 + (std::uint64_t(64) << 20);
}

bool loadHostImage(const std::string& path, HostImage& image, std::string& error, const PictureReading& reading,
                   std::string* warning) {
    const VXFileBytes file = vxReadWholeFile(path, pictureFileLimit(reading));
    if (file.status != VXReadStatus::Read) {
        error = file.error;
        return false;
    }
    std::string problem;
    std::string damage;
    if (!decodeHostPicture(file.bytes, reading, image, problem, damage)) {
        error = "cannot read '" + path + "': " + problem;
        return false;
    }
    if (!damage.empty() && warning != nullptr) {
        *warning = "'" + path + "' is damaged (" + damage + "); using what could be read of it";
    }
    return true;
}

bool loadHostMask(const std::string& path, HostMask& mask, std::string& error, const PictureReading& reading,
                  std::string* warning) {
    HostImage picture;
    if (!loadHostImage(path, picture, error, reading, warning)) {
        return false;
    }
    HostMask result(picture.width, picture.height, 0);
    for (std::int32_t y = 0; y < picture.height; ++y) {
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.pixel(x, y);
            result.at(x, y) = p[0] == p[1] && p[1] == p[2]
                                  ? p[0]
                                  : static_cast<std::uint8_t>((299 * p[0] + 587 * p[1] + 114 * p[2] + 500) / 1000);
        }
    }
    mask = std::move(result);
    return true;
}

bool isWritableImagePath(const std::string& path) { return isImageFilePath(path); }

std::string streamedSizeProblem(const std::string& path, std::int64_t width, std::int64_t height, std::int32_t planes) {
    const std::string extension = path == "-" ? std::string(".png") : lowerAscii(extensionOf(path));
    const auto sides = [&](const std::string& what, std::int32_t most) {
        return width > most || height > most
                   ? "is larger than " + what + ": at most " + std::to_string(most) + " pixels per side"
                   : std::string();
    };
    if (extension == ".jpg" || extension == ".jpeg") {
        return sides("a JPEG file holds", kMaxJpegSide);
    }
    if (extension == ".bmp") {
        if (std::string problem = sides("render writes as a bitmap", kMaxStreamedSide); !problem.empty()) {
            return problem;
        }
        // The rows are padded to four bytes; the file's header comes first.
        const std::uint64_t stride = (std::uint64_t(width) * (planes == 4 ? 32 : 24) + 31) / 32 * 4;
        if (stride * std::uint64_t(height) + 122 > 0xFFFFFFFFu) {
            return "is larger than a bitmap file holds: at most 4 GiB (a PNG holds it)";
        }
        return {};
    }
    return sides("render writes as PNG", kMaxStreamedSide);
}

bool writeHostImage(VXFileReplacement& file, const HostImage& image, std::string& error,
                    const VXPictureWriting& writing, bool strip,
                    const std::function<void(std::int32_t rows)>& rowsTaken) {
    const std::string size = pictureSizeProblem(image.width, image.height, image.planes);
    if (!size.empty()) {
        error = "cannot write '" + file.path() + "': " + size;
        file.fail(error);
        return false;
    }
    const VXRgbPixels pixels{image.width,
                             image.height,
                             image.planes,
                             image.pixels.data(),
                             std::size_t(image.width) * std::size_t(image.planes),
                             rowsTaken};
    std::string reason;
    try {
        VXPictureWriting options = writing;
        options.metadata = strip || image.metadata.empty() ? nullptr : &image.metadata;
        if (!writeImageFile(file, pixels, &reason, options)) {
            error = phrase(reason);
            return false;
        }
    } catch (const std::bad_alloc&) {
        error = "cannot write '" + file.path() + "': out of memory";
        file.fail(error);
        return false;
    }
    return true;
}

std::unique_ptr<VXRowWriter> beginHostImageRows(VXFileReplacement& file, const HostImage& shape, std::string& error,
                                                const VXPictureWriting& writing, bool strip) {
    VXPictureWriting options = writing;
    options.metadata = strip || shape.metadata.empty() ? nullptr : &shape.metadata;
    VXRowFormat format;
    format.width = shape.width;
    format.height = shape.height;
    format.kind = shape.planes == 4 ? VXRowKind::Rgba : VXRowKind::Rgb;
    std::string reason;
    std::unique_ptr<VXRowWriter> writer;
    try {
        writer = vxBeginRowWriter(file, format, options, &reason);
    } catch (const std::bad_alloc&) {
        reason = "Cannot write '" + file.path() + "': out of memory";
        file.fail(reason);
    }
    if (!writer) {
        error = phrase(reason);
    }
    return writer;
}

std::string rowWriterError(const VXRowWriter& writer) { return phrase(writer.error()); }

bool saveHostImage(const std::string& path, const HostImage& image, std::string& error, const VXPictureWriting& writing,
                   bool strip) {
    if (!isWritableImagePath(path)) {
        error = "cannot write '" + path + "': the name must end in .png, .jpg, .jpeg or .bmp";
        return false;
    }
    VXFileReplacement file;
    if (!file.begin(path)) {
        error = file.error();
        return false;
    }
    if (!writeHostImage(file, image, error, writing, strip)) {
        return false;
    }
    if (!file.commit()) {
        error = file.error();
        return false;
    }
    return true;
}

bool readParameterFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    // Any file much larger than a block is refused without reading it all.
    const VXFileBytes file = vxReadWholeFile(path, 1 << 20);
    if (file.status != VXReadStatus::Read) {
        error = file.error;
        return false;
    }
    if (file.bytes.size() != kFilterParametersSize) {
        error = "'" + path + "' is not a parameter block: it must hold exactly " +
                std::to_string(kFilterParametersSize) + " bytes";
        return false;
    }
    bytes.assign(file.bytes.begin(), file.bytes.end());
    return true;
}

bool writeFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return vxReplaceFile(path, text, error);
}

std::string temporaryFolder(const std::string& use) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (!ec) {
        return folder.string();
    }
    for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
        if (const std::string value = vxProcessEnvironment(name); !value.empty()) {
            throw job::JobError("the folder for temporary files '" + value + "' (" + name + ") is not a folder; " +
                                use);
        }
    }
    throw job::JobError("there is no folder for temporary files (" + ec.message() + ")");
}

} // namespace morvessan
