// uidriver: drives the installer from outside, the way an administrator would, for the end-to-end
// tests. Every subcommand prints `key=value` lines on stdout; texts come twice, as the exact ANSI
// bytes in hex (`*_hex=`) and converted to UTF-8 for reading. Exit code 0 on success, 1 when the
// thing asked for is not there or an operation failed, 2 on a usage error, 3 on a timeout.
//
// Window, text and class arguments given as `hex:<bytes>` are taken byte for byte; anything else is
// taken as the ANSI text that the command line delivered.

#include "hex_text.h"
#include "uidriver_probe.h"

#include <windows.h>
#include <psapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2, kTimeout = 3 };

const char kUsageText[] =
    "usage: uidriver <command> [args] [options]\n"
    "  windows [--pid N]                       list top-level windows\n"
    "  wait-window <caption> [--pid N] [--class C] [--any] [--timeout ms]\n"
    "                                          wait for a (visible, unless --any) top-level "
    "window\n"
    "  controls <hwnd>                         child windows in z-order, depth first\n"
    "  focus <hwnd>                            focus and active window of the window's thread\n"
    "  click <hwnd|text> [--pid N] [--timeout ms]   post BM_CLICK\n"
    "  key <hwnd> <vk> [--method post|input] [--char] [--timeout ms]\n"
    "                                          vk: RETURN SPACE TAB ESCAPE ... or a number;\n"
    "                                          shift+VK with --method input\n"
    "  wait-msgbox [--pid N] [--timeout ms] [--pixels]\n"
    "                                          wait for a message box (#32770) and describe it;\n"
    "                                          --pixels tells the icon by its look on the screen\n"
    "  answer-msgbox <id|OK|CANCEL|...|text> [--pid N] [--timeout ms]\n"
    "  close <hwnd>                            post WM_CLOSE\n"
    "  syscommand <hwnd> <SC_CLOSE|SC_MINIMIZE|SC_RESTORE|...|number>   post WM_SYSCOMMAND\n"
    "  taskbar-window <pid> [--timeout ms]     the process's taskbar (owner) window and its\n"
    "                                          system menu\n"
    "  screenshot <file.bmp> [x y w h] [--window hwnd]   24-bit BMP from the screen DC\n"
    "  wait-exit <pid> [--timeout ms]          wait for a process to end, print its exit code\n"
    "  wait-gone <hwnd> [--timeout ms]         wait for a window to be destroyed\n"
    "  terminate <pid>                         end a Windows process (test clean-up)\n"
    "  time-to-window [--timeout ms] [--settle ms] <exe> [args...]\n"
    "                                          start exe, time until its first visible window,\n"
    "                                          read its peak working set, close it\n"
    "  run [--env NAME=VALUE]... [--cwd dir] <exe> [args...]\n"
    "                                          start exe with a changed environment, print its\n"
    "                                          pid, wait and exit with its exit code\n";

// ---- command line ------------------------------------------------------------------------------

struct Args {
    std::vector<std::string> pos;
    std::map<std::string, std::string> opt;
    std::vector<std::string> env;

    bool has(const std::string& k) const { return opt.count(k) != 0; }
    std::string get(const std::string& k, const std::string& def = "") const {
        auto it = opt.find(k);
        return it == opt.end() ? def : it->second;
    }
};

bool IsFlag(const std::string& s) { return s == "--any" || s == "--char" || s == "--pixels"; }

bool TakesValue(const std::string& s) {
    static const char* const names[] = {"--pid",    "--class",  "--timeout", "--method",
                                        "--window", "--settle", "--env",     "--cwd"};
    for (const char* n : names)
        if (s == n) return true;
    return false;
}

// Options may come anywhere before the program of `run` / `time-to-window`; everything from that
// program on belongs to it.
bool ParseArgs(int argc, char** argv, Args& a, bool programTail) {
    for (int i = 2; i < argc; ++i) {
        std::string s = argv[i];
        if (programTail && !a.pos.empty()) {
            a.pos.push_back(s);
        } else if (IsFlag(s)) {
            a.opt[s] = "1";
        } else if (TakesValue(s)) {
            if (i + 1 >= argc) return false;
            if (s == "--env")
                a.env.push_back(argv[++i]);
            else
                a.opt[s] = argv[++i];
        } else if (s.size() > 2 && s[0] == '-' && s[1] == '-') {
            return false;
        } else {
            a.pos.push_back(s);
        }
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "hex:5175..." -> the bytes; any other text -> itself.
bool DecodeText(const std::string& arg, std::string& out) {
    if (arg.compare(0, 4, "hex:") != 0) {
        out = arg;
        return true;
    }
    out.clear();
    std::string h = arg.substr(4);
    if (h.size() % 2) return false;
    for (size_t i = 0; i < h.size(); i += 2) {
        int hi = HexDigit(h[i]), lo = HexDigit(h[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
    }
    return true;
}

bool ParseNumber(const std::string& s, unsigned long& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtoul(s.c_str(), &end, 0);
    return end && *end == '\0';
}

HWND ParseHwnd(const std::string& s) {
    unsigned long v = 0;
    if (!ParseNumber(s, v)) return nullptr;
    HWND h = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(v));
    return IsWindow(h) ? h : nullptr;
}

DWORD TimeoutOf(const Args& a, DWORD def) {
    unsigned long v = def;
    if (a.has("--timeout") && !ParseNumber(a.get("--timeout"), v)) v = def;
    return v;
}

class Deadline {
  public:
    explicit Deadline(DWORD ms) : start_(GetTickCount()), ms_(ms) {}
    bool expired() const { return GetTickCount() - start_ >= ms_; }

  private:
    DWORD start_, ms_;
};

// ---- output ------------------------------------------------------------------------------------

// ANSI (the process's code page, 936 here) to UTF-8, with line breaks and backslashes escaped so
// that one value stays on one line.
std::string Readable(const std::string& ansi) {
    std::string utf8;
    if (!ansi.empty()) {
        int n =
            MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
        std::wstring w(n, L'\0');
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &w[0], n);
        int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
        utf8.assign(m, '\0');
        WideCharToMultiByte(CP_UTF8, 0, w.data(), n, &utf8[0], m, nullptr, nullptr);
    }
    std::string out;
    for (char c : utf8) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else
            out.push_back(c);
    }
    return out;
}

void Put(const std::string& key, const std::string& value) {
    std::printf("%s=%s\n", key.c_str(), value.c_str());
}
void PutNum(const std::string& key, long v) { std::printf("%s=%ld\n", key.c_str(), v); }
void PutHexNum(const std::string& key, unsigned long v) {
    std::printf("%s=0x%08lX\n", key.c_str(), v);
}
void PutHwnd(const std::string& key, HWND h) {
    PutHexNum(key, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h)));
}
void PutText(const std::string& key, const std::string& ansi) {
    Put(key + "_hex", Hex(ansi));
    Put(key, Readable(ansi));
}

