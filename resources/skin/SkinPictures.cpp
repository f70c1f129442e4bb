// Drawing of the skin pictures, the cursor and the icon: the background through the
// texture engine, everything else from anti-aliased shapes held as distance fields.
#include "resources/skin/SkinPictures.h"

#include "VXLib/VXTextLabel.h"
#include "texture/ColourTable.h"
#include "texture/TextureBuilder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace morvessan {

namespace {

struct Colour {
    double red, green, blue;
};

Colour mix(const Colour& a, const Colour& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t, a.blue + (b.blue - a.blue) * t};
}

struct Point {
    double x, y;
};

// Signed distances in pixels from each pixel centre to the edge of a union of shapes,
// negative inside. Only pixels near some shape are measured; the rest stay far away.
class Shape {
public:
    Shape(int width, int height)
        : m_width(width), m_height(height), m_distance(static_cast<std::size_t>(width) * height, kFar) {}

    void addCapsule(Point a, Point b, double radius) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length2 = dx * dx + dy * dy;
        update(std::min(a.x, b.x) - radius, std::min(a.y, b.y) - radius, std::max(a.x, b.x) + radius,
               std::max(a.y, b.y) + radius, [&](double x, double y) {
                   const double t =
                       length2 > 0.0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
                   return std::hypot(x - a.x - t * dx, y - a.y - t * dy) - radius;
               });
    }

    void addDisc(Point centre, double radius) { addCapsule(centre, centre, radius); }

    void addRoundedBox(double left, double top, double right, double bottom, double radius) {
        const double cx = (left + right) / 2, cy = (top + bottom) / 2;
        const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
        update(left, top, right, bottom, [&](double x, double y) {
            const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
            return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
        });
    }

    // A convex polygon; its corners stay sharp when the shape is grown (an outline).
    void addPolygon(const std::vector<Point>& points) {
        double area = 0.0, left = points[0].x, top = points[0].y, right = left, bottom = top;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point& p = points[i];
            const Point& q = points[(i + 1) % points.size()];
            area += p.x * q.y - q.x * p.y;
            left = std::min(left, p.x), right = std::max(right, p.x);
            top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        }
        const double sense = area > 0.0 ? 1.0 : -1.0;
        update(left, top, right, bottom, [&](double x, double y) {
            double d = -kFar;
            for (std::size_t i = 0; i < points.size(); ++i) {
                const Point& p = points[i];
                const Point& q = points[(i + 1) % points.size()];
                const double ex = q.x - p.x, ey = q.y - p.y;
                // Outward normal of edge p-q for the polygon's winding.
                d = std::max(d, sense * ((x - p.x) * ey - (y - p.y) * ex) / std::hypot(ex, ey));
            }
            return d;
        });
    }

    // How much of pixel (x, y) the shape grown by `grow` pixels covers, 0..1.
    double coverage(int x, int y, double grow = 0.0) const {
        return std::clamp(0.5 + grow - m_distance[static_cast<std::size_t>(y) * m_width + x], 0.0, 1.0);
    }

private:
    static constexpr double kFar = 1e9;
    // Pixels measured beyond a shape's bounds: enough for edge blending and outlines.
    static constexpr double kReach = 3.0;

    template <class Distance>
    void update(double left, double top, double right, double bottom, Distance distance) {
        const int x0 = std::max(0, static_cast<int>(std::floor(left - kReach)));
        const int y0 = std::max(0, static_cast<int>(std::floor(top - kReach)));
        const int x1 = std::min(m_width - 1, static_cast<int>(std::ceil(right + kReach)));
        const int y1 = std::min(m_height - 1, static_cast<int>(std::ceil(bottom + kReach)));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                double& d = m_distance[static_cast<std::size_t>(y) * m_width + x];
                d = std::min(d, distance(x + 0.5, y + 0.5));
            }
        }
    }

    int m_width;
    int m_height;
    std::vector<double> m_distance;
};

