// Program entry of the installer: the application object, COM for the UI thread, the title, the
// installer window and the message loop.
#include <windows.h>

#include <memory>

#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "ui/ff.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tk::TApplication application(instance);
    application.Initialize();
    application.SetTitle(kApplicationTitle);
    std::unique_ptr<TForm1> form;
    try {
        application.CreateForm(form);
    } catch (const tk::Exception& e) {
        // The window never shows; the run-time reports the error and the program ends.
        form.reset();
        tk::ShowStartupError(e);
        return 1;
    } catch (const std::exception& e) {
        form.reset();
        tk::ShowStartupError(e);
        return 1;
    }
    const int code = application.Run();
    form.reset();
    return code;
}
