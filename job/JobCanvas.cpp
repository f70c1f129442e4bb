// Blank canvases for renders.
#include "job/JobCanvas.h"

#include "texture/TextureFieldTable.h"

#include <algorithm>
#include <memory>
#include <vector>

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
    // One row made here and copied for every row: rows are asked for one by one.
    auto pattern = std::make_shared<std::vector<std::uint8_t>>(std::size_t(width) * 3);
    for (std::size_t i = 0; i < pattern->size(); ++i) {
        (*pattern)[i] = static_cast<std::uint8_t>(colour >> (8 * (i % 3)));
    }
    return [pattern](std::int32_t, std::uint8_t* row) { std::copy(pattern->begin(), pattern->end(), row); };
}

} // namespace morvessan
