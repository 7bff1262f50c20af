// Step three in-process on the real window, against the data-access stand-in registered in this
// process, with the rest of the system seam faked.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "steps/restore_step.h"
#include "steps/system.h"
#include "tests/win/adostub_client.h"
#include "toolkit/exceptions.h"
#include "ui/button_states.h"
#include "ui/ff.h"

namespace {

using quenlo::ui::ButtonsOf;
using quenlo::ui::EnabledButtons;
using quenlo::ui::InstallState;
using Lines = std::vector<std::string>;

const char kHeadUtf8[] =
    u8"Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
    u8"Initial Catalog=master;Data Source=";

class FakeSystem : public quenlo::steps::StepSystem {
  public:
    std::string computer = "SRV01";
    std::vector<std::string> confirmations;
    std::vector<std::array<bool, 4>> buttonsAtConfirm;
    std::vector<std::size_t> linesAtConfirm;

    bool ChangeDirectory(const std::string&, unsigned long&) override { return true; }
    unsigned StartProgram(const std::string&, int) override { return 33; }
    void Wait(unsigned long) override {}
    std::string ComputerName() override { return computer; }
    void Confirm(const std::string& text) override {
        confirmations.push_back(text);
        buttonsAtConfirm.push_back(EnabledButtons(*Form1));
        linesAtConfirm.push_back(Form1->AAFadeText1->Text.Lines.Count());
    }
};

class RestoreStepTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        stub_ = new quenlo::test::StubDll();
        if (stub_->Loaded()) registered_ = SUCCEEDED(stub_->Call("DllRegisterServer"));
    }
    static void TearDownTestSuite() {
        if (registered_) stub_->Call("DllUnregisterServer");
        registered_ = false;
        delete stub_;
    }
    void SetUp() override {
        ASSERT_TRUE(registered_) << "QUENLO_ADOSTUB_DLL must name the stand-in DLL";
        quenlo::test::SetMode(L"ok");
        app = std::make_unique<tk::TApplication>(GetModuleHandleA(nullptr));
        app->Initialize();
        app->SetTitle(kApplicationTitle);
        app->CreateForm(form);
        // The state after step two.
        form->BitBtn1->SetEnabled(false);
        form->BitBtn2->SetEnabled(false);
        form->BitBtn4->SetEnabled(true);
    }
    void TearDown() override {
        form.reset();
        app.reset();
        quenlo::test::SetMode(nullptr);
    }
    std::string Statement() const {
        for (const auto& l : log.Lines()) {
            if (l.rfind("Command.CommandText=", 0) == 0) return l.substr(20);
        }
        return {};
    }
    std::string ConnectionString() const {
        for (const auto& l : log.Lines()) {
            if (l.rfind("Connection.ConnectionString=", 0) == 0) return l.substr(28);
        }
        return {};
    }

    quenlo::test::StubLog log;
    FakeSystem fake;
    quenlo::steps::ScopedSystem scoped{fake};
    std::unique_ptr<tk::TApplication> app;
    std::unique_ptr<TForm1> form;
    static quenlo::test::StubDll* stub_;
    static bool registered_;
};

quenlo::test::StubDll* RestoreStepTest::stub_ = nullptr;
bool RestoreStepTest::registered_ = false;

TEST_F(RestoreStepTest, TextsReachTheProviderAndTheStepFinishes) {
    struct Case {
        const char* folder;  // CP936
        const char* computer;
        const char* edit9;          // CP936
        const char* statementUtf8;  // what the provider receives
        const char* dataSourceUtf8;
    };
    const Case cases[] = {
        {"D:\\setup", "SRV01", "D:\\setup\\kovra.bak",
         u8" RESTORE DATABASE kovra FROM disk = 'D:\\setup\\kovra.bak'", u8"SRV01\\home"},
        {"D:\\it's", "SRV02", "D:\\it's\\kovra.bak",
         u8" RESTORE DATABASE kovra FROM disk = 'D:\\it''s\\kovra.bak'", u8"SRV02\\home"},
        {"D:\\安装\\琝", "", "D:\\安装\\琝\\kovra.bak",
         u8" RESTORE DATABASE kovra FROM disk = 'D:\\安装\\琝\\kovra.bak'", u8"\\home"},
    };
    // Each case names another computer, so each press hands over a new connection string.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit9);
        form->BitBtn4->SetEnabled(true);
        form->BitBtn1->SetEnabled(false);
        fake.confirmations.clear();
        fake.buttonsAtConfirm.clear();
        log.Clear();
        InstallFolder = c.folder;
        fake.computer = c.computer;
        form->BitBtn4Click(nullptr);
        EXPECT_EQ(form->Edit9->Text(), c.edit9);
        EXPECT_EQ(Statement(), c.statementUtf8);
        EXPECT_EQ(ConnectionString(), std::string(kHeadUtf8) + c.dataSourceUtf8);
        EXPECT_EQ(fake.confirmations, (Lines{"第三步成功完成！", "现在您可以安装客户端了！"}));
        for (const auto& b : fake.buttonsAtConfirm) {
            EXPECT_EQ(b, ButtonsOf(InstallState::StepThreeRunning));
        }
        EXPECT_EQ(EnabledButtons(*form), ButtonsOf(InstallState::Finished));
        const auto& lines = form->AAFadeText1->Text.Lines;
        ASSERT_EQ(lines.Count(), 1u);
        EXPECT_EQ(lines[0], quenlo::steps::kAllDoneLine);
    }
}

TEST_F(RestoreStepTest, FailureKeepsStepThreeAndTheBannerAndARetryRunsItAll) {
    InstallFolder = "D:\\setup";
    const std::size_t linesBefore = form->AAFadeText1->Text.Lines.Count();
    const int lockBefore = form->AAFadeText1->UpdateLock();
    quenlo::test::SetMode(L"fail");
    try {
        form->BitBtn4Click(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const tk::EOleException& e) {
        EXPECT_EQ(e.Message(),
                  "[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access "
                  "denied");
    }
    EXPECT_TRUE(fake.confirmations.empty());
    EXPECT_EQ(EnabledButtons(*form), ButtonsOf(InstallState::StepThreeFailed));
    EXPECT_EQ(form->AAFadeText1->Text.Lines.Count(), linesBefore) << "no success announced";
    EXPECT_EQ(form->AAFadeText1->UpdateLock(), lockBefore);
    // The connection was tried twice: when the text was set (swallowed) and at Execute.
    EXPECT_EQ(log.Count("Connection.Open"), 2u);

    quenlo::test::SetMode(L"ok");
    log.Clear();
    form->BitBtn4Click(nullptr);
    EXPECT_EQ(log.Count("Command.Execute"), 1u);
    EXPECT_EQ(EnabledButtons(*form), ButtonsOf(InstallState::Finished));
    EXPECT_EQ(fake.confirmations.size(), 2u);
    EXPECT_EQ(form->AAFadeText1->UpdateLock(), lockBefore + 4) << "two status-line updates";
}

}  // namespace
