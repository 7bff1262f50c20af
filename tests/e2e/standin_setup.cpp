// Stand-in for the programs that the installer starts (the database-server setup program, and the
// command interpreter that runs "start.bat"). It only records how it was started and exits:
// appends one record to the log named by QUENLO_STANDIN_LOG, or to "standin.log" next to itself.
//
// A record starts with a line "---" and holds key=value lines; texts come as the exact ANSI bytes
// in hex and converted to UTF-8 for reading.

#include <windows.h>

#include "hex_text.h"

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::string& ansi) {
    if (ansi.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &w[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
    std::string u(m, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), n, &u[0], m, nullptr, nullptr);
    return u;
}

void AddText(std::string& rec, const char* key, const std::string& ansi) {
    rec += std::string(key) + "_hex=" + Hex(ansi) + "\n";
    rec += std::string(key) + "=" + Utf8(ansi) + "\n";
}

// The full module path, however long.
std::string ModulePath() {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::string CurrentDirectory() {
    DWORD n = GetCurrentDirectoryA(0, nullptr);
    std::string s(n, '\0');
    n = GetCurrentDirectoryA(n, &s[0]);
    s.resize(n);
    return s;
}

std::string LogPath(const std::string& module) {
    char env[MAX_PATH * 2] = {};
    DWORD n = GetEnvironmentVariableA("QUENLO_STANDIN_LOG", env, sizeof env);
    if (n > 0 && n < sizeof env) return env;
    // Scan for the last separator with the code page's lead bytes in mind: a folder name may end
    // in a double-byte character whose second byte is a backslash.
    size_t cut = 0;
    for (size_t i = 0; i < module.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(module[i])) && i + 1 < module.size()) {
            ++i;
            continue;
        }
        if (module[i] == '\\') cut = i + 1;
    }
    return module.substr(0, cut) + "standin.log";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    std::string module = ModulePath();

    std::string rec = "---\n";
    AddText(rec, "exe", module);
    AddText(rec, "cwd", CurrentDirectory());
    AddText(rec, "cmdline", GetCommandLineA());
    char num[64];
    std::snprintf(num, sizeof num, "startup_flags=0x%08lX\n", si.dwFlags);
    rec += num;
    std::snprintf(num, sizeof num, "show_window=%u\n", si.wShowWindow);
    rec += num;
    std::snprintf(num, sizeof num, "pid=%lu\n", GetCurrentProcessId());
    rec += num;

    // One write per record, appended, so that records of several runs never interleave.
    HANDLE f =
        CreateFileA(LogPath(module).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(f, rec.data(), static_cast<DWORD>(rec.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == rec.size() ? 0 : 1;
}
