// Blank canvases for renders.
#include "host/HostCanvas.h"

#include "texture/TextureFieldTable.h"

#include <algorithm>

namespace morvessan {

namespace {

bool isColour(std::string_view background, std::uint32_t& colour) {
    return background.size() == 7 && parseHexColour(background, colour);
}

} // namespace

std::string canvasBackgroundProblem(std::string_view background) {
    std::uint32_t colour = 0;
    if (background == "white" || background == "transparent" || isColour(background, colour)) {
        return {};
    }
    return "background '" + std::string(background) + "' is not white, transparent or #RRGGBB";
}

HostImage blankCanvas(std::int32_t width, std::int32_t height, std::string_view background) {
    HostImage canvas = canvasShape(width, height, background);
    canvas.pixels.resize(static_cast<std::size_t>(width) * height * canvas.planes);
    const auto fill = canvasRows(width, background);
    for (std::int32_t y = 0; y < height; ++y) {
        fill(y, canvas.pixel(0, y));
    }
    return canvas;
}

HostImage canvasShape(std::int32_t width, std::int32_t height, std::string_view background) {
    HostImage shape;
    shape.width = width;
    shape.height = height;
    shape.planes = background == "transparent" ? 4 : 3;
    return shape;
}

std::function<void(std::int32_t y, std::uint8_t* row)> canvasRows(std::int32_t width, std::string_view background) {
    std::uint32_t colour = 0xFFFFFF;
    if (background == "transparent") {
        return [width](std::int32_t, std::uint8_t* row) { std::fill(row, row + std::size_t(width) * 4, 0); };
    }
    if (background != "white") {
        isColour(background, colour);
    }
    return [width, colour](std::int32_t, std::uint8_t* row) {
        for (std::int32_t x = 0; x < width; ++x, row += 3) {
            for (int c = 0; c < 3; ++c) {
                row[c] = static_cast<std::uint8_t>(colour >> (8 * c));
            }
        }
    };
}

} // namespace morvessan
