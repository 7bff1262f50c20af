// A top-level form: owns its components and controls, paints its surface, forwards timers, routes
// control notifications, and catches every error at its message dispatch.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/component.h"
#include "toolkit/controls.h"

namespace tk {

class TApplication;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };

struct TBorderIcons {
    bool biSystemMenu = true;
    bool biMinimize = true;
    bool biMaximize = true;
};

class TForm {
  public:
    explicit TForm(TApplication& app);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Creates the window hidden, builds the layout (CreateComponents), tells components the layout
    // is loaded, and then runs OnCreate.
    void CreateHandle();

    HWND Handle() const { return handle_; }
    TApplication& App() const { return app_; }

    // Layout settings, read when the window is created.
    std::string Caption;
    int Left = 0, Top = 0;                  // outer window, screen coordinates
    int ClientWidth = 0, ClientHeight = 0;  // designed at 96 dpi / text height 13
    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    TBorderIcons BorderIcons;
    COLORREF Color = GetSysColor(COLOR_BTNFACE);
    TFont Font{"MS Sans Serif", -11, DEFAULT_CHARSET};
    int DesignTextHeight = 13;
    std::function<void()> OnCreate;

    // Scale factor of the layout: the window font's text height over the designed 13.
    int Scale(int v) const { return MulDiv(v, textHeight_, DesignTextHeight); }
    HFONT WindowFont() const { return font_; }

    void Show();
    // Asks the form to close. Nothing can refuse it; closing the main form ends the application
    // once the running handler has returned.
    void Close();

    // Registration of owned parts (done by their constructors).
    void AddComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    void AddControl(TWinControl* c);
    void RemoveControl(TWinControl* c);

    // Keyboard: focus handling of the tab order and the default button.
    void FocusFirst();
    bool HandleDialogKey(const MSG& msg);

  protected:
    // Subclasses create their components and controls here (the window exists).
    virtual void CreateComponents() {}

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    std::vector<TWinControl*> TabOrderList() const;
    TWinControl* ControlOf(HWND hwnd) const;

    TApplication& app_;
    HWND handle_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    int textHeight_ = 13;
    std::vector<TComponent*> components_;  // not owned: the subclass owns them as members
    std::vector<TWinControl*> controls_;   // not owned
};

}  // namespace tk
