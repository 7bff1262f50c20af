#include "core/ado/command_session.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using quenlo::ado::CommandSession;
using quenlo::ado::ExecuteRequest;

// Records the data-access calls; open and execute fail while their failure counters last.
class FakePort : public quenlo::ado::CommandPort {
  public:
    void Open(const std::wstring& connectionString) override {
        calls.push_back(L"open " + connectionString);
        if (openFailures > 0) {
            --openFailures;
            throw std::runtime_error("SQL Server does not exist or access denied");
        }
    }
    void Close() noexcept override { calls.push_back(L"close"); }
    void Execute(const ExecuteRequest& request) override {
        calls.push_back(L"execute " + request.text);
        last = request;
        if (executeFailures > 0) {
            --executeFailures;
            throw std::runtime_error("Timeout expired");
        }
    }

    std::vector<std::wstring> calls;
    ExecuteRequest last{};
    int openFailures = 0;
    int executeFailures = 0;
};

const std::wstring kConn =
    L"Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
    L"Initial Catalog=master;Data Source=SRV01\\home";
const std::wstring kRestore = L" RESTORE DATABASE kovra FROM disk = 'D:\\setup\\kovra.bak'";

using Calls = std::vector<std::wstring>;

TEST(CommandSession, PropertiesInForce) {
    FakePort port;
    CommandSession s(port);
    EXPECT_EQ(s.CommandType(), quenlo::ado::CommandType::cmdText);
    EXPECT_EQ(s.CommandTimeout(), 30);
    EXPECT_EQ(s.ExecuteOptions(), 0u);
    EXPECT_FALSE(s.Prepared());
    EXPECT_TRUE(s.ParamCheck());
    EXPECT_TRUE(s.Parameters().empty());
    EXPECT_FALSE(s.Connected());
    EXPECT_TRUE(port.calls.empty());  // nothing opens before a text is set
}

TEST(CommandSession, StepThreeOpensAtTextRunsUnchangedAndKeepsConnection) {
    FakePort port;
    {
        CommandSession s(port);
        s.SetConnectionString(kConn);
        EXPECT_TRUE(port.calls.empty());
        s.SetCommandText(kRestore);
        EXPECT_EQ(port.calls, (Calls{L"open " + kConn}));
        EXPECT_TRUE(s.Parameters().empty());
        s.Execute();
        EXPECT_EQ(port.calls, (Calls{L"open " + kConn, L"execute " + kRestore}));
        EXPECT_EQ(port.last.text, kRestore);
        EXPECT_EQ(port.last.type, quenlo::ado::CommandType::cmdText);
        EXPECT_EQ(port.last.timeoutSeconds, 30);
        EXPECT_FALSE(port.last.prepared);
        EXPECT_EQ(port.last.options, 0u);

        // A second press with the same computer name uses the open connection.
        port.calls.clear();
        s.SetConnectionString(kConn);
        s.SetCommandText(kRestore);
        s.Execute();
        EXPECT_EQ(port.calls, (Calls{L"execute " + kRestore}));
        port.calls.clear();
    }
    EXPECT_EQ(port.calls, (Calls{L"close"}));  // at destruction
}

TEST(CommandSession, DifferentStringClosesHeldConnection) {
    FakePort port;
    CommandSession s(port);
    s.SetConnectionString(kConn);
    s.SetCommandText(kRestore);
    s.SetConnectionString(L"Data Source=\\home");
    EXPECT_FALSE(s.Connected());
    s.SetCommandText(kRestore);
    s.Execute();
    EXPECT_EQ(port.calls, (Calls{L"open " + kConn, L"close", L"open Data Source=\\home",
                                 L"execute " + kRestore}));
}

TEST(CommandSession, ChangingStringWithoutConnectionClosesNothing) {
    FakePort port;
    CommandSession s(port);
    s.SetConnectionString(L"a");
    s.SetConnectionString(L"b");
    EXPECT_TRUE(port.calls.empty());
    EXPECT_EQ(s.ConnectionString(), L"b");
}

TEST(CommandSession, OpenFailureIsSwallowedAtTextAndReportedAtExecute) {
    FakePort port;
    port.openFailures = 2;
    CommandSession s(port);
    s.SetConnectionString(kConn);
    EXPECT_NO_THROW(s.SetCommandText(kRestore));
    EXPECT_FALSE(s.Connected());
    EXPECT_THROW(s.Execute(), std::runtime_error);
    EXPECT_FALSE(s.Connected());
    EXPECT_EQ(port.calls, (Calls{L"open " + kConn, L"open " + kConn}));

    // The retry press runs the whole sequence again and succeeds once the server is there.
    port.calls.clear();
    s.SetConnectionString(kConn);
    s.SetCommandText(kRestore);
    s.Execute();
    EXPECT_EQ(port.calls, (Calls{L"open " + kConn, L"execute " + kRestore}));
}

TEST(CommandSession, ExecuteFailureKeepsConnectionForRetry) {
    FakePort port;
    port.executeFailures = 1;
    CommandSession s(port);
    s.SetConnectionString(kConn);
    s.SetCommandText(kRestore);
    EXPECT_THROW(s.Execute(), std::runtime_error);
    EXPECT_TRUE(s.Connected());
    s.Execute();
    EXPECT_EQ(port.calls,
              (Calls{L"open " + kConn, L"execute " + kRestore, L"execute " + kRestore}));
}

TEST(CommandSession, NoStringNoOpenAtTextButExecuteAsksProvider) {
    // Without a connection string only Execute tries, and the provider's refusal is reported.
    FakePort port;
    port.openFailures = 1;
    CommandSession s(port);
    s.SetCommandText(L"SELECT :a");
    EXPECT_TRUE(port.calls.empty());
    EXPECT_EQ(s.Parameters(), (std::vector<std::wstring>{L"a"}));
    EXPECT_THROW(s.Execute(), std::runtime_error);
    EXPECT_EQ(port.calls, (Calls{L"open "}));
}

}  // namespace
