#include "core/banner/render.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace quenlo::banner;

constexpr std::uint32_t kAqua = 0xFFFF00;  // Windows colour value of (0, 255, 255)
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr int kW = 385, kH = 129;

Mask Solid(int w, int h, std::uint8_t v = 255) {
    Mask m(w, h);
    std::fill(m.a.begin(), m.a.end(), v);
    return m;
}

LineLook Plain(std::uint32_t color = 0) {
    LineLook look;
    look.fontColor = color;
    look.backColor = kAqua;
    return look;
}

// Where a centred box of w x h lands in the strip.
int Left(int w) { return (kW - w) / 2; }
int Top(int h) { return (kH - h) / 2; }

bool IsAqua(std::uint32_t p) { return p == PixelOf(kAqua); }

TEST(BannerRender, EmptyLineShowsBackgroundOnly) {
    Strip s(kW, kH, 0x123456);
    RenderLine(Mask{}, Plain(), s);
    for (std::uint32_t p : s.px) ASSERT_TRUE(IsAqua(p));
}

TEST(BannerRender, SolidTextIsCentredAndBlendedByCoverage) {
    Mask m(11, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 11; ++x) m.at(x, y) = x < 5 ? 255 : 128;
    }
    Strip s(kW, kH);
    RenderLine(m, Plain(kBlue), s);
    const int x0 = Left(11), y0 = Top(5);
    EXPECT_EQ(s.at(x0, y0), PixelOf(kBlue));
    EXPECT_TRUE(IsAqua(s.at(x0 - 1, y0)));
    EXPECT_TRUE(IsAqua(s.at(x0, y0 - 1)));
    EXPECT_TRUE(IsAqua(s.at(x0 + 11, y0 + 4)));
    EXPECT_TRUE(IsAqua(s.at(x0, y0 + 5)));
    const std::uint32_t half = s.at(x0 + 8, y0 + 2);  // aqua and blue half and half
    EXPECT_EQ(RedOf(half), 0);
    EXPECT_NEAR(GreenOf(half), 127, 2);
    EXPECT_EQ(BlueOf(half), 255);
}

TEST(BannerRender, GradientReachesItsEndColoursAtTheTextEdges) {
    struct Case {
        GradualStyle style;
        bool alongX;
    };
    const Case cases[] = {{gsLeftToRight, true}, {gsTopToBottom, false}};
    for (const auto& c : cases) {
        LineLook look = Plain();
        look.effect.Gradual.Enabled = true;
        look.effect.Gradual.Style = c.style;
        look.effect.Gradual.StartColor = kRed;
        look.effect.Gradual.EndColor = kBlue;
        Strip s(kW, kH);
        RenderLine(Solid(101, 21), look, s);
        const int x0 = Left(101), y0 = Top(21);
        const std::uint32_t first = s.at(x0, y0);
        const std::uint32_t last = c.alongX ? s.at(x0 + 100, y0) : s.at(x0, y0 + 20);
        const std::uint32_t across = c.alongX ? s.at(x0, y0 + 20) : s.at(x0 + 100, y0);
        const std::uint32_t middle = c.alongX ? s.at(x0 + 50, y0) : s.at(x0, y0 + 10);
        EXPECT_EQ(first, PixelOf(kRed)) << c.style;
        EXPECT_EQ(last, PixelOf(kBlue)) << c.style;
        EXPECT_EQ(across, PixelOf(kRed)) << c.style << ": constant across the gradient";
        EXPECT_NEAR(RedOf(middle), 128, 2) << c.style;
        EXPECT_NEAR(BlueOf(middle), 128, 2) << c.style;
    }
}

