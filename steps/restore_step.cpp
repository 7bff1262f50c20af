// Step three: restore the initial database through the command component.
#include <windows.h>

#include "core/restore_texts.h"
#include "steps/restore_step.h"
#include "steps/system.h"
#include "ui/ff.h"
#include "ui/status_line.h"
#include "toolkit/win32_util.h"

namespace quenlo::steps {

const char kRestoreDoneLine[] = "<Title1><Center>导入原始数据库成功！";
const char kAllDoneLine[] = "<Title1><Center>恭喜你所有安装顺利完成！";
const char kStepThreeDone[] = "第三步成功完成！";
const char kClientNext[] = "现在您可以安装客户端了！";

}  // namespace quenlo::steps

void TForm1::BitBtn4Click(TObject*) {
    using namespace quenlo::steps;
    Edit9->SetText(quenlo::BackupPath(InstallFolder));
    const std::string computer = System().ComputerName();
    const std::string statement = quenlo::RestoreStatement(Edit8->Text(), Edit9->Text());
    const std::string connection = quenlo::ConnectionString(computer);
    ADOCommand1->SetConnectionString(tk::WideFromAnsi(connection));
    ADOCommand1->SetCommandText(tk::WideFromAnsi(statement));
    ADOCommand1->Execute();
    // Both status lines go up only once the restore has returned: a failed restore must not
    // leave "imported" on the banner. The second replaces the first before the loop runs again.
    quenlo::ui::WriteStatusLine(*AAFadeText1, kRestoreDoneLine);
    quenlo::ui::WriteStatusLine(*AAFadeText1, kAllDoneLine);
    System().Confirm(kStepThreeDone);
    System().Confirm(kClientNext);
    BitBtn4->SetEnabled(false);
    BitBtn1->SetEnabled(true);
}
