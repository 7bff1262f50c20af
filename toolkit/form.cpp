#include "toolkit/form.h"

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/exceptions.h"

namespace tk {

namespace {
constexpr char kFormClass[] = "TForm";
}

TComponent::TComponent(TForm& owner) : owner_(owner) { owner_.AddComponent(this); }
TComponent::~TComponent() { owner_.RemoveComponent(this); }

TForm::TForm(TApplication& app) : app_(app) {}

TForm::~TForm() {
    if (handle_) {
        for (TComponent* c : components_) c->Unloading();
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    if (font_) DeleteObject(font_);
    if (brush_) DeleteObject(brush_);
}

void TForm::AddComponent(TComponent* c) { components_.push_back(c); }
void TForm::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
}
void TForm::AddControl(TWinControl* c) { controls_.push_back(c); }
void TForm::RemoveControl(TWinControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

void TForm::CreateHandle() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = WndProc;
        wc.hInstance = app_.Instance();
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kFormClass;
        if (!RegisterClassExA(&wc)) throw Exception("Error creating window class");
        registered = true;
    }

    // The window font decides the scale of the whole layout.
    font_ = CreateGdiFont(Font, Font.Height);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    textHeight_ = tm.tmHeight > 0 ? tm.tmHeight : DesignTextHeight;
    if (textHeight_ != DesignTextHeight) {
        DeleteObject(font_);
        font_ = CreateGdiFont(Font, Scale(Font.Height));
    }
    brush_ = CreateSolidBrush(Color);

    DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    switch (BorderStyle) {
        case TBorderStyle::bsNone:
            style |= WS_POPUP;
            break;
        case TBorderStyle::bsSingle:
            style |= WS_CAPTION;
            break;
        case TBorderStyle::bsDialog:
            style |= WS_CAPTION;
            exStyle |= WS_EX_DLGMODALFRAME;
            break;
        case TBorderStyle::bsSizeable:
            style |= WS_CAPTION | WS_THICKFRAME;
            break;
    }
    // Without a system menu the title bar carries no icon and no button at all.
    if (BorderIcons.biSystemMenu) {
        style |= WS_SYSMENU;
        if (BorderIcons.biMinimize) style |= WS_MINIMIZEBOX;
        if (BorderIcons.biMaximize) style |= WS_MAXIMIZEBOX;
    }
    RECT r{0, 0, Scale(ClientWidth), Scale(ClientHeight)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    // Owned by the application window, which carries the taskbar entry.
    handle_ =
        CreateWindowExA(exStyle, kFormClass, Caption.c_str(), style, Left, Top, r.right - r.left,
                        r.bottom - r.top, app_.Handle(), nullptr, app_.Instance(), this);
    if (!handle_) throw Exception("Error creating window");
    CreateComponents();
    for (TComponent* c : components_) c->Loaded();
    if (OnCreate) OnCreate();
}

void TForm::Show() {
    ShowWindow(handle_, SW_SHOWNORMAL);
    SetForegroundWindow(handle_);
    FocusFirst();
}

void TForm::Close() {
    // Nothing may refuse the close. The main form ends the loop; the window itself lives on until
    // the program entry destroys it, so a handler still on the stack never sees it vanish.
    if (app_.MainForm() == this) {
        app_.Terminate();
    } else {
        ShowWindow(handle_, SW_HIDE);
    }
}

std::vector<TWinControl*> TForm::TabOrderList() const {
    std::vector<TWinControl*> list;
    for (TWinControl* c : controls_) {
        if (c->TabOrder() >= 0 && GetParent(c->Handle()) == handle_) list.push_back(c);
    }
    std::stable_sort(list.begin(), list.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    return list;
}

void TForm::FocusFirst() {
    for (TWinControl* c : TabOrderList()) {
        if (c->CanFocus()) {
            c->SetFocus();
            return;
        }
    }
    ::SetFocus(handle_);
}

TWinControl* TForm::ControlOf(HWND hwnd) const {
    for (TWinControl* c : controls_) {
        if (c->Handle() == hwnd) return c;
    }
    return nullptr;
}

bool TForm::HandleDialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
        case VK_TAB: {
            const auto list = TabOrderList();
            if (list.empty()) return true;
            const bool back = GetKeyState(VK_SHIFT) < 0;
            const HWND focus = GetFocus();
            std::size_t at = list.size();
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (list[i]->Handle() == focus) at = i;
            }
            for (std::size_t step = 1; step <= list.size(); ++step) {
                std::size_t i;
                if (at == list.size()) {
                    i = back ? list.size() - step : step - 1;
                } else {
                    i = back ? (at + list.size() - step) % list.size() : (at + step) % list.size();
                }
                if (list[i]->CanFocus()) {
                    list[i]->SetFocus();
                    break;
                }
            }
            return true;
        }
        case VK_RETURN: {
            TWinControl* target = nullptr;
            TWinControl* focused = ControlOf(GetFocus());
            if (auto* b = dynamic_cast<TBitBtn*>(focused)) {
                target = b;
            } else {
                for (TWinControl* c : controls_) {
                    auto* b2 = dynamic_cast<TBitBtn*>(c);
                    if (b2 && b2->Default()) target = b2;
                }
            }
            if (target && target->Enabled()) app_.Guard([&] { target->Click(); });
            return true;
        }
        case VK_ESCAPE:
            return true;  // no cancel button
        default:
            return false;
    }
}

LRESULT CALLBACK TForm::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* self = static_cast<TForm*>(cs->lpCreateParams);
        self->handle_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    // Errors that leave a handler stop here and are shown; they never unwind into Windows.
    try {
        return self->Dispatch(msg, wp, lp);
    } catch (const std::exception& e) {
        self->app_.HandleException(e);
    } catch (...) {
        self->app_.HandleUnknownException();
    }
    return 0;
}

LRESULT TForm::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the background
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle_, &ps);
            // The background goes only where no component paints opaquely, so the banner is
            // drawn once per paint and never flashes the window colour.
            for (TComponent* c : components_) {
                RECT r;
                if (c->OpaqueBounds(r)) ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
            }
            FillRect(dc, &ps.rcPaint, brush_);
            SelectClipRgn(dc, nullptr);
            for (TComponent* c : components_) c->PaintOn(dc, ps.rcPaint);
            EndPaint(handle_, &ps);
            return 0;
        }
        case WM_TIMER:
            for (TComponent* c : components_) {
                if (c->TimerTick(static_cast<UINT_PTR>(wp))) return 0;
            }
            break;
        case WM_COMMAND:
            if (lp && HIWORD(wp) == BN_CLICKED) {
                if (TWinControl* c = ControlOf(reinterpret_cast<HWND>(lp))) {
                    c->Click();
                    return 0;
                }
            }
            break;
        case WM_DRAWITEM: {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (TWinControl* c = ControlOf(dis->hwndItem)) {
                c->DrawItem(*dis);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetBkColor(dc, Color);
            return reinterpret_cast<LRESULT>(brush_);
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
                // Give the focus back to a control rather than leaving it on the frame.
                const HWND f = GetFocus();
                if (!f || f == handle_) FocusFirst();
                return 0;
            }
            break;
    }
    return DefWindowProcA(handle_, msg, wp, lp);
}

}  // namespace tk
