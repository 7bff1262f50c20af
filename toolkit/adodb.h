// The command component: runs one statement text over an OLE DB connection made from a
// connection string, through the data-access objects bound by name (IDispatch), so any installed
// version of them serves, and so does the tests' stand-in.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/ado/command_session.h"
#include "toolkit/component.h"

namespace tk {

// Where the data-access classes are found. Tests point these at names that do not exist.
struct AdoClassNames {
    const wchar_t* command = L"ADODB.Command";
    const wchar_t* connection = L"ADODB.Connection";
};

// The command and its connection, without the form. COM must be initialised on the calling
// thread; every call comes from that thread.
class AdoCommand {
  public:
    // Creates the data-access command object; throws tk::Exception when it cannot.
    explicit AdoCommand(const AdoClassNames& names = {});
    ~AdoCommand();
    AdoCommand(const AdoCommand&) = delete;
    AdoCommand& operator=(const AdoCommand&) = delete;

    void SetConnectionString(const std::wstring& value) { session_->SetConnectionString(value); }
    void SetCommandText(const std::wstring& value) { session_->SetCommandText(value); }
    // Runs the text; a failure is thrown as tk::EOleException with the provider's description.
    void Execute() { session_->Execute(); }

    const std::wstring& ConnectionString() const { return session_->ConnectionString(); }
    const std::wstring& CommandText() const { return session_->CommandText(); }
    bool Connected() const { return session_->Connected(); }
    quenlo::ado::CommandType CommandType() const { return session_->CommandType(); }
    int CommandTimeout() const { return session_->CommandTimeout(); }
    unsigned ExecuteOptions() const { return session_->ExecuteOptions(); }
    bool Prepared() const { return session_->Prepared(); }
    bool ParamCheck() const { return session_->ParamCheck(); }
    const std::vector<std::wstring>& Parameters() const { return session_->Parameters(); }
    // No connection component: the connection comes from the connection string alone.
    const void* Connection() const { return nullptr; }

  private:
    class DispatchPort;
    std::unique_ptr<DispatchPort> port_;
    std::unique_ptr<quenlo::ado::CommandSession> session_;  // after port_: closes through it
};

// The form's command component; the form owns it and destroys it, closing the connection.
class TADOCommand : public TComponent, public AdoCommand {
  public:
    explicit TADOCommand(TForm& owner, const AdoClassNames& names = {})
        : TComponent(owner), AdoCommand(names) {}
};

}  // namespace tk
