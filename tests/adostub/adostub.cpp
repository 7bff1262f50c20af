// A stand-in for the data-access classes, for tests. In-process COM objects answer, by name
// through IDispatch, the members that the command component uses; they record what they receive
// and answer as the environment says at the moment of each call:
//
//   QUENLO_ADOSTUB_LOG      file (Windows path; Z:\... for a Linux file) to which every call is
//                           appended as one UTF-8 line
//   QUENLO_ADOSTUB_MODE     ok (default) | fail: connections are refused |
//                           fail-exec: the statement fails | timeout: the statement outlasts its
//                           CommandTimeout and fails
//   QUENLO_ADOSTUB_WAIT_MS  in timeout mode, the wait in milliseconds instead of CommandTimeout
//
// DllRegisterServer points the ProgIDs ADODB.Connection and ADODB.Command at these classes and
// remembers the classes they named before; DllUnregisterServer puts those back.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>

namespace {

HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

const CLSID kConnectionClass = {
    0xe1415443, 0x8078, 0x47ab, {0xa6, 0x8c, 0x27, 0xfb, 0x71, 0x6e, 0xdc, 0x49}};
const CLSID kCommandClass = {
    0x6cfb7565, 0xaac0, 0x4d07, {0x8e, 0xc8, 0x62, 0xcd, 0xaf, 0x2a, 0x9a, 0xb2}};

const wchar_t kProviderSource[] = L"Microsoft OLE DB Provider for SQL Server";
const wchar_t kCommandSource[] = L"ADODB.Command";
const wchar_t kConnectionSource[] = L"ADODB.Connection";

std::wstring Env(const wchar_t* name) {
    wchar_t buf[1024];
    const DWORD n = GetEnvironmentVariableW(name, buf, 1024);
    return n > 0 && n < 1024 ? std::wstring(buf, n) : std::wstring();
}

std::wstring Mode() {
    const std::wstring mode = Env(L"QUENLO_ADOSTUB_MODE");
    return mode.empty() ? L"ok" : mode;
}

void Log(const std::wstring& line) {
    const std::wstring path = Env(L"QUENLO_ADOSTUB_LOG");
    if (path.empty()) return;
    const std::wstring text = line + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                        nullptr, nullptr);
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

HRESULT Raise(EXCEPINFO* info, HRESULT code, const wchar_t* source, const wchar_t* description) {
    if (!info) return code;
    *info = EXCEPINFO{};
    info->scode = code;
    info->bstrSource = SysAllocString(source);
    info->bstrDescription = SysAllocString(description);
    return DISP_E_EXCEPTION;
}

// Argument `index` (0 = first) of a call, looking through a by-reference variant; null when the
// caller left it out.
const VARIANT* Arg(const DISPPARAMS* params, UINT index) {
    if (!params || index >= params->cArgs) return nullptr;
    const VARIANT* v = &params->rgvarg[params->cArgs - 1 - index];
    if (v->vt == (VT_BYREF | VT_VARIANT)) v = v->pvarVal;
    if (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND) return nullptr;
    return v;
}

HRESULT ArgText(const DISPPARAMS* params, UINT index, std::wstring& out) {
    const VARIANT* v = Arg(params, index);
    if (!v) return DISP_E_PARAMNOTFOUND;
    VARIANT copy;
    VariantInit(&copy);
    HRESULT hr = VariantChangeType(&copy, const_cast<VARIANT*>(v), 0, VT_BSTR);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    out.assign(copy.bstrVal, SysStringLen(copy.bstrVal));
    VariantClear(&copy);
    return S_OK;
}

HRESULT ArgLong(const DISPPARAMS* params, UINT index, LONG& out) {
    const VARIANT* v = Arg(params, index);
    if (!v) return DISP_E_PARAMNOTFOUND;
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(v), 0, VT_I4)))
        return DISP_E_TYPEMISMATCH;
    out = copy.lVal;
    return S_OK;
}

