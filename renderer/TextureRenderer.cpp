// The per-tile pipeline: all values of a tile in one buffer of doubles, effects in
// the order noise, blur, picture, then colouring by a row routine chosen once per
// tile; rows are shared between threads, and the blur alone needs the whole buffer.
#include "renderer/TextureRenderer.h"

#include "VXLib/VXImage2.h"
#include "renderer/ColourRows.h"
#include "renderer/RenderThreads.h"
#include "texture/UsableFields.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

namespace {

double clampValue(double v) { return std::clamp(v, -1.0, 1.0); }

// The first `count` elements of a buffer that only grows.
template <typename T>
T* sized(std::vector<T>& buffer, std::size_t count) {
    if (buffer.size() < count) {
        buffer.resize(count);
    }
    return buffer.data();
}

// Box average over (2b+1)² values of the bordered buffer, by running sums along
// each row and then down each column; rows, then columns, are shared between threads.
double* boxBlur(const double* values, std::int32_t width, std::int32_t height, std::int32_t b, TileBuffers& buffers) {
    const std::int32_t bw = width + 2 * b;
    const std::int32_t bh = height + 2 * b;
    const std::int32_t span = 2 * b + 1;
    double* rows = sized(buffers.rowSums, static_cast<std::size_t>(width) * bh);
    forEachPart(bh, [&](std::int32_t first, std::int32_t last) {
        for (std::int32_t y = first; y < last; ++y) {
            const double* v = values + static_cast<std::size_t>(y) * bw;
            double* r = rows + static_cast<std::size_t>(y) * width;
            double sum = 0.0;
            for (std::int32_t k = 0; k < span; ++k) {
                sum += v[k];
            }
            r[0] = sum;
            for (std::int32_t x = 1; x < width; ++x) {
                sum += v[x + span - 1];
                sum -= v[x - 1];
                r[x] = sum;
            }
        }
    });
    double* result = sized(buffers.blurred, static_cast<std::size_t>(width) * height);
    const double divisor = static_cast<double>(span) * span;
    double* sums = sized(buffers.columnSums, static_cast<std::size_t>(width));
    forEachPart(width, [&](std::int32_t first, std::int32_t last) {
        std::fill(sums + first, sums + last, 0.0);
        for (std::int32_t k = 0; k < span; ++k) {
            const double* r = rows + static_cast<std::size_t>(k) * width;
            for (std::int32_t x = first; x < last; ++x) {
                sums[x] += r[x];
            }
        }
        for (std::int32_t y = 0; y < height; ++y) {
            if (y > 0) {
                const double* enter = rows + static_cast<std::size_t>(y + span - 1) * width;
                const double* leave = rows + static_cast<std::size_t>(y - 1) * width;
                for (std::int32_t x = first; x < last; ++x) {
                    sums[x] += enter[x];
                    sums[x] -= leave[x];
                }
            }
            double* out = result + static_cast<std::size_t>(y) * width;
            for (std::int32_t x = first; x < last; ++x) {
                out[x] = clampValue(sums[x] / divisor);
            }
        }
    });
    return result;
}

// One colouring routine per combination, so the choices are made once per tile.
template <bool Masked, bool Scale, bool Overwrite, int Bytes>
void colourPixels(const double* values, const ColourEntry* table, const PixelBlock& in, const PixelBlock& out,
                  const PixelBlock& mask, std::int32_t first, std::int32_t last) {
    // The lanes take the common case: three bytes, neither mask nor brightness.
    const ColourRowRoutine lanes = !Masked && !Scale && Bytes == 3 ? colourRowRoutine() : nullptr;
    for (std::int32_t y = first; y < last; ++y) {
        const double* v = values + static_cast<std::size_t>(y) * out.width;
        const std::uint8_t* i = in.row(y);
        std::uint8_t* o = out.row(y);
        const std::uint8_t* m = Masked ? mask.row(y) : nullptr;
        const std::int32_t start = lanes ? lanes(v, table, i, o, out.width, Overwrite) : 0;
        i += start * Bytes;
        o += start * Bytes;
        for (std::int32_t x = start; x < out.width; ++x, i += Bytes, o += Bytes) {
            const int index = Scale ? scaledLookupIndex(v[x], i[0] + i[1] + i[2]) : lookupIndex(v[x]);
            const ColourEntry& c = table[index];
            unsigned a = c.alpha;
            if (Overwrite && Bytes == 3) {
                o[0] = c.channel[0];
                o[1] = c.channel[1];
                o[2] = c.channel[2];
                continue;
            }
            if (Masked) {
                a = a * m[x] / 255u;
            }
            if (Overwrite) {
                o[0] = c.channel[0];
                o[1] = c.channel[1];
                o[2] = c.channel[2];
                o[3] = static_cast<std::uint8_t>(a);
                continue;
            }
            if (Bytes == 3) {
                // Read before writing: `in` and `out` may be the same pixels. Every
                // sum is below 2^16, where x / 255 is (x * 0x8081) >> 23 exactly.
                const unsigned s0 = i[0];
                const unsigned s1 = i[1];
                const unsigned s2 = i[2];
                const unsigned rest = 255u - a;
                o[0] = static_cast<std::uint8_t>(((s0 * rest + c.channel[0] * a) * 0x8081u) >> 23);
                o[1] = static_cast<std::uint8_t>(((s1 * rest + c.channel[1] * a) * 0x8081u) >> 23);
                o[2] = static_cast<std::uint8_t>(((s2 * rest + c.channel[2] * a) * 0x8081u) >> 23);
            } else {
                const unsigned s = i[3];
                const unsigned t = s * a / 255u;
                const unsigned total = s + a - t;
                if (total == 0) {
                    o[0] = o[1] = o[2] = o[3] = 0;
                    continue;
                }
                std::uint8_t result[3];
                for (int k = 0; k < 3; ++k) {
                    result[k] = static_cast<std::uint8_t>((i[k] * s * (255u - a) / 255u + c.channel[k] * a) / total);
                }
                o[0] = result[0];
                o[1] = result[1];
                o[2] = result[2];
                o[3] = static_cast<std::uint8_t>(total);
            }
        }
    }
}

using ColourRoutine = void (*)(const double*, const ColourEntry*, const PixelBlock&, const PixelBlock&,
                               const PixelBlock&, std::int32_t, std::int32_t);

template <int Bytes>
ColourRoutine chooseRoutine(bool masked, bool scale, bool overwrite) {
    if (scale && overwrite) {
        return masked ? &colourPixels<true, true, true, Bytes> : &colourPixels<false, true, true, Bytes>;
    }
    if (overwrite && !masked) {
        return &colourPixels<false, false, true, Bytes>;
    }
    if (scale) {
        return masked ? &colourPixels<true, true, false, Bytes> : &colourPixels<false, true, false, Bytes>;
    }
    return masked ? &colourPixels<true, false, false, Bytes> : &colourPixels<false, false, false, Bytes>;
}

} // namespace

