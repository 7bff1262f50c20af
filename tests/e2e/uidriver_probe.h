// What the UI driver asks inside the driven process, and the answer's layout. Fonts, the system
// menu and a message box's icon are handles of that process: another process cannot read them
// (under Wine it does not even get a font handle back from WM_GETFONT), so a hook procedure in
// uidriver_probe.dll reads them there and copies the answer into a shared memory block.
#pragma once

#include <windows.h>

namespace uidriver {

// Registered message sent to the window in question; wParam is a ProbeQuery, lParam the driver's
// process id, which names the shared block.
constexpr char kProbeMessage[] = "QuenloUidriverProbe";
constexpr char kProbeBlockPrefix[] = "Local\\QuenloUidriverProbe.";
constexpr char kProbeHookName[] = "QuenloUidriverProbeHook";

enum ProbeQuery : WPARAM { kQueryFont = 1, kQuerySystemMenu = 2, kQueryIcon = 3 };

enum IconKind : int {
    kIconNone = 0,
    kIconHand,
    kIconQuestion,
    kIconExclamation,
    kIconAsterisk,
    kIconOther
};

struct MenuItem {
    UINT id;
    UINT state;
    UINT type;
    char text[120];
};

struct ProbeAnswer {
    int ok;  // set last by the hook
    // kQueryFont
    int hasFont;  // 0: the window uses the system font (WM_GETFONT gave none)
    LOGFONTA font;
    // kQuerySystemMenu
    int hasMenu;
    int menuCount;
    MenuItem menu[32];
    // kQueryIcon
    int icon;  // IconKind
};

}  // namespace uidriver