TEST(BannerRender, ShadowFallsAtItsOffsetAndIsSoftenedByBlur) {
    // A 40 x 20 block with a shadow 7 right and 5 down, white text so the shadow stands out.
    const int w = 40, h = 20;
    const int x0 = Left(w), y0 = Top(h);
    const int row = y0 + 12;             // a row that crosses text and shadow
    const int shadowRight = x0 + w + 6;  // last column of the unblurred shadow

    struct Case {
        int blur;
        bool soft;
    };
    const Case cases[] = {{0, false}, {80, true}};
    for (const auto& c : cases) {
        LineLook look = Plain(0xFFFFFF);
        look.effect.Shadow.Enabled = true;
        look.effect.Shadow.OffsetX = 7;
        look.effect.Shadow.OffsetY = 5;
        look.effect.Shadow.Blur = c.blur;
        Strip s(kW, kH);
        RenderLine(Solid(w, h), look, s);

        // Nothing left of or above the text (the blur reaches 6 pixels, the offset is 5 down).
        EXPECT_TRUE(IsAqua(s.at(x0 - 1, row))) << c.blur;
        EXPECT_TRUE(IsAqua(s.at(x0 + 5, y0 - 2))) << c.blur;
        // Dark grey right of and below the text.
        EXPECT_LT(GreenOf(s.at(x0 + w + 2, row)), 200) << c.blur;
        EXPECT_LT(GreenOf(s.at(x0 + 20, y0 + h + 1)), 200) << c.blur;

        if (!c.soft) {
            // 70 % of (68, 68, 68) over aqua, with a hard edge.
            const std::uint32_t in = s.at(shadowRight, row);
            EXPECT_NEAR(RedOf(in), 48, 2);
            EXPECT_NEAR(GreenOf(in), 124, 2);
            EXPECT_TRUE(IsAqua(s.at(shadowRight + 1, row)));
        } else {
            // The edge fades out over several pixels and ends within the blur's reach.
            int levels = 0;
            int previous = -1;
            for (int x = shadowRight - 3; x <= shadowRight + 6; ++x) {
                const int g = GreenOf(s.at(x, row));
                EXPECT_GE(g, previous) << "shadow lightens outwards at " << x;
                if (g != previous && g != 255) ++levels;
                previous = g;
            }
            EXPECT_GE(levels, 5);
            EXPECT_FALSE(IsAqua(s.at(shadowRight + 1, row)));
            EXPECT_TRUE(IsAqua(s.at(shadowRight + 7, row)));
        }
    }
}

TEST(BannerRender, TooWideLineStaysCentredAndIsCutOffAtBothSides) {
    const int w = 501;
    Mask m(w, 10);
    for (int y = 0; y < 10; ++y) m.at(250, y) = 255;  // the text's middle column
    Strip s(kW, kH);
    RenderLine(m, Plain(kBlue), s);
    const int y = Top(10) + 3;
    EXPECT_EQ(s.at(kW / 2, y), PixelOf(kBlue));
    for (int x = 0; x < kW; ++x) {
        if (x != kW / 2) {
            ASSERT_TRUE(IsAqua(s.at(x, y))) << x;
        }
    }

    // With a gradient the cut is even: neither end colour is reached.
    LineLook look = Plain();
    look.effect.Gradual.Enabled = true;
    look.effect.Gradual.StartColor = kRed;
    look.effect.Gradual.EndColor = kBlue;
    RenderLine(Solid(w, 10), look, s);
    const std::uint32_t left = s.at(0, y), right = s.at(kW - 1, y);
    EXPECT_LT(RedOf(left), 255);
    EXPECT_GT(BlueOf(left), 0);
    EXPECT_NEAR(RedOf(left), BlueOf(right), 2);
}

