// Pictures to and from host images, and whole-file writes.
#include "host/HostFiles.h"

#include "VXLib/VXImage2.h"
#include "VXLib/VXImageFile.h"
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "texture/FilterParameters.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace morvessan {

namespace {

bool readPicture(const std::string& path, VXImage2& picture, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "cannot read '" + path + "': no such file";
        return false;
    }
    if (!loadImageFile(path, picture, true) || picture.width() <= 0 || picture.height() <= 0) {
        error = "cannot read '" + path + "': not a PNG, JPEG or bitmap picture this program can read";
        return false;
    }
    if (picture.width() > kMaxHostSide || picture.height() > kMaxHostSide) {
        error = "'" + path + "' is " + std::to_string(picture.width()) + "x" + std::to_string(picture.height()) +
                ", larger than the filter interface allows (32767 per side)";
        return false;
    }
    return true;
}

} // namespace

bool loadHostImage(const std::string& path, HostImage& image, std::string& error) {
    VXImage2 picture;
    if (!readPicture(path, picture, error)) {
        return false;
    }
    const bool alpha = picture.bitCount() == 32 && picture.hasAlpha();
    HostImage result(picture.width(), picture.height(), alpha ? 4 : 3);
    for (std::int32_t y = 0; y < result.height; ++y) {
        const std::uint8_t* row = picture.row(y);
        for (std::int32_t x = 0; x < result.width; ++x) {
            std::uint8_t* p = result.pixel(x, y);
            if (picture.bitCount() == 24 || picture.bitCount() == 32) {
                const std::uint8_t* s = row + x * (picture.bitCount() / 8);
                p[0] = s[2];
                p[1] = s[1];
                p[2] = s[0];
                if (alpha) {
                    p[3] = s[3];
                }
            } else {
                const std::uint32_t c = picture.pixelColour(x, y);
                p[0] = static_cast<std::uint8_t>(c);
                p[1] = static_cast<std::uint8_t>(c >> 8);
                p[2] = static_cast<std::uint8_t>(c >> 16);
            }
        }
    }
    image = std::move(result);
    return true;
}

bool loadHostMask(const std::string& path, HostMask& mask, std::string& error) {
    HostImage picture;
    if (!loadHostImage(path, picture, error)) {
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

bool isWritableImagePath(const std::string& path) {
    const std::string ext = extensionOf(path);
    return equalsIgnoreCase(ext, ".png") || equalsIgnoreCase(ext, ".jpg") || equalsIgnoreCase(ext, ".jpeg") ||
           equalsIgnoreCase(ext, ".bmp");
}

bool saveHostImage(const std::string& path, const HostImage& image, std::string& error) {
    if (!isWritableImagePath(path)) {
        error = "cannot write '" + path + "': the name must end in .png, .jpg, .jpeg or .bmp";
        return false;
    }
    VXImage2 picture;
    const bool alpha = image.planes == 4;
    if (!picture.create(image.width, image.height, alpha ? 32 : 24)) {
        error = "cannot write '" + path + "': out of memory";
        return false;
    }
    picture.setHasAlpha(alpha);
    for (std::int32_t y = 0; y < image.height; ++y) {
        std::uint8_t* d = picture.row(y);
        for (std::int32_t x = 0; x < image.width; ++x, d += image.planes) {
            const std::uint8_t* s = image.pixel(x, y);
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            if (alpha) {
                d[3] = s[3];
            }
        }
    }
    std::string reason;
    if (!saveImageFile(path, picture, &reason)) {
        error = "cannot write '" + path + "'" + (reason.empty() ? std::string() : ": " + reason);
        return false;
    }
    return true;
}

bool readParameterFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read parameter file '" + path + "'";
        return false;
    }
    std::vector<std::uint8_t> data;
    char buffer[1024];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        data.insert(data.end(), buffer, buffer + in.gcount());
        if (data.size() > kFilterParametersSize) {
            break;
        }
    }
    if (in.bad()) {
        error = "cannot read parameter file '" + path + "'";
        return false;
    }
    if (data.size() != kFilterParametersSize) {
        error = "'" + path + "' is not a parameter block: it must hold exactly " +
                std::to_string(kFilterParametersSize) + " bytes";
        return false;
    }
    bytes = std::move(data);
    return true;
}

bool writeFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path temporary = target;
    temporary += ".tmp-morvessan";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot write '" + path + "'";
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            error = "cannot write '" + path + "'";
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = "cannot write '" + path + "': " + ec.message();
        return false;
    }
    return true;
}

} // namespace morvessan
