// Text effects of a font style and of the banner itself, with the defaults a style leaves unset.
// Colours are Windows colour values: low byte red, then green, then blue.
#pragma once

#include <cstdint>

namespace quenlo::banner {

enum GradualStyle { gsLeftToRight, gsRightToLeft, gsTopToBottom, gsBottomToTop };
enum TextureMode { tmNormal, tmTile, tmStretched };

struct ShadowEffect {
    bool Enabled = false;
    int OffsetX = 2;  // pixels; positive: right of the text
    int OffsetY = 2;  // pixels; positive: below the text
    std::uint32_t Color = 0x444444;
    int Blur = 80;   // 0..100
    int Alpha = 70;  // percent
};

struct GradualEffect {
    bool Enabled = false;
    GradualStyle Style = gsLeftToRight;
    std::uint32_t StartColor = 0xFFFFFF;
    std::uint32_t EndColor = 0x000000;
};

struct TextureEffect {
    bool Enabled = false;
    TextureMode Mode = tmNormal;
};

// Angle, Noise, Spray, the mirrors and the texture are kept as settings; no style of this program
// turns them on, so the renderer leaves them out.
struct FontEffect {
    int Alpha = 100;  // percent
    int Blur = 0;     // 0..100
    int Angle = 0;
    int Noise = 0;
    int Spray = 0;
    bool Outline = false;
    bool HorzMirror = false;
    bool VertMirror = false;
    ShadowEffect Shadow;
    GradualEffect Gradual;
    TextureEffect Texture;
};

}  // namespace quenlo::banner
