#include "toolkit/application.h"

#include <objbase.h>

#include <vector>

#include "core/error_text.h"
#include "toolkit/form.h"
#include "toolkit/win32_util.h"

namespace tk {

TApplication* Application = nullptr;

namespace {

constexpr char kAppClass[] = "TApplication";

}  // namespace

TApplication::TApplication(HINSTANCE instance) : instance_(instance) {
    Application = this;
    icon_ =
        static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                      GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = icon_;
    wc.hIconSm = smallIcon_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kAppClass;
    RegisterClassExA(&wc);
    // A zero-sized, unowned window: it carries the program's taskbar entry, its icon and its
    // system menu, and owns every form so that the forms themselves get no entry.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExA(0, kAppClass, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, instance, this);
    if (handle_) {
        HMENU menu = GetSystemMenu(handle_, FALSE);
        DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    }
}

TApplication::~TApplication() {
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    if (comInitialized_) CoUninitialize();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() { comInitialized_ = SUCCEEDED(CoInitialize(nullptr)); }

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) SetWindowTextA(handle_, title_.c_str());
}

int TApplication::Run() {
    if (mainForm_) {
        ShowWindow(handle_, SW_SHOWNA);
        mainForm_->Show();
    }
    MSG msg;
    while (!terminated_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (HandleKeyboard(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

bool TApplication::HandleKeyboard(MSG& msg) {
    if (msg.message != WM_KEYDOWN || !mainForm_ || !mainForm_->Handle()) return false;
    const HWND form = mainForm_->Handle();
    if (msg.hwnd != form && !IsChild(form, msg.hwnd)) return false;
    return mainForm_->HandleDialogKey(msg);
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    // A message box open in a handler ends on WM_QUIT and hands it on; the handler then returns
    // and the main loop stops.
    PostQuitMessage(0);
}

void TApplication::HandleException(const std::exception& e) {
    ModalMessageBox(quenlo::WithFullStop(e.what(), tk::IsLeadByteAcp), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleUnknownException() {
    ModalMessageBox("Unknown error.", MB_OK | MB_ICONSTOP);
}

int TApplication::ModalMessageBox(const std::string& text, UINT flags) {
    ProgramModal modal;
    if (MessageBoxHook) return MessageBoxHook(text, title_, flags);
    return MessageBoxA(handle_, text.c_str(), title_.c_str(), flags);
}

LRESULT CALLBACK TApplication::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TApplication*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    self->handle_ = hwnd;
    return self->HandleMessage(msg, wp, lp);
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SYSCOMMAND:
            switch (wp & 0xFFF0) {
                case SC_CLOSE:
                    // The taskbar entry's Close is a close request to the main form.
                    if (mainForm_ && mainForm_->Handle())
                        PostMessageA(mainForm_->Handle(), WM_CLOSE, 0, 0);
                    return 0;
                case SC_MINIMIZE:
                    if (mainForm_ && mainForm_->Handle()) ShowWindow(mainForm_->Handle(), SW_HIDE);
                    DefWindowProcA(handle_, msg, wp, lp);
                    return 0;
                case SC_RESTORE:
                    DefWindowProcA(handle_, msg, wp, lp);
                    if (mainForm_ && mainForm_->Handle()) ShowWindow(mainForm_->Handle(), SW_SHOW);
                    return 0;
                case SC_MAXIMIZE:
                case SC_SIZE:
                case SC_MOVE:
                    return 0;
            }
            break;
        case WM_CLOSE:
            if (mainForm_ && mainForm_->Handle()) PostMessageA(mainForm_->Handle(), WM_CLOSE, 0, 0);
            return 0;
        case WM_ACTIVATE:
            // Activation of the taskbar window goes on to the main form.
            if (LOWORD(wp) != WA_INACTIVE && mainForm_ && mainForm_->Handle() &&
                IsWindowVisible(mainForm_->Handle()) && IsWindowEnabled(mainForm_->Handle())) {
                SetActiveWindow(mainForm_->Handle());
                return 0;
            }
            break;
    }
    return DefWindowProcA(handle_, msg, wp, lp);
}

namespace {

struct EnumState {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lp) {
    auto* st = reinterpret_cast<EnumState*>(lp);
    if (IsWindowEnabled(hwnd)) st->windows.push_back(hwnd);
    return TRUE;
}

}  // namespace

ProgramModal::ProgramModal() : focus_(GetFocus()), active_(GetActiveWindow()) {
    EnumState st;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&st));
    count_ = st.windows.size();
    disabled_ = std::make_unique<HWND[]>(count_);
    for (std::size_t i = 0; i < count_; ++i) {
        disabled_[i] = st.windows[i];
        EnableWindow(st.windows[i], FALSE);
    }
}

ProgramModal::~ProgramModal() {
    for (std::size_t i = 0; i < count_; ++i) {
        if (IsWindow(disabled_[i])) EnableWindow(disabled_[i], TRUE);
    }
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
    if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_)) SetFocus(focus_);
}

}  // namespace tk
