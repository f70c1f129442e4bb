// A small built-in 5 × 7 bitmap font for text drawn without a window system:
// labels on preset sheets, and the lines of text on the dialog skin.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace morvessan {

// Each character takes 6 cells across (5 of glyph, 1 of gap) and 7 down.
inline constexpr std::int32_t kLabelAdvance = 6;
inline constexpr std::int32_t kLabelRows = 7;

// Width in pixels of `text` at `scale` (6 × scale per character, less the last gap).
std::int32_t labelWidth(const std::string& text, std::int32_t scale);

// `text` cut with "..." to fit `width` pixels.
std::string fitLabel(const std::string& text, std::int32_t width, std::int32_t scale);

// Calls `cell(x, y)` for every lit cell of `text`: x counts cells from the left of the
// text (kLabelAdvance per character), y from the top row (0 .. kLabelRows - 1).
// Characters outside ASCII show as '?'.
void forEachLabelCell(const std::string& text, const std::function<void(std::int32_t, std::int32_t)>& cell);

// Draws `text` with its top-left corner at (x, y) in `colour` (red, green, blue) into
// any picture with `width`, `height` and `pixel(x, y)` giving its red, green and blue
// bytes; pixels outside the picture are skipped.
template <class Picture>
void drawLabel(Picture& image, std::int32_t x, std::int32_t y, const std::string& text, std::int32_t scale,
               const std::uint8_t colour[3]) {
    forEachLabelCell(text, [&](std::int32_t column, std::int32_t row) {
        for (std::int32_t dy = 0; dy < scale; ++dy) {
            for (std::int32_t dx = 0; dx < scale; ++dx) {
                const std::int32_t px = x + column * scale + dx;
                const std::int32_t py = y + row * scale + dy;
                if (px >= 0 && py >= 0 && px < image.width && py < image.height) {
                    std::uint8_t* p = image.pixel(px, py);
                    p[0] = colour[0];
                    p[1] = colour[1];
                    p[2] = colour[2];
                }
            }
        }
    });
}

} // namespace morvessan
