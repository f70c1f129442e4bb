// Skin composition (ramp recolouring and overlay blending on raw rows) and the
// tiling geometry the Win32 dialogs paint their backgrounds with.
#include "dialog/VXSkin.h"

#include <algorithm>

namespace morvessan {

namespace {

int channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFFu); }

// Start positions of the tiles along one axis, with the part of the picture
// each shows.
struct Span {
    int start, length, source;
};

std::vector<Span> spans(int low, int high, int offset, int tile) {
    std::vector<Span> result;
    int position = low + offset % tile;
    if (position > low) {
        position -= tile;
    }
    for (; position < high; position += tile) {
        const int first = std::max(position, low);
        const int last = std::min(position + tile, high);
        result.push_back({first, last - first, first - position});
    }
    return result;
}

} // namespace

VXSkinRamp skinRamp(const VXColourScheme& scheme) {
    const std::uint32_t stops[4] = {scheme[VXColourRole::DarkShadow], scheme[VXColourRole::Shadow],
                                    scheme[VXColourRole::Face], scheme[VXColourRole::Highlight]};
    const int positions[4] = {0, 85, 170, 255};
    VXSkinRamp ramp{};
    for (int s = 0; s < 3; ++s) {
        const int begin = 256 * positions[s] / 255;
        const int end = s == 2 ? 256 : 256 * positions[s + 1] / 255;
        const int n = end - begin;
        for (int k = 0; k < n; ++k) {
            std::uint32_t colour = 0;
            for (int shift : {0, 8, 16}) {
                const int value = ((n - k) * channel(stops[s], shift) + k * channel(stops[s + 1], shift)) / n;
                colour |= static_cast<std::uint32_t>(value) << shift;
            }
            ramp[static_cast<std::size_t>(begin + k)] = colour;
        }
    }
    return ramp;
}

std::unique_ptr<VXImage2> composeSkin(const VXImage2* background, const VXImage2* overlay,
                                      const VXColourScheme& scheme) {
    if (background == nullptr || background->isEmpty()) {
        return nullptr;
    }
    const int depth = background->bitCount();
    if (depth != 8 && depth != 24) {
        return nullptr;
    }
    const int width = background->width();
    const int height = background->rows();
    auto skin = std::make_unique<VXImage2>();
    if (!skin->create(width, height, 24)) {
        return nullptr;
    }
    // Rows are addressed from the top on both sides, so either storage order
    // works.
    if (depth == 8) {
        const VXSkinRamp ramp = skinRamp(scheme);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* in = background->row(y);
            std::uint8_t* out = skin->row(y);
            for (int x = 0; x < width; ++x) {
                const std::uint32_t colour = ramp[in[x]];
                out[3 * x] = static_cast<std::uint8_t>(colour >> 16);
                out[3 * x + 1] = static_cast<std::uint8_t>(colour >> 8);
                out[3 * x + 2] = static_cast<std::uint8_t>(colour);
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            std::copy_n(background->row(y), 3 * static_cast<std::size_t>(width), skin->row(y));
        }
    }

    if (overlay != nullptr && !overlay->isEmpty() && overlay->bitCount() == 32 && overlay->hasAlpha()) {
        const int blendWidth = std::min(width, overlay->width());
        const int blendHeight = std::min(height, overlay->rows());
        for (int y = 0; y < blendHeight; ++y) {
            const std::uint8_t* in = overlay->row(y);
            std::uint8_t* out = skin->row(y);
            for (int x = 0; x < blendWidth; ++x) {
                const int alpha = in[4 * x + 3];
                for (int c = 0; c < 3; ++c) {
                    std::uint8_t& target = out[3 * x + c];
                    target = static_cast<std::uint8_t>((alpha * in[4 * x + c] + target * (255 - alpha)) / 255);
                }
            }
        }
    }
    return skin;
}

std::vector<VXSkinTile> skinTiles(const PixelRect& rect, int offsetX, int offsetY, int tileWidth, int tileHeight) {
    std::vector<VXSkinTile> tiles;
    if (tileWidth <= 0 || tileHeight <= 0 || rect.width() <= 0 || rect.height() <= 0) {
        return tiles;
    }
    const std::vector<Span> columns = spans(rect.left, rect.right, offsetX, tileWidth);
    for (const Span& row : spans(rect.top, rect.bottom, offsetY, tileHeight)) {
        for (const Span& column : columns) {
            tiles.push_back({column.start, row.start, column.length, row.length, column.source, row.source});
        }
    }
    return tiles;
}

} // namespace morvessan