// A picture with straight (not premultiplied) alpha that shapes are painted over.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height), m_pixels(std::size_t(width) * height) {}

    // Paints `colour` (by pixel centre) over what the shape grown by `grow` covers, times `opacity`.
    void paint(const Shape& shape, const std::function<Colour(double, double)>& colour, double opacity = 1.0,
               double grow = 0.0) {
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const double a = shape.coverage(x, y, grow) * opacity;
                if (a <= 0.0) {
                    continue;
                }
                Pixel& d = m_pixels[static_cast<std::size_t>(y) * m_width + x];
                const Colour c = colour(x + 0.5, y + 0.5);
                const double keep = d.alpha * (1.0 - a);
                const double alpha = a + keep;
                d.colour = {(c.red * a + d.colour.red * keep) / alpha, (c.green * a + d.colour.green * keep) / alpha,
                            (c.blue * a + d.colour.blue * keep) / alpha};
                d.alpha = alpha;
            }
        }
    }

    void paint(const Shape& shape, const Colour& colour, double opacity = 1.0, double grow = 0.0) {
        paint(
            shape, [&](double, double) { return colour; }, opacity, grow);
    }

    // 32 bits, top-down, with alpha; fully transparent pixels are all zero.
    VXImage2 toImage() const {
        VXImage2 image;
        image.create(m_width, m_height, 32);
        image.setHasAlpha(true);
        for (int y = 0; y < m_height; ++y) {
            std::uint8_t* out = image.row(y);
            for (int x = 0; x < m_width; ++x, out += 4) {
                const Pixel& p = m_pixels[static_cast<std::size_t>(y) * m_width + x];
                const int alpha = static_cast<int>(p.alpha * 255.0 + 0.5);
                if (alpha == 0) {
                    continue;
                }
                out[0] = toByte(p.colour.blue);
                out[1] = toByte(p.colour.green);
                out[2] = toByte(p.colour.red);
                out[3] = static_cast<std::uint8_t>(alpha);
            }
        }
        return image;
    }

    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    struct Pixel {
        Colour colour{0.0, 0.0, 0.0};
        double alpha = 0.0;
    };

    static std::uint8_t toByte(double value) {
        return static_cast<std::uint8_t>(std::clamp(static_cast<int>(value + 0.5), 0, 255));
    }

    int m_width;
    int m_height;
    std::vector<Pixel> m_pixels;
};

// Text in the label font with rounded strokes: each lit cell becomes a dot joined to
// its lit neighbours, so the letters read as drawn lines rather than blocks.
void addText(Shape& shape, const std::string& text, double left, double top, double cell, double radius) {
    std::set<std::pair<int, int>> lit;
    forEachLabelCell(text, [&](std::int32_t x, std::int32_t y) { lit.insert({x, y}); });
    const auto on = [&](int x, int y) { return lit.count({x, y}) != 0; };
    const auto centre = [&](int x, int y) { return Point{left + (x + 0.5) * cell, top + (y + 0.5) * cell}; };
    for (const auto& [x, y] : lit) {
        shape.addDisc(centre(x, y), radius);
        if (on(x + 1, y)) {
            shape.addCapsule(centre(x, y), centre(x + 1, y), radius);
        }
        if (on(x, y + 1)) {
            shape.addCapsule(centre(x, y), centre(x, y + 1), radius);
        }
        // A diagonal step joins only where no straight path does already.
        if (on(x + 1, y + 1) && !on(x + 1, y) && !on(x, y + 1)) {
            shape.addCapsule(centre(x, y), centre(x + 1, y + 1), radius);
        }
        if (on(x - 1, y + 1) && !on(x - 1, y) && !on(x, y + 1)) {
            shape.addCapsule(centre(x, y), centre(x - 1, y + 1), radius);
        }
    }
}

void paintText(Canvas& canvas, const std::string& text, double left, double top, double cell, double radius,
               const Colour& colour) {
    Shape shape(canvas.width(), canvas.height());
    addText(shape, text, left, top, cell, radius);
    canvas.paint(shape, colour);
}

// The logo: a rounded tile shading from deep blue to teal with a white "M" drawn in one
// stroke, at (left, top), `size` pixels square.
void paintLogo(Canvas& canvas, double left, double top, double size) {
    const Colour deepBlue{38, 70, 128};
    const Colour teal{46, 142, 158};
    Shape tile(canvas.width(), canvas.height());
    tile.addRoundedBox(left, top, left + size, top + size, size * 0.22);
    canvas.paint(tile, [&](double x, double y) { return mix(deepBlue, teal, (x - left + y - top) / (2 * size)); });

    const Point stroke[] = {{0.26, 0.74}, {0.26, 0.28}, {0.5, 0.58}, {0.74, 0.28}, {0.74, 0.74}};
    Shape mark(canvas.width(), canvas.height());
    for (std::size_t i = 0; i + 1 < std::size(stroke); ++i) {
        mark.addCapsule({left + stroke[i].x * size, top + stroke[i].y * size},
                        {left + stroke[i + 1].x * size, top + stroke[i + 1].y * size}, size * 0.075);
    }
    canvas.paint(mark, Colour{255, 255, 255});
}

} // namespace

