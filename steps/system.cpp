#include "steps/system.h"

#include <windows.h>

#include <memory>

#include "toolkit/dialogs.h"

namespace quenlo::steps {

namespace {

class WindowsSystem final : public StepSystem {
  public:
    bool ChangeDirectory(const std::string& path, unsigned long& error) override {
        if (SetCurrentDirectoryA(path.c_str())) return true;
        error = GetLastError();
        return false;
    }
    unsigned StartProgram(const std::string& commandLine, int show) override {
        return ::WinExec(commandLine.c_str(), static_cast<UINT>(show));
    }
    void Wait(unsigned long milliseconds) override { ::Sleep(milliseconds); }
    std::string ComputerName() override {
        // The buffer lives only for the call.
        auto buffer = std::make_unique<char[]>(256);
        DWORD size = 255;
        if (!GetComputerNameA(buffer.get(), &size)) return {};
        return std::string(buffer.get());
    }
    void Confirm(const std::string& text) override { tk::ShowMessage(text); }
};

WindowsSystem gWindows;
StepSystem* gCurrent = &gWindows;

}  // namespace

StepSystem& System() { return *gCurrent; }

ScopedSystem::ScopedSystem(StepSystem& replacement) : previous_(gCurrent) {
    gCurrent = &replacement;
}
ScopedSystem::~ScopedSystem() { gCurrent = previous_; }

}  // namespace quenlo::steps
