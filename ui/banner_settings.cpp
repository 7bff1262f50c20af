#include "ui/banner_settings.h"

#include "core/banner/notice.h"

namespace quenlo::ui {

namespace {

// Windows colour values: low byte red, then green, then blue.
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr COLORREF kAqua = RGB(0, 255, 255);

tk::TFontLabel Style(const char* name, const char* face, int height, BYTE charset, COLORREF color,
                     bool bold, bool shadow, int shadowX, int shadowY) {
    tk::TFontLabel item;
    item.Name = name;
    item.Font = tk::TFont{face, height, charset, color, bold};
    item.Effect.Shadow.Enabled = shadow;
    item.Effect.Shadow.OffsetX = shadowX;
    item.Effect.Shadow.OffsetY = shadowY;
    return item;
}

void Gradient(tk::TFontLabel& item, tk::GradualStyle style, COLORREF start, COLORREF end) {
    item.Effect.Gradual.Enabled = true;
    item.Effect.Gradual.Style = style;
    item.Effect.Gradual.StartColor = start;
    item.Effect.Gradual.EndColor = end;
}

}  // namespace

void ApplyBannerSettings(tk::TAAFadeText& banner) {
    banner.Left = 0;
    banner.Top = 1;
    banner.Width = 385;
    banner.Height = 129;
    banner.ParentEffect.ParentColor = false;
    banner.ParentEffect.ParentFont = false;
    banner.Font = tk::TFont{"宋体", -21, ANSI_CHARSET, GetSysColor(COLOR_WINDOWTEXT), true};
    banner.Text.BackColor = kAqua;

    tk::TFontEffect& own = banner.Text.FontEffect;
    own.Shadow.Enabled = true;
    own.Shadow.OffsetX = 7;
    own.Shadow.OffsetY = 4;
    own.Gradual.Enabled = true;
    own.Gradual.StartColor = kRed;
    own.Gradual.EndColor = kBlue;
    own.Texture.Mode = tk::tmNormal;
    own.Outline = true;

    banner.Fonts.clear();
    banner.Fonts.push_back(Style("Title1", "宋体", -21, GB2312_CHARSET, kBlack, true, true, 7, 5));
    Gradient(banner.Fonts.back(), tk::gsLeftToRight, kRed, kBlue);
    banner.Fonts.push_back(Style("Title2", "黑体", -12, DEFAULT_CHARSET, kBlue, true, true, 1, 1));
    banner.Fonts.push_back(
        Style("Title3", "楷体_GB2312", -15, DEFAULT_CHARSET, kBlue, false, true, 2, 2));
    banner.Fonts.push_back(
        Style("Text1", "楷体_GB2312", -12, DEFAULT_CHARSET, kBlack, false, false, 1, 1));
    banner.Fonts.push_back(
        Style("Text2", "楷体_GB2312", -11, DEFAULT_CHARSET, kTeal, false, true, 1, 1));
    banner.Fonts.push_back(
        Style("Title4", "隶书", -29, DEFAULT_CHARSET, kBlack, false, true, 2, 2));
    Gradient(banner.Fonts.back(), tk::gsLeftToRight, 16720384, 2232575);
    banner.Fonts.back().Effect.Blur = 50;
    banner.Fonts.back().Effect.Outline = true;
    banner.Fonts.push_back(Style("Text3", "隶书", -15, DEFAULT_CHARSET, kBlue, false, true, 1, 1));
    Gradient(banner.Fonts.back(), tk::gsTopToBottom, 13404177, 16720554);

    banner.Labels = {
        {"Left", tk::lsLeftJustify},
        {"Center", tk::lsCenter},
        {"Right", tk::lsRightJustify},
        {"Owner", tk::lsRegOwner},
        {"Organization", tk::lsRegOrganization},
        {"AppTitle", tk::lsAppTitle},
        {"Date", tk::lsDate},
        {"Time", tk::lsTime},
    };

    banner.Text.Lines.Clear();
    for (const char* line : quenlo::banner::kNotice) banner.Text.Lines.Add(line);
}

}  // namespace quenlo::ui