int Fail(const char* what) {
    std::fprintf(stderr, "uidriver: %s\n", what);
    Put("error", what);
    return kFailed;
}

int TimedOut(const char* what) {
    std::fprintf(stderr, "uidriver: timeout: %s\n", what);
    Put("error", std::string("timeout: ") + what);
    return kTimeout;
}

// ---- windows -----------------------------------------------------------------------------------

std::string ClassOf(HWND h) {
    char buf[256] = {};
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

// The internal window text; needs no reply from the window's thread, so a busy program is fine.
std::string TextOf(HWND h) {
    int n = GetWindowTextLengthA(h);
    std::string s(n + 1, '\0');
    n = GetWindowTextA(h, &s[0], n + 1);
    s.resize(std::max(n, 0));
    return s;
}

// An edit keeps its text in its own buffer: ask it with WM_GETTEXT, with a deadline so that a
// program blocked in a step cannot hang the driver. The wide messages are used because Wine 8
// keeps an ANSI WM_GETTEXTLENGTH to a Unicode window of another process waiting past the
// deadline, until that window's thread runs again; the text is converted back to ANSI here.
bool TextByMessage(HWND h, std::string& out) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return false;
    std::vector<wchar_t> buf(len + 2, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_ABORTIFHUNG, 2000, &got))
        return false;
    const int n = static_cast<int>(std::min<size_t>(got, buf.size()));
    out.clear();
    if (n == 0) return true;
    const int m = WideCharToMultiByte(CP_ACP, 0, buf.data(), n, nullptr, 0, nullptr, nullptr);
    out.assign(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_ACP, 0, buf.data(), n, &out[0], m, nullptr, nullptr);
    return true;
}

DWORD PidOf(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

// Top-level windows in z-order, front first.
std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

// ---- questions answered inside the driven process --------------------------------------------

// Sets the probe hook on a window's thread once, and takes it off when the driver ends.
class Prober {
  public:
    ~Prober() {
        for (auto& h : hooks_) UnhookWindowsHookEx(h.second);
        if (view_) UnmapViewOfFile(view_);
        if (map_) CloseHandle(map_);
    }

    bool ask(HWND h, uidriver::ProbeQuery query, uidriver::ProbeAnswer& out) {
        if (!ready()) return false;
        DWORD tid = GetWindowThreadProcessId(h, nullptr);
        if (!hooks_.count(tid)) {
            HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, proc_, dll_, tid);
            if (!hook) return false;
            hooks_[tid] = hook;
        }
        std::memset(view_, 0, sizeof *view_);
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutA(h, message_, query, static_cast<LPARAM>(GetCurrentProcessId()),
                                 SMTO_ABORTIFHUNG, 3000, &r) ||
            !view_->ok)
            return false;
        out = *view_;
        return true;
    }

  private:
    bool ready() {
        if (view_) return true;
        if (tried_) return false;
        tried_ = true;
        // The probe library lies beside the driver.
        char path[MAX_PATH * 2] = {};
        DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
        if (!n || n >= sizeof path) return false;
        std::string dir(path, n);
        dir.resize(dir.find_last_of("\\/") + 1);
        dll_ = LoadLibraryA((dir + "uidriver_probe.dll").c_str());
        if (!dll_) return false;
        proc_ = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(dll_, uidriver::kProbeHookName)));
        if (!proc_) return false;
        message_ = RegisterWindowMessageA(uidriver::kProbeMessage);
        std::string name = uidriver::kProbeBlockPrefix + std::to_string(GetCurrentProcessId());
        map_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(uidriver::ProbeAnswer), name.c_str());
        if (!map_) return false;
        view_ = static_cast<uidriver::ProbeAnswer*>(
            MapViewOfFile(map_, FILE_MAP_WRITE, 0, 0, sizeof(uidriver::ProbeAnswer)));
        return view_ != nullptr;
    }

    bool tried_ = false;
    HMODULE dll_ = nullptr;
    HOOKPROC proc_ = nullptr;
    UINT message_ = 0;
    HANDLE map_ = nullptr;
    uidriver::ProbeAnswer* view_ = nullptr;
    std::map<DWORD, HHOOK> hooks_;
};