HRESULT ReturnText(VARIANT* result, const std::wstring& text) {
    if (!result) return S_OK;
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return S_OK;
}

HRESULT ReturnLong(VARIANT* result, LONG value) {
    if (result) {
        result->vt = VT_I4;
        result->lVal = value;
    }
    return S_OK;
}

// IDispatch by a fixed name table: member n of the table has DISPID n + 1.
class Object : public IDispatch {
  public:
    Object(const wchar_t* className, const wchar_t* const* names, UINT count)
        : className_(className), names_(names), count_(count) {
        InterlockedIncrement(&g_objects);
    }
    virtual ~Object() {
        Log(std::wstring(className_) + L".Free");
        InterlockedDecrement(&g_objects);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count == 0) return S_OK;
        // Only the member name is known; names of arguments (the rest) are not.
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (UINT k = 0; k < count_; ++k) {
            if (lstrcmpiW(names[0], names_[k]) == 0) ids[0] = static_cast<DISPID>(k + 1);
        }
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        if (id < 1 || static_cast<UINT>(id) > count_) return DISP_E_MEMBERNOTFOUND;
        if (result) VariantInit(result);
        return Call(id, flags, params, result, info);
    }

  protected:
    virtual HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* info) = 0;
    static bool IsPut(WORD flags) {
        return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    }
    void LogMember(DISPID id, const std::wstring& rest) {
        Log(std::wstring(className_) + L"." + names_[id - 1] + rest);
    }

  private:
    LONG refs_ = 1;
    const wchar_t* className_;
    const wchar_t* const* names_;
    UINT count_;
};

// What a statement returns: nothing to read; the log shows when it is let go.
class Recordset : public Object {
  public:
    Recordset() : Object(L"Recordset", kNames, 1) {}

  protected:
    HRESULT Call(DISPID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*) override {
        return ReturnLong(result, 1);  // State: open
    }

  private:
    static constexpr const wchar_t* kNames[] = {L"State"};
};

const wchar_t* const kConnectionNames[] = {L"ConnectionString", L"ConnectionTimeout", L"Open",
                                           L"Close", L"State"};

class Connection : public Object {
  public:
    Connection() : Object(L"Connection", kConnectionNames, 5) {}

  protected:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* info) override {
        switch (id) {
            case 1:  // ConnectionString
                if (!IsPut(flags)) return ReturnText(result, connectionString_);
                if (HRESULT hr = ArgText(params, 0, connectionString_); FAILED(hr)) return hr;
                LogMember(id, L"=" + connectionString_);
                return S_OK;
            case 2:  // ConnectionTimeout
                if (!IsPut(flags)) return ReturnLong(result, timeout_);
                if (HRESULT hr = ArgLong(params, 0, timeout_); FAILED(hr)) return hr;
                LogMember(id, L"=" + std::to_wstring(timeout_));
                return S_OK;
            case 3: {  // Open([ConnectionString], [UserID], [Password], [Options])
                std::wstring text;
                if (SUCCEEDED(ArgText(params, 0, text))) connectionString_ = text;
                LogMember(id, L" " + connectionString_);
                if (open_) {
                    return Raise(info, 0x800A0E79, kConnectionSource,
                                 L"Operation is not allowed when the object is open.");
                }
                if (Mode() == L"fail") {
                    return Raise(info, E_FAIL, kProviderSource,
                                 L"[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not "
                                 L"exist or access denied.");
                }
                open_ = true;
                return S_OK;
            }
            case 4:  // Close
                LogMember(id, L"");
                if (!open_) {
                    return Raise(info, 0x800A0E78, kConnectionSource,
                                 L"Operation is not allowed when the object is closed.");
                }
                open_ = false;
                return S_OK;
            default:  // State
                return ReturnLong(result, open_ ? 1 : 0);
        }
    }

  private:
    std::wstring connectionString_;
    LONG timeout_ = 15;
    bool open_ = false;
};

