// What the command component decides on its own: when a connection is opened, kept and closed,
// which property values a command runs with. The data-access calls go through `CommandPort`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quenlo::ado {

// How the provider reads the command text. The value is the data-access layer's own.
enum class CommandType : std::int32_t {
    cmdText = 1,  // plain statement text
};

// Everything one execution sends besides the open connection.
struct ExecuteRequest {
    std::wstring text;
    CommandType type;
    std::int32_t timeoutSeconds;
    bool prepared;
    std::uint32_t options;  // execute options; none means synchronous, results wanted
};

// The data-access calls the component makes. Failures are thrown.
class CommandPort {
  public:
    virtual ~CommandPort() = default;
    // Opens a connection from `connectionString`; throws when it cannot, leaving none open.
    virtual void Open(const std::wstring& connectionString) = 0;
    // Closes the open connection. Nothing to report: the connection is dropped either way.
    virtual void Close() noexcept = 0;
    // Runs one command over the open connection and releases whatever it returns.
    virtual void Execute(const ExecuteRequest& request) = 0;
};

class CommandSession {
  public:
    explicit CommandSession(CommandPort& port);  // port not owned; must outlive the session
    ~CommandSession();                           // closes a held connection
    CommandSession(const CommandSession&) = delete;
    CommandSession& operator=(const CommandSession&) = delete;

    // A different value closes a held connection; the same value changes nothing.
    void SetConnectionString(const std::wstring& value);
    // Scans the text for parameter markers and, with a connection string present, opens the
    // connection if none is open, so the provider could describe the parameters. A failure to
    // open is not reported here: Execute tries again and reports it.
    void SetCommandText(const std::wstring& value);
    // Opens the connection if none is open, then runs the text unchanged. Failures are thrown.
    void Execute();
    // Closes a held connection (the component does at destruction).
    void CloseConnection();

    const std::wstring& ConnectionString() const { return connectionString_; }
    const std::wstring& CommandText() const { return commandText_; }
    bool Connected() const { return connected_; }
    quenlo::ado::CommandType CommandType() const { return quenlo::ado::CommandType::cmdText; }
    std::int32_t CommandTimeout() const { return 30; }
    std::uint32_t ExecuteOptions() const { return 0; }
    bool Prepared() const { return false; }
    bool ParamCheck() const { return true; }
    // Names found by the marker scan. No values are ever assigned, and Execute passes none.
    const std::vector<std::wstring>& Parameters() const { return parameters_; }

  private:
    void OpenIfClosed();

    CommandPort& port_;
    std::wstring connectionString_;
    std::wstring commandText_;
    std::vector<std::wstring> parameters_;
    bool connected_ = false;
};

}  // namespace quenlo::ado
