// The installer window created for real under Wine and inspected through Win32.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/dialogs.h"
#include "ui/button_states.h"
#include "ui/ff.h"

namespace {

std::string TextOf(HWND h) {
    char buf[256] = {};
    SendMessageA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

RECT RectInParent(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = std::make_unique<tk::TApplication>(GetModuleHandleA(nullptr));
        app->Initialize();
        app->SetTitle(kApplicationTitle);
        app->CreateForm(form);
    }
    void TearDown() override {
        form.reset();
        app.reset();
        // Leave no quit message behind for the next test.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    std::unique_ptr<tk::TApplication> app;
    std::unique_ptr<TForm1> form;
};

TEST_F(WindowTest, WindowSettings) {
    HWND h = form->Handle();
    EXPECT_EQ(TextOf(h), "Quenlo（网络版）服务器端安装程序");
    RECT wr, cr;
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    EXPECT_EQ(wr.left, 13);
    EXPECT_EQ(wr.top, 7);
    EXPECT_EQ(cr.right, 385);
    EXPECT_EQ(cr.bottom, 165);
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME) << "must not be resizable";
    EXPECT_FALSE(style & WS_SYSMENU) << "no system menu: no icon, no title-bar buttons";
    EXPECT_FALSE(IsWindowVisible(h)) << "shown only when the message loop starts";
    // Owned by the application window, which carries the taskbar entry with the title.
    EXPECT_EQ(GetWindow(h, GW_OWNER), app->Handle());
    EXPECT_EQ(TextOf(app->Handle()), kApplicationTitle);
}

TEST_F(WindowTest, ControlsAsLaidOut) {
    struct Expected {
        tk::TWinControl* control;
        const char* cls;
        HWND parent;
        RECT rect;  // left, top, right, bottom in parent client coordinates
        const char* text;
        bool enabled;
        bool visible;  // own WS_VISIBLE bit
    };
    HWND f = form->Handle();
    HWND g = form->GroupBox4->Handle();
    const Expected table[] = {
        {form->GroupBox4.get(), "Button", f, {3, 5, 385, 105}, "还原数据库", true, false},
        {form->Label8.get(), "Static", g, {23, 28, 87, 44}, "数据库名", true, true},
        {form->Label9.get(), "Static", g, {19, 60, 99, 76}, "备份文件名", true, true},
        {form->Edit8.get(), "Edit", g, {102, 21, 369, 45}, "kovra", false, true},
        {form->Edit9.get(), "Edit", g, {102, 56, 369, 80}, "kovra.bak", true, true},
        {form->BitBtn1.get(), "Button", f, {260, 136, 385, 161}, "退    出", true, true},
        {form->BitBtn2.get(), "Button", f, {4, 136, 84, 161}, "第一步", true, true},
        {form->BitBtn3.get(), "Button", f, {88, 136, 168, 161}, "第二步", false, true},
        {form->BitBtn4.get(), "Button", f, {172, 136, 252, 161}, "第三步", false, true},
    };
    for (const auto& e : table) {
        HWND h = e.control->Handle();
        SCOPED_TRACE(e.text);
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, e.cls);
        EXPECT_EQ(GetParent(h), e.parent);
        const RECT r = RectInParent(h);
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
        EXPECT_EQ(TextOf(h), e.text);
        EXPECT_EQ(IsWindowEnabled(h) != FALSE, e.enabled);
        EXPECT_EQ((GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0, e.visible);
    }
    EXPECT_TRUE(GetWindowLongA(form->Edit8->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(GetWindowLongA(form->Edit9->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(WindowTest, OwnFontsOfTheGroupBoxControls) {
    struct Expected {
        tk::TWinControl* control;
        BYTE charset;
    };
    const Expected table[] = {{form->Label8.get(), ANSI_CHARSET},
                              {form->Label9.get(), GB2312_CHARSET},
                              {form->Edit8.get(), ANSI_CHARSET},
                              {form->Edit9.get(), GB2312_CHARSET}};
    for (const auto& e : table) {
        LOGFONTA lf{};
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(e.control->Handle(), WM_GETFONT, 0, 0));
        ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
        EXPECT_STREQ(lf.lfFaceName, "新宋体");
        EXPECT_EQ(lf.lfHeight, -16);
        EXPECT_EQ(lf.lfCharSet, e.charset);
    }
    LOGFONTA lf{};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(form->BitBtn1->Handle(), WM_GETFONT, 0, 0));
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(lf.lfHeight, -11);
}

TEST_F(WindowTest, ReadyStateAndInstallFolder) {
    EXPECT_EQ(quenlo::ui::EnabledButtons(*form),
              quenlo::ui::ButtonsOf(quenlo::ui::InstallState::Ready));
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(ProgramPath, path);
    std::string folder = path;
    folder.resize(folder.rfind('\\'));
    EXPECT_EQ(InstallFolder, folder);
}

TEST_F(WindowTest, KeyboardFocusAndTabOrder) {
    form->Show();
    Pump();
    EXPECT_EQ(GetFocus(), form->BitBtn1->Handle()) << "focus starts on Exit";
    MSG tab{form->BitBtn1->Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(form->HandleDialogKey(tab));
    EXPECT_EQ(GetFocus(), form->BitBtn2->Handle()) << "disabled step buttons are skipped";
    tab.hwnd = GetFocus();
    EXPECT_TRUE(form->HandleDialogKey(tab));
    EXPECT_EQ(GetFocus(), form->BitBtn1->Handle()) << "Tab wraps to Exit";
    // Esc is swallowed and changes nothing.
    MSG esc{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(form->HandleDialogKey(esc));
    EXPECT_FALSE(app->Terminated());
    // Enter on the focused Exit button closes: the application terminates.
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(form->HandleDialogKey(enter));
    EXPECT_TRUE(app->Terminated());
}

TEST_F(WindowTest, ErrorLeavingAHandlerIsShownAndTheLoopGoesOn) {
    form->Show();
    Pump();
    std::vector<std::string> shown;
    UINT flags = 0;
    bool formDisabledDuringBox = false;
    app->MessageBoxHook = [&](const std::string& text, const std::string& caption, UINT f) {
        shown.push_back(text);
        EXPECT_EQ(caption, kApplicationTitle);
        flags = f;
        formDisabledDuringBox = !IsWindowEnabled(form->Handle());
        return IDOK;
    };
    form->BitBtn2->OnClick = [&] {
        form->BitBtn2->SetEnabled(false);
        throw tk::EInOutError(5);
    };
    form->BitBtn2->SetFocus();
    // The press arrives as a notification through the form's window procedure.
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form->BitBtn2->Handle()));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "File access denied.");
    EXPECT_EQ(flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_TRUE(formDisabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(form->Handle())) << "enabled again after the box";
    EXPECT_FALSE(form->BitBtn2->Enabled()) << "buttons stay as the handler left them";
    EXPECT_TRUE(IsWindow(form->Handle()));
}

// Finds the confirmation box of this thread and checks it, then closes it as asked.
struct BoxProbe {
    static inline std::string caption, text, button;
    static inline bool hasIcon = false, formEnabled = true, captionFits = false;
    static inline UINT closeWith = WM_COMMAND;
    static BOOL CALLBACK FindBox(HWND h, LPARAM lp) {
        char cls[16] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (std::string(cls) == "#32770" && IsWindowVisible(h)) {
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
        if (!box) return;
        KillTimer(nullptr, id);
        caption = TextOf(box);
        text = TextOf(GetDlgItem(box, 0xFFFF));
        button = TextOf(GetDlgItem(box, IDOK));
        hasIcon = false;
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) hasIcon = true;
        }
        formEnabled = Form1 && IsWindowEnabled(Form1->Handle());
        // The whole caption must fit in the title bar (beside the close button).
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        HDC dc = GetDC(box);
        HFONT font = CreateFontIndirectA(&ncm.lfCaptionFont);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE cs{};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &cs);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(box, dc);
        RECT wr;
        GetWindowRect(box, &wr);
        captionFits = wr.right - wr.left >= cs.cx + GetSystemMetrics(SM_CXSIZE);
        if (closeWith == WM_COMMAND) PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (closeWith == WM_CLOSE) PostMessageA(box, WM_CLOSE, 0, 0);
        if (closeWith == WM_QUIT) PostMessageA(Form1->Handle(), WM_CLOSE, 0, 0);
    }
};

TEST_F(WindowTest, ConfirmationMessageBox) {
    form->Show();
    Pump();
    for (UINT how : {UINT(WM_COMMAND), UINT(WM_CLOSE)}) {
        BoxProbe::closeWith = how;
        SetTimer(nullptr, 0, 50, BoxProbe::Tick);
        tk::ShowMessage("第一步成功完成！");
        EXPECT_EQ(BoxProbe::caption, kApplicationTitle);
        EXPECT_EQ(BoxProbe::text, "第一步成功完成！");
        EXPECT_EQ(BoxProbe::button, "OK");
        EXPECT_FALSE(BoxProbe::hasIcon);
        EXPECT_TRUE(BoxProbe::captionFits) << "the title must not be cut";
        EXPECT_FALSE(BoxProbe::formEnabled) << "the box is modal for the whole program";
        EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    }
}

TEST_F(WindowTest, CloseRequestDuringABoxEndsTheLoopButKeepsTheWindow) {
    form->Show();
    Pump();
    BoxProbe::closeWith = WM_QUIT;
    SetTimer(nullptr, 0, 50, BoxProbe::Tick);
    tk::ShowMessage("第三步成功完成！");
    EXPECT_TRUE(app->Terminated());
    // A second box in the same handler returns at once; the handler can still use its window.
    tk::ShowMessage("现在您可以安装客户端了！");
    EXPECT_TRUE(IsWindow(form->Handle()));
    form->BitBtn4->SetEnabled(false);
    form->BitBtn1->SetEnabled(true);
    EXPECT_EQ(app->Run(), 0) << "the loop ends at once with exit code 0";
}

TEST(WindowScaling, LargerWindowFontScalesTheLayout) {
    tk::TApplication app(GetModuleHandleA(nullptr));
    app.Initialize();
    auto form = std::make_unique<TForm1>(app);
    form->Font.Height = -16;  // as on a system whose window font is larger
    HDC dc = GetDC(nullptr);
    HFONT font = tk::CreateGdiFont(form->Font, form->Font.Height);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    const int h = tm.tmHeight;
    ASSERT_NE(h, 13) << "the test needs a font of another text height";
    form->CreateHandle();
    RECT cr;
    GetClientRect(form->Handle(), &cr);
    EXPECT_EQ(cr.right, MulDiv(385, h, 13));
    EXPECT_EQ(cr.bottom, MulDiv(165, h, 13));
    const RECT b = RectInParent(form->BitBtn1->Handle());
    EXPECT_EQ(b.left, MulDiv(260, h, 13));
    EXPECT_EQ(b.top, MulDiv(136, h, 13));
    EXPECT_EQ(b.right - b.left, MulDiv(125, h, 13));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form->Label8->Handle(), WM_GETFONT, 0, 0)),
               sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, MulDiv(-16, h, 13)) << "controls' own fonts scale too";
}

TEST(StartupError, TextNamesClassModuleAddressAndMessage) {
    EXPECT_EQ(tk::StartupErrorText("Exception", "setup.exe", reinterpret_cast<void*>(0x1234),
                                   "Error creating object.  Please verify"),
              "Exception Exception in module setup.exe at 00001234.\r\n"
              "Error creating object.  Please verify.\r\n");
}

}  // namespace