TEST(BannerRender, AlignmentAndLayoutPlaceTheBox) {
    struct Case {
        Align align;
        VAlign layout;
        int x, y;  // where the box's top-left pixel lands
    };
    const Case cases[] = {
        {Align::Left, VAlign::Top, 0, 0},
        {Align::Right, VAlign::Bottom, kW - 10, kH - 4},
        {Align::Center, VAlign::Center, Left(10), Top(4)},
    };
    for (const auto& c : cases) {
        LineLook look = Plain(kBlue);
        look.align = c.align;
        look.layout = c.layout;
        Strip s(kW, kH);
        RenderLine(Solid(10, 4), look, s);
        EXPECT_EQ(s.at(c.x, c.y), PixelOf(kBlue)) << c.x << "," << c.y;
        EXPECT_EQ(s.at(c.x + 9, c.y + 3), PixelOf(kBlue)) << c.x << "," << c.y;
        if (c.x > 0) {
            EXPECT_TRUE(IsAqua(s.at(c.x - 1, c.y)));
        }
        if (c.x + 10 < kW) {
            EXPECT_TRUE(IsAqua(s.at(c.x + 10, c.y)));
        }
    }
}

TEST(BannerRender, OutlineAlphaAndBlurChangeTheTextAsSet) {
    const int w = 30, h = 15;
    const int x0 = Left(w), y0 = Top(h);
    {
        LineLook look = Plain(kBlue);
        look.effect.Outline = true;
        Strip s(kW, kH);
        RenderLine(Solid(w, h), look, s);
        EXPECT_TRUE(IsAqua(s.at(x0 + 15, y0 + 7))) << "hollow inside";
        EXPECT_EQ(s.at(x0 - 1, y0 + 7), PixelOf(kBlue)) << "edge drawn";
        EXPECT_TRUE(IsAqua(s.at(x0 - 2, y0 + 7)));
    }
    {
        LineLook look = Plain(kBlue);
        look.effect.Alpha = 50;
        Strip s(kW, kH);
        RenderLine(Solid(w, h), look, s);
        EXPECT_NEAR(GreenOf(s.at(x0 + 15, y0 + 7)), 128, 2);
    }
    {
        LineLook look = Plain(kBlue);
        look.effect.Blur = 50;
        Strip s(kW, kH);
        RenderLine(Solid(w, h), look, s);
        EXPECT_EQ(s.at(x0 + 15, y0 + 7), PixelOf(kBlue)) << "inside stays solid";
        EXPECT_FALSE(IsAqua(s.at(x0 - 2, y0 + 7))) << "spreads beyond the edge";
        EXPECT_NE(s.at(x0, y0 + 7), PixelOf(kBlue)) << "edge softened";
    }
}

TEST(BannerRender, DownsampleAveragesBlocks) {
    Mask fine(5, 2);
    const std::uint8_t rows[2][5] = {{255, 255, 255, 0, 255}, {255, 255, 0, 0, 255}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) fine.at(x, y) = rows[y][x];
    }
    const Mask m = Downsample(fine, 2);
    ASSERT_EQ(m.width, 3);
    ASSERT_EQ(m.height, 1);
    EXPECT_EQ(m.at(0, 0), 255);
    EXPECT_EQ(m.at(1, 0), 64);
    EXPECT_EQ(m.at(2, 0), 128);  // a cut block counts its missing part as empty
}

TEST(BannerRender, CrossFadeRunsFromOnePictureToTheOther) {
    Strip from(4, 1, PixelOf(kRed)), to(4, 1, PixelOf(kBlue)), out(4, 1);
    struct Case {
        int step;
        int red, blue;
    };
    const Case cases[] = {{0, 255, 0}, {12, 128, 128}, {6, 191, 64}, {24, 0, 255}, {30, 0, 255}};
    for (const auto& c : cases) {
        CrossFade(from, to, c.step, 24, out);
        EXPECT_NEAR(RedOf(out.px[3]), c.red, 1) << c.step;
        EXPECT_NEAR(BlueOf(out.px[3]), c.blue, 1) << c.step;
        EXPECT_EQ(GreenOf(out.px[3]), 0);
    }
    CrossFade(from, to, 0, 24, out);
    EXPECT_EQ(out.px, from.px);
    CrossFade(from, to, 24, 24, out);
    EXPECT_EQ(out.px, to.px);
    // In place, as the banner does when a line change interrupts a fade.
    CrossFade(from, to, 12, 24, from);
    EXPECT_NEAR(RedOf(from.px[0]), 128, 1);
}

}  // namespace