std::int32_t blurBorder(const TextureFields& fields, std::int32_t width, std::int32_t rectWidth) {
    if (!fields.blurEnabled || width <= 0 || rectWidth <= 0) {
        return 0;
    }
    const std::int64_t blur = usableBlur(fields.blur);
    return static_cast<std::int32_t>(((blur / 5 + 1) * width + rectWidth / 2) / rectWidth);
}

namespace {

// One tile's values, pass by pass: texture and grain on rows of the bordered
// buffer, the blur over it all, the picture on rows of the result. What the
// rows share (coordinates, grain draws, picture rows) is worked out first,
// so that parts of rows can go to different threads.
class TileValues {
public:
    TileValues(const TextureRenderSettings& settings, TileBuffers& buffers, std::int32_t width, std::int32_t height,
               const VXPSRect& rect)
        : m_settings(settings), m_fields(*settings.fields), m_buffers(buffers), m_width(width), m_height(height) {
        const std::int32_t rectWidth = std::max(rect.width(), 1);
        const double fw = std::max(settings.filterRect.width(), 1);
        const double fh = std::max(settings.filterRect.height(), 1);
        const double x0 = (rect.left - settings.filterRect.left) / fw;
        const double y0 = (rect.top - settings.filterRect.top) / fh;
        const double dx = rect.width() / (fw * width);
        const double dy = rect.height() / (fh * height);
        m_border = blurBorder(m_fields, width, rectWidth);
        m_bordered_width = width + 2 * m_border;
        m_bordered_height = height + 2 * m_border;
        // Coordinates advance by repeated addition, the same along every row.
        m_xs = sized(buffers.xs, static_cast<std::size_t>(m_bordered_width));
        double x = x0 - m_border * dx;
        for (std::int32_t i = 0; i < m_bordered_width; ++i) {
            m_xs[i] = x;
            x += dx;
        }
        m_ys = sized(buffers.ys, static_cast<std::size_t>(m_bordered_height));
        double y = y0 - m_border * dy;
        for (std::int32_t i = 0; i < m_bordered_height; ++i) {
            m_ys[i] = y;
            y += dy;
        }
        const std::size_t count = static_cast<std::size_t>(m_bordered_width) * m_bordered_height;
        // The grain comes from one sequence in buffer order: drawn here, added by the rows.
        if (m_fields.noiseEnabled && settings.random) {
            m_draws = sized(buffers.draws, count);
            for (std::size_t i = 0; i < count; ++i) {
                m_draws[i] = settings.random->Next();
            }
            m_grain = static_cast<double>(m_fields.noise) * width * 0.01 / rectWidth;
        }
        m_values = sized(buffers.values, count);
        if (m_fields.textureEnabled && settings.textureImage) {
            preparePicture(*settings.textureImage, rect);
        }
    }

