// Draws the installer's application icon and its four button glyphs from simple vector shapes and
// writes them as the icon and bitmap files that setup.rc compiles in. The output is deterministic,
// so the committed files can be checked against a fresh drawing.
//
//   draw_resources <dir>           write mainicon.ico and glyph1.bmp .. glyph4.bmp into <dir>
//   draw_resources --check <dir>   exit 1 when a file in <dir> differs from a fresh drawing
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// ---------------------------------------------------------------------------------------------
// Geometry and scenes

struct P {
    double x, y;
};

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

using Region = std::function<bool(P)>;
using Paint = std::function<Rgb(P)>;

struct Layer {
    Region in;
    Paint paint;
    double opacity;
};

// Layers are painted in the order added, each over the ones before.
struct Scene {
    std::vector<Layer> layers;
    void add(Region in, Paint paint, double opacity = 1.0) {
        layers.push_back({std::move(in), std::move(paint), opacity});
    }
    void add(Region in, Rgb colour, double opacity = 1.0) {
        add(
            std::move(in), [colour](P) { return colour; }, opacity);
    }
};

Region polygon(std::vector<P> pts) {
    return [pts](P p) {
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const P a = pts[i], b = pts[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        return inside;
    };
}

Region rect(double x0, double y0, double x1, double y1) {
    return [=](P p) { return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1; };
}

Region roundRect(double x0, double y0, double x1, double y1, double r) {
    return [=](P p) {
        if (p.x < x0 || p.x >= x1 || p.y < y0 || p.y >= y1) return false;
        const double cx = std::clamp(p.x, x0 + r, x1 - r), cy = std::clamp(p.y, y0 + r, y1 - r);
        return (p.x - cx) * (p.x - cx) + (p.y - cy) * (p.y - cy) <= r * r;
    };
}

// An ellipse turned by `angle` radians about its centre.
Region ellipse(P c, double rx, double ry, double angle) {
    const double cs = std::cos(angle), sn = std::sin(angle);
    return [=](P p) {
        const double dx = p.x - c.x, dy = p.y - c.y;
        const double u = (dx * cs + dy * sn) / rx, v = (-dx * sn + dy * cs) / ry;
        return u * u + v * v <= 1.0;
    };
}

double segmentDistance(P p, P a, P b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((p.x - a.x) * vx + (p.y - a.y) * vy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = p.x - (a.x + t * vx), dy = p.y - (a.y + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

// A line of the given width along the outline of a polygon.
Region outline(std::vector<P> pts, double width) {
    return [pts, width](P p) {
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++)
            if (segmentDistance(p, pts[j], pts[i]) <= width / 2) return true;
        return false;
    };
}

Region minus(Region a, Region b) {
    return [a, b](P p) { return a(p) && !b(p); };
}

Region either(Region a, Region b) {
    return [a, b](P p) { return a(p) || b(p); };
}

P operator+(P a, P b) { return {a.x + b.x, a.y + b.y}; }

// Shade along the line from `from` to `to`: colour a at from, b at to.
Paint gradient(P from, P to, Rgb a, Rgb b) {
    return [=](P p) {
        const double vx = to.x - from.x, vy = to.y - from.y;
        const double t = ((p.x - from.x) * vx + (p.y - from.y) * vy) / (vx * vx + vy * vy);
        return mix(a, b, std::clamp(t, 0.0, 1.0));
    };
}

// ---------------------------------------------------------------------------------------------
// Rendering: every pixel is the mean of ss x ss samples, so edges are anti-aliased.

struct Pixel {
    uint8_t r, g, b, a;
};

struct Image {
    int w = 0, h = 0;
    std::vector<Pixel> px;  // top row first
    Pixel& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
    const Pixel& at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

uint8_t toByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

// `extent` is the width of the scene in its own units, drawn onto `size` x `size` pixels.
Image render(const Scene& scene, int size, double extent, int ss) {
    Image img;
    img.w = img.h = size;
    img.px.resize(static_cast<size_t>(size) * size);
    const double unit = extent / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;  // premultiplied sums
            for (int j = 0; j < ss; ++j) {
                for (int i = 0; i < ss; ++i) {
                    const P p{(x + (i + 0.5) / ss) * unit, (y + (j + 0.5) / ss) * unit};
                    double sr = 0, sg = 0, sb = 0, sa = 0;
                    for (const Layer& l : scene.layers) {
                        if (!l.in(p)) continue;
                        const Rgb c = l.paint(p);
                        const double o = l.opacity;
                        sr = c.r * o + sr * (1 - o);
                        sg = c.g * o + sg * (1 - o);
                        sb = c.b * o + sb * (1 - o);
                        sa = o + sa * (1 - o);
                    }
                    r += sr, g += sg, b += sb, a += sa;
                }
            }
            const double n = ss * ss;
            Pixel& out = img.at(x, y);
            out.a = toByte(a / n * 255);
            if (a > 0) {
                out.r = toByte(r / a);
                out.g = toByte(g / a);
                out.b = toByte(b / a);
            } else {
                out.r = out.g = out.b = 0;
            }
        }
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The application icon: an open red carton with yellow inner flaps and a silver disc with a blue
// centre leaning against its lower right. Unit square, y downwards.

Scene iconScene(int size) {
    Scene s;
    // Lines stay about one pixel wide on the small images and grow a little on the large one.
    const double line = std::max(1.0, size / 56.0) / size;

    const P fl{0.05, 0.42}, fr{0.50, 0.52}, br{0.80, 0.38}, bl{0.36, 0.29};
    const P flB{0.05, 0.82}, frB{0.50, 0.95}, brB{0.80, 0.78};
    const Rgb edgeRed{95, 10, 10}, edgeYellow{150, 95, 0};

    // Flaps first: they stand behind the carton's walls.
    const std::vector<P> backFlap{bl, br, br + P{0.02, -0.26}, bl + P{0.04, -0.25}};
    const std::vector<P> leftFlap{fl, bl, bl + P{-0.22, -0.17}, fl + P{-0.05, -0.18}};
    const std::vector<P> rightFlap{br, fr, fr + P{0.17, -0.17}, br + P{0.15, -0.17}};
    s.add(polygon(backFlap), gradient({0, 0.05}, {0, 0.3}, {255, 236, 120}, {240, 196, 30}));
    s.add(outline(backFlap, line), edgeYellow);
    s.add(polygon(leftFlap), gradient({0, 0.2}, {0, 0.42}, {255, 226, 80}, {235, 180, 20}));
    s.add(outline(leftFlap, line), edgeYellow);

    // Inside of the carton, then its two outer walls.
    const std::vector<P> inside{fl, bl, br, fr};
    const std::vector<P> front{fl, fr, frB, flB};
    const std::vector<P> side{fr, br, brB, frB};
    s.add(polygon(inside), gradient(bl, fr, {70, 8, 6}, {130, 20, 14}));
    s.add(polygon(front), gradient(fl, frB, {236, 58, 44}, {180, 24, 20}));
    s.add(polygon(side), gradient(fr, brB, {170, 26, 22}, {120, 14, 12}));
    s.add(outline(inside, line), edgeRed);
    s.add(outline(front, line), edgeRed);
    s.add(outline(side, line), edgeRed);

    s.add(polygon(rightFlap), gradient({0, 0.28}, {0, 0.52}, {255, 220, 70}, {225, 165, 10}));
    s.add(outline(rightFlap, line), edgeYellow);

    // The disc, turned a little so that it seems to lean against the carton.
    const P c{0.70, 0.72};
    const double rx = 0.275, ry = 0.255, tilt = -0.45;
    s.add(ellipse(c, rx + line, ry + line, tilt), Rgb{80, 86, 100});
    s.add(ellipse(c, rx, ry, tilt), [c](P p) {
        // Silver with the sheen of a pressed disc: light and dark sectors round the centre.
        const double a = std::atan2(p.y - c.y, p.x - c.x);
        const double v = 0.5 + 0.5 * std::cos(2 * a + 0.9);
        return mix(Rgb{150, 156, 170}, Rgb{246, 248, 252}, v);
    });
    s.add(ellipse(c, rx * 0.52, ry * 0.52, tilt),
          gradient(c + P{-0.1, -0.1}, c + P{0.1, 0.1}, {50, 100, 250}, {16, 44, 196}));
    if (size >= 32) {
        // The hub with its hole only where there are pixels enough to show it.
        s.add(ellipse(c, rx * 0.2, ry * 0.2, tilt), Rgb{215, 222, 235});
        s.add(ellipse(c, rx * 0.09, ry * 0.09, tilt), Rgb{120, 126, 140});
    }
    return s;
}

// ---------------------------------------------------------------------------------------------
// Palettes and icon images

using Palette = std::vector<std::array<uint8_t, 3>>;

const Palette& standardPalette16() {
    static const Palette p{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                           {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                           {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                           {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    return p;
}

int distance2(const Pixel& px, const std::array<uint8_t, 3>& c) {
    // Weighted roughly like the eye: green counts most, blue least.
    const int dr = px.r - c[0], dg = px.g - c[1], db = px.b - c[2];
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int nearest(const Palette& pal, const Pixel& px) {
    int best = 0, bestD = distance2(px, pal[0]);
    for (int i = 1; i < static_cast<int>(pal.size()); ++i) {
        const int d = distance2(px, pal[i]);
        if (d < bestD) best = i, bestD = d;
    }
    return best;
}

// A 256-colour palette for one image by median cut of its opaque colours. Entry 0 stays black:
// the colour bits of transparent pixels must be zero for the mask to let the screen through.
Palette medianCutPalette(const Image& img) {
    std::map<uint32_t, uint32_t> counts;
    for (const Pixel& p : img.px)
        if (p.a >= 128) ++counts[(uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | p.b];
    using Entry = std::pair<uint32_t, uint32_t>;  // colour, count
    std::vector<std::vector<Entry>> boxes(1, std::vector<Entry>(counts.begin(), counts.end()));
    auto channel = [](uint32_t c, int ch) { return int((c >> (16 - 8 * ch)) & 0xFF); };
    auto widest = [&](const std::vector<Entry>& box, int* which) {
        int best = -1;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 255, hi = 0;
            for (const Entry& e : box) {
                lo = std::min(lo, channel(e.first, ch));
                hi = std::max(hi, channel(e.first, ch));
            }
            if (hi - lo > best) best = hi - lo, *which = ch;
        }
        return best;
    };
    while (boxes.size() < 255) {
        int pick = -1, pickCh = 0, pickRange = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            int ch = 0;
            const int range = widest(boxes[i], &ch);
            if (range > pickRange) pick = static_cast<int>(i), pickCh = ch, pickRange = range;
        }
        if (pick < 0) break;
        std::vector<Entry>& box = boxes[pick];
        std::sort(box.begin(), box.end(), [&](const Entry& a, const Entry& b) {
            const int ca = channel(a.first, pickCh), cb = channel(b.first, pickCh);
            return ca != cb ? ca < cb : a.first < b.first;
        });
        uint64_t total = 0, run = 0;
        for (const Entry& e : box) total += e.second;
        size_t cut = 1;
        for (; cut < box.size() - 1; ++cut) {
            run += box[cut - 1].second;
            if (run * 2 >= total) break;
        }
        std::vector<Entry> upper(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
        box.resize(cut);
        boxes.push_back(std::move(upper));
    }
    Palette pal{{0, 0, 0}};
    for (const auto& box : boxes) {
        if (box.empty()) continue;
        uint64_t n = 0, r = 0, g = 0, b = 0;
        for (const Entry& e : box) {
            n += e.second;
            r += uint64_t(channel(e.first, 0)) * e.second;
            g += uint64_t(channel(e.first, 1)) * e.second;
            b += uint64_t(channel(e.first, 2)) * e.second;
        }
        pal.push_back(
            {uint8_t((r + n / 2) / n), uint8_t((g + n / 2) / n), uint8_t((b + n / 2) / n)});
    }
    pal.resize(256, {0, 0, 0});
    return pal;
}

void put16(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(Bytes& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

size_t rowBytes(int width, int bpp) { return ((static_cast<size_t>(width) * bpp + 31) / 32) * 4; }

void putInfoHeader(Bytes& out, int w, int h, int bpp, uint32_t imageSize, uint32_t colours) {
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(h));
    put16(out, 1);
    put16(out, uint16_t(bpp));
    put32(out, 0);  // BI_RGB: uncompressed
    put32(out, imageSize);
    put32(out, 0);
    put32(out, 0);
    put32(out, colours);
    put32(out, 0);
}

// One icon image: BITMAPINFOHEADER of double height, palette, colour bits, then the AND mask;
// rows bottom-up, each padded to four bytes.
Bytes iconImage(const Image& img, int bpp) {
    const int w = img.w, h = img.h;
    // Palette images know only opaque or transparent; with alpha only a fully clear pixel is.
    auto transparent = [bpp](const Pixel& p) { return bpp == 32 ? p.a == 0 : p.a < 128; };
    Palette pal;
    if (bpp == 4) pal = standardPalette16();
    if (bpp == 8) pal = medianCutPalette(img);

    const size_t colourRow = rowBytes(w, bpp), maskRow = rowBytes(w, 1);
    Bytes colour(colourRow * h, 0), mask(maskRow * h, 0);
    for (int y = 0; y < h; ++y) {
        uint8_t* crow = &colour[colourRow * (h - 1 - y)];
        uint8_t* mrow = &mask[maskRow * (h - 1 - y)];
        for (int x = 0; x < w; ++x) {
            const Pixel& p = img.at(x, y);
            const bool clear = transparent(p);
            if (clear) mrow[x / 8] |= uint8_t(0x80 >> (x % 8));
            if (bpp == 32) {
                if (!clear) {
                    crow[x * 4 + 0] = p.b;
                    crow[x * 4 + 1] = p.g;
                    crow[x * 4 + 2] = p.r;
                    crow[x * 4 + 3] = p.a;
                }
            } else if (!clear) {
                const int index = nearest(pal, p);
                if (bpp == 8)
                    crow[x] = uint8_t(index);
                else
                    crow[x / 2] |= uint8_t(x % 2 ? index : index << 4);
            }
        }
    }
    Bytes out;
    putInfoHeader(out, w, 2 * h, bpp, uint32_t(colour.size() + mask.size()), 0);
    for (const auto& c : pal) {
        out.push_back(c[2]);
        out.push_back(c[1]);
        out.push_back(c[0]);
        out.push_back(0);
    }
    out.insert(out.end(), colour.begin(), colour.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

Bytes iconFile() {
    const int sizes[] = {16, 24, 32, 48, 128};
    const int depths[] = {4, 8, 32};
    std::vector<std::pair<int, int>> entries;  // size, bpp
    std::vector<Bytes> images;
    for (int size : sizes) {
        const Image img = render(iconScene(size), size, 1.0, size >= 128 ? 6 : 8);
        for (int bpp : depths) {
            entries.emplace_back(size, bpp);
            images.push_back(iconImage(img, bpp));
        }
    }
    Bytes out;
    put16(out, 0);
    put16(out, 1);  // icon
    put16(out, uint16_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = entries[i].first, bpp = entries[i].second;
        out.push_back(uint8_t(size));  // 256 would be written as 0
        out.push_back(uint8_t(size));
        out.push_back(uint8_t(bpp == 4 ? 16 : 0));  // colour count; 0 means 256 or more
        out.push_back(0);
        put16(out, 1);
        put16(out, uint16_t(bpp));
        put32(out, uint32_t(images[i].size()));
        put32(out, offset);
        offset += uint32_t(images[i].size());
    }
    for (const Bytes& b : images) out.insert(out.end(), b.begin(), b.end());
    return out;
}

// ---------------------------------------------------------------------------------------------
// Button glyphs: 16 x 16, 24 bits per pixel. The bottom-left pixel's colour is the transparent
// colour of the button, and it is white in every glyph.

constexpr int kGlyph = 16;

struct Glyph {
    Scene scene;
    // Pixels that must come out white; empty means "wherever nothing is drawn".
    std::vector<std::pair<int, int>> clear;
};

Glyph exitGlyph() {
    Glyph g;
    Scene& s = g.scene;
    const Rgb pale{255, 234, 214};
    s.add(roundRect(0, 0, 16, 16, 3.2),
          gradient({0, 0}, {0, 16}, Rgb{246, 110, 48}, Rgb{206, 52, 22}));
    s.add(minus(roundRect(0, 0, 16, 16, 3.2), roundRect(1, 1, 15, 15, 2.3)), Rgb{170, 44, 18});
    // On/off symbol: a ring open at the top with a bar through the opening.
    const P c{8.0, 8.7};
    s.add(
        [c](P p) {
            const double dx = p.x - c.x, dy = p.y - c.y, d = std::sqrt(dx * dx + dy * dy);
            const double fromTop = std::abs(std::atan2(dx, -dy));
            return d >= 3.2 && d <= 4.9 && fromTop >= 0.72;
        },
        pale);
    s.add(roundRect(7.1, 2.2, 8.9, 8.8, 0.6), pale);
    g.clear = {{0, 0}, {15, 0}, {0, 15}, {15, 15}};
    return g;
}

Glyph bookGlyph() {
    Glyph g;
    Scene& s = g.scene;
    const P a{5.6, 0.8}, b{15.4, 3.2}, c{12.6, 11.6}, d{2.4, 9.0};
    const P o{-1.2, 2.3};   // thickness of the page block
    const P o2{-1.6, 3.1};  // down to the back cover
    auto block = [&](P off) {
        return either(polygon({d, c, c + off, d + off}), polygon({a, d, d + off, a + off}));
    };
    s.add(block(o2), Rgb{74, 30, 104});
    s.add(block(o), [=](P p) {
        // Page edges: white next to the cover, grey towards the back.
        const double t = segmentDistance(p, d, c) < segmentDistance(p, a, d)
                             ? segmentDistance(p, d, c)
                             : segmentDistance(p, a, d);
        return t < 1.3 ? Rgb{252, 252, 250} : Rgb{178, 178, 186};
    });
    const std::vector<P> cover{a, b, c, d};
    s.add(polygon(cover), gradient(a, c, Rgb{170, 100, 220}, Rgb{104, 40, 150}));
    s.add(polygon({b + P{-2.2, -0.55}, b, c, c + P{-2.3, -0.6}}), Rgb{92, 34, 132});  // spine
    s.add(outline(cover, 0.8), Rgb{62, 20, 92});
    return g;
}

Glyph boxGlyph() {
    Glyph g;
    Scene& s = g.scene;
    const Rgb edge{118, 114, 108};
    const std::vector<P> front{{1.5, 1.8}, {10.5, 1.8}, {10.5, 15.2}, {1.5, 15.2}};
    const std::vector<P> side{{10.5, 1.8}, {13.2, 0.6}, {13.2, 13.8}, {10.5, 15.2}};
    s.add(polygon(front), gradient({1.5, 0}, {10.5, 0}, Rgb{250, 248, 236}, Rgb{226, 222, 206}));
    s.add(polygon(side), Rgb{196, 190, 172});
    // The coloured band near the top, across the front and round onto the side.
    const Rgb band[] = {{252, 222, 40}, {246, 146, 28}, {222, 40, 30}};
    for (int i = 0; i < 3; ++i) {
        const double y = 3.0 + i;
        s.add(rect(1.5, y, 10.5, y + 1), band[i]);
        s.add(polygon({{10.5, y}, {13.2, y - 1.2}, {13.2, y - 0.2}, {10.5, y + 1}}),
              mix(band[i], Rgb{0, 0, 0}, 0.18));
    }
    s.add(outline(front, 0.8), edge);
    s.add(outline(side, 0.8), edge);
    // A blue plug with two gold contacts at the lower right.
    s.add(rect(14.0, 10.0, 16.0, 11.0), Rgb{236, 186, 40});
    s.add(rect(14.0, 13.0, 16.0, 14.0), Rgb{236, 186, 40});
    s.add(roundRect(8.0, 9.0, 14.3, 15.0, 1.2), Rgb{22, 52, 150});
    s.add(roundRect(8.8, 9.8, 13.5, 14.2, 0.8),
          gradient({8.8, 9.8}, {13.5, 14.2}, Rgb{80, 140, 240}, Rgb{36, 86, 204}));
    return g;
}

Glyph floppyGlyph() {
    Glyph g;
    Scene& s = g.scene;
    s.add(rect(0, 0, 16, 16), Rgb{34, 34, 44});
    s.add(polygon({{13.5, 0}, {16, 0}, {16, 2.5}}), Rgb{62, 62, 74});  // corner bevel
    s.add(rect(3, 1, 13, 8), Rgb{178, 176, 240});
    s.add(rect(4, 3, 12, 4), Rgb{126, 124, 200});
    s.add(rect(4, 5, 10, 6), Rgb{126, 124, 200});
    s.add(rect(4, 10, 12, 16), gradient({0, 10}, {0, 16}, Rgb{196, 198, 204}, Rgb{150, 152, 160}));
    s.add(rect(9, 11, 11, 15), Rgb{58, 58, 66});
    g.clear = {{0, 15}};
    return g;
}

Image drawGlyph(const Glyph& glyph, const char* name) {
    Image img = render(glyph.scene, kGlyph, kGlyph, 8);
    for (int y = 0; y < kGlyph; ++y) {
        for (int x = 0; x < kGlyph; ++x) {
            Pixel& p = img.at(x, y);
            const bool listed = std::find(glyph.clear.begin(), glyph.clear.end(),
                                          std::make_pair(x, y)) != glyph.clear.end();
            // Edge pixels are drawn solid rather than blended towards white: a near-white rim
            // would show as a halo on the grey button face.
            const bool clear = glyph.clear.empty() ? p.a < 128 : listed;
            if (!clear && p.a == 0)
                throw std::runtime_error(std::string(name) +
                                         ": a pixel that must be drawn is empty");
            if (clear) {
                p = {255, 255, 255, 255};
            } else {
                p.a = 255;
                // Exact white would turn transparent on the button.
                if (p.r == 255 && p.g == 255 && p.b == 255) p.b = 254;
            }
        }
    }
    if (img.at(0, kGlyph - 1).r != 255 || img.at(0, kGlyph - 1).b != 255)
        throw std::runtime_error(std::string(name) + ": bottom-left pixel is not white");
    return img;
}

Bytes bitmapFile(const Image& img) {
    const size_t row = rowBytes(img.w, 24);
    const uint32_t imageSize = uint32_t(row * img.h);
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + imageSize);
    put32(out, 0);
    put32(out, 14 + 40);
    putInfoHeader(out, img.w, img.h, 24, imageSize, 0);
    for (int y = img.h - 1; y >= 0; --y) {
        const size_t start = out.size();
        for (int x = 0; x < img.w; ++x) {
            out.push_back(img.at(x, y).b);
            out.push_back(img.at(x, y).g);
            out.push_back(img.at(x, y).r);
        }
        out.resize(start + row, 0);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------

std::vector<std::pair<std::string, Bytes>> allFiles() {
    std::vector<std::pair<std::string, Bytes>> files;
    files.emplace_back("mainicon.ico", iconFile());
    const std::pair<Glyph (*)(), const char*> glyphs[] = {
        {exitGlyph, "glyph1.bmp"},
        {bookGlyph, "glyph2.bmp"},
        {boxGlyph, "glyph3.bmp"},
        {floppyGlyph, "glyph4.bmp"},
    };
    for (const auto& [draw, name] : glyphs)
        files.emplace_back(name, bitmapFile(drawGlyph(draw(), name)));
    return files;
}

bool readFile(const std::string& path, Bytes* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeFile(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: draw_resources [--check] <resources dir>\n");
        return 2;
    }
    const std::string dir = argv[argc - 1];
    try {
        int failures = 0;
        for (const auto& [name, data] : allFiles()) {
            const std::string path = dir + "/" + name;
            if (check) {
                Bytes existing;
                if (!readFile(path, &existing) || existing != data) {
                    std::fprintf(stderr, "%s differs from a fresh drawing; run regenerate.sh\n",
                                 path.c_str());
                    ++failures;
                }
            } else if (!writeFile(path, data)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                ++failures;
            }
        }
        return failures ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "draw_resources: %s\n", e.what());
        return 1;
    }
}
