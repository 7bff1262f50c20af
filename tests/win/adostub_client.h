// Test-side use of the data-access stand-in: load and register it in this process, point its
// call log at a fresh file and choose how it answers.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace quenlo::test {

inline std::wstring Env(const wchar_t* name) {
    wchar_t buf[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(name, buf, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buf, n) : std::wstring();
}

// Calls the stand-in's own registration entry points, so this process decides which classes
// the data-access ProgIDs name.
class StubDll {
  public:
    StubDll() {
        std::wstring path = Env(L"QUENLO_ADOSTUB_DLL");
        for (auto& c : path) {
            if (c == L'/') c = L'\\';
        }
        module_ = path.empty() ? nullptr : LoadLibraryW(path.c_str());
    }
    ~StubDll() {
        if (module_) FreeLibrary(module_);
    }
    bool Loaded() const { return module_ != nullptr; }
    HRESULT Call(const char* entry) const {
        auto fn = reinterpret_cast<HRESULT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(module_, entry)));
        return fn ? fn() : E_NOTIMPL;
    }

  private:
    HMODULE module_ = nullptr;
};

// The stand-in's call log, one UTF-8 line per call; a fresh file for every test.
class StubLog {
  public:
    StubLog() {
        wchar_t dir[MAX_PATH];
        wchar_t file[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        GetTempFileNameW(dir, L"ado", 0, file);
        path_ = file;
        SetEnvironmentVariableW(L"QUENLO_ADOSTUB_LOG", path_.c_str());
    }
    ~StubLog() {
        SetEnvironmentVariableW(L"QUENLO_ADOSTUB_LOG", nullptr);
        DeleteFileW(path_.c_str());
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        FILE* f = _wfopen(path_.c_str(), L"rb");
        if (!f) return lines;
        std::string text;
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
        fclose(f);
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }
    // Lines that start with `prefix`, for counting calls of one member.
    size_t Count(const std::string& prefix) const {
        size_t n = 0;
        for (const auto& line : Lines()) n += line.rfind(prefix, 0) == 0;
        return n;
    }
    void Clear() const {
        FILE* f = _wfopen(path_.c_str(), L"wb");
        if (f) fclose(f);
    }

  private:
    std::wstring path_;
};

inline void SetMode(const wchar_t* mode) { SetEnvironmentVariableW(L"QUENLO_ADOSTUB_MODE", mode); }

}  // namespace quenlo::test