const wchar_t* const kCommandNames[] = {L"ActiveConnection", L"CommandText", L"CommandType",
                                        L"CommandTimeout",   L"Prepared",    L"Execute"};

bool IsOpen(IDispatch* connection) {
    if (!connection) return false;
    LPOLESTR name = const_cast<LPOLESTR>(L"State");
    DISPID id;
    if (FAILED(connection->GetIDsOfNames(IID_NULL, &name, 1, 0, &id))) return false;
    DISPPARAMS none{};
    VARIANT state;
    VariantInit(&state);
    if (FAILED(connection->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &state, nullptr,
                                  nullptr))) {
        return false;
    }
    return state.vt == VT_I4 && state.lVal == 1;
}

class Command : public Object {
  public:
    Command() : Object(L"Command", kCommandNames, 6) {}
    ~Command() override {
        if (connection_) connection_->Release();
    }

  protected:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* info) override {
        switch (id) {
            case 1:
                return ActiveConnection(flags, params, result);
            case 2:
                if (!IsPut(flags)) return ReturnText(result, text_);
                if (HRESULT hr = ArgText(params, 0, text_); FAILED(hr)) return hr;
                LogMember(id, L"=" + text_);
                return S_OK;
            case 3:
            case 4:
            case 5: {
                LONG& field = id == 3 ? type_ : id == 4 ? timeout_ : prepared_;
                if (!IsPut(flags)) {
                    if (id != 5) return ReturnLong(result, field);
                    result->vt = VT_BOOL;
                    result->boolVal = field ? VARIANT_TRUE : VARIANT_FALSE;
                    return S_OK;
                }
                if (HRESULT hr = ArgLong(params, 0, field); FAILED(hr)) return hr;
                LogMember(id, L"=" + std::to_wstring(field));
                return S_OK;
            }
            default:
                return Execute(params, result, info);
        }
    }

  private:
    HRESULT ActiveConnection(WORD flags, DISPPARAMS* params, VARIANT* result) {
        if (!IsPut(flags)) {
            if (result) {
                result->vt = VT_DISPATCH;
                result->pdispVal = connection_;
                if (connection_) connection_->AddRef();
            }
            return S_OK;
        }
        const VARIANT* v = Arg(params, 0);
        if (!v || v->vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
        if (connection_) connection_->Release();
        connection_ = v->pdispVal;
        if (connection_) connection_->AddRef();
        const wchar_t* how = (flags & DISPATCH_PROPERTYPUTREF) ? L" putref=" : L" put=";
        LogMember(1, how + std::wstring(connection_ ? L"connection" : L"nothing"));
        return S_OK;
    }

    // Execute([out] RecordsAffected, [in] Parameters, [in] Options)
    HRESULT Execute(DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) {
        LONG options = -1;
        ArgLong(params, 2, options);
        const bool withParameters = Arg(params, 1) != nullptr;
        LogMember(6, L" options=" + std::to_wstring(options) +
                         (withParameters ? L" parameters=given" : L" parameters=none"));
        if (!IsOpen(connection_)) {
            return Raise(info, 0x800A0E7D, kCommandSource,
                         L"The connection cannot be used to perform this operation. It is either "
                         L"closed or invalid in this context.");
        }
        const std::wstring mode = Mode();
        if (mode == L"fail-exec") {
            return Raise(info, E_FAIL, kProviderSource,
                         L"RESTORE DATABASE is terminating abnormally.");
        }
        if (mode == L"timeout") {
            const std::wstring wait = Env(L"QUENLO_ADOSTUB_WAIT_MS");
            Sleep(wait.empty() ? static_cast<DWORD>(timeout_) * 1000 + 500
                               : static_cast<DWORD>(_wtoi(wait.c_str())));
            return Raise(info, 0x80040E31, kProviderSource, L"Timeout expired.");
        }
        if (params && params->cArgs >= 1) {
            VARIANT* affected = &params->rgvarg[params->cArgs - 1];
            if (affected->vt == (VT_BYREF | VT_VARIANT)) {
                VariantClear(affected->pvarVal);
                affected->pvarVal->vt = VT_I4;
                affected->pvarVal->lVal = -1;
            }
        }
        if (result) {
            result->vt = VT_DISPATCH;
            result->pdispVal = new Recordset();
        }
        return S_OK;
    }

    IDispatch* connection_ = nullptr;
    std::wstring text_;
    LONG type_ = 8;  // unknown until set
    LONG timeout_ = 30;
    LONG prepared_ = 0;
};

