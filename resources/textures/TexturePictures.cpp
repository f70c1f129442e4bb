// Drawing of the shipped texture pictures, in integer arithmetic and our own
// random sequence so that every build draws the same pixels, and their PNG files.
#include "resources/textures/TexturePictures.h"

#include "VXLib/VXImage2.h"
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXPalette.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace morvessan {

namespace {

constexpr int kSize = 256;

// A small linear congruential sequence (the same constants as the run-time's rand).
class Sequence {
public:
    explicit Sequence(std::uint32_t seed) : m_state(seed) {}
    int next(int range) {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF) % range;
    }

private:
    std::uint32_t m_state;
};

std::uint8_t clampByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

TexturePicture blank(const char* name, std::uint8_t fill) {
    return {name, kSize, kSize, std::vector<std::uint8_t>(kSize * kSize, fill)};
}

// Smooth value noise on a wrapping lattice of `cells` per side, amplitude 0..255.
std::vector<int> valueNoise(int cells, std::uint32_t seed) {
    Sequence random(seed);
    std::vector<int> lattice(cells * cells);
    for (int& value : lattice)
        value = random.next(256);
    std::vector<int> out(kSize * kSize);
    const int step = kSize / cells;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int cx = x / step, cy = y / step;
            const int fx = x % step, fy = y % step;
            const int a = lattice[cy * cells + cx];
            const int b = lattice[cy * cells + (cx + 1) % cells];
            const int c = lattice[((cy + 1) % cells) * cells + cx];
            const int d = lattice[((cy + 1) % cells) * cells + (cx + 1) % cells];
            const int top = a * (step - fx) + b * fx;
            const int bottom = c * (step - fx) + d * fx;
            out[y * kSize + x] = (top * (step - fy) + bottom * fy) / (step * step);
        }
    }
    return out;
}

TexturePicture canvas() {
    TexturePicture picture = blank("Canvas.png", 0);
    const std::vector<int> grain = valueNoise(64, 11);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Threads four pixels wide, over and under in a checkerboard weave.
            const bool warpOnTop = ((x / 4) + (y / 4)) % 2 == 0;
            const int along = warpOnTop ? y % 4 : x % 4;
            const int across = warpOnTop ? x % 4 : y % 4;
            const int shade = 150 + (across == 0 || across == 3 ? -35 : 25) + (along == 0 ? -15 : 0);
            picture.pixels[y * kSize + x] = clampByte(shade + (grain[y * kSize + x] - 128) / 6);
        }
    }
    return picture;
}

TexturePicture paper() {
    TexturePicture picture = blank("Paper.png", 0);
    const std::vector<int> coarse = valueNoise(8, 21);
    const std::vector<int> fine = valueNoise(64, 22);
    const std::vector<int> fibres = valueNoise(128, 23);
    for (int i = 0; i < kSize * kSize; ++i) {
        picture.pixels[i] = clampByte(200 + (coarse[i] - 128) / 8 + (fine[i] - 128) / 6 + (fibres[i] - 128) / 8);
    }
    return picture;
}

TexturePicture bricks() {
    TexturePicture picture = blank("Bricks.png", 0);
    const std::vector<int> surface = valueNoise(64, 31);
    Sequence random(32);
    int brightness[8][4];
    for (auto& row : brightness) {
        for (int& value : row)
            value = 120 + random.next(60);
    }
    for (int y = 0; y < kSize; ++y) {
        const int row = y / 32;
        const int offset = row % 2 == 0 ? 0 : 32; // every other row is laid half a brick over
        for (int x = 0; x < kSize; ++x) {
            const int bx = (x + offset) % kSize;
            const bool mortar = y % 32 < 4 || bx % 64 < 4;
            const int value = mortar ? 60 + (surface[y * kSize + x] - 128) / 10
                                     : brightness[row][bx / 64] + (surface[y * kSize + x] - 128) / 4;
            picture.pixels[y * kSize + x] = clampByte(value);
        }
    }
    return picture;
}

TexturePicture scratches() {
    TexturePicture picture = blank("Scratches.png", 215);
    Sequence random(41);
    for (int line = 0; line < 90; ++line) {
        int x = random.next(kSize) * 16, y = random.next(kSize) * 16; // 1/16 pixel steps
        const int dx = random.next(33) - 16, dy = random.next(33) - 16;
        const int length = 20 + random.next(160);
        const int depth = 40 + random.next(120);
        for (int i = 0; i < length; ++i) {
            const int px = ((x >> 4) % kSize + kSize) % kSize, py = ((y >> 4) % kSize + kSize) % kSize;
            std::uint8_t& pixel = picture.pixels[py * kSize + px];
            pixel = clampByte(pixel - depth * (length - i) / length);
            x += dx;
            y += dy;
        }
    }
    return picture;
}

TexturePicture cells() {
    TexturePicture picture = blank("Cells.png", 0);
    Sequence random(51);
    constexpr int kPoints = 28;
    int px[kPoints], py[kPoints];
    for (int i = 0; i < kPoints; ++i) {
        px[i] = random.next(kSize);
        py[i] = random.next(kSize);
    }
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Squared distances to the nearest and second nearest point, wrapping at the edges.
            int nearest = 1 << 30, second = 1 << 30;
            for (int i = 0; i < kPoints; ++i) {
                int dx = std::abs(x - px[i]), dy = std::abs(y - py[i]);
                dx = std::min(dx, kSize - dx);
                dy = std::min(dy, kSize - dy);
                const int d = dx * dx + dy * dy;
                if (d < nearest) {
                    second = nearest;
                    nearest = d;
                } else if (d < second) {
                    second = d;
                }
            }
            // Bright cell walls where the two distances meet, darker towards the middles.
            const double wall = std::sqrt(double(second)) - std::sqrt(double(nearest));
            picture.pixels[y * kSize + x] = clampByte(250 - static_cast<int>(wall * 5.0));
        }
    }
    return picture;
}

TexturePicture noise() {
    TexturePicture picture = blank("Noise.png", 0);
    Sequence random(61);
    std::vector<int> raw(kSize * kSize);
    for (int& value : raw)
        value = random.next(256);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // A light 3 x 3 blur, wrapping: noise that still reads as a surface.
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    sum += raw[((y + dy + kSize) % kSize) * kSize + (x + dx + kSize) % kSize] *
                           (dx == 0 && dy == 0 ? 4 : 1);
                }
            }
            picture.pixels[y * kSize + x] = clampByte((sum / 12 - 128) * 2 + 128);
        }
    }
    return picture;
}

} // namespace

std::vector<TexturePicture> makeTexturePictures() {
    return {canvas(), paper(), bricks(), scratches(), cells(), noise()};
}

bool writeGreyPng(const TexturePicture& picture, const std::string& path, std::string& error) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        error = "picture " + picture.name + " has no pixels or the wrong number of them";
        return false;
    }
    const VXPalette grey = VXPalette::greyPalette();
    VXImage2 image;
    if (!image.create(picture.width, picture.height, 8, &grey)) {
        error = "cannot hold picture " + picture.name;
        return false;
    }
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(image.row(y), picture.pixels.data() + static_cast<std::size_t>(y) * picture.width,
                    static_cast<std::size_t>(picture.width));
    }
    return saveImageFile(path, image, &error);
}

} // namespace morvessan