VXImage2 makeSkinBackground() {
    // A low-contrast cloud: the controls are drawn over it and must stay readable.
    TextureFields fields;
    fields.type = kCloud;
    fields.noiseLevel = 5.0;
    fields.noiseSeed = 2718;
    fields.colourCount = 3;
    fields.colours[0] = 0xFFC8B8AEu; // 0xAABBGGRR: red 174, green 184, blue 200
    fields.colours[1] = 0xFFDCD0C6u;
    fields.colours[2] = 0xFFEAE4DEu;
    fields.positions[0] = 0;
    fields.positions[1] = 128;
    fields.positions[2] = 255;
    fields.transformation = scaling(2.5, 2.5);
    const std::unique_ptr<Texture3D> texture = makeTexture(fields);
    const std::vector<ColourEntry> table = buildColourTable(fields, ColourOrder::Display);

    VXImage2 image;
    image.create(kSkinWidth, kSkinHeight, 24);
    for (int y = 0; y < kSkinHeight; ++y) {
        std::uint8_t* out = image.row(y);
        for (int x = 0; x < kSkinWidth; ++x, out += 3) {
            // One scale on both axes, so the cloud is not stretched.
            const double v = texture->evaluate(double(x) / kSkinWidth, double(y) / kSkinWidth);
            const ColourEntry& entry = table[lookupIndex(v)];
            out[0] = entry.channel[0];
            out[1] = entry.channel[1];
            out[2] = entry.channel[2];
        }
    }

    // The frame: a dark outer line and a softer one inside it (blue, green, red).
    const std::uint8_t frame[2][3] = {{98, 76, 64}, {146, 124, 110}};
    for (int ring = 0; ring < 2; ++ring) {
        for (int y = ring; y < kSkinHeight - ring; ++y) {
            for (int x = ring; x < kSkinWidth - ring; ++x) {
                if (y == ring || y == kSkinHeight - 1 - ring || x == ring || x == kSkinWidth - 1 - ring) {
                    std::copy(frame[ring], frame[ring] + 3, image.row(y) + 3 * x);
                }
            }
        }
    }
    return image;
}

VXImage2 makeSkinOverlay() {
    Canvas canvas(kSkinWidth, kSkinHeight);
    paintLogo(canvas, 16, 12, 48);
    paintText(canvas, "Morvessan", 80, 12, 3.0, 1.6, Colour{30, 44, 70});
    paintText(canvas, "Procedural textures", 80, 40, 1.6, 0.8, Colour{52, 68, 96});
    paintText(canvas, "Cloud, Fire, Marble and Wood", 80, 56, 1.3, 0.65, Colour{72, 88, 116});
    return canvas.toImage();
}

VXImage2 composeSkin(const VXImage2& background, const VXImage2& overlay) {
    VXImage2 result;
    if (background.bitCount() != 24 || overlay.bitCount() != 32 || !overlay.hasAlpha() ||
        !result.create(background.width(), background.height(), 24)) {
        return VXImage2();
    }
    for (int y = 0; y < background.height(); ++y) {
        std::copy(background.row(y), background.row(y) + 3 * background.width(), result.row(y));
    }
    const int width = std::min(background.width(), overlay.width());
    const int height = std::min(background.height(), overlay.height());
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = result.row(y);
        const std::uint8_t* in = overlay.row(y);
        for (int x = 0; x < width; ++x, out += 3, in += 4) {
            const int alpha = in[3];
            for (int c = 0; c < 3; ++c) {
                out[c] = static_cast<std::uint8_t>((alpha * in[c] + out[c] * (255 - alpha)) / 255);
            }
        }
    }
    return result;
}

VXImage2 makePanCursor() {
    constexpr double c = kPanCursorHotspot + 0.5; // the centre of the hotspot pixel
    constexpr double reach = 13.5, head = 5.0, halfHead = 3.5, halfShaft = 0.5;
    Shape arrow(32, 32);
    arrow.addRoundedBox(c - reach + head, c - halfShaft, c + reach - head, c + halfShaft, 0.0);
    arrow.addRoundedBox(c - halfShaft, c - reach + head, c + halfShaft, c + reach - head, 0.0);
    for (const int sx : {-1, 1}) {
        const double tip = c + sx * reach, base = c + sx * (reach - head);
        arrow.addPolygon({{tip, c}, {base, c - halfHead}, {base, c + halfHead}});
        arrow.addPolygon({{c, tip}, {c - halfHead, base}, {c + halfHead, base}});
    }
    // Black with a white edge, as cursors are, so it shows on any picture.
    Canvas canvas(32, 32);
    canvas.paint(arrow, Colour{255, 255, 255}, 1.0, 1.0);
    canvas.paint(arrow, Colour{0, 0, 0});
    return canvas.toImage();
}

VXImage2 makeLogoIcon(int size) {
    Canvas canvas(size, size);
    paintLogo(canvas, 0, 0, size);
    return canvas.toImage();
}

} // namespace morvessan