class Factory : public IClassFactory {
  public:
    explicit Factory(bool connection) : connection_(connection) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Object* object = connection_ ? static_cast<Object*>(new Connection())
                                     : static_cast<Object*>(new Command());
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            InterlockedIncrement(&g_locks);
        } else {
            InterlockedDecrement(&g_locks);
        }
        return S_OK;
    }

  private:
    bool connection_;
};

Factory g_connectionFactory(true);
Factory g_commandFactory(false);

struct ClassEntry {
    const CLSID* clsid;
    const wchar_t* progId;
    const wchar_t* description;
};
const ClassEntry kClasses[] = {
    {&kConnectionClass, L"ADODB.Connection", L"Quenlo test stand-in: Connection"},
    {&kCommandClass, L"ADODB.Command", L"Quenlo test stand-in: Command"},
};

std::wstring ClsidText(const CLSID& clsid) {
    wchar_t buf[40];
    StringFromGUID2(clsid, buf, 40);
    return buf;
}

bool SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY k;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG rc = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

std::wstring GetText(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t buf[256];
    DWORD size = sizeof buf;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return buf;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (IsEqualCLSID(clsid, kConnectionClass)) {
        return g_connectionFactory.QueryInterface(iid, out);
    }
    if (IsEqualCLSID(clsid, kCommandClass)) return g_commandFactory.QueryInterface(iid, out);
    if (out) *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
    for (const ClassEntry& c : kClasses) {
        const std::wstring clsid = ClsidText(*c.clsid);
        const std::wstring classKey = L"CLSID\\" + clsid;
        const std::wstring progIdKey = std::wstring(c.progId) + L"\\CLSID";
        const std::wstring previous = GetText(HKEY_CLASSES_ROOT, progIdKey, nullptr);
        bool ok = SetText(HKEY_CLASSES_ROOT, classKey, nullptr, c.description) &&
                  SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, path) &&
                  SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel",
                          L"Apartment");
        // Registering twice must not forget the class that was there before the first time.
        if (ok && !previous.empty() && previous != clsid) {
            ok = SetText(HKEY_CLASSES_ROOT, classKey, L"ReplacedClass", previous);
        }
        ok = ok && SetText(HKEY_CLASSES_ROOT, progIdKey, nullptr, clsid);
        if (!ok) return SELFREG_E_CLASS;
    }
    return S_OK;
}

STDAPI DllUnregisterServer() {
    for (const ClassEntry& c : kClasses) {
        const std::wstring clsid = ClsidText(*c.clsid);
        const std::wstring classKey = L"CLSID\\" + clsid;
        const std::wstring progIdKey = std::wstring(c.progId) + L"\\CLSID";
        if (GetText(HKEY_CLASSES_ROOT, progIdKey, nullptr) == clsid) {
            const std::wstring previous = GetText(HKEY_CLASSES_ROOT, classKey, L"ReplacedClass");
            if (previous.empty()) {
                RegDeleteKeyW(HKEY_CLASSES_ROOT, progIdKey.c_str());
            } else if (!SetText(HKEY_CLASSES_ROOT, progIdKey, nullptr, previous)) {
                return SELFREG_E_CLASS;
            }
        }
        RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
    }
    return S_OK;
}
