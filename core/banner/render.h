// Pixel work of the banner: glyph coverage in, 32-bit pixels of the strip out, and the blend of
// two strips during a cross-fade. Pixels are 0x00RRGGBB, the layout of a 32-bit DIB; rows run
// top-down.
#pragma once

#include <cstdint>
#include <vector>

#include "core/banner/effect.h"
#include "core/banner/markup.h"

namespace quenlo::banner {

// 8-bit coverage: 0 nothing, 255 fully inside a glyph.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> a;

    Mask() = default;
    Mask(int w, int h) : width(w), height(h), a(static_cast<std::size_t>(w) * h, 0) {}
    std::uint8_t& at(int x, int y) { return a[static_cast<std::size_t>(y) * width + x]; }
    std::uint8_t at(int x, int y) const { return a[static_cast<std::size_t>(y) * width + x]; }
};

struct Strip {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> px;

    Strip() = default;
    Strip(int w, int h, std::uint32_t fill = 0)
        : width(w), height(h), px(static_cast<std::size_t>(w) * h, fill) {}
    std::uint32_t at(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};

// A Windows colour value (0x00BBGGRR) as a pixel.
constexpr std::uint32_t PixelOf(std::uint32_t color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
constexpr int RedOf(std::uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
constexpr int GreenOf(std::uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }
constexpr int BlueOf(std::uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

enum class VAlign { Top, Center, Bottom };

// How one line is laid out and coloured.
struct LineLook {
    FontEffect effect;
    std::uint32_t fontColor = 0;  // Windows colour; the gradient replaces it when enabled
    Align align = Align::Center;
    VAlign layout = VAlign::Center;
    std::uint32_t backColor = 0xFFFF00;  // aqua
};

// Coverage rendered at `factor` times the size, averaged down to the drawn size.
Mask Downsample(const Mask& fine, int factor);

// Radius in pixels of the box blur used for a 0..100 blur setting.
int BlurRadius(int blur);

// Draws the line whose glyph coverage is `text` (its box is the text's extent) on the background.
// An empty mask leaves the background alone. A line wider or higher than the strip keeps its
// place and is cut off where it leaves the strip.
void RenderLine(const Mask& text, const LineLook& look, Strip& out);

// One step of a cross-fade: `step` of `steps` of the way from `from` to `to`. `out` may be
// `from` or `to`.
void CrossFade(const Strip& from, const Strip& to, int step, int steps, Strip& out);

}  // namespace quenlo::banner
