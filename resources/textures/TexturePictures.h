// The texture pictures shipped in "Morvessan Textures": six 8-bit grey pictures
// the project draws itself (canvas, paper, bricks, scratches, cells, noise).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvessan {

struct TexturePicture {
    std::string name; // file name, e.g. "Canvas.png"
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // one grey byte per pixel, rows top to bottom
};

// Every shipped picture, drawn the same way on every run and platform.
std::vector<TexturePicture> makeTexturePictures();

// Writes `picture` as an 8-bit greyscale PNG to `path` (through a temporary file,
// so a failure leaves no partial file). Returns false with a reason in `error`.
bool writeGreyPng(const TexturePicture& picture, const std::string& path, std::string& error);

} // namespace morvessan