Prober& TheProber() {
    static Prober p;
    return p;
}

void PutRect(const std::string& prefix, const RECT& r) {
    PutNum(prefix + "_left", r.left);
    PutNum(prefix + "_top", r.top);
    PutNum(prefix + "_width", r.right - r.left);
    PutNum(prefix + "_height", r.bottom - r.top);
}

void DescribeTopLevel(const std::string& p, HWND h) {
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(h, &pid);
    PutHwnd(p + "hwnd", h);
    PutNum(p + "pid", static_cast<long>(pid));
    PutNum(p + "tid", static_cast<long>(tid));
    PutText(p + "class", ClassOf(h));
    PutText(p + "caption", TextOf(h));
    RECT wr{}, cr{};
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    MapWindowPoints(h, HWND_DESKTOP, reinterpret_cast<POINT*>(&cr), 2);
    PutRect(p + "window", wr);
    PutRect(p + "client", cr);
    PutHexNum(p + "style", static_cast<unsigned long>(GetWindowLongA(h, GWL_STYLE)));
    PutHexNum(p + "exstyle", static_cast<unsigned long>(GetWindowLongA(h, GWL_EXSTYLE)));
    PutNum(p + "visible", IsWindowVisible(h) ? 1 : 0);
    PutNum(p + "enabled", IsWindowEnabled(h) ? 1 : 0);
    PutNum(p + "iconic", IsIconic(h) ? 1 : 0);
    PutHwnd(p + "owner", GetWindow(h, GW_OWNER));
}

// Visible and of some size: an application's taskbar window is "visible" at 0 x 0 with the same
// caption as its main window.
bool IsShown(HWND h) {
    RECT r{};
    return IsWindowVisible(h) && GetWindowRect(h, &r) && r.right - r.left > 1 &&
           r.bottom - r.top > 1;
}

bool PidMatches(const Args& a, HWND h) {
    if (!a.has("--pid")) return true;
    unsigned long pid = 0;
    return ParseNumber(a.get("--pid"), pid) && PidOf(h) == pid;
}

int CmdWindows(const Args& a) {
    int n = 0;
    for (HWND h : TopLevelWindows()) {
        if (!PidMatches(a, h)) continue;
        DescribeTopLevel("window." + std::to_string(n++) + ".", h);
    }
    PutNum("count", n);
    return kOk;
}

int CmdWaitWindow(const Args& a) {
    if (a.pos.size() != 1) return kUsage;
    std::string caption, cls;
    if (!DecodeText(a.pos[0], caption) || !DecodeText(a.get("--class"), cls)) return kUsage;
    Deadline dl(TimeoutOf(a, 10000));
    for (;;) {
        for (HWND h : TopLevelWindows()) {
            if (!PidMatches(a, h) || TextOf(h) != caption) continue;
            if (!cls.empty() && ClassOf(h) != cls) continue;
            if (!a.has("--any") && !IsShown(h)) continue;
            DescribeTopLevel("", h);
            return kOk;
        }
        if (dl.expired()) return TimedOut("no such window");
        Sleep(20);
    }
}

// ---- controls ----------------------------------------------------------------------------------

void PutFont(const std::string& p, const LOGFONTA& lf) {
    PutText(p + "font_face", lf.lfFaceName);
    PutNum(p + "font_height", lf.lfHeight);
    PutNum(p + "font_weight", lf.lfWeight);
    PutNum(p + "font_charset", lf.lfCharSet);
}

void DescribeFont(const std::string& p, HWND h) {
    uidriver::ProbeAnswer ans;
    if (TheProber().ask(h, uidriver::kQueryFont, ans)) {
        Put(p + "font", ans.hasFont ? "ok" : "system");
        if (ans.hasFont) PutFont(p, ans.font);
        return;
    }
    // Without the probe: the handle itself, which only a system that shares GDI handles between
    // processes can read.
    DWORD_PTR font = 0;
    LOGFONTA lf{};
    if (!SendMessageTimeoutA(h, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 2000, &font) || !font ||
        GetObjectA(reinterpret_cast<HFONT>(font), sizeof lf, &lf) != sizeof lf) {
        Put(p + "font", "unreadable");
        return;
    }
    Put(p + "font", "ok");
    PutFont(p, lf);
}

bool IsEditClass(const std::string& cls) {
    std::string c = cls;
    for (char& ch : c) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return c.find("edit") != std::string::npos;
}

void DescribeControl(const std::string& p, HWND h, HWND parent, int depth) {
    PutHwnd(p + "hwnd", h);
    PutHwnd(p + "parent", parent);
    PutNum(p + "depth", depth);
    std::string cls = ClassOf(h);
    PutText(p + "class", cls);
    PutNum(p + "id", GetDlgCtrlID(h));
    std::string text;
    if (IsEditClass(cls) && TextByMessage(h, text)) {
        Put(p + "text_source", "WM_GETTEXT");
    } else {
        text = TextOf(h);
        Put(p + "text_source", "window");
    }
    PutText(p + "text", text);
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    PutRect(p + "rect", r);
    PutNum(p + "enabled", IsWindowEnabled(h) ? 1 : 0);
    PutNum(p + "visible", IsWindowVisible(h) ? 1 : 0);
    LONG style = GetWindowLongA(h, GWL_STYLE);
    PutNum(p + "ws_visible", (style & WS_VISIBLE) ? 1 : 0);
    PutNum(p + "tabstop", (style & WS_TABSTOP) ? 1 : 0);
    PutHexNum(p + "style", static_cast<unsigned long>(style));
    PutHexNum(p + "exstyle", static_cast<unsigned long>(GetWindowLongA(h, GWL_EXSTYLE)));
    DescribeFont(p, h);
}

