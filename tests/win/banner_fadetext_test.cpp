// The banner on a plain test window under Wine: real GDI glyphs through the
// pixel pipeline, the form's timers driving the line cycle, and Update
// repainting without the message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/fadetext.h"
#include "toolkit/form.h"
#include "ui/banner_settings.h"
#include "ui/status_line.h"
#include "toolkit/win32_util.h"

namespace {

constexpr int kClientW = 385, kClientH = 165;
constexpr int kBannerTop = 1, kBannerW = 385, kBannerH = 129;

class BannerForm : public tk::TForm {
  public:
    BannerForm(tk::TApplication& app, std::function<void(tk::TAAFadeText&)> adjust)
        : tk::TForm(app), adjust_(std::move(adjust)) {
        Caption = "banner";
        ClientWidth = kClientW;
        ClientHeight = kClientH;
        BorderStyle = tk::TBorderStyle::bsSingle;
    }
    std::unique_ptr<tk::TAAFadeText> banner;

  protected:
    void CreateComponents() override {
        banner = std::make_unique<tk::TAAFadeText>(*this);
        quenlo::ui::ApplyBannerSettings(*banner);
        if (adjust_) adjust_(*banner);
    }

  private:
    std::function<void(tk::TAAFadeText&)> adjust_;
};

struct Pixels {
    std::vector<std::uint32_t> px;  // 0x00RRGGBB, the banner's strip
    std::uint32_t at(int x, int y) const { return px[static_cast<std::size_t>(y) * kBannerW + x]; }
};
int R(std::uint32_t p) { return (p >> 16) & 0xFF; }
int G(std::uint32_t p) { return (p >> 8) & 0xFF; }
int B(std::uint32_t p) { return p & 0xFF; }

class BannerTest : public ::testing::Test {
  protected:
    void Create(std::function<void(tk::TAAFadeText&)> adjust) {
        app = std::make_unique<tk::TApplication>(GetModuleHandleA(nullptr));
        form = std::make_unique<BannerForm>(*app, std::move(adjust));
        form->CreateHandle();
        form->Show();
        form->banner->OnPainted = [this] { ++paints; };
    }
    void TearDown() override {
        form.reset();
        app.reset();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // Runs the message loop until `done` holds; false when the deadline passes
    // first.
    bool PumpUntil(const std::function<bool()>& done, DWORD deadlineMs = 15000) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > deadlineMs) return false;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }
    bool FadeDone() const {
        const auto& c = form->banner->Cycle();
        return c.OnDisplay() && c.Step() == c.Steps();
    }
    std::string OnDisplay() const {
        const auto& d = form->banner->Cycle().OnDisplay();
        return d ? d->text : std::string("(none)");
    }
    // What the banner paints, drawn into a bitmap of the form's client area.
    Pixels Picture() {
        BITMAPINFO bi = tk::TopDownBitmapInfo(kClientW, kClientH);
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bmp);
        const int before = paints;
        form->banner->PaintOn(dc, RECT{0, 0, kClientW, kClientH});
        paints = before;
        GdiFlush();
        Pixels out;
        const auto* src = static_cast<const std::uint32_t*>(bits);
        for (int y = 0; y < kBannerH; ++y) {
            for (int x = 0; x < kBannerW; ++x) {
                out.px.push_back(src[(y + kBannerTop) * kClientW + x] & 0xFFFFFF);
            }
        }
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
        return out;
    }

    std::unique_ptr<tk::TApplication> app;
    std::unique_ptr<BannerForm> form;
    int paints = 0;
};

