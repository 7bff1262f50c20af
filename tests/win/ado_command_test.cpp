// The command component over COM, in-process under Wine: against the project's data-access
// stand-in (tests/adostub), against Wine's own data-access objects, and with no classes at all.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/win/adostub_client.h"
#include "toolkit/adodb.h"
#include "toolkit/exceptions.h"

namespace {

const wchar_t kConnection[] =
    L"Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
    L"Initial Catalog=master;Data Source=SRV01\\home";
const char kConnectionUtf8[] =
    u8"Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
    u8"Initial Catalog=master;Data Source=SRV01\\home";
// A Chinese folder shows that the text reaches the provider unchanged, character for character.
const wchar_t kRestore[] = L" RESTORE DATABASE kovra FROM disk = 'D:\\安装\\it''s\\kovra.bak'";
const char kRestoreUtf8[] = u8" RESTORE DATABASE kovra FROM disk = 'D:\\安装\\it''s\\kovra.bak'";

const char kMdacText[] =
    "Error creating object.  Please verify that the Microsoft Data Access Components 2.1 (or "
    "later) have been properly installed";

std::wstring ProgIdClass(const wchar_t* progId) {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(progId, &clsid))) return {};
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return text;
}

using quenlo::test::Env;
using quenlo::test::SetMode;
using quenlo::test::StubDll;
using quenlo::test::StubLog;

using Lines = std::vector<std::string>;

class StubAdo : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        stub_ = new StubDll();
        if (stub_->Loaded()) registered_ = SUCCEEDED(stub_->Call("DllRegisterServer"));
    }
    static void TearDownTestSuite() {
        if (registered_) stub_->Call("DllUnregisterServer");
        registered_ = false;
        delete stub_;
        stub_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(stub_->Loaded()) << "QUENLO_ADOSTUB_DLL must name the stand-in DLL";
        ASSERT_TRUE(registered_);
        SetMode(L"ok");
        SetEnvironmentVariableW(L"QUENLO_ADOSTUB_WAIT_MS", nullptr);
    }
    void TearDown() override { SetMode(nullptr); }

    StubLog log_;
    static StubDll* stub_;
    static bool registered_;
};

StubDll* StubAdo::stub_ = nullptr;
bool StubAdo::registered_ = false;

TEST_F(StubAdo, RestoreReachesProviderExactlyAndConnectionLivesUntilDestruction) {
    {
        tk::AdoCommand command;
        command.SetConnectionString(kConnection);
        command.SetCommandText(kRestore);
        command.Execute();
        EXPECT_TRUE(command.Connected());
    }
    const std::string conn = kConnectionUtf8;
    const std::string text = kRestoreUtf8;
    EXPECT_EQ(log_.Lines(), (Lines{
                                "Connection.ConnectionString=" + conn,
                                "Connection.Open " + conn,
                                "Command.ActiveConnection putref=connection",
                                "Command.CommandText=" + text,
                                "Command.CommandType=1",
                                "Command.CommandTimeout=30",
                                "Command.Prepared=0",
                                "Command.Execute options=1 parameters=none",
                                "Recordset.Free",
                                "Command.ActiveConnection putref=nothing",
                                "Connection.Close",
                                "Connection.Free",
                                "Command.Free",
                            }));
}

TEST_F(StubAdo, SamePressTwiceUsesOpenConnectionNewStringReopens) {
    tk::AdoCommand command;
    for (int press = 0; press < 2; ++press) {
        command.SetConnectionString(kConnection);
        command.SetCommandText(kRestore);
        command.Execute();
    }
    EXPECT_EQ(log_.Count("Connection.Open"), 1u);
    EXPECT_EQ(log_.Count("Command.Execute"), 2u);

    log_.Clear();
    command.SetConnectionString(L"Data Source=\\home");
    EXPECT_EQ(log_.Lines(), (Lines{"Command.ActiveConnection putref=nothing", "Connection.Close",
                                   "Connection.Free"}));
    command.SetCommandText(kRestore);
    command.Execute();
    EXPECT_EQ(log_.Count("Connection.Open Data Source=\\home"), 1u);
}

