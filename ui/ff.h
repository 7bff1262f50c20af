// Unit ff: the installer window.
#pragma once

#include <memory>
#include <string>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/adodb.h"
#include "toolkit/fadetext.h"

using tk::TObject;

class TForm1 : public tk::TForm {
  public:
    explicit TForm1(tk::TApplication& app);
    ~TForm1() override;

    std::unique_ptr<tk::TGroupBox> GroupBox4;
    std::unique_ptr<tk::TLabel> Label8;
    std::unique_ptr<tk::TLabel> Label9;
    std::unique_ptr<tk::TEdit> Edit8;
    std::unique_ptr<tk::TEdit> Edit9;
    std::unique_ptr<tk::TADOCommand> ADOCommand1;
    std::unique_ptr<tk::TBitBtn> BitBtn1;
    std::unique_ptr<tk::TBitBtn> BitBtn2;
    std::unique_ptr<tk::TBitBtn> BitBtn3;
    std::unique_ptr<tk::TBitBtn> BitBtn4;
    std::unique_ptr<tk::TAAFadeText> AAFadeText1;

    void FormCreate(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);

  protected:
    void CreateComponents() override;
};

// The one installer window (not owned: the program entry owns it).
extern TForm1* Form1;

// Full path of the running program and the folder that holds it with the setup program, the start
// script and the database backup. Set once by FormCreate.
extern std::string ProgramPath;
extern std::string InstallFolder;

// The application title: caption of the window, the taskbar entry and every message box.
extern const char* const kApplicationTitle;