void WalkChildren(HWND parent, int depth, int& n) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        DescribeControl("control." + std::to_string(n++) + ".", c, parent, depth);
        WalkChildren(c, depth + 1, n);
    }
}

int CmdControls(const Args& a) {
    if (a.pos.size() != 1) return kUsage;
    HWND h = ParseHwnd(a.pos[0]);
    if (!h) return Fail("no such window");
    int n = 0;
    WalkChildren(h, 1, n);
    PutNum("count", n);
    return kOk;
}

// ---- focus, clicks, keys -----------------------------------------------------------------------

bool ThreadInfo(HWND h, GUITHREADINFO& gti) {
    gti = GUITHREADINFO{};
    gti.cbSize = sizeof gti;
    return GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gti) != FALSE;
}

int CmdFocus(const Args& a) {
    if (a.pos.size() != 1) return kUsage;
    HWND h = ParseHwnd(a.pos[0]);
    if (!h) return Fail("no such window");
    GUITHREADINFO gti;
    if (!ThreadInfo(h, gti)) return Fail("GetGUIThreadInfo failed");
    PutHwnd("focus", gti.hwndFocus);
    PutHwnd("active", gti.hwndActive);
    PutHwnd("capture", gti.hwndCapture);
    PutHwnd("foreground", GetForegroundWindow());
    if (gti.hwndFocus) {
        PutNum("focus_id", GetDlgCtrlID(gti.hwndFocus));
        PutText("focus_class", ClassOf(gti.hwndFocus));
        PutText("focus_text", TextOf(gti.hwndFocus));
    }
    return kOk;
}

HWND FindByText(HWND parent, const std::string& text) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (TextOf(c) == text) return c;
        if (HWND d = FindByText(c, text)) return d;
    }
    return nullptr;
}

// A button by handle, or the first visible control with exactly this text in a visible top-level
// window (of --pid).
HWND FindControl(const Args& a, const std::string& arg) {
    if (HWND h = ParseHwnd(arg)) return h;
    std::string text;
    if (!DecodeText(arg, text)) return nullptr;
    for (HWND w : TopLevelWindows()) {
        if (!PidMatches(a, w) || !IsShown(w)) continue;
        if (HWND c = FindByText(w, text))
            if (IsWindowVisible(c)) return c;
    }
    return nullptr;
}

int CmdClick(const Args& a) {
    if (a.pos.size() != 1) return kUsage;
    Deadline dl(TimeoutOf(a, 5000));
    HWND h;
    while (!(h = FindControl(a, a.pos[0]))) {
        if (dl.expired()) return TimedOut("no such control");
        Sleep(20);
    }
    // Posted, never sent: a button that opens a modal box would keep a sent message waiting
    // until the box is closed.
    if (!PostMessageA(h, BM_CLICK, 0, 0)) return Fail("PostMessage failed");
    PutHwnd("clicked", h);
    return kOk;
}

struct KeyName {
    const char* name;
    WORD vk;
};
const KeyName kKeys[] = {{"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},  {"SPACE", VK_SPACE},
                         {"TAB", VK_TAB},       {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
                         {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},   {"UP", VK_UP},
                         {"DOWN", VK_DOWN},     {"F4", VK_F4},         {"MENU", VK_MENU},
                         {"ALT", VK_MENU},      {"SHIFT", VK_SHIFT},   {"CONTROL", VK_CONTROL}};

bool ParseVk(std::string s, WORD& vk) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (s.compare(0, 3, "VK_") == 0) s = s.substr(3);
    for (const KeyName& k : kKeys)
        if (s == k.name) {
            vk = k.vk;
            return true;
        }
    unsigned long v = 0;
    if (s.size() == 1 && std::isalnum(static_cast<unsigned char>(s[0]))) {
        vk = static_cast<WORD>(s[0]);
        return true;
    }
    if (!ParseNumber(s, v) || v == 0 || v > 0xFE) return false;
    vk = static_cast<WORD>(v);
    return true;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// Brings the window's top-level window to the front; SendInput goes to the foreground thread.
bool MakeForeground(HWND top, const Deadline& dl) {
    for (;;) {
        if (GetForegroundWindow() == top) return true;
        SetForegroundWindow(top);
        if (dl.expired()) return false;
        Sleep(20);
    }
}

int CmdKey(const Args& a) {
    if (a.pos.size() != 2) return kUsage;
    HWND h = ParseHwnd(a.pos[0]);
    if (!h) return Fail("no such window");
    std::string keyName = a.pos[1];
    bool shift = false;
    std::string lower = keyName;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.compare(0, 6, "shift+") == 0) {
        shift = true;
        keyName = keyName.substr(6);
    }
    WORD vk = 0;
    if (!ParseVk(keyName, vk)) return kUsage;
    std::string method = a.get("--method", "post");
    if (method == "input") {
        HWND top = GetAncestor(h, GA_ROOT);
        if (!MakeForeground(top, Deadline(TimeoutOf(a, 3000))))
            return TimedOut("window did not become the foreground window");
        std::vector<INPUT> in;
        if (shift) in.push_back(KeyInput(VK_SHIFT, false));
        in.push_back(KeyInput(vk, false));
        in.push_back(KeyInput(vk, true));
        if (shift) in.push_back(KeyInput(VK_SHIFT, true));
        UINT sent = SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
        if (sent != in.size()) return Fail("SendInput failed");
        PutHwnd("target", top);
        Put("method", "input");
        return kOk;
    }
    if (method != "post") return kUsage;
    if (shift) return Fail("a posted key carries no modifier state: use --method input");
    // The keys go to the control that has the focus in the window's thread, as typed keys would;
    // the program's own loop translates them.
    GUITHREADINFO gti;
    HWND target = (ThreadInfo(h, gti) && gti.hwndFocus) ? gti.hwndFocus : h;
    UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | 0xC0000000;
    bool ok = PostMessageA(target, WM_KEYDOWN, vk, down) != FALSE;
    if (ok && a.has("--char")) {
        UINT ch = MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR) & 0x7FFF;
        if (ch) ok = PostMessageA(target, WM_CHAR, ch, down) != FALSE;
    }
    ok = ok && PostMessageA(target, WM_KEYUP, vk, up) != FALSE;
    if (!ok) return Fail("PostMessage failed");
    PutHwnd("target", target);
    Put("method", "post");
    return kOk;
}

