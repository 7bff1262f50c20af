// The operating-system calls the installation steps make, behind one small interface so that tests
// can run a step without waiting 90 seconds or starting a program.
#pragma once

#include <string>

namespace quenlo::steps {

class StepSystem {
  public:
    virtual ~StepSystem() = default;
    // SetCurrentDirectoryA: true on success; on failure the Windows error code, taken at once.
    virtual bool ChangeDirectory(const std::string& path, unsigned long& error) = 0;
    // WinExec: its result (above 31 when the program was started).
    virtual unsigned StartProgram(const std::string& commandLine, int show) = 0;
    virtual void Wait(unsigned long milliseconds) = 0;
    // GetComputerNameA into a 256-byte buffer with the size 255; empty on failure.
    virtual std::string ComputerName() = 0;
    // The confirmation message; returns when it has been closed.
    virtual void Confirm(const std::string& text) = 0;
};

// The system the steps use now: the real one unless a test has put another in place.
StepSystem& System();

// Puts `replacement` in place for its lifetime (tests).
class ScopedSystem {
  public:
    explicit ScopedSystem(StepSystem& replacement);
    ~ScopedSystem();
    ScopedSystem(const ScopedSystem&) = delete;
    ScopedSystem& operator=(const ScopedSystem&) = delete;

  private:
    StepSystem* previous_;
};

}  // namespace quenlo::steps
