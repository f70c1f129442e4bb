// Test pictures made with the libraries themselves and by hand: PNG of any colour
// type and depth, JPEG, and bitmap files byte by byte; plus a scratch folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace morvessan::testing {

using Bytes = std::vector<std::uint8_t>;

// Sample value of channel c at (x, y), within the PNG's bit depth.
using SampleFunction = std::function<unsigned(int x, int y, int c)>;

struct PngRecipe {
    int width = 4;
    int height = 3;
    int colourType = 0; // PNG colour type 0, 2, 3, 4 or 6
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::uint8_t> paletteRGB; // 3 bytes per entry, colour type 3
    std::vector<std::uint8_t> trnsAlpha;  // palette tRNS entries
    bool trnsKey = false;                 // grey or RGB tRNS key of (1, 2, 3) / 1
    bool headerOnly = false;              // stop after the header chunks (no pixel data)
};

Bytes makePng(const PngRecipe& recipe, const SampleFunction& sample);

// Quality 100 JPEG; `rgb(x, y)` gives red in the low byte (grey uses the low byte).
Bytes makeJpeg(int width, int height, bool grey, const std::function<std::uint32_t(int, int)>& rgb,
               bool progressive = false);

// A four-component (CMYK) JPEG.
Bytes makeCmykJpeg(int width, int height);

// A bitmap file put together field by field.
struct BmpRecipe {
    std::uint32_t headerSize = 40;
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::vector<std::uint8_t> table; // raw colour table bytes as they go into the file
    std::vector<std::uint8_t> masks; // bit-field masks (12 bytes) after the header
    Bytes pixels;                    // raw pixel data as it goes into the file
};

Bytes makeBmp(const BmpRecipe& recipe);

// A fresh empty folder under the temporary directory, removed on destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    void write(const std::string& name, const Bytes& bytes) const;

private:
    std::filesystem::path m_path;
};

Bytes readFile(const std::string& path);

} // namespace morvessan::testing
