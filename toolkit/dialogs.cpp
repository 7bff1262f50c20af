#include "toolkit/dialogs.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/error_text.h"
#include "toolkit/application.h"
#include "toolkit/win32_util.h"

namespace tk {

namespace {

constexpr int kTextId = 0xFFFF;  // the static that holds a message box's text

// In-memory dialog template: DLGTEMPLATE + items, all WORD-aligned, DWORD-aligned per item.
class TemplateWriter {
  public:
    void Word(WORD w) { data_.push_back(w); }
    void DWord(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const std::wstring& s) {
        for (wchar_t c : s) Word(static_cast<WORD>(c));
        Word(0);
    }
    void AlignDWord() {
        if (data_.size() % 2) Word(0);
    }
    const WORD* Data() const { return data_.data(); }

  private:
    std::vector<WORD> data_;
};

struct BoxState {
    bool done = false;
};

INT_PTR CALLBACK BoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dlg, DWLP_USER, lp);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                reinterpret_cast<BoxState*>(GetWindowLongPtrA(dlg, DWLP_USER))->done = true;
                return TRUE;
            }
            break;
        case WM_CLOSE:
            reinterpret_cast<BoxState*>(GetWindowLongPtrA(dlg, DWLP_USER))->done = true;
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowMessage(const std::string& text) {
    TApplication* app = Application;
    const std::string title = app ? app->Title() : std::string();

    // Size the text in dialog units of the box's font (8 pt MS Sans Serif, base units 4 x 8 px
    // per 96 dpi at this font), with a margin and room for the OK button.
    HDC dc = GetDC(nullptr);
    HFONT font =
        CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    RECT tr{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SIZE avg{};
    GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &avg);
    SelectObject(dc, old);
    DeleteObject(font);
    // The box is at least as wide as its caption, with room for the close button.
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    int captionPx = 0;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        HFONT captionFont = CreateFontIndirectA(&ncm.lfCaptionFont);
        old = SelectObject(dc, captionFont);
        SIZE cs{};
        GetTextExtentPoint32A(dc, title.c_str(), static_cast<int>(title.size()), &cs);
        SelectObject(dc, old);
        DeleteObject(captionFont);
        captionPx = cs.cx + 2 * GetSystemMetrics(SM_CXSIZE) + 2 * GetSystemMetrics(SM_CXFIXEDFRAME);
    }
    ReleaseDC(nullptr, dc);
    const int baseX = std::max(1, static_cast<int>((avg.cx / 26 + 1) / 2));
    const int baseY = std::max(1, static_cast<int>(tm.tmHeight));
    const auto toDluX = [&](int px) { return static_cast<short>(MulDiv(px, 4, baseX) + 1); };
    const auto toDluY = [&](int px) { return static_cast<short>(MulDiv(px, 8, baseY) + 1); };
    const short textW = std::max<short>(toDluX(tr.right - tr.left), 40);
    const short textH = std::max<short>(toDluY(tr.bottom - tr.top), 8);
    const short margin = 8, buttonW = 50, buttonH = 14;
    const short boxW = std::max<short>(
        static_cast<short>(std::max<short>(textW, buttonW) + 2 * margin), toDluX(captionPx));
    const short boxH = static_cast<short>(margin + textH + margin + buttonH + margin);

    TemplateWriter t;
    t.DWord(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.DWord(0);
    t.Word(2);  // items
    t.Word(0);
    t.Word(0);
    t.Word(boxW);
    t.Word(boxH);
    t.Word(0);  // no menu
    t.Word(0);  // standard class
    t.Text(WideFromAnsi(title));
    t.Word(8);
    t.Text(L"MS Sans Serif");
    // The text.
    t.AlignDWord();
    t.DWord(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX);
    t.DWord(0);
    t.Word(static_cast<WORD>(margin));
    t.Word(static_cast<WORD>(margin));
    t.Word(static_cast<WORD>(textW));
    t.Word(static_cast<WORD>(textH));
    t.Word(static_cast<WORD>(kTextId));
    t.Word(0xFFFF);
    t.Word(0x0082);  // STATIC
    t.Text(WideFromAnsi(text));
    t.Word(0);
    // The OK button, centred; its caption is the toolkit's own whatever the system language.
    t.AlignDWord();
    t.DWord(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    t.DWord(0);
    t.Word(static_cast<WORD>((boxW - buttonW) / 2));
    t.Word(static_cast<WORD>(margin + textH + margin));
    t.Word(static_cast<WORD>(buttonW));
    t.Word(static_cast<WORD>(buttonH));
    t.Word(IDOK);
    t.Word(0xFFFF);
    t.Word(0x0080);  // BUTTON
    t.Text(L"OK");
    t.Word(0);

    ProgramModal modal;
    BoxState state;
    HWND owner = app ? app->Handle() : nullptr;
    HWND box = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                          reinterpret_cast<LPCDLGTEMPLATEW>(t.Data()), owner,
                                          BoxProc, reinterpret_cast<LPARAM>(&state));
    if (!box) return;
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    MSG msg;
    while (!state.done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: close the box and hand the quit on to the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsDialogMessageW(box, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DestroyWindow(box);
}

std::string StartupErrorText(const char* className, const std::string& module, const void* address,
                             const std::string& message) {
    char head[512];
    std::snprintf(head, sizeof head, "Exception %s in module %s at %p.\r\n", className,
                  module.c_str(), address);
    std::string text = head;
    text += quenlo::WithFullStop(message, IsLeadByteAcp);
    text += "\r\n";
    return text;
}

namespace {

void ShowStartupErrorText(const char* className, const void* where, const std::string& message) {
    // Report the module the error came from and the address within it.
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<const char*>(where), &module);
    if (!module) module = GetModuleHandleA(nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == ':') name = p + 1;
    }
    const void* offset = reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(where) -
                                                       reinterpret_cast<std::uintptr_t>(module));
    MessageBoxA(nullptr, StartupErrorText(className, name, offset, message).c_str(),
                "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace

void ShowStartupError(const Exception& e) {
    ShowStartupErrorText(e.ClassName(), e.Address(), e.Message());
}

void ShowStartupError(const std::exception& e) {
    ShowStartupErrorText("Exception", reinterpret_cast<const void*>(&ShowStartupErrorText),
                         e.what());
}

}  // namespace tk