int CmdClose(const Args& a) {
    if (a.pos.size() != 1) return kUsage;
    HWND h = ParseHwnd(a.pos[0]);
    if (!h) return Fail("no such window");
    if (!PostMessageA(h, WM_CLOSE, 0, 0)) return Fail("PostMessage failed");
    return kOk;
}

struct SysCommand {
    const char* name;
    UINT id;
};
const SysCommand kSysCommands[] = {{"SC_CLOSE", SC_CLOSE},     {"SC_MINIMIZE", SC_MINIMIZE},
                                   {"SC_RESTORE", SC_RESTORE}, {"SC_MAXIMIZE", SC_MAXIMIZE},
                                   {"SC_MOVE", SC_MOVE},       {"SC_SIZE", SC_SIZE}};

std::string SysCommandName(UINT id) {
    for (const SysCommand& c : kSysCommands)
        if (c.id == (id & 0xFFF0)) return c.name;
    return "other";
}

int CmdSysCommand(const Args& a) {
    if (a.pos.size() != 2) return kUsage;
    HWND h = ParseHwnd(a.pos[0]);
    if (!h) return Fail("no such window");
    unsigned long id = 0;
    bool named = false;
    for (const SysCommand& c : kSysCommands)
        if (a.pos[1] == c.name) {
            id = c.id;
            named = true;
        }
    if (!named && !ParseNumber(a.pos[1], id)) return kUsage;
    if (!PostMessageA(h, WM_SYSCOMMAND, id, 0)) return Fail("PostMessage failed");
    return kOk;
}

// ---- screen capture ----------------------------------------------------------------------------

