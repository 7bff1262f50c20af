#include "toolkit/adodb.h"

#include <windows.h>
#include <oleauto.h>

#include <utility>

#include "core/ado/ole_error_text.h"
#include "toolkit/exceptions.h"
#include "toolkit/win32_util.h"

namespace tk {

namespace {

const char kCreateFailed[] =
    "Error creating object.  Please verify that the Microsoft Data Access Components 2.1 (or "
    "later) have been properly installed";

// An owned IDispatch reference.
class DispatchRef {
  public:
    DispatchRef() = default;
    DispatchRef(DispatchRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    DispatchRef& operator=(DispatchRef&& other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~DispatchRef() { reset(); }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    IDispatch* get() const { return p_; }
    void** out() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    IDispatch* p_ = nullptr;
};

// A VARIANT that clears itself; same layout, so arrays of it are argument arrays.
struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

std::string ToAnsi(BSTR text) { return AnsiFromWide(text, text ? SysStringLen(text) : 0); }

std::string SystemMessage(HRESULT code) {
    char buf[1024];
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, buf, sizeof buf, nullptr);
    return std::string(buf, n);
}

// Throws the failure of a COM call with the best description there is: the exception the object
// raised, else the error object it left on the thread, else the system's text for the code.
[[noreturn]] void ThrowFailure(HRESULT hr, EXCEPINFO* info) {
    std::string description;
    std::string source;
    HRESULT code = hr;
    if (hr == DISP_E_EXCEPTION && info) {
        if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
        description = ToAnsi(info->bstrDescription);
        source = ToAnsi(info->bstrSource);
        if (info->scode) code = info->scode;
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrHelpFile);
        *info = EXCEPINFO{};
    } else {
        IErrorInfo* error = nullptr;
        if (GetErrorInfo(0, &error) == S_OK && error) {
            BSTR text = nullptr;
            if (SUCCEEDED(error->GetDescription(&text))) description = ToAnsi(text);
            SysFreeString(text);
            text = nullptr;
            if (SUCCEEDED(error->GetSource(&text))) source = ToAnsi(text);
            SysFreeString(text);
            error->Release();
        }
    }
    const std::string system = description.empty() ? SystemMessage(code) : std::string();
    throw EOleException(
        quenlo::ado::OleErrorMessage(description, system, static_cast<std::uint32_t>(code)),
        static_cast<std::int32_t>(code), source);
}

// Calls a member by name. `args` are in Invoke's order (last argument first). Returns the
// HRESULT; on DISP_E_EXCEPTION `info` holds the object's exception.
HRESULT TryInvoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT argCount,
                  VARIANT* result, EXCEPINFO& info) {
    // A stale error object from an earlier call must not describe this one.
    SetErrorInfo(0, nullptr);
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{args, nullptr, argCount, 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    UINT argError = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &info,
                          &argError);
}

void Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args = nullptr,
            UINT argCount = 0, VARIANT* result = nullptr) {
    EXCEPINFO info{};
    const HRESULT hr = TryInvoke(object, name, flags, args, argCount, result, info);
    if (FAILED(hr)) ThrowFailure(hr, &info);
}

void Put(IDispatch* object, const wchar_t* name, Variant& value) {
    Invoke(object, name, DISPATCH_PROPERTYPUT, &value, 1);
}

void PutText(IDispatch* object, const wchar_t* name, const std::wstring& text) {
    Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!v.bstrVal) ThrowFailure(E_OUTOFMEMORY, nullptr);
    Put(object, name, v);
}

void PutLong(IDispatch* object, const wchar_t* name, LONG value) {
    Variant v;
    v.vt = VT_I4;
    v.lVal = value;
    Put(object, name, v);
}

void PutBool(IDispatch* object, const wchar_t* name, bool value) {
    Variant v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    Put(object, name, v);
}

HRESULT Create(const wchar_t* progId, DispatchRef& object) {
    CLSID clsid;
    SetErrorInfo(0, nullptr);
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.out());
}

}  // namespace

