#include "core/ado/command_session.h"

#include <exception>

#include "core/ado/param_scan.h"

namespace quenlo::ado {

CommandSession::CommandSession(CommandPort& port) : port_(port) {}

CommandSession::~CommandSession() { CloseConnection(); }

void CommandSession::SetConnectionString(const std::wstring& value) {
    if (value == connectionString_) return;
    CloseConnection();
    connectionString_ = value;
}

void CommandSession::SetCommandText(const std::wstring& value) {
    commandText_ = value;
    parameters_ = ParamCheck() ? ScanParameterNames(commandText_) : std::vector<std::wstring>{};
    if (connectionString_.empty()) return;
    try {
        OpenIfClosed();
    } catch (const std::exception&) {
        // Only the parameter description needed the connection; Execute opens it again and
        // reports what goes wrong then.
    }
}

void CommandSession::Execute() {
    OpenIfClosed();
    port_.Execute(ExecuteRequest{commandText_, CommandType(), CommandTimeout(), Prepared(),
                                 ExecuteOptions()});
}

void CommandSession::CloseConnection() {
    if (!connected_) return;
    connected_ = false;
    port_.Close();
}

void CommandSession::OpenIfClosed() {
    if (connected_) return;
    port_.Open(connectionString_);
    connected_ = true;
}

}  // namespace quenlo::ado
