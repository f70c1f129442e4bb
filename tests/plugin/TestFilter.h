// A small filter for driving the generic driver through PluginMain: it records
// what it is handed and writes a pattern that depends only on the pixel's place.
#pragma once

#include "host/FilterHost.h"
#include "plugin/PluginMain.h"
#include "plugin/VXPSErrors.h"
#include "plugin/VXPSFilter.h"

#include <functional>
#include <string>
#include <vector>

namespace morvessan::test {

class TestFilter : public VXPSFilter {
public:
    struct Tile {
        VXPSRect rect;
        bool masked;
        PixelBlock in, out, mask;
    };

    std::int32_t parameterSize = 16;
    bool allowAlpha = true;
    std::function<void(TestFilter&)> start; // what DoStart does; default FilterImage
    std::vector<Tile> tiles;
    std::vector<bool> beginRenders;
    unsigned char* block = nullptr;
    int initialised = 0;
    int restored = 0;

    void DoStart() override {
        EnableAlpha(allowAlpha);
        if (start) {
            start(*this);
        } else {
            FilterImage();
        }
    }
    std::int32_t GetParameterSize() override { return parameterSize; }
    void SetParameterBlock(void* b) override { block = static_cast<unsigned char*>(b); }
    void InitialiseParameters() override {
        ++initialised;
        for (std::int32_t i = 0; i < parameterSize; ++i) {
            block[i] = static_cast<unsigned char>(0xA0 + i);
        }
    }
    void ParametersRestored() override { ++restored; }
    void BeginRender(bool preview) override { beginRenders.push_back(preview); }

    // out = a colour that depends on the image position only; in layout order.
    static void pattern(std::int32_t x, std::int32_t y, std::uint8_t rgb[3]) {
        rgb[0] = static_cast<std::uint8_t>(x * 7 + y);
        rgb[1] = static_cast<std::uint8_t>(y * 3);
        rgb[2] = static_cast<std::uint8_t>(x ^ y);
    }
    void paint(const PixelBlock& in, const PixelBlock& out, const PixelBlock* mask, const VXPSRect& rect) {
        const std::int32_t fx = rect.width() / in.width;
        const std::int32_t fy = rect.height() / in.height;
        const bool bgr = out.layout == kLayoutBGR || out.layout == kLayoutBGRA;
        for (std::int32_t y = 0; y < out.height; ++y) {
            for (std::int32_t x = 0; x < out.width; ++x) {
                std::uint8_t rgb[3];
                pattern(rect.left + x * fx, rect.top + y * fy, rgb);
                std::uint8_t* o = out.row(y) + x * out.bytesPerPixel;
                const std::uint8_t* i = in.row(y) + x * in.bytesPerPixel;
                const std::uint8_t m = mask ? mask->row(y)[x] : 255;
                for (int c = 0; c < 3; ++c) {
                    const std::uint8_t v = rgb[bgr ? 2 - c : c];
                    o[c] = m >= 128 ? v : i[c];
                }
                if (out.bytesPerPixel == 4) {
                    o[3] = static_cast<std::uint8_t>(255 - i[3]);
                }
            }
        }
    }
    void RenderTile(const PixelBlock& in, const PixelBlock& out, const VXPSRect& rect) override {
        tiles.push_back({rect, false, in, out, {}});
        paint(in, out, nullptr, rect);
    }
    void RenderMaskedTile(const PixelBlock& in, const PixelBlock& out, const PixelBlock& mask,
                          const VXPSRect& rect) override {
        tiles.push_back({rect, true, in, out, mask});
        paint(in, out, &mask, rect);
    }
};

// Puts a filter behind PluginMain for the life of the object.
class PluginOverride {
public:
    explicit PluginOverride(VXPSPlugin& plugin) : m_previous(vxSetPluginOverride(&plugin)) {}
    ~PluginOverride() { vxSetPluginOverride(m_previous); }
    PluginOverride(const PluginOverride&) = delete;
    PluginOverride& operator=(const PluginOverride&) = delete;

private:
    VXPSPlugin* m_previous;
};

// An image whose every pixel differs from its neighbours.
inline HostImage gradientImage(std::int32_t w, std::int32_t h, std::int32_t planes) {
    HostImage image(w, h, planes);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            std::uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(x + 2 * y);
            if (planes == 4) {
                p[3] = static_cast<std::uint8_t>(100 + x % 50);
            }
        }
    }
    return image;
}

} // namespace morvessan::test
