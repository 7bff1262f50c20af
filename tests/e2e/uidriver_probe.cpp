// Hook procedure that the UI driver sets on the driven program's thread; it runs there and
// answers the driver's questions about that process's own handles (see uidriver_probe.h).

#include "uidriver_probe.h"

#include <cstdio>
#include <cstring>

namespace {

using namespace uidriver;

void AnswerFont(HWND h, ProbeAnswer& a) {
    HFONT f = reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0));
    a.hasFont = f && GetObjectA(f, sizeof a.font, &a.font) == sizeof a.font;
}

void AnswerSystemMenu(HWND h, ProbeAnswer& a) {
    HMENU m = GetSystemMenu(h, FALSE);
    a.hasMenu = m != nullptr;
    if (!m) return;
    int n = GetMenuItemCount(m);
    for (int i = 0; i < n && a.menuCount < static_cast<int>(sizeof a.menu / sizeof a.menu[0]);
         ++i) {
        MenuItem& item = a.menu[a.menuCount];
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        mi.dwTypeData = item.text;
        mi.cch = sizeof item.text - 1;
        if (!GetMenuItemInfoA(m, i, TRUE, &mi)) continue;
        item.id = mi.wID;
        item.state = mi.fState;
        item.type = mi.fType;
        ++a.menuCount;
    }
}

// A message box takes its icon from the shared system icons, so the handle tells the kind.
void AnswerIcon(HWND h, ProbeAnswer& a) {
    HICON icon = reinterpret_cast<HICON>(SendMessageA(h, STM_GETICON, 0, 0));
    if (!icon) {
        a.icon = kIconNone;
        return;
    }
    struct Kind {
        LPCSTR id;
        IconKind kind;
    };
    const Kind kinds[] = {{IDI_HAND, kIconHand},
                          {IDI_QUESTION, kIconQuestion},
                          {IDI_EXCLAMATION, kIconExclamation},
                          {IDI_ASTERISK, kIconAsterisk}};
    a.icon = kIconOther;
    for (const Kind& k : kinds)
        if (LoadIconA(nullptr, k.id) == icon) a.icon = k.kind;
}

void Answer(HWND h, WPARAM query, LPARAM driverPid) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%lu", kProbeBlockPrefix,
                  static_cast<unsigned long>(driverPid));
    HANDLE map = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (!map) return;
    if (auto* a = static_cast<ProbeAnswer*>(
            MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, sizeof(ProbeAnswer)))) {
        std::memset(a, 0, sizeof *a);
        if (query == kQueryFont) AnswerFont(h, *a);
        if (query == kQuerySystemMenu) AnswerSystemMenu(h, *a);
        if (query == kQueryIcon) AnswerIcon(h, *a);
        a->ok = 1;
        UnmapViewOfFile(a);
    }
    CloseHandle(map);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    QuenloUidriverProbeHook(int code, WPARAM wp, LPARAM lp) {
    static const UINT probe = RegisterWindowMessageA(kProbeMessage);
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (cwp->message == probe) Answer(cwp->hwnd, cwp->wParam, cwp->lParam);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
