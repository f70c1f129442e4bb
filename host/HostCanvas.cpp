// Blank canvases for renders.
#include "host/HostCanvas.h"

#include "texture/TextureFieldTable.h"

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
    if (background == "transparent") {
        return HostImage(width, height, 4, 0);
    }
    std::uint32_t colour = 0xFFFFFF;
    if (background != "white") {
        isColour(background, colour);
    }
    HostImage canvas(width, height, 3);
    for (std::size_t i = 0; i < canvas.pixels.size(); i += 3) {
        for (int c = 0; c < 3; ++c) {
            canvas.pixels[i + c] = static_cast<std::uint8_t>(colour >> (8 * c));
        }
    }
    return canvas;
}

} // namespace morvessan
