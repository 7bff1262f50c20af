#include "toolkit/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/form.h"

namespace tk {

HFONT CreateGdiFont(const TFont& f, int height) {
    return CreateFontA(height, 0, 0, 0, f.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       f.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, f.Name.c_str());
}

TWinControl::TWinControl(TForm& form, TWinControl* parent, const ControlLayout& layout)
    : form_(form), parent_(parent), layout_(layout) {}

TWinControl::~TWinControl() {
    form_.RemoveControl(this);
    if (handle_) {
        RemoveWindowSubclass(handle_, SubclassProc, 0);
        DestroyWindow(handle_);
    }
    if (font_) DeleteObject(font_);
}

void TWinControl::CreateWindowFor(const char* cls, DWORD style, DWORD exStyle) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (layout_.Visible) style |= WS_VISIBLE;
    if (!layout_.Enabled) style |= WS_DISABLED;
    HWND parent = parent_ ? parent_->Handle() : form_.Handle();
    handle_ = CreateWindowExA(exStyle, cls, layout_.Caption.c_str(), style,
                              form_.Scale(layout_.Left), form_.Scale(layout_.Top),
                              form_.Scale(layout_.Width), form_.Scale(layout_.Height), parent,
                              nullptr, form_.App().Instance(), nullptr);
    if (!handle_) throw Exception("Error creating window");
    SetWindowSubclass(handle_, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    HFONT font = form_.WindowFont();
    if (layout_.Font) {
        font_ = CreateGdiFont(*layout_.Font, form_.Scale(layout_.Font->Height));
        font = font_;
    }
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    form_.AddControl(this);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR ref) {
    auto* self = reinterpret_cast<TWinControl*>(ref);
    if (msg == WM_NCDESTROY) {
        // The window goes away before the object (its parent was destroyed): forget it.
        RemoveWindowSubclass(hwnd, SubclassProc, 0);
        self->handle_ = nullptr;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    // No exception may unwind through the window procedure.
    try {
        return self->WndProc(msg, wp, lp);
    } catch (const std::exception& e) {
        self->form_.App().HandleException(e);
    } catch (...) {
        self->form_.App().HandleUnknownException();
    }
    return 0;
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT TWinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return DefSubclassProc(handle_, msg, wp, lp);
}

bool TWinControl::Enabled() const { return handle_ && IsWindowEnabled(handle_); }

void TWinControl::SetEnabled(bool enabled) {
    if (!handle_) return;
    // The control repaints in its new look on WM_ENABLE.
    EnableWindow(handle_, enabled ? TRUE : FALSE);
}

bool TWinControl::Visible() const { return handle_ && IsWindowVisible(handle_); }

std::string TWinControl::Text() const {
    if (!handle_) return {};
    const int n = GetWindowTextLengthA(handle_);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(std::max(got, 0)));
    return s;
}

void TWinControl::SetText(const std::string& text) {
    if (handle_) SetWindowTextA(handle_, text.c_str());
}

bool TWinControl::CanFocus() const {
    if (layout_.TabOrder < 0 || !handle_) return false;
    for (HWND h = handle_; h && h != form_.Handle(); h = GetParent(h)) {
        if (!IsWindowVisible(h) || !IsWindowEnabled(h)) return false;
    }
    return true;
}

void TWinControl::SetFocus() {
    if (handle_) ::SetFocus(handle_);
}

void TWinControl::Click() {
    if (OnClick) OnClick();
}

TLabel::TLabel(TForm& form, TWinControl* parent, const ControlLayout& layout)
    : TWinControl(form, parent, layout) {
    CreateWindowFor("STATIC", SS_LEFT | SS_NOPREFIX, 0);
}

TEdit::TEdit(TForm& form, TWinControl* parent, const ControlLayout& layout)
    : TWinControl(form, parent, layout) {
    DWORD style = ES_AUTOHSCROLL | ES_LEFT;
    if (layout.ReadOnly) style |= ES_READONLY;
    if (layout.TabOrder >= 0) style |= WS_TABSTOP;
    CreateWindowFor("EDIT", style, WS_EX_CLIENTEDGE);
}

TGroupBox::TGroupBox(TForm& form, TWinControl* parent, const ControlLayout& layout)
    : TWinControl(form, parent, layout) {
    CreateWindowFor("BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

}  // namespace tk
