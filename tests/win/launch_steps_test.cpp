// Steps one and two run in-process on the real window, with the system seam faked: no program is
// started and nothing waits.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "steps/launch_steps.h"
#include "steps/system.h"
#include "tests/support/io_error_cases.h"
#include "toolkit/exceptions.h"
#include "ui/button_states.h"
#include "ui/ff.h"

namespace {

using quenlo::ui::InstallState;

// Records every call with the buttons as they were at that moment.
class FakeSystem : public quenlo::steps::StepSystem {
  public:
    std::vector<std::string> calls;
    std::vector<std::array<bool, 4>> buttons;
    std::vector<std::string> failDirs;  // paths that fail
    unsigned long failCode = 5;
    unsigned execResult = 33;

    bool ChangeDirectory(const std::string& path, unsigned long& error) override {
        Record("cd " + path);
        for (const auto& f : failDirs) {
            if (f == path) {
                error = failCode;
                return false;
            }
        }
        return true;
    }
    unsigned StartProgram(const std::string& cmd, int show) override {
        Record("exec " + cmd + " show=" + std::to_string(show));
        return execResult;
    }
    void Wait(unsigned long ms) override { Record("sleep " + std::to_string(ms)); }
    std::string ComputerName() override { return "SRV01"; }
    void Confirm(const std::string& text) override { Record("confirm " + text); }

  private:
    void Record(const std::string& call) {
        calls.push_back(call);
        buttons.push_back(quenlo::ui::EnabledButtons(*Form1));
    }
};

class LaunchStepsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = std::make_unique<tk::TApplication>(GetModuleHandleA(nullptr));
        app->Initialize();  // the window's command component needs COM
        app->SetTitle(kApplicationTitle);
        app->CreateForm(form);
        InstallFolder = "D:\\安装";
    }
    void TearDown() override {
        form.reset();
        app.reset();
    }
    std::unique_ptr<tk::TApplication> app;
    std::unique_ptr<TForm1> form;
    FakeSystem fake;
    quenlo::steps::ScopedSystem scoped{fake};
};

TEST_F(LaunchStepsTest, BothStepsInOrder) {
    form->BitBtn2Click(nullptr);
    const std::vector<std::string> one = {"cd c:\\", "cd D:\\安装", "exec MSSQL安装.exe show=0",
                                          "sleep 90000", "confirm 第一步成功完成！"};
    EXPECT_EQ(fake.calls, one);
    for (const auto& b : fake.buttons) {
        EXPECT_EQ(b, quenlo::ui::ButtonsOf(InstallState::StepOneRunning));
    }
    EXPECT_EQ(quenlo::ui::EnabledButtons(*form), quenlo::ui::ButtonsOf(InstallState::AfterStepOne));

    fake.calls.clear();
    fake.buttons.clear();
    form->BitBtn3Click(nullptr);
    const std::vector<std::string> two = {"cd c:\\", "cd D:\\安装", "exec start.bat show=0",
                                          "sleep 30000", "confirm 第二步成功完成！"};
    EXPECT_EQ(fake.calls, two);
    for (const auto& b : fake.buttons) {
        EXPECT_EQ(b, quenlo::ui::ButtonsOf(InstallState::StepTwoRunning));
    }
    EXPECT_EQ(quenlo::ui::EnabledButtons(*form), quenlo::ui::ButtonsOf(InstallState::AfterStepTwo));
}

TEST_F(LaunchStepsTest, FailedDirectoryChangeStopsWithTheMessageOfItsCode) {
    // A failed change into the install folder; codes that are not directory errors stand for
    // whatever Windows may report.
    for (const auto& c : quenlo::test::kIoErrorCases) {
        SCOPED_TRACE(c.message);
        form->BitBtn2->SetEnabled(true);
        form->BitBtn1->SetEnabled(true);
        fake.calls.clear();
        fake.failDirs = {"D:\\安装"};
        fake.failCode = static_cast<unsigned long>(c.code);
        try {
            form->BitBtn2Click(nullptr);
            ADD_FAILURE() << "no error";
        } catch (const tk::EInOutError& e) {
            EXPECT_EQ(e.Message(), c.message);
            EXPECT_EQ(e.ErrorCode(), c.code);
        }
        EXPECT_EQ(fake.calls, (std::vector<std::string>{"cd c:\\", "cd D:\\安装"}));
        EXPECT_EQ(quenlo::ui::EnabledButtons(*form),
                  quenlo::ui::ButtonsOf(InstallState::StepOneOrTwoFailed));
    }
}

TEST_F(LaunchStepsTest, FailureOfDriveCMeansTheInstallFolderIsNotTried) {
    fake.failDirs = {"c:\\"};
    EXPECT_THROW(form->BitBtn2Click(nullptr), tk::EInOutError);
    EXPECT_EQ(fake.calls, std::vector<std::string>{"cd c:\\"});
}

TEST_F(LaunchStepsTest, ProgramThatCannotBeStartedIsAnErrorNotASuccess) {
    struct Case {
        unsigned result;
        const char* message;
    };
    for (const Case c : {Case{2, "File not found"}, Case{3, "Invalid filename"},
                         Case{11, "I/O error 11"}, Case{0, "I/O error 0"}}) {
        SCOPED_TRACE(c.message);
        form->BitBtn3->SetEnabled(true);
        fake.calls.clear();
        fake.execResult = c.result;
        try {
            form->BitBtn3Click(nullptr);
            ADD_FAILURE() << "no error";
        } catch (const tk::EInOutError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        ASSERT_EQ(fake.calls.size(), 3u) << "no wait and no confirmation";
        EXPECT_FALSE(form->BitBtn4->Enabled());
    }
}

TEST_F(LaunchStepsTest, StatusLineIsWrittenOnlyAfterASuccessfulWait) {
    auto& lines = form->AAFadeText1->Text.Lines;
    const std::size_t before = lines.Count();
    fake.failDirs = {"D:\\安装"};
    EXPECT_THROW(form->BitBtn2Click(nullptr), tk::EInOutError);
    EXPECT_EQ(lines.Count(), before) << "the banner keeps its lines after a failure";

    form->BitBtn2->SetEnabled(true);
    fake.failDirs.clear();
    form->BitBtn2Click(nullptr);
    ASSERT_EQ(lines.Count(), 1u);
    EXPECT_EQ(lines[0], quenlo::steps::kStepOne.statusLine);
}

}  // namespace
