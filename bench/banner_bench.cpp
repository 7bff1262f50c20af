// The banner's pixel work: one line render per line change, one cross-fade blend per 25 ms step.
#include <benchmark/benchmark.h>

#include "core/banner/render.h"

namespace {

using namespace quenlo::banner;

// Coverage like GDI gives for 20 CJK glyphs of 21 pixels drawn at twice the size: each glyph a
// few horizontal and vertical strokes with soft edges.
Mask TwentyGlyphsAtTwiceSize() {
    const int em = 42, count = 20;
    Mask m(em * count, em + 4);
    for (int g = 0; g < count; ++g) {
        const int gx = g * em;
        for (int s = 0; s < 4; ++s) {
            const int y = 6 + s * 9 + (g % 3);
            for (int x = gx + 4; x < gx + em - 4; ++x) {
                m.at(x, y) = 255;
                m.at(x, y + 1) = 255;
                m.at(x, y + 2) = 140;
            }
            const int x = gx + 8 + s * 8 + (g % 2) * 3;
            for (int yy = 4; yy < em; ++yy) {
                m.at(x, yy) = 255;
                m.at(x + 1, yy) = 255;
                m.at(x + 2, yy) = 90;
            }
        }
    }
    return m;
}

LineLook Title1Look() {
    LineLook look;
    look.fontColor = 0x000000;
    look.backColor = 0xFFFF00;
    look.effect.Shadow.Enabled = true;
    look.effect.Shadow.OffsetX = 7;
    look.effect.Shadow.OffsetY = 5;
    look.effect.Gradual.Enabled = true;
    look.effect.Gradual.StartColor = 0x0000FF;
    look.effect.Gradual.EndColor = 0xFF0000;
    return look;
}

void BM_RenderTitle1Line(benchmark::State& state) {
    const Mask fine = TwentyGlyphsAtTwiceSize();
    const LineLook look = Title1Look();
    Strip strip(385, 129);
    for (auto _ : state) {
        const Mask text = Downsample(fine, 2);
        RenderLine(text, look, strip);
        benchmark::DoNotOptimize(strip.px.data());
    }
}
BENCHMARK(BM_RenderTitle1Line)->Unit(benchmark::kMicrosecond);

void BM_CrossFadeStep(benchmark::State& state) {
    Strip from(385, 129), to(385, 129), out(385, 129);
    RenderLine(Downsample(TwentyGlyphsAtTwiceSize(), 2), Title1Look(), to);
    int step = 0;
    for (auto _ : state) {
        CrossFade(from, to, step, 24, out);
        step = (step + 1) % 25;
        benchmark::DoNotOptimize(out.px.data());
    }
}
BENCHMARK(BM_CrossFadeStep)->Unit(benchmark::kMicrosecond);

}  // namespace
