// The application object: COM for the UI thread, the title, the hidden window that carries the
// taskbar entry and the icon, the main form, the message loop and the default error display.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace tk {

class TForm;

class TApplication {
  public:
    explicit TApplication(HINSTANCE instance);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // COM for this thread as a single-threaded apartment. A failure goes unreported; COM is
    // released at destruction only when this succeeded.
    void Initialize();

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Creates the form, which becomes the main form if it is the first. Errors propagate to the
    // caller (program entry), which reports them with ShowStartupError.
    template <class F>
    void CreateForm(std::unique_ptr<F>& ref) {
        ref = std::make_unique<F>(*this);
        ref->CreateHandle();
        if (!mainForm_) mainForm_ = ref.get();
    }

    // Shows the main form and dispatches messages until Terminate. Returns the exit code (0).
    int Run();
    // Ends the message loop once the running handler returns (posts WM_QUIT).
    void Terminate();
    bool Terminated() const { return terminated_; }

    TForm* MainForm() const { return mainForm_; }
    HWND Handle() const { return handle_; }
    HINSTANCE Instance() const { return instance_; }

    // Default error display of an error that left a handler.
    void HandleException(const std::exception& e);
    void HandleUnknownException();

    // Runs `fn` and shows what escapes it. Use at every dispatch boundary.
    template <class Fn>
    void Guard(Fn&& fn) noexcept {
        try {
            fn();
        } catch (const std::exception& e) {
            HandleException(e);
        } catch (...) {
            HandleUnknownException();
        }
    }

    // Runs a program-modal message box: every enabled window of the program is disabled while it
    // is open and the window that had the focus gets it back afterwards.
    int ModalMessageBox(const std::string& text, UINT flags);

    // Stands in for MessageBoxA inside ModalMessageBox when set (tests); it runs while the
    // program's windows are disabled, as the real box would.
    std::function<int(const std::string& text, const std::string& caption, UINT flags)>
        MessageBoxHook;

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool HandleKeyboard(MSG& msg);

    HINSTANCE instance_;
    HWND handle_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::string title_;
    TForm* mainForm_ = nullptr;  // not owned: the program entry owns its forms
    bool comInitialized_ = false;
    bool terminated_ = false;
};

// The one application object of the program, set while it exists (not owned).
extern TApplication* Application;

// Disables every enabled window of this thread; the destructor enables them again and gives the
// focus back. Used by every program-modal box.
class ProgramModal {
  public:
    ProgramModal();
    ~ProgramModal();
    ProgramModal(const ProgramModal&) = delete;
    ProgramModal& operator=(const ProgramModal&) = delete;

  private:
    HWND focus_;
    HWND active_;
    std::unique_ptr<HWND[]> disabled_;
    std::size_t count_ = 0;
};

}  // namespace tk