// The data-access calls over the Command and Connection objects.
class AdoCommand::DispatchPort : public quenlo::ado::CommandPort {
  public:
    explicit DispatchPort(const AdoClassNames& names) : connectionClass_(names.connection) {
        if (FAILED(Create(names.command, command_))) throw Exception(kCreateFailed);
    }

    void Open(const std::wstring& connectionString) override {
        DispatchRef connection;
        const HRESULT hr = Create(connectionClass_.c_str(), connection);
        if (FAILED(hr)) ThrowFailure(hr, nullptr);
        PutText(connection.get(), L"ConnectionString", connectionString);
        Invoke(connection.get(), L"Open", DISPATCH_METHOD);
        try {
            AttachConnection(connection.get());
        } catch (...) {
            CloseQuietly(connection.get());
            throw;
        }
        connection_ = std::move(connection);
    }

    void Close() noexcept override {
        if (!connection_) return;
        // The command lets go of the connection first, so closing it leaves nothing half-bound.
        Variant nothing;
        nothing.vt = VT_DISPATCH;
        nothing.pdispVal = nullptr;
        EXCEPINFO info{};
        if (FAILED(TryInvoke(command_.get(), L"ActiveConnection", DISPATCH_PROPERTYPUTREF, &nothing,
                             1, nullptr, info))) {
            ClearInfo(info);
        }
        CloseQuietly(connection_.get());
        connection_.reset();
    }

    void Execute(const quenlo::ado::ExecuteRequest& request) override {
        IDispatch* command = command_.get();
        PutText(command, L"CommandText", request.text);
        PutLong(command, L"CommandType", static_cast<LONG>(request.type));
        PutLong(command, L"CommandTimeout", request.timeoutSeconds);
        PutBool(command, L"Prepared", request.prepared);

        Variant recordsAffected;
        Variant args[3];  // Options, Parameters, RecordsAffected: Invoke wants them last first
        args[0].vt = VT_I4;
        args[0].lVal = static_cast<LONG>(request.type) | static_cast<LONG>(request.options);
        args[1].vt = VT_ERROR;  // no parameter values
        args[1].scode = DISP_E_PARAMNOTFOUND;
        args[2].vt = VT_BYREF | VT_VARIANT;
        args[2].pvarVal = &recordsAffected;
        Variant recordset;  // released when this returns: nobody reads the statement's results
        Invoke(command, L"Execute", DISPATCH_METHOD, args, 3, &recordset);
    }

  private:
    static void ClearInfo(EXCEPINFO& info) {
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrHelpFile);
        info = EXCEPINFO{};
    }

    static void CloseQuietly(IDispatch* connection) {
        EXCEPINFO info{};
        if (FAILED(TryInvoke(connection, L"Close", DISPATCH_METHOD, nullptr, 0, nullptr, info))) {
            ClearInfo(info);
        }
    }

    void AttachConnection(IDispatch* connection) {
        Variant value;
        value.vt = VT_DISPATCH;
        value.pdispVal = connection;
        connection->AddRef();
        EXCEPINFO info{};
        HRESULT hr = TryInvoke(command_.get(), L"ActiveConnection", DISPATCH_PROPERTYPUTREF, &value,
                               1, nullptr, info);
        if (FAILED(hr) && hr != DISP_E_EXCEPTION) {
            // Objects that only take the connection as a value get it that way.
            hr = TryInvoke(command_.get(), L"ActiveConnection", DISPATCH_PROPERTYPUT, &value, 1,
                           nullptr, info);
        }
        if (FAILED(hr)) ThrowFailure(hr, &info);
    }

    std::wstring connectionClass_;
    DispatchRef command_;
    DispatchRef connection_;
};

AdoCommand::AdoCommand(const AdoClassNames& names)
    : port_(std::make_unique<DispatchPort>(names)),
      session_(std::make_unique<quenlo::ado::CommandSession>(*port_)) {}

AdoCommand::~AdoCommand() = default;

}  // namespace tk
