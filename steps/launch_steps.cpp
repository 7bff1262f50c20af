#include "steps/launch_steps.h"

#include <windows.h>

#include "steps/system.h"
#include "toolkit/exceptions.h"
#include "ui/ff.h"
#include "ui/status_line.h"

namespace quenlo::steps {

const LaunchStep kStepOne{"<Title1><Center>安装SQL SEVER服务成功！", "MSSQL安装.exe", 90000,
                          "第一步成功完成！"};
const LaunchStep kStepTwo{"<Title1><Center>启动SQL SEVER服务成功！", "start.bat", 30000,
                          "第二步成功完成！"};

namespace {

void ChangeDirectory(const std::string& path) {
    unsigned long error = 0;
    if (!System().ChangeDirectory(path, error)) throw tk::EInOutError(static_cast<int>(error));
}

// The part both launch steps share, after each has disabled its buttons.
void RunLaunch(TForm1& form, const LaunchStep& step) {
    ChangeDirectory("c:\\");
    ChangeDirectory(InstallFolder);
    const unsigned started = System().StartProgram(step.commandLine, SW_HIDE);
    // A program that could not be started must not be reported as installed or started.
    if (started <= kLastWinExecError) throw tk::EInOutError(static_cast<int>(started));
    System().Wait(step.waitMs);
    // The status line goes up only now that the wait is over, so the banner never announces a
    // step that failed.
    quenlo::ui::WriteStatusLine(*form.AAFadeText1, step.statusLine);
    System().Confirm(step.confirmation);
}

}  // namespace

}  // namespace quenlo::steps

void TForm1::BitBtn2Click(TObject*) {
    BitBtn2->SetEnabled(false);
    BitBtn1->SetEnabled(false);
    quenlo::steps::RunLaunch(*this, quenlo::steps::kStepOne);
    BitBtn3->SetEnabled(true);
}

void TForm1::BitBtn3Click(TObject*) {
    BitBtn3->SetEnabled(false);
    quenlo::steps::RunLaunch(*this, quenlo::steps::kStepTwo);
    BitBtn4->SetEnabled(true);
}