// 24-bit bottom-up pixels of a screen rectangle, rows padded to 4 bytes.
struct Capture {
    int w = 0, h = 0;
    std::vector<unsigned char> bits;
    int stride() const { return (w * 3 + 3) & ~3; }
    COLORREF at(int x, int y) const {
        const unsigned char* p = &bits[(h - 1 - y) * stride() + x * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

BITMAPINFO Bmi24(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// Copies from the screen DC: PrintWindow gives black for another process's window under Wine.
// `draw`, when given, paints into the memory DC instead of the copy.
template <typename Draw>
bool Grab(int x, int y, int w, int h, Capture& c, Draw draw) {
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = Bmi24(w, h);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bmp) {
        HGDIOBJ old = SelectObject(mem, bmp);
        ok = draw(mem, screen, x, y, w, h);
        GdiFlush();
        c.w = w;
        c.h = h;
        c.bits.assign(static_cast<unsigned char*>(bits),
                      static_cast<unsigned char*>(bits) + c.stride() * h);
        SelectObject(mem, old);
        DeleteObject(bmp);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool GrabScreen(int x, int y, int w, int h, Capture& c) {
    return Grab(x, y, w, h, c, [](HDC mem, HDC screen, int x0, int y0, int w0, int h0) {
        return BitBlt(mem, 0, 0, w0, h0, screen, x0, y0, SRCCOPY | CAPTUREBLT) != FALSE;
    });
}

bool WriteBmp(const std::string& file, const Capture& c) {
    BITMAPFILEHEADER fh{};
    BITMAPINFO bi = Bmi24(c.w, c.h);
    bi.bmiHeader.biSizeImage = static_cast<DWORD>(c.bits.size());
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(c.bits.size());
    FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 &&
              std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
              std::fwrite(c.bits.data(), 1, c.bits.size(), f) == c.bits.size();
    return std::fclose(f) == 0 && ok;
}

int CmdScreenshot(const Args& a) {
    if (a.pos.size() != 1 && a.pos.size() != 5) return kUsage;
    int x = 0, y = 0, w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (a.pos.size() == 5) {
        x = std::atoi(a.pos[1].c_str());
        y = std::atoi(a.pos[2].c_str());
        w = std::atoi(a.pos[3].c_str());
        h = std::atoi(a.pos[4].c_str());
    } else if (a.has("--window")) {
        HWND hw = ParseHwnd(a.get("--window"));
        RECT r{};
        if (!hw || !GetWindowRect(hw, &r)) return Fail("no such window");
        x = r.left;
        y = r.top;
        w = r.right - r.left;
        h = r.bottom - r.top;
    }
    Capture c;
    if (!GrabScreen(x, y, w, h, c)) return Fail("screen capture failed");
    if (!WriteBmp(a.pos[0], c)) return Fail("cannot write the file");
    Put("file", a.pos[0]);
    PutNum("x", x);
    PutNum("y", y);
    PutNum("width", w);
    PutNum("height", h);
    return kOk;
}

// ---- message boxes -----------------------------------------------------------------------------

bool IsMessageBox(HWND h) {
    return IsWindowVisible(h) && ClassOf(h) == "#32770" && GetDlgItem(h, 0xFFFF) != nullptr;
}

HWND FindMessageBox(const Args& a) {
    for (HWND h : TopLevelWindows())
        if (PidMatches(a, h) && IsMessageBox(h)) return h;
    return nullptr;
}

HWND WaitMessageBox(const Args& a, DWORD defTimeout) {
    Deadline dl(TimeoutOf(a, defTimeout));
    for (;;) {
        if (HWND h = FindMessageBox(a)) return h;
        if (dl.expired()) return nullptr;
        Sleep(20);
    }
}

HWND IconStatic(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        LONG style = GetWindowLongA(c, GWL_STYLE);
        if (ClassOf(c) == "Static" && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c))
            return c;
    }
    return nullptr;
}

// An icon handle from another process cannot be compared with ours, so the box's icon is told by
// its pixels: each system icon is drawn here on the box's background and compared with the screen.
std::string IconType(HWND icon) {
    RECT r{};
    GetWindowRect(icon, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    Capture shown;
    if (!GrabScreen(r.left, r.top, w, h, shown)) return "unknown";
    Capture edge;
    if (!GrabScreen(r.left - 1, r.top, 1, 1, edge)) return "unknown";
    COLORREF bg = edge.at(0, 0);
    struct Kind {
        LPCSTR id;
        const char* name;
    };
    const Kind kinds[] = {{IDI_HAND, "hand"},
                          {IDI_QUESTION, "question"},
                          {IDI_EXCLAMATION, "exclamation"},
                          {IDI_ASTERISK, "asterisk"}};
    std::string best = "unknown";
    long bestDiff = static_cast<long>(w) * h / 20 + 1;  // at most 5% of the pixels may differ
    for (const Kind& k : kinds) {
        HICON ic = LoadIconA(nullptr, k.id);
        Capture drawn;
        bool ok = Grab(0, 0, w, h, drawn, [&](HDC mem, HDC, int, int, int w0, int h0) {
            HBRUSH b = CreateSolidBrush(bg);
            RECT all{0, 0, w0, h0};
            FillRect(mem, &all, b);
            DeleteObject(b);
            return DrawIconEx(mem, 0, 0, ic, 0, 0, 0, nullptr, DI_NORMAL) != FALSE;
        });
        if (!ok) continue;
        long diff = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                COLORREF p = shown.at(x, y), q = drawn.at(x, y);
                if (std::abs(GetRValue(p) - GetRValue(q)) > 24 ||
                    std::abs(GetGValue(p) - GetGValue(q)) > 24 ||
                    std::abs(GetBValue(p) - GetBValue(q)) > 24)
                    ++diff;
            }
        if (diff < bestDiff) {
            bestDiff = diff;
            best = k.name;
        }
    }
    return best;
}

void DescribeMessageBox(HWND box, bool byPixels) {
    PutHwnd("hwnd", box);
    PutNum("pid", static_cast<long>(PidOf(box)));
    PutHwnd("owner", GetWindow(box, GW_OWNER));
    PutText("caption", TextOf(box));
    HWND text = GetDlgItem(box, 0xFFFF);
    PutText("text", text ? TextOf(text) : std::string());
    HWND icon = IconStatic(box);
    PutNum("icon", icon ? 1 : 0);
    if (icon) {
        uidriver::ProbeAnswer ans;
        static const char* const names[] = {"none",        "hand",     "question",
                                            "exclamation", "asterisk", "other"};
        if (!byPixels && TheProber().ask(icon, uidriver::kQueryIcon, ans) && ans.icon >= 0 &&
            ans.icon <= 5) {
            Put("icon_type", names[ans.icon]);
            Put("icon_type_by", "handle");
        } else {
            // Give the box a moment to paint before its icon is read off the screen.
            std::string type = "unknown";
            Deadline dl(1500);
            while ((type = IconType(icon)) == "unknown" && !dl.expired()) Sleep(50);
            Put("icon_type", type);
            Put("icon_type_by", "pixels");
        }
    }
    int n = 0;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) != "Button" || !IsWindowVisible(c)) continue;
        std::string p = "button." + std::to_string(n++) + ".";
        PutNum(p + "id", GetDlgCtrlID(c));
        PutText(p + "text", TextOf(c));
        LONG style = GetWindowLongA(c, GWL_STYLE);
        PutNum(p + "default", (style & 0x0F) == BS_DEFPUSHBUTTON ? 1 : 0);
    }
    PutNum("buttons", n);
}

int CmdWaitMsgbox(const Args& a) {
    if (!a.pos.empty()) return kUsage;
    HWND box = WaitMessageBox(a, 10000);
    if (!box) return TimedOut("no message box");
    DescribeMessageBox(box, a.has("--pixels"));
    return kOk;
}

const SysCommand kButtonIds[] = {{"OK", IDOK},       {"CANCEL", IDCANCEL}, {"ABORT", IDABORT},
                                 {"RETRY", IDRETRY}, {"IGNORE", IDIGNORE}, {"YES", IDYES},
                                 {"NO", IDNO}};

