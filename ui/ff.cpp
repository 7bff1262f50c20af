#include "ui/ff.h"

#include <windows.h>

#include "core/install_folder.h"
#include "ui/banner_settings.h"
#include "toolkit/win32_util.h"

TForm1* Form1 = nullptr;
std::string ProgramPath;
std::string InstallFolder;
const char* const kApplicationTitle = "Quenlo（网络版）服务器端安装程序";

namespace {

// The full path of the program file. The buffer starts at 261 characters and grows until the
// path fits, so a long path is never cut into a wrong folder.
std::string ModulePath() {
    std::string buf(261, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size() && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            buf.resize(n);
            return buf;
        }
        if (buf.size() >= 32768 * 2) return {};
        buf.resize(buf.size() * 2);
    }
}

tk::TFont SongFont(int height, BYTE charset) { return tk::TFont{"新宋体", height, charset}; }

}  // namespace

TForm1::TForm1(tk::TApplication& app) : tk::TForm(app) {
    Caption = kApplicationTitle;
    Left = 13;
    Top = 7;
    ClientWidth = 385;
    ClientHeight = 165;
    BorderStyle = tk::TBorderStyle::bsSingle;
    BorderIcons = tk::TBorderIcons{false, true, false};
    Color = GetSysColor(COLOR_BTNFACE);
    Font = tk::TFont{"MS Sans Serif", -11, DEFAULT_CHARSET};
    OnCreate = [this] { FormCreate(nullptr); };
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::CreateComponents() {
    Form1 = this;
    AAFadeText1 = std::make_unique<tk::TAAFadeText>(*this);
    quenlo::ui::ApplyBannerSettings(*AAFadeText1);
    GroupBox4 = std::make_unique<tk::TGroupBox>(
        *this, nullptr, tk::ControlLayout{3, 5, 382, 100, "还原数据库", {}, 0, true, false});
    Label8 = std::make_unique<tk::TLabel>(
        *this, GroupBox4.get(),
        tk::ControlLayout{23, 28, 64, 16, "数据库名", SongFont(-16, ANSI_CHARSET)});
    Label9 = std::make_unique<tk::TLabel>(
        *this, GroupBox4.get(),
        tk::ControlLayout{19, 60, 80, 16, "备份文件名", SongFont(-16, GB2312_CHARSET)});
    Edit8 = std::make_unique<tk::TEdit>(
        *this, GroupBox4.get(),
        tk::ControlLayout{102, 21, 267, 24, "kovra", SongFont(-16, ANSI_CHARSET), 0, false, true,
                          true});
    Edit9 = std::make_unique<tk::TEdit>(
        *this, GroupBox4.get(),
        tk::ControlLayout{102, 56, 267, 24, "kovra.bak", SongFont(-16, GB2312_CHARSET), 1});
    BitBtn1 = std::make_unique<tk::TBitBtn>(
        *this, tk::ControlLayout{260, 136, 125, 25, "退    出", {}, 1}, "GLYPH1", true);
    BitBtn2 = std::make_unique<tk::TBitBtn>(
        *this, tk::ControlLayout{4, 136, 80, 25, "第一步", {}, 2}, "GLYPH2", false);
    BitBtn3 = std::make_unique<tk::TBitBtn>(
        *this, tk::ControlLayout{88, 136, 80, 25, "第二步", {}, 3, false}, "GLYPH3", false);
    BitBtn4 = std::make_unique<tk::TBitBtn>(
        *this, tk::ControlLayout{172, 136, 80, 25, "第三步", {}, 4, false}, "GLYPH4", false);
    BitBtn1->OnClick = [this] { BitBtn1Click(nullptr); };
    BitBtn2->OnClick = [this] { BitBtn2Click(nullptr); };
    BitBtn3->OnClick = [this] { BitBtn3Click(nullptr); };
    BitBtn4->OnClick = [this] { BitBtn4Click(nullptr); };
    ADOCommand1 = std::make_unique<tk::TADOCommand>(*this);
}

void TForm1::FormCreate(TObject*) {
    ProgramPath = ModulePath();
    InstallFolder = quenlo::InstallFolderFromPath(ProgramPath, tk::IsLeadByteAcp);
}

void TForm1::BitBtn1Click(TObject*) { Close(); }