TEST_F(StubAdo, FailuresCarryTheProvidersTrimmedDescription) {
    struct Case {
        const wchar_t* mode;
        const char* message;
        std::int32_t code;
        size_t opens;  // connection attempts the press made
    };
    const Case cases[] = {
        {L"fail",
         "[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied",
         static_cast<std::int32_t>(0x80004005), 2},
        {L"fail-exec", "RESTORE DATABASE is terminating abnormally",
         static_cast<std::int32_t>(0x80004005), 1},
        {L"timeout", "Timeout expired", static_cast<std::int32_t>(0x80040E31), 1},
    };
    SetEnvironmentVariableW(L"QUENLO_ADOSTUB_WAIT_MS", L"100");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.mode)));
        log_.Clear();
        SetMode(c.mode);
        tk::AdoCommand command;
        command.SetConnectionString(kConnection);
        EXPECT_NO_THROW(command.SetCommandText(kRestore));
        try {
            command.Execute();
            ADD_FAILURE() << "Execute succeeded";
        } catch (const tk::EOleException& e) {
            EXPECT_EQ(e.Message(), c.message);
            EXPECT_EQ(e.ErrorCode(), c.code);
            EXPECT_EQ(e.Source(), "Microsoft OLE DB Provider for SQL Server");
        }
        EXPECT_EQ(log_.Count("Connection.Open"), c.opens);
        EXPECT_EQ(log_.Count("Recordset"), 0u);

        // The retry press, with the server there now, opens when it has to and runs.
        SetMode(L"ok");
        command.SetConnectionString(kConnection);
        command.SetCommandText(kRestore);
        EXPECT_NO_THROW(command.Execute());
        EXPECT_EQ(log_.Count("Connection.Open"), c.mode == std::wstring(L"fail") ? 3u : 1u);
        EXPECT_EQ(log_.Count("Recordset.Free"), 1u);
    }
}

TEST_F(StubAdo, MissingConnectionClassIsReportedAtExecute) {
    tk::AdoClassNames names;
    names.connection = L"Quenlo.NoSuchConnection";
    tk::AdoCommand command(names);
    command.SetConnectionString(kConnection);
    command.SetCommandText(kRestore);
    EXPECT_THROW(command.Execute(), tk::EOleException);
    EXPECT_FALSE(command.Connected());
    EXPECT_EQ(log_.Count("Command.Execute"), 0u);
}

TEST(WineAdo, FailureIsAnOleExceptionNotACrash) {
    // Only meaningful with Wine's classes behind the names, not the stand-in.
    const std::wstring stubCommand = L"{6CFB7565-AAC0-4D07-8EC8-62CDAF2A9AB2}";
    if (ProgIdClass(L"ADODB.Command").empty() || ProgIdClass(L"ADODB.Command") == stubCommand) {
        GTEST_SKIP() << "ADODB.Command is not Wine's own here";
    }
    std::unique_ptr<tk::AdoCommand> created;
    try {
        created = std::make_unique<tk::AdoCommand>();
    } catch (const tk::Exception& e) {
        GTEST_SKIP() << "Wine's data-access objects are disabled here: " << e.Message();
    }
    tk::AdoCommand& command = *created;
    command.SetConnectionString(kConnection);
    EXPECT_NO_THROW(command.SetCommandText(kRestore));
    try {
        command.Execute();
        ADD_FAILURE() << "Wine's data-access objects reached no server, yet Execute succeeded";
    } catch (const tk::EOleException& e) {
        EXPECT_FALSE(e.Message().empty());
        EXPECT_NE(e.Message().back(), '.');
        EXPECT_LT(e.ErrorCode(), 0);
        std::printf("Wine's data-access objects: %s (%08x)\n", e.Message().c_str(),
                    static_cast<unsigned>(e.ErrorCode()));
    }
}

TEST(MissingAdo, CreatingTheCommandFailsWithTheInstallationText) {
    struct Case {
        tk::AdoClassNames names;
    };
    const Case cases[] = {
        {{L"Quenlo.NoSuchCommand", L"ADODB.Connection"}},
        {{L"", L"ADODB.Connection"}},
    };
    for (const auto& c : cases) {
        try {
            tk::AdoCommand command(c.names);
            ADD_FAILURE() << "created without a command class";
        } catch (const tk::EOleException&) {
            ADD_FAILURE() << "a data-access error instead of the installation text";
        } catch (const tk::Exception& e) {
            EXPECT_EQ(e.Message(), kMdacText);
            EXPECT_STREQ(e.ClassName(), "Exception");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The program's user-interface thread is a single-threaded apartment; so is this one.
    const HRESULT com = CoInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}
