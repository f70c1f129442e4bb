// How much a picture's wrap looks like a seam: the mean squared step across the
// wrap over that of the steps beside it, about 1 for a tile and many times 1 for a seam.
#pragma once

#include "host/HostImage.h"

#include <cmath>
#include <cstdint>

namespace morvessan {

// Steps are summed over every picture added (all of one size): across the wrap, and
// the four steps on either side of it (a few, so that high octaves aliased against
// the pixels average out), for each direction.
struct SeamRatio {
    static constexpr int kBeside = 4;
    double wrapX = 0, nextX = 0, wrapY = 0, nextY = 0;

    void add(const HostImage& image) {
        const std::int32_t w = image.width, h = image.height;
        const auto step = [&](std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) {
                const double d = double(image.pixel(x0, y0)[k]) - image.pixel(x1, y1)[k];
                sum += d * d;
            }
            return sum;
        };
        for (std::int32_t y = 0; y < h; ++y) {
            wrapX += step(w - 1, y, 0, y);
            for (int k = 0; k < kBeside; ++k) {
                nextX += (step(k, y, k + 1, y) + step(w - 2 - k, y, w - 1 - k, y)) / (2.0 * kBeside);
            }
        }
        for (std::int32_t x = 0; x < w; ++x) {
            wrapY += step(x, h - 1, x, 0);
            for (int k = 0; k < kBeside; ++k) {
                nextY += (step(x, k, x, k + 1) + step(x, h - 2 - k, x, h - 1 - k)) / (2.0 * kBeside);
            }
        }
    }
    double ratioX() const { return std::sqrt(wrapX / nextX); }
    double ratioY() const { return std::sqrt(wrapY / nextY); }
    // Both directions as one.
    double ratio() const { return std::sqrt((wrapX + wrapY) / (nextX + nextY)); }
};

} // namespace morvessan