    bool blurs() const { return m_fields.blurEnabled; }
    std::int32_t borderedHeight() const { return m_bordered_height; }
    const double* values() const { return m_values; }

    // Texture and grain for rows [first, last) of the bordered buffer.
    void evaluate(std::int32_t first, std::int32_t last) {
        for (std::int32_t row = first; row < last; ++row) {
            const std::size_t start = static_cast<std::size_t>(row) * m_bordered_width;
            double* v = m_values + start;
            m_settings.texture->evaluateRow(m_xs, m_ys[row], m_bordered_width, v);
            if (m_draws) {
                const std::uint32_t* d = m_draws + start;
                for (std::int32_t column = 0; column < m_bordered_width; ++column) {
                    const double u = d[column] / 4294967295.0;
                    v[column] = clampValue(v[column] + m_grain * (u - 0.5));
                }
            }
        }
    }

    void blur() { m_values = boxBlur(m_values, m_width, m_height, m_border, m_buffers); }

    // The texture picture over rows [first, last) of the W × H values.
    void picture(std::int32_t first, std::int32_t last) {
        if (!m_picture) {
            return;
        }
        const std::int32_t tw = m_picture->width();
        for (std::int32_t y = first; y < last; ++y) {
            const std::uint8_t* p = m_picture->row(m_picture_rows[y]);
            double* v = m_values + static_cast<std::size_t>(y) * m_width;
            std::int32_t column = m_picture_column;
            for (std::int32_t x = 0; x < m_width; ++x) {
                v[x] = clampValue(v[x] + m_picture_strength * static_cast<double>(p[column] - 128) * 0.000078125);
                column += m_picture_step;
                if (column >= tw) {
                    column -= tw;
                }
            }
        }
    }

private:
    void preparePicture(const VXImage2& map, const VXPSRect& rect) {
        const std::int32_t tw = map.width();
        const std::int32_t th = map.height();
        if (tw <= 0 || th <= 0 || map.bitCount() != 8) {
            return;
        }
        const auto wrap = [](std::int64_t value, std::int32_t size) {
            const std::int64_t m = value % size;
            return static_cast<std::int32_t>(m < 0 ? m + size : m);
        };
        m_picture = &map;
        m_picture_strength = static_cast<double>(m_fields.textureAmount);
        m_picture_column = wrap(rect.left, tw);
        m_picture_step = wrap(rect.width() / m_width, tw);
        // The picture row of each value row, stepped as before, so the rows can be shared out.
        const std::int32_t stepY = wrap(rect.height() / m_height, th);
        std::int32_t row = wrap(rect.top, th);
        m_picture_rows = sized(m_buffers.pictureRows, static_cast<std::size_t>(m_height));
        for (std::int32_t y = 0; y < m_height; ++y) {
            m_picture_rows[y] = row;
            row += stepY;
            if (row >= th) {
                row -= th;
            }
        }
    }