int CmdAnswerMsgbox(const Args& a) {
    if (a.pos.size() != 1) return kUsage;
    Deadline dl(TimeoutOf(a, 10000));
    HWND box = WaitMessageBox(a, TimeoutOf(a, 10000));
    if (!box) return TimedOut("no message box");
    unsigned long id = 0;
    HWND button = nullptr;
    for (const SysCommand& k : kButtonIds)
        if (a.pos[0] == k.name) button = GetDlgItem(box, static_cast<int>(k.id));
    if (!button && ParseNumber(a.pos[0], id)) button = GetDlgItem(box, static_cast<int>(id));
    if (!button) {
        std::string text;
        if (DecodeText(a.pos[0], text)) button = FindByText(box, text);
    }
    if (!button) return Fail("the message box has no such button");
    PutHwnd("hwnd", box);
    PutNum("button", GetDlgCtrlID(button));
    if (!PostMessageA(button, BM_CLICK, 0, 0)) return Fail("PostMessage failed");
    while (IsWindow(box)) {
        if (dl.expired()) return TimedOut("the message box stayed open");
        Sleep(20);
    }
    Put("closed", "1");
    return kOk;
}

// ---- taskbar window ----------------------------------------------------------------------------

void PutMenuItem(int n, UINT id, UINT state, const std::string& text) {
    std::string p = "sysmenu." + std::to_string(n) + ".";
    PutHexNum(p + "id", id);
    Put(p + "command", SysCommandName(id));
    PutText(p + "text", text);
    PutNum(p + "enabled", (state & (MFS_DISABLED | MFS_GRAYED)) ? 0 : 1);
}

void DescribeSystemMenu(HWND h) {
    uidriver::ProbeAnswer ans;
    if (!TheProber().ask(h, uidriver::kQuerySystemMenu, ans)) {
        Put("sysmenu", "unreadable");
        return;
    }
    if (!ans.hasMenu) {
        Put("sysmenu", "none");
        return;
    }
    Put("sysmenu", "ok");
    int n = 0;
    for (int i = 0; i < ans.menuCount; ++i) {
        const uidriver::MenuItem& item = ans.menu[i];
        if (item.type & MFT_SEPARATOR) continue;
        PutMenuItem(n++, item.id, item.state, item.text);
    }
    PutNum("sysmenu_count", n);
}

// The window that carries the process's taskbar entry: the top-level window that owns its visible
// main window; else one marked WS_EX_APPWINDOW; else the visible unowned window itself.
HWND FindTaskbarWindow(DWORD pid, std::string& how) {
    std::vector<HWND> mine;
    for (HWND h : TopLevelWindows())
        if (PidOf(h) == pid) mine.push_back(h);
    for (HWND h : mine) {
        if (!IsShown(h) || ClassOf(h) == "#32770") continue;
        HWND owner = GetWindow(h, GW_OWNER);
        if (owner && PidOf(owner) == pid) {
            how = "owner";
            return owner;
        }
    }
    for (HWND h : mine)
        if (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_APPWINDOW) {
            how = "appwindow";
            return h;
        }
    for (HWND h : mine)
        if (IsWindowVisible(h) && !GetWindow(h, GW_OWNER) &&
            !(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
            how = "unowned";
            return h;
        }
    return nullptr;
}

int CmdTaskbarWindow(const Args& a) {
    unsigned long pid = 0;
    if (a.pos.size() != 1 || !ParseNumber(a.pos[0], pid)) return kUsage;
    Deadline dl(TimeoutOf(a, 5000));
    std::string how;
    HWND h;
    while (!(h = FindTaskbarWindow(pid, how))) {
        if (dl.expired()) return TimedOut("no taskbar window");
        Sleep(20);
    }
    DescribeTopLevel("", h);
    Put("found_as", how);
    DescribeSystemMenu(h);
    return kOk;
}

// ---- processes ---------------------------------------------------------------------------------

int CmdWaitExit(const Args& a) {
    unsigned long pid = 0;
    if (a.pos.size() != 1 || !ParseNumber(a.pos[0], pid)) return kUsage;
    HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!p) {
        Put("running", "0");
        return Fail("no such process");
    }
    DWORD r = WaitForSingleObject(p, TimeoutOf(a, 10000));
    DWORD code = 0;
    GetExitCodeProcess(p, &code);
    CloseHandle(p);
    if (r != WAIT_OBJECT_0) return TimedOut("the process is still running");
    PutNum("exit_code", static_cast<long>(code));
    return kOk;
}

int CmdTerminate(const Args& a) {
    unsigned long pid = 0;
    if (a.pos.size() != 1 || !ParseNumber(a.pos[0], pid)) return kUsage;
    HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!p) return Fail("no such process");
    bool ok = TerminateProcess(p, 1) && WaitForSingleObject(p, 5000) == WAIT_OBJECT_0;
    CloseHandle(p);
    return ok ? kOk : Fail("the process did not end");
}

int CmdWaitGone(const Args& a) {
    if (a.pos.size() != 1) return kUsage;
    unsigned long v = 0;
    if (!ParseNumber(a.pos[0], v)) return kUsage;
    HWND h = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(v));
    Deadline dl(TimeoutOf(a, 10000));
    while (IsWindow(h)) {
        if (dl.expired()) return TimedOut("the window is still there");
        Sleep(20);
    }
    Put("gone", "1");
    return kOk;
}

