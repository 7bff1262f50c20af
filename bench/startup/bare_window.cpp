// The floor of the start-up benchmark: the least a program can do to show a window like the
// installer's (outer top-left 13,7, client 385 x 165, single border, caption only). The caption is
// the first argument when one is given.

#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareWindow";
    if (!RegisterClassA(&wc)) return 1;

    const DWORD style = WS_CAPTION | WS_MINIMIZEBOX;
    RECT r{0, 0, 385, 165};
    AdjustWindowRect(&r, style, FALSE);
    const char* caption = __argc > 1 ? __argv[1] : "bare window";
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, caption, style, 13, 7, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, inst, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