    const TextureRenderSettings& m_settings;
    const TextureFields& m_fields;
    TileBuffers& m_buffers;
    std::int32_t m_width;
    std::int32_t m_height;
    std::int32_t m_border = 0;
    std::int32_t m_bordered_width = 0;
    std::int32_t m_bordered_height = 0;
    double* m_xs = nullptr;
    double* m_ys = nullptr;
    double* m_values = nullptr;
    std::uint32_t* m_draws = nullptr; // null without grain
    double m_grain = 0.0;
    const VXImage2* m_picture = nullptr; // null without a usable picture
    double m_picture_strength = 0.0;
    std::int32_t m_picture_column = 0;
    std::int32_t m_picture_step = 0;
    std::int32_t* m_picture_rows = nullptr;
};

// Runs every pass of a tile, then `finish` on each part of its rows. Without a
// blur no row needs another, so each part goes through every pass at once, while
// its values are still in the cache; the blur needs the whole buffer first.
template <typename Finish>
void runPasses(TileValues& tile, std::int32_t height, const Finish& finish) {
    if (tile.blurs()) {
        forEachPart(tile.borderedHeight(), [&](std::int32_t first, std::int32_t last) { tile.evaluate(first, last); });
        tile.blur();
    }
    forEachPart(height, [&](std::int32_t first, std::int32_t last) {
        if (!tile.blurs()) {
            tile.evaluate(first, last);
        }
        tile.picture(first, last);
        finish(first, last);
    });
}

} // namespace

std::vector<double> textureValues(const TextureRenderSettings& settings, std::int32_t width, std::int32_t height,
                                  const VXPSRect& rect) {
    TileBuffers buffers;
    TileValues tile(settings, buffers, width, height, rect);
    runPasses(tile, height, [](std::int32_t, std::int32_t) {});
    return std::vector<double>(tile.values(), tile.values() + static_cast<std::size_t>(width) * height);
}

void renderTextureTile(const TextureRenderSettings& settings, const PixelBlock& in, const PixelBlock& out,
                       const PixelBlock& mask, const VXPSRect& rect) {
    if (out.width <= 0 || out.height <= 0 || !out.data || !in.data || !settings.texture || !settings.colourTable ||
        !settings.fields || rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    TileBuffers ownBuffers;
    TileValues tile(settings, settings.buffers ? *settings.buffers : ownBuffers, out.width, out.height, rect);
    const bool masked = mask.data != nullptr;
    const bool scale = settings.scaleBySource;
    // Over an opaque gradient without a mask, blending gives the entry's colour
    // exactly (and full opacity), so the source need not be read.
    const bool opaque = std::all_of(settings.colourTable, settings.colourTable + kColourTableSize,
                                    [](const ColourEntry& entry) { return entry.alpha == 255; });
    const bool overwrite = (scale && settings.overwriteSource) || (opaque && !masked);
    const ColourRoutine routine = out.bytesPerPixel == 4 ? chooseRoutine<4>(masked, scale, overwrite)
                                                         : chooseRoutine<3>(masked, scale, overwrite);
    runPasses(tile, out.height, [&](std::int32_t first, std::int32_t last) {
        routine(tile.values(), settings.colourTable, in, out, mask, first, last);
    });
}

} // namespace morvessan
