// Windowed controls of a form: labels, edit boxes, a group box and bitmap buttons. Each is a thin,
// noncopyable owner of its HWND; the form that creates it owns it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tk {

class TForm;

struct TFont {
    std::string Name;
    int Height = -11;  // negative: character (em) height in pixels
    BYTE Charset = DEFAULT_CHARSET;
    COLORREF Color = GetSysColor(COLOR_WINDOWTEXT);
    bool Bold = false;
};

// Creates a GDI font for `f` with its height scaled by `scale(h)`.
HFONT CreateGdiFont(const TFont& f, int height);

struct ControlLayout {
    int Left = 0, Top = 0, Width = 0, Height = 0;  // designed pixels, parent client coordinates
    std::string Caption;
    std::optional<TFont> Font;  // none: the form's font
    int TabOrder = -1;          // -1: takes no focus
    bool Enabled = true;
    bool Visible = true;
    bool ReadOnly = false;
};

class TWinControl {
  public:
    TWinControl(TForm& form, TWinControl* parent, const ControlLayout& layout);
    virtual ~TWinControl();
    TWinControl(const TWinControl&) = delete;
    TWinControl& operator=(const TWinControl&) = delete;

    HWND Handle() const { return handle_; }
    TForm& Form() const { return form_; }
    int TabOrder() const { return layout_.TabOrder; }

    bool Enabled() const;
    // Changing the state also marks the control for redrawing in its new look.
    void SetEnabled(bool enabled);
    bool Visible() const;
    std::string Text() const;
    void SetText(const std::string& text);

    // Whether Tab may move the focus here: visible and enabled up to the form, with a tab order.
    bool CanFocus() const;
    void SetFocus();

    std::function<void()> OnClick;
    virtual void Click();

    // WM_DRAWITEM of an owner-drawn control, forwarded by the form.
    virtual void DrawItem(const DRAWITEMSTRUCT& /*dis*/) {}

  protected:
    // Called by subclasses' constructors once they know their window class and style.
    void CreateWindowFor(const char* cls, DWORD style, DWORD exStyle);
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

    TForm& form_;
    TWinControl* parent_;  // not owned; nullptr: the form itself
    ControlLayout layout_;
    HWND handle_ = nullptr;

  private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HFONT font_ = nullptr;  // owned when the control has a font of its own
};

class TLabel : public TWinControl {
  public:
    TLabel(TForm& form, TWinControl* parent, const ControlLayout& layout);
};

class TEdit : public TWinControl {
  public:
    TEdit(TForm& form, TWinControl* parent, const ControlLayout& layout);
};

class TGroupBox : public TWinControl {
  public:
    TGroupBox(TForm& form, TWinControl* parent, const ControlLayout& layout);
};

// A push button with a 16 x 16 glyph left of its caption. Pixels of the glyph's bottom-left colour
// are transparent; the disabled look is derived from the glyph.
class TBitBtn : public TWinControl {
  public:
    TBitBtn(TForm& form, const ControlLayout& layout, const char* glyphResource, bool isDefault);
    ~TBitBtn() override;

    bool Default() const { return default_; }
    void DrawItem(const DRAWITEMSTRUCT& dis) override;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void DrawGlyph(HDC dc, int x, int y, bool enabled) const;

    bool default_;
    int glyphW_ = 0, glyphH_ = 0;
    std::unique_ptr<COLORREF[]> glyph_;  // top-down pixels, 0x00BBGGRR
    COLORREF transparent_ = RGB(255, 255, 255);
};

}  // namespace tk
