#include "core/banner/render.h"

#include <algorithm>

namespace quenlo::banner {

namespace {

// dst + (src - dst) * a / 256 on red+blue and green at once.
inline std::uint32_t Mix(std::uint32_t dst, std::uint32_t src, std::uint32_t a256) {
    const std::uint32_t inv = 256 - a256;
    const std::uint32_t rb = (((dst & 0xFF00FF) * inv + (src & 0xFF00FF) * a256) >> 8) & 0xFF00FF;
    const std::uint32_t g = (((dst & 0x00FF00) * inv + (src & 0x00FF00) * a256) >> 8) & 0x00FF00;
    return rb | g;
}

// 0..255 coverage to 0..256 weight, so that full coverage gives exactly the source colour.
inline std::uint32_t Weight(std::uint32_t a) { return a + (a >> 7); }

Mask Padded(const Mask& m, int pad) {
    Mask out(m.width + 2 * pad, m.height + 2 * pad);
    for (int y = 0; y < m.height; ++y) {
        std::copy_n(&m.a[static_cast<std::size_t>(y) * m.width], m.width, &out.at(pad, y + pad));
    }
    return out;
}

// Running-sum box blur along rows (dx=1) or columns; edges count as empty.
void BoxPass(Mask& m, int r, bool rows, std::vector<std::uint8_t>& line) {
    const int len = rows ? m.width : m.height;
    const int lines = rows ? m.height : m.width;
    const int stride = rows ? 1 : m.width;
    const int div = 2 * r + 1;
    line.resize(static_cast<std::size_t>(len));
    for (int l = 0; l < lines; ++l) {
        std::uint8_t* p = rows ? &m.a[static_cast<std::size_t>(l) * m.width] : &m.a[l];
        for (int i = 0; i < len; ++i) line[i] = p[i * stride];
        int sum = 0;
        for (int i = 0; i <= r && i < len; ++i) sum += line[i];
        for (int i = 0; i < len; ++i) {
            p[i * stride] = static_cast<std::uint8_t>((sum + div / 2) / div);
            if (i + r + 1 < len) sum += line[i + r + 1];
            if (i - r >= 0) sum -= line[i - r];
        }
    }
}

// Two box passes each way: a soft, tent-shaped blur reaching 2r pixels.
void Blur(Mask& m, int r) {
    if (r <= 0) return;
    std::vector<std::uint8_t> line;
    for (int pass = 0; pass < 2; ++pass) {
        BoxPass(m, r, true, line);
        BoxPass(m, r, false, line);
    }
}

// The glyphs' edge only: what a one-pixel dilation adds around them.
Mask Ring(const Mask& m) {
    Mask out(m.width, m.height);
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            int grown = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < m.width && ny < m.height) {
                        grown = std::max<int>(grown, m.at(nx, ny));
                    }
                }
            }
            out.at(x, y) = static_cast<std::uint8_t>(grown - m.at(x, y));
        }
    }
    return out;
}

std::uint32_t Lerp(std::uint32_t from, std::uint32_t to, int i, int n) {
    if (n <= 1) return from;
    const std::uint32_t w = static_cast<std::uint32_t>(i) * 256 / static_cast<std::uint32_t>(n - 1);
    return Mix(from, to, w);
}

// Colours of a layer: one colour, or a gradient along x or y across the text's box, which
// begins `pad` pixels into the layer.
struct Paint {
    std::uint32_t solid = 0;
    std::vector<std::uint32_t> alongX, alongY;

    std::uint32_t at(int x, int y) const {
        if (!alongX.empty()) return alongX[x];
        if (!alongY.empty()) return alongY[y];
        return solid;
    }
};

std::vector<std::uint32_t> Ramp(int layerLen, int pad, int textLen, std::uint32_t first,
                                std::uint32_t last) {
    std::vector<std::uint32_t> ramp(static_cast<std::size_t>(layerLen));
    for (int i = 0; i < layerLen; ++i) {
        const int t = std::clamp(i - pad, 0, std::max(0, textLen - 1));
        ramp[i] = Lerp(first, last, t, textLen);
    }
    return ramp;
}

void Composite(const Mask& layer, int ox, int oy, const Paint& paint, int alphaPercent,
               Strip& out) {
    const std::uint32_t alpha = static_cast<std::uint32_t>(std::clamp(alphaPercent, 0, 100));
    if (alpha == 0) return;
    const int x1 = std::max(0, -ox), x2 = std::min(layer.width, out.width - ox);
    const int y1 = std::max(0, -oy), y2 = std::min(layer.height, out.height - oy);
    for (int y = y1; y < y2; ++y) {
        const std::uint8_t* src = &layer.a[static_cast<std::size_t>(y) * layer.width];
        std::uint32_t* dst = &out.px[static_cast<std::size_t>(y + oy) * out.width + ox];
        for (int x = x1; x < x2; ++x) {
            const std::uint32_t c = src[x];
            if (c == 0) continue;
            const std::uint32_t a = alpha == 100 ? c : c * alpha / 100;
            dst[x] = Mix(dst[x], paint.at(x, y), Weight(a));
        }
    }
}

