// The bitmap button: face, glyph beside the caption, the disabled look, focus and default frames.
#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/win32_util.h"

namespace tk {

namespace {

constexpr int kSpacing = 4;  // pixels between glyph and caption

int Luminance(COLORREF c) {
    return (GetRValue(c) * 77 + GetGValue(c) * 151 + GetBValue(c) * 28) >> 8;
}

}  // namespace

TBitBtn::TBitBtn(TForm& form, const ControlLayout& layout, const char* glyphResource,
                 bool isDefault)
    : TWinControl(form, nullptr, layout), default_(isDefault) {
    CreateWindowFor("BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0);
    // Keep the glyph as plain pixels; drawing works from them at any depth of the screen.
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageA(form.App().Instance(), glyphResource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bmp) return;  // no glyph: caption alone
    BITMAP info{};
    GetObjectA(bmp, sizeof info, &info);
    glyphW_ = info.bmWidth;
    glyphH_ = info.bmHeight;
    BITMAPINFO bi = TopDownBitmapInfo(glyphW_, glyphH_);
    std::vector<DWORD> px(static_cast<std::size_t>(glyphW_) * glyphH_);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, glyphH_, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    glyph_ = std::make_unique<COLORREF[]>(px.size());
    for (std::size_t i = 0; i < px.size(); ++i) {
        const DWORD p = px[i];  // 0x00RRGGBB from GetDIBits
        glyph_[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The bottom-left pixel names the transparent colour.
    transparent_ = glyph_[static_cast<std::size_t>(glyphH_ - 1) * glyphW_];
}

TBitBtn::~TBitBtn() = default;

LRESULT TBitBtn::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // The default frame follows the focus: repaint every button of the row.
            for (HWND h = GetWindow(form_.Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                if ((GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW)
                    InvalidateRect(h, nullptr, FALSE);
            }
            break;
        case WM_ENABLE:
            InvalidateRect(handle_, nullptr, FALSE);
            break;
        case WM_LBUTTONDBLCLK:
            // A double click is two clicks, as on an ordinary push button.
            msg = WM_LBUTTONDOWN;
            break;
    }
    return DefaultProc(msg, wp, lp);
}

void TBitBtn::DrawGlyph(HDC dc, int x, int y, bool enabled) const {
    if (!glyph_) return;
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int row = 0; row < glyphH_; ++row) {
        for (int col = 0; col < glyphW_; ++col) {
            const COLORREF c = glyph_[static_cast<std::size_t>(row) * glyphW_ + col];
            if (c == transparent_) continue;
            if (enabled) {
                SetPixelV(dc, x + col, y + row, c);
            } else if (Luminance(c) < 192) {
                // Embossed monochrome: dark parts of the glyph in shadow over a highlight.
                SetPixelV(dc, x + col + 1, y + row + 1, hi);
            }
        }
    }
    if (enabled) return;
    for (int row = 0; row < glyphH_; ++row) {
        for (int col = 0; col < glyphW_; ++col) {
            const COLORREF c = glyph_[static_cast<std::size_t>(row) * glyphW_ + col];
            if (c != transparent_ && Luminance(c) < 192) SetPixelV(dc, x + col, y + row, shadow);
        }
    }
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& dis) {
    HDC dc = dis.hDC;
    RECT r = dis.rcItem;
    const bool enabled = !(dis.itemState & ODS_DISABLED);
    const bool pushed = (dis.itemState & ODS_SELECTED) != 0;
    const bool focused = (dis.itemState & ODS_FOCUS) != 0;

    // The default button carries a dark frame while it is enabled and no other button holds the
    // focus (Enter would press it).
    bool framed = focused;
    if (default_ && enabled) {
        HWND f = GetFocus();
        const bool otherButton = f && f != handle_ && GetParent(f) == form_.Handle() &&
                                 (GetWindowLongA(f, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
        framed = framed || !otherButton;
    }
    if (framed) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    if (pushed) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
    }

    const std::string caption = Text();
    HFONT old = static_cast<HFONT>(
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(handle_, WM_GETFONT, 0, 0))));
    SIZE ts{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &ts);
    const int gw = glyph_ ? glyphW_ : 0;
    const int gap = (glyph_ && !caption.empty()) ? kSpacing : 0;
    const int total = gw + gap + ts.cx;
    const int shift = pushed ? 1 : 0;
    int x = dis.rcItem.left + (dis.rcItem.right - dis.rcItem.left - total + 1) / 2 + shift;
    const int midY = (dis.rcItem.top + dis.rcItem.bottom) / 2 + shift;
    DrawGlyph(dc, x, midY - glyphH_ / 2, enabled);
    x += gw + gap;
    SetBkMode(dc, TRANSPARENT);
    const int ty = midY - ts.cy / 2;
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        TextOutA(dc, x, ty, caption.c_str(), static_cast<int>(caption.size()));
    } else {
        // Greyed caption: engraved in highlight and shadow.
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        TextOutA(dc, x + 1, ty + 1, caption.c_str(), static_cast<int>(caption.size()));
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        TextOutA(dc, x, ty, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(dc, old);

    if (focused) {
        RECT fr = r;
        InflateRect(&fr, -3, -3);
        DrawFocusRect(dc, &fr);
    }
}

}  // namespace tk