TEST_F(BannerTest, Title1LineHasGradientTextAndShadowToTheLowerRight) {
    Create([](tk::TAAFadeText& b) {
        b.Text.Lines.Clear();
        b.Text.Lines.Add("<Title1><Center>恭喜你所有安装顺利完成！");
    });
    ASSERT_TRUE(PumpUntil([&] { return FadeDone(); })) << "the first line never faded in";
    const Pixels p = Picture();

    const std::uint32_t aqua = 0x00FFFF;
    for (auto [x, y] :
         {std::pair{0, 0}, {kBannerW - 1, 0}, {0, kBannerH - 1}, {kBannerW - 1, kBannerH - 1}}) {
        EXPECT_EQ(p.at(x, y), aqua) << x << "," << y;
    }

    // Text: red and blue with no green. Shadow: dark grey over aqua, green and
    // blue alike.
    long textX = 0, textY = 0, textN = 0, shadowX = 0, shadowY = 0, shadowN = 0;
    int textLeft = kBannerW, textRight = -1;
    for (int y = 0; y < kBannerH; ++y) {
        for (int x = 0; x < kBannerW; ++x) {
            const std::uint32_t c = p.at(x, y);
            if (G(c) < 60 && R(c) + B(c) > 200) {
                textX += x, textY += y, ++textN;
                textLeft = std::min(textLeft, x);
                textRight = std::max(textRight, x);
            } else if (R(c) < 90 && G(c) < 235 && std::abs(G(c) - B(c)) < 12) {
                shadowX += x, shadowY += y, ++shadowN;
            }
        }
    }
    ASSERT_GT(textN, 200) << "no glyphs were drawn";
    ASSERT_GT(shadowN, 200) << "no shadow was drawn";
    // Centred, and red-dominant at the left end, blue-dominant at the right end.
    EXPECT_NEAR((textLeft + textRight) / 2.0, kBannerW / 2.0, 12);
    EXPECT_NEAR(static_cast<double>(textY) / textN, kBannerH / 2.0, 12);
    int leftRed = 0, leftBlue = 0, rightRed = 0, rightBlue = 0;
    for (int y = 0; y < kBannerH; ++y) {
        for (int x = textLeft; x < textLeft + 25; ++x) {
            const std::uint32_t c = p.at(x, y);
            if (G(c) < 60) leftRed += R(c), leftBlue += B(c);
        }
        for (int x = textRight - 24; x <= textRight; ++x) {
            const std::uint32_t c = p.at(x, y);
            if (G(c) < 60) rightRed += R(c), rightBlue += B(c);
        }
    }
    EXPECT_GT(leftRed, 2 * leftBlue);
    EXPECT_GT(rightBlue, 2 * rightRed);
    const double dx = static_cast<double>(shadowX) / shadowN - static_cast<double>(textX) / textN;
    const double dy = static_cast<double>(shadowY) / shadowN - static_cast<double>(textY) / textN;
    EXPECT_GT(dx, 3.0);
    EXPECT_GT(dy, 2.0);
}

TEST_F(BannerTest, LinesChangeOnTheFormsTimers) {
    Create([](tk::TAAFadeText& b) {
        b.Text.LineDelay = 1000;  // longer than a cross-fade
        b.Text.Lines.Clear();
        b.Text.Lines.Add("<Title1>一");
        b.Text.Lines.Add("");
        b.Text.Lines.Add("三");
    });
    EXPECT_EQ(OnDisplay(), "<Title1>一") << "the first line change comes at once when loaded";
    ASSERT_TRUE(PumpUntil([&] { return OnDisplay().empty(); }));
    ASSERT_TRUE(PumpUntil([&] { return FadeDone(); }));
    const Pixels empty = Picture();
    for (std::uint32_t c : empty.px) ASSERT_EQ(c, 0x00FFFFu) << "an empty line is background only";
    ASSERT_TRUE(PumpUntil([&] { return OnDisplay() == "三"; }));
    ASSERT_TRUE(PumpUntil([&] { return OnDisplay() == "<Title1>一"; })) << "wraps to the first";
}

TEST_F(BannerTest, StatusLineUpdateShowsNothingUntilTheNextLineChange) {
    Create([](tk::TAAFadeText& b) { b.Text.LineDelay = 800; });
    ASSERT_TRUE(PumpUntil([&] { return FadeDone(); }));
    const std::string atClick = OnDisplay();
    const Pixels before = Picture();
    paints = 0;

    const std::string status = "<Title1><Center>安装SQL SEVER服务成功！";
    quenlo::ui::WriteStatusLine(*form->banner, status);
    // Only the first Update paints, at once and without the loop, and it paints
    // the same line.
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(form->banner->UpdateLock(), 2);
    EXPECT_EQ(OnDisplay(), atClick);
    EXPECT_EQ(Picture().px, before.px);

    quenlo::ui::WriteStatusLine(*form->banner, "<Title1><Center>启动SQL SEVER服务成功！");
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(form->banner->UpdateLock(), 4);

    Sleep(2000);  // a handler's wait: no ticks are delivered
    EXPECT_EQ(OnDisplay(), atClick);
    ASSERT_TRUE(PumpUntil([&] { return OnDisplay() != atClick; }));
    EXPECT_EQ(OnDisplay(), "<Title1><Center>启动SQL SEVER服务成功！");
    EXPECT_EQ(form->banner->Text.Lines.Count(), 1u);
}

}  // namespace