std::string QuoteArg(const std::string& s) {
    if (!s.empty() && s.find_first_of(" \t\"") == std::string::npos) return s;
    std::string q = "\"";
    size_t slashes = 0;
    for (char c : s) {
        if (c == '\\') {
            ++slashes;
        } else if (c == '"') {
            q.append(slashes + 1, '\\');
            slashes = 0;
        } else {
            slashes = 0;
        }
        q.push_back(c);
    }
    q.append(slashes, '\\');
    return q + "\"";
}

std::string CommandLine(const std::vector<std::string>& words) {
    std::string cl;
    for (const std::string& w : words) cl += (cl.empty() ? "" : " ") + QuoteArg(w);
    return cl;
}

// The current environment with NAME=VALUE entries replaced or added (names compare without case).
std::vector<char> EnvironmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> vars;
    if (char* env = GetEnvironmentStringsA()) {
        for (char* p = env; *p; p += std::strlen(p) + 1) vars.push_back(p);
        FreeEnvironmentStringsA(env);
    }
    auto nameOf = [](const std::string& v) {
        std::string n = v.substr(0, v.find('=', 1));
        for (char& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return n;
    };
    for (const std::string& c : changes) {
        std::string n = nameOf(c);
        vars.erase(std::remove_if(vars.begin(), vars.end(),
                                  [&](const std::string& v) { return nameOf(v) == n; }),
                   vars.end());
        vars.push_back(c);
    }
    std::vector<char> block;
    for (const std::string& v : vars)
        block.insert(block.end(), v.c_str(), v.c_str() + v.size() + 1);
    block.push_back('\0');
    return block;
}

bool Start(const Args& a, PROCESS_INFORMATION& pi) {
    std::string cl = CommandLine(a.pos);
    std::vector<char> clBuf(cl.begin(), cl.end());
    clBuf.push_back('\0');
    std::vector<char> env = EnvironmentWith(a.env);
    std::string cwd = a.get("--cwd");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(nullptr, clBuf.data(), nullptr, nullptr, FALSE, 0,
                          a.env.empty() ? nullptr : env.data(), cwd.empty() ? nullptr : cwd.c_str(),
                          &si, &pi) != FALSE;
}

int CmdRun(const Args& a) {
    if (a.pos.empty()) return kUsage;
    PROCESS_INFORMATION pi{};
    if (!Start(a, pi)) return Fail("CreateProcess failed");
    PutNum("pid", static_cast<long>(pi.dwProcessId));
    std::fflush(stdout);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    PutNum("exit_code", static_cast<long>(code));
    return static_cast<int>(code);
}

HWND VisibleWindowOf(DWORD pid) {
    for (HWND h : TopLevelWindows())
        if (PidOf(h) == pid && IsShown(h)) return h;
    return nullptr;
}

int CmdTimeToWindow(const Args& a) {
    if (a.pos.empty()) return kUsage;
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    PROCESS_INFORMATION pi{};
    if (!Start(a, pi)) return Fail("CreateProcess failed");
    Deadline dl(TimeoutOf(a, 30000));
    HWND w;
    while (!(w = VisibleWindowOf(pi.dwProcessId))) {
        if (dl.expired() || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            return TimedOut("no visible window");
        }
        Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                static_cast<double>(freq.QuadPart);
    unsigned long settle = 500;
    if (a.has("--settle")) ParseNumber(a.get("--settle"), settle);
    Sleep(settle);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    bool mem = GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc) != FALSE;
    PostMessageA(w, WM_CLOSE, 0, 0);
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        Put("closed", "0");
    } else {
        GetExitCodeProcess(pi.hProcess, &code);
        Put("closed", "1");
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("ms_to_window=%.1f\n", ms);
    if (mem) {
        PutNum("peak_working_set", static_cast<long>(pmc.PeakWorkingSetSize));
        PutNum("working_set", static_cast<long>(pmc.WorkingSetSize));
    } else {
        Put("peak_working_set", "unavailable");
    }
    PutNum("exit_code", static_cast<long>(code));
    return kOk;
}

struct Command {
    const char* name;
    int (*run)(const Args&);
    bool programTail;
};

const Command kCommands[] = {{"windows", CmdWindows, false},
                             {"wait-window", CmdWaitWindow, false},
                             {"controls", CmdControls, false},
                             {"focus", CmdFocus, false},
                             {"click", CmdClick, false},
                             {"key", CmdKey, false},
                             {"wait-msgbox", CmdWaitMsgbox, false},
                             {"answer-msgbox", CmdAnswerMsgbox, false},
                             {"close", CmdClose, false},
                             {"syscommand", CmdSysCommand, false},
                             {"taskbar-window", CmdTaskbarWindow, false},
                             {"screenshot", CmdScreenshot, false},
                             {"wait-exit", CmdWaitExit, false},
                             {"wait-gone", CmdWaitGone, false},
                             {"terminate", CmdTerminate, false},
                             {"time-to-window", CmdTimeToWindow, true},
                             {"run", CmdRun, true}};

}  // namespace

int main(int argc, char** argv) {
    // Plain "\n" line ends: the scripts that read the output run on Linux.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        Args a;
        if (!ParseArgs(argc, argv, a, c.programTail)) {
            std::fputs(kUsageText, stderr);
            return kUsage;
        }
        int rc = c.run(a);
        // `run` passes on its program's exit code, which may be any number.
        if (rc == kUsage && c.run != CmdRun) std::fputs(kUsageText, stderr);
        std::fflush(stdout);
        return rc;
    }
    std::fputs(kUsageText, stderr);
    return kUsage;
}