int Place(int room, int size, int where) {  // where: 0 start, 1 centre, 2 end
    if (where == 0) return 0;
    if (where == 2) return room - size;
    // Floor division keeps a too-wide line centred with its overhang split evenly.
    const int d = room - size;
    return d >= 0 ? d / 2 : -((-d + 1) / 2);
}

}  // namespace

Mask Downsample(const Mask& fine, int factor) {
    if (factor <= 1) return fine;
    Mask out((fine.width + factor - 1) / factor, (fine.height + factor - 1) / factor);
    const int area = factor * factor;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sum = 0;
            for (int fy = y * factor; fy < std::min(fine.height, (y + 1) * factor); ++fy) {
                const std::uint8_t* row = &fine.a[static_cast<std::size_t>(fy) * fine.width];
                for (int fx = x * factor; fx < std::min(fine.width, (x + 1) * factor); ++fx) {
                    sum += row[fx];
                }
            }
            out.at(x, y) = static_cast<std::uint8_t>((sum + area / 2) / area);
        }
    }
    return out;
}

int BlurRadius(int blur) { return (std::clamp(blur, 0, 100) + 10) / 25; }

void RenderLine(const Mask& text, const LineLook& look, Strip& out) {
    std::fill(out.px.begin(), out.px.end(), PixelOf(look.backColor));
    if (text.width <= 0 || text.height <= 0) return;
    const FontEffect& fx = look.effect;

    const int x0 = Place(out.width, text.width,
                         static_cast<int>(look.align == Align::Left     ? 0
                                          : look.align == Align::Center ? 1
                                                                        : 2));
    const int y0 = Place(out.height, text.height,
                         look.layout == VAlign::Top      ? 0
                         : look.layout == VAlign::Center ? 1
                                                         : 2);

    const int bodyRadius = BlurRadius(fx.Blur);
    const int pad = 2 * bodyRadius + (fx.Outline ? 1 : 0);
    Mask body = Padded(text, pad);
    if (fx.Outline) body = Ring(body);
    Blur(body, bodyRadius);

    if (fx.Shadow.Enabled) {
        const int radius = BlurRadius(fx.Shadow.Blur);
        Mask shadow = Padded(body, 2 * radius);
        Blur(shadow, radius);
        Paint paint;
        paint.solid = PixelOf(fx.Shadow.Color);
        const int alpha = fx.Shadow.Alpha * std::clamp(fx.Alpha, 0, 100) / 100;
        Composite(shadow, x0 - pad - 2 * radius + fx.Shadow.OffsetX,
                  y0 - pad - 2 * radius + fx.Shadow.OffsetY, paint, alpha, out);
    }

    Paint paint;
    paint.solid = PixelOf(look.fontColor);
    if (fx.Gradual.Enabled) {
        std::uint32_t first = PixelOf(fx.Gradual.StartColor);
        std::uint32_t last = PixelOf(fx.Gradual.EndColor);
        const GradualStyle s = fx.Gradual.Style;
        if (s == gsRightToLeft || s == gsBottomToTop) std::swap(first, last);
        if (s == gsLeftToRight || s == gsRightToLeft) {
            paint.alongX = Ramp(body.width, pad, text.width, first, last);
        } else {
            paint.alongY = Ramp(body.height, pad, text.height, first, last);
        }
    }
    Composite(body, x0 - pad, y0 - pad, paint, fx.Alpha, out);
}

void CrossFade(const Strip& from, const Strip& to, int step, int steps, Strip& out) {
    const std::size_t n = std::min(from.px.size(), to.px.size());
    if (out.px.size() < n) {
        out.width = to.width;
        out.height = to.height;
        out.px.resize(n);
    }
    const std::uint32_t w = steps <= 0 || step >= steps
                                ? 256
                                : static_cast<std::uint32_t>(std::max(0, step)) * 256 /
                                      static_cast<std::uint32_t>(steps);
    const std::uint32_t* a = from.px.data();
    const std::uint32_t* b = to.px.data();
    std::uint32_t* o = out.px.data();
    for (std::size_t i = 0; i < n; ++i) o[i] = Mix(a[i], b[i], w);
}

}  // namespace quenlo::banner
